' Dim with bounds makes a fixed array, Dim x() an array ReDim sizes later;
' Erase empties a fixed array and frees a dynamic one.
On Error Resume Next
Sub Check(label)
  If Err.Number <> 0 Then Echo label, Err.Number : Err.Clear
End Sub
Dim fixed(2), dynamic(), m(1, 2)
Echo UBound(fixed), LBound(fixed), UBound(m, 1), UBound(m, 2), IsArray(dynamic)
x = UBound(dynamic) : Check "UBound senza elementi"
ReDim Preserve m(1, 3) : Check "ReDim Preserve di una matrice fissa"
ReDim dynamic(3)
dynamic(3) = "ultimo"
ReDim Preserve dynamic(5) : Echo UBound(dynamic), dynamic(3)
ReDim dynamic(1) : Echo "[" & dynamic(1) & "]"
ReDim created(2) : Echo UBound(created)
fixed(1) = 7 : Erase fixed : Echo UBound(fixed), IsEmpty(fixed(1))
Erase dynamic : x = UBound(dynamic) : Check "UBound dopo Erase"
x = fixed(3) : Check "oltre il limite"
x = fixed(-1) : Check "indice negativo"
ReDim z(-1) : Echo UBound(z)
' An array assigned to another variable is copied.
Dim src(2) : src(0) = 1
copy = src : copy(0) = 99 : Echo src(0), copy(0)
' Constants, script-level and local; a procedure's Dim hides the global.
Const Pi = 3.14, Nome = "cassa", Neg = -5
Echo Pi, Nome, Neg, TypeName(Neg)
' A constant may combine literals and constants with any arithmetic or logical operator.
Const Mask = &hFF And Not 15, Cube = 2 ^ 3, Half = 7 \ 2, Rest = 7 Mod 4, Both = True Xor False, Full = Nome & "!"
Echo Mask, Cube, Half, Rest, Both, Full
Dim g1, g2, g3 : g1 = 1 : g2 = 2 : g3 = g1 + g2 : Echo g3
Sub Local
  Const Two = 2
  Dim g1
  g1 = "locale"
  Echo g1, Two * Pi
  implicit = "solo qui"
  g2 = "globale cambiata"
End Sub
Local
Echo g1, g2, IsEmpty(implicit)
