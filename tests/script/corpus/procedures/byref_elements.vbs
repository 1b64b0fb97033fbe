' Array elements passed to a procedure are passed by reference too.
Sub Inc(x) : x = x + 1 : End Sub
Dim a(2) : a(1) = 5
Inc a(1)
Echo a(1)
Dim m(1, 1)
Inc m(1, 1)
Echo m(1, 1)
Class Doubler
  Public Sub Twice(v) : v = v * 2 : End Sub
End Class
Set d = New Doubler
b = Array(3)
d.Twice b(0)
Echo b(0)
' A callee that shrinks the array loses the element quietly.
ReDim c(3)
Sub Shrink(x) : ReDim c(0) : x = 9 : End Sub
Shrink c(3)
Echo UBound(c), IsEmpty(c(0))
