Sub Inc(x): x = x + 1: End Sub
Sub IncVal(ByVal x): x = x + 1: End Sub
a = 1
Inc a: Echo a
IncVal a: Echo a
' Parentheses around the argument pass a copy.
Inc (a): Echo a
Call Inc(a): Echo a
Function Twice(ByRef v)
  v = v * 2
  Twice = v
End Function
b = 5
Echo Twice(b), b
Function NoValue(): End Function
Echo IsEmpty(NoValue())
Sub Early(x)
  If x Then Exit Sub
  Echo "non uscito"
End Sub
Early True: Early False
Function F(n)
  F = n
  If n > 0 Then Exit Function
  F = -1
End Function
Echo F(1), F(0)
Sub Swap(p, q)
  Dim t
  t = p: p = q: q = t
End Sub
s1 = "primo": s2 = "secondo"
Swap s1, s2
Echo s1, s2
