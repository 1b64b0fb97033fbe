' The ways of calling a Sub or a Function.
Sub Show(a, b)
  Echo a & "-" & b
End Sub
Function Add(a, b)
  Add = a + b
End Function
Show 1, 2
Call Show(3, 4)
Show (5), 6
Show (1 + 1) * 3, 7
Add 1, 2
Call Add(1, 2)
Echo Add(Add(1, 2), 3)
x = Add(1, 2) * 2
Echo x
Sub NoArgs
  Echo "senza argomenti"
End Sub
NoArgs
Call NoArgs
Call NoArgs()
On Error Resume Next
Show 1
Echo Err.Number
Err.Clear
Show 1, 2, 3
Echo Err.Number
