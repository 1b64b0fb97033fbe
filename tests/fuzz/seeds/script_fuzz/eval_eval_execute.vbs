x = 5
Echo Eval("x * 2"), Eval("1 = 1")
Execute "y = x + 1"
Echo y
ExecuteGlobal "Function Triplo(n): Triplo = n * 3: End Function"
Echo Triplo(4)
Function Local()
  Dim z
  z = 7
  Execute "z = z + 1"
  Local = z
End Function
Echo Local()
On Error Resume Next
Execute "If Then"
Echo Err.Number
