' Functions return objects (with Set), arrays and nothing at all.
Class Point
  Public X, Y
End Class
Function MakePoint(x, y)
  Dim p
  Set p = New Point
  p.X = x : p.Y = y
  Set MakePoint = p
End Function
Function Range(n)
  Dim a(), i
  ReDim a(n - 1)
  For i = 0 To n - 1 : a(i) = i * i : Next
  Range = a
End Function
Function Nothing1()
  Set Nothing1 = Nothing
End Function
Set p = MakePoint(3, 4)
Echo p.X + p.Y, TypeName(MakePoint(1, 2))
r = Range(4)
Echo UBound(r), Join(r, " ")
Echo Nothing1() Is Nothing
Sub Fill(arr)
  arr(0) = "riempito"
End Sub
Dim box(1)
Fill box
Echo box(0)
Sub Replace1(ByVal arr)
  arr(0) = "copia"
End Sub
Replace1 box
Echo box(0)
