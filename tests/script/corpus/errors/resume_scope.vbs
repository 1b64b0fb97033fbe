' On Error Resume Next clears Err; an error in a procedure without a
' handler leaves it at once and the caller's handler goes on after the call;
' Err keeps the error after the procedure that handled it returns.
On Error Resume Next
Err.Raise 5
Echo Err.Number
On Error Resume Next
Echo Err.Number
Sub Inner
  x = 1 / 0
  Echo "non qui"
End Sub
Sub Outer
  On Error Resume Next
  Inner
  Echo "dopo Inner", Err.Number
End Sub
Outer
Function Raises()
  Err.Raise 9
End Function
Err.Clear
x = Raises()
Echo Err.Number, IsEmpty(x)
Sub ExitsAfterError
  On Error Resume Next
  x = 1 / 0
  Exit Sub
End Sub
Err.Clear
ExitsAfterError
Echo "dopo Exit Sub", Err.Number
