' Numbers, Booleans and dates are written and read the Italian way.
Echo CStr(1.5), CDbl("1,5") * 2, CDbl("1.234,5")
' The point is the thousands separator here, so "1.5" reads as 15.
Echo CDbl("1.5")
Echo CStr(True), CStr(False), True & ""
' Booleans read back from both the Italian and the English words.
Echo CBool("Vero"), CBool("true"), CBool("Falso"), CBool("0"), CBool(5)
Echo CStr(0.1 + 0.2), 1 / 3, 1E+16, 1.5E-05, 100000000000000
Echo CStr(CCur(1234.5)), CCur(2) / 3
Echo IsNumeric("1,5"), IsNumeric("abc"), IsNumeric(""), IsNumeric(Empty), IsNumeric(" 12 ")
Echo CDate("01/03/2026"), Year(CDate("1/3/2026")), Month(CDate("1/3/2026"))
Echo CSng(1.1), CDbl(CSng(0.5))
