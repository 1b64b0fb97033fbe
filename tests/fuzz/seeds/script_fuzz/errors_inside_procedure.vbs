Function Bad(n)
  Dim a(2)
  Bad = a(n)
End Function
Echo Bad(1)
Echo Bad(7)
