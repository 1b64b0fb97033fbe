' Null goes through every operator but &, and through the functions that
' say so; a condition that is Null is not true. Empty is 0 or "".
On Error Resume Next
Sub Check(label)
  If Err.Number <> 0 Then Echo label, Err.Number : Err.Clear
End Sub
Echo IsNull(Null / 1), IsNull(Null \ 1), IsNull(Null Mod 2), IsNull(Null ^ 0), IsNull(-Null), TypeName(Null & Null)
Echo IsNull(Null = Empty), IsNull(Null Xor True), IsNull(Null Eqv True), False Imp Null, IsNull(True Imp Null), Null Imp True, IsNull(Null Imp False)
Echo TypeName(Null And 0), Null And 0, Null Or -1, TypeName(Null Or CLng(-1))
If Not Null Then Echo "vero" Else Echo "Not Null non è vero"
If x = Null Then Echo "uguale" Else Echo "x = Null non è vero"
Do While Null
  Echo "mai"
  Exit Do
Loop
Echo IsNull(LCase(Null)), IsNull(Trim(Null)), IsNull(LTrim(Null)), IsNull(Mid(Null, 1)), IsNull(Right(Null, 1))
Echo IsNull(InStr(Null, "a")), IsNull(InStr("a", Null)), IsNull(Abs(Null)), IsNull(Int(Null)), IsNull(Fix(Null)), IsNull(Hex(Null)), IsNull(Oct(Null))
Echo IsNull(String(Null, "a")), IsNull(String(2, Null))
x = CInt(Null) : Check "CInt"
x = CDbl(Null) : Check "CDbl"
x = CBool(Null) : Check "CBool"
x = Chr(Null) : Check "Chr"
x = Asc(Null) : Check "Asc"
x = Space(Null) : Check "Space"
Echo IsEmpty(Null), IsNull(Empty), IsEmpty(""), IsEmpty(0)
Echo Empty + 1, TypeName(Empty + 1), TypeName(Empty + CLng(1)), TypeName(Empty + 1.5), Empty * 5, TypeName(Empty & Empty)
Echo TypeName(-Empty), -Empty, Not Empty, TypeName(Not Empty), Empty = False, Empty < 1, Empty > -1, Empty = Empty
Echo CInt(Empty), CStr(Empty) = "", CBool(Empty), CDbl(Empty), TypeName(CDate(Empty))
Dim u
Echo IsEmpty(u), TypeName(u), VarType(u), u + 2, u & "x"
y = 5 : y = Empty : Echo IsEmpty(y)
