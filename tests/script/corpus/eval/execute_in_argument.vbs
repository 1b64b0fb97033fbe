Function Local()

  Execute "z = z + 1"
  Local = z
End Function
Echo Local()
On Error Resume Next
Execute "If Then"
Echo Err.Number
