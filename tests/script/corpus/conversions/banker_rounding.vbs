' Whole numbers come from halves rounded to the even neighbour: in CInt,
' CLng, CByte, Round, Hex, Oct, array indexes and the operands of \ and Mod.
Echo CInt(0.5), CInt(1.5), CInt(-0.5), CInt(-1.5), CInt(2.4999), CInt(2.5001)
Echo CLng(2.5), CLng(-2.5), CLng(-3.5), CLng("2,5"), CLng("3,5"), CByte(0.5), CByte(1.5), CByte(254.5)
Echo Round(0.5), Round(1.5), Round(-3.5), Round(2.4), Round(2.6), TypeName(Round(2.5))
' With decimals: values a binary fraction holds exactly.
Echo Round(0.125, 2), Round(0.375, 2), Round(1.25, 1), Round(-0.125, 2), Round(2.5, 0), Round(123.456, 1)
Echo TypeName(Round(CInt(3))), TypeName(Round(CLng(3))), TypeName(Round(CSng(2.5))), TypeName(Round(CCur(2.5))), Round(CCur(2.5)), Round(CCur(1.2345), 3)
Echo Round("2,5"), Round(Empty), CInt(True), CLng(False), CInt("  7 "), CInt("&H10"), CLng("1e3")
On Error Resume Next
x = Round(1.5, -1)
Echo "Round con decimali negativi", Err.Number
On Error GoTo 0
Echo 2.5 \ 1, 3.5 \ 1, -2.5 \ 1, 2.5 Mod 10, 3.5 Mod 10, Hex(2.5), Hex(3.5), Oct(8.5)
Dim a(3)
a(1) = "uno" : a(2) = "due"
Echo a(1.5), a(2.5), a(0.5) = ""
Echo Int(2.5), Fix(2.5), Int(-0.5), CCur(0.00005), CCur(0.00025)
