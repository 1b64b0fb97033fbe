Echo Len("abc"), Left("abcdef", 2), Right("abcdef", 2), Mid("abcdef", 2, 3), Mid("abcdef", 4)
Echo InStr("abcabc", "c"), InStr(4, "abcabc", "c"), InStr("abc", "z"), InStr(1, "ABC", "b", 1)
Echo InStrRev("abcabc", "c"), InStrRev("abcabc", "c", 5)
Echo Replace("aXbXc", "X", "-"), Replace("aXbXc", "x", "-", 1, -1, 1), Replace("aXbXc", "X", "-", 1, 1)
' Replace returns the text from the start position on.
Echo Replace("abcabc", "b", "", 3)
Echo "[" & Trim("  a  ") & "]", "[" & LTrim("  a ") & "]", "[" & RTrim(" a  ") & "]"
Echo UCase("abc"), LCase("ABC"), StrReverse("abc"), Space(3) & "|", String(3, "x"), String(2, 65)
Echo StrComp("a", "B"), StrComp("a", "A", 1), StrComp("a", "b")
Echo Chr(65), Asc("A"), ChrW(8364), AscW("€"), Asc("€"), Chr(128)
Echo Len(12345), Len(1.5)
On Error Resume Next
x = Mid("abc", 0)
Echo Err.Number
