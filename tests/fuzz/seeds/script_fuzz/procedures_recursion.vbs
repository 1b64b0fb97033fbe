Function Fact(n)
  If n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)
End Function
Echo Fact(10), Fact(13), TypeName(Fact(13))
Function Deep(n)
  Deep = Deep(n + 1)
End Function
On Error Resume Next
x = Deep(1)
Echo Err.Number
