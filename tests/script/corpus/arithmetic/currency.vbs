' Currency keeps four exact decimals.
c = CCur(0.1)
Echo c * 3, TypeName(c * 3), c + c + c = CCur(0.3)
Echo CCur(10) / 4, TypeName(CCur(10) / 4)
Echo CCur(1.23456), CCur(2.5) + 1
Echo CLng("&H10"), &HFF, &HFFFF, &H10000, &O17
Echo CDbl(Empty), CLng(True), CInt(False)
Echo 0.1 + 0.2 = 0.3, Round(0.1 + 0.2, 10) = 0.3
