' Script-level variables are shared; a procedure's Dim hides them.
Dim g
g = "globale"
Sub UsesGlobal
  g = g & " cambiata"
End Sub
Sub HidesGlobal
  Dim g
  g = "locale"
End Sub
UsesGlobal
HidesGlobal
Echo g
Function Counter()
  Dim n
  n = n + 1
  Counter = n
End Function
Echo Counter(), Counter()
Sub Implicit
  tmp = 5
End Sub
Implicit
Echo IsEmpty(tmp)
Const Rate = 0.22
Private Const Name = "Mensa"
Function Gross(net)
  Const Extra = 1
  Gross = net * (1 + Rate) + Extra
End Function
Echo Gross(100), Name
