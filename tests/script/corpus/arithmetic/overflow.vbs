' Conversions raise 6 when the rounded value leaves the subtype's range;
' operators promote instead: Byte to Integer, Integer to Long, Long to Double.
On Error Resume Next
Sub Check(label)
  If Err.Number <> 0 Then Echo label, Err.Number : Err.Clear
End Sub
Echo CInt(32767.4), CInt(-32768.5), CLng(-2147483648.5), CByte(-0.5), TypeName(CByte(-0.5))
x = CInt(-32768.6) : Check "CInt(-32768,6)"
x = CLng(2147483647.5) : Check "CLng(2147483647,5)"
x = CByte(255.5) : Check "CByte(255,5)"
x = CSng(1E+39) : Check "CSng(1E+39)"
x = CCur(922337203685478) : Check "CCur troppo grande"
x = 2 ^ 1024 : Check "2 ^ 1024"
x = 1.7E+308 * 10 : Check "Double oltre"
x = 2147483648 \ 1 : Check "\ oltre Long"
' Negating or taking the absolute value of the smallest Integer or Long widens it.
Echo TypeName(Abs(CInt(-32767) - 1)), Abs(CInt(-32767) - 1), TypeName(-CInt(-32767 - 1))
l = CLng(-2147483647) - 1
Echo TypeName(-l), -l
Echo TypeName(CInt(200) * CInt(200)), TypeName(CLng(65536) * CLng(65536))
Echo TypeName(CByte(255) + CByte(1)), CByte(2) - CByte(3), TypeName(CByte(16) * CByte(16)), TypeName(CByte(1) + CByte(1))
For i = 32766 To 32767 : Next : Echo TypeName(i), i
' Currency keeps four decimals; mixed with Single or Double it gives Double.
Echo TypeName(CCur(1.5) * 2), CCur(1.5) * 2, TypeName(CCur(1.5) * CSng(2)), TypeName(CCur(1) + True), TypeName(Int(CCur(-2.5))), Int(CCur(-2.5))
' \ and Mod round their operands to whole numbers first (halves to even).
Echo 7.5 \ 2, TypeName(7.5 \ 2), 6.5 \ 2, TypeName(CInt(7) \ CInt(2)), TypeName(CByte(7) \ CByte(2)), -7 \ 2
Echo 7.5 Mod 2, -7 Mod 3, 7 Mod -3, 5.5 Mod 2.5, TypeName(CCur(10) \ 4)
' Booleans count as Integers, texts as Doubles, dates stay dates.
Echo TypeName(True + True), True * 3, TypeName("3" * "4"), "3" - "4", TypeName("3" - "4")
Echo TypeName(CDate(1) + 1), TypeName(CDate(2) - CDate(1)), CDate(2) - CDate(1)
Echo TypeName(CSng(1.5) + CInt(1)), TypeName(CSng(1.5) + CLng(1)), TypeName(CSng(1) / CSng(3)), TypeName(CInt(1) / CInt(2))
Echo Fix(-2.5), Int(-2.5), TypeName(Fix("3,7")), Fix("3,7"), TypeName(Sgn(-0.1)), Sgn(-0.1)
Echo VarType(Empty), VarType(Null), VarType(1), VarType(70000), VarType(CSng(1)), VarType(1.5), VarType(CCur(1)), VarType(Now), VarType("a"), VarType(True), VarType(CByte(1)), VarType(Array()), VarType(Nothing)
' Bitwise operators: Byte with Byte stays Byte, non-integers become Long.
Echo Not CByte(5), TypeName(Not CByte(5)), -1 Eqv 0, 6 Imp 3, TypeName(CByte(1) And CInt(1)), TypeName(CInt(1) Or CLng(1))
Echo TypeName(1.5 And 3), 1.5 And 3, 2.5 Or 0, TypeName("3" Or 4), "3" Or 4, TypeName(CCur(3) And 1)
