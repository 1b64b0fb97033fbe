On Error Resume Next
Err.Raise 13
Echo Err.Number, Err.Description
Err.Raise 9, "Cassa"
Echo Err.Number, Err.Source, Err.Description
Err.Clear
Echo Err.Number, "[" & Err.Description & "]"
Function Fails()
  Fails = 1 / 0
  Echo "non qui"
End Function
Function Guarded()
  On Error Resume Next
  Guarded = 1 / 0
  Guarded = "recuperato " & Err.Number
End Function
Echo Guarded()
x = Fails()
Echo Err.Number, IsEmpty(x)
Err.Clear
If 1 / 0 = 1 Then Echo "dentro"
Echo Err.Number
On Error GoTo 0
Err.Raise 6
Echo "mai"
