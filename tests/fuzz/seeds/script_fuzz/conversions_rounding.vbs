' CInt, CLng and Round round halves to the even neighbour.
Echo CInt(2.5), CInt(3.5), CInt(-2.5), CInt(-3.5), CInt(2.6)
Echo CLng(0.5), CLng(1.5), CLng("12")
Echo Round(2.5), Round(3.5), Round(-2.5), Round(1.2345, 2), Round(2.25, 1)
Echo Int(2.7), Int(-2.7), Fix(-2.7), Fix(2.7), TypeName(Int(2.7)), TypeName(Int(2))
Echo Abs(-5), Abs(-2.5), Sgn(-3), Sgn(0), Sgn(4.5)
Echo Hex(255), Hex(-1), Hex(CLng(-1)), Oct(8)
On Error Resume Next
x = CInt(32767.5)
Echo Err.Number
Err.Clear
x = CByte(256)
Echo Err.Number
Err.Clear
x = CByte(-1)
Echo Err.Number
