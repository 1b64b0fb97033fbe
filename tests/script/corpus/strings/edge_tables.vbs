' InStr, InStrRev, Mid, Replace, Split, Filter and String at the edges their
' descriptions list: empty texts, starts past the end, counts and limits.
Echo InStr("abc", ""), InStr(2, "abc", ""), InStr(5, "abc", "b"), InStr("", "a"), InStr("", "")
Echo InStrRev("abcabc", "b"), InStrRev("abcabc", "b", 4), InStrRev("abc", "", 2), InStrRev("abc", "d"), InStrRev("abc", "c", 10)
Echo "[" & Mid("abc", 5) & "]", Mid("abc", 2, 10), Left("abc", 10), Right("abc", 0) = ""
' Replace with a start returns the text from that position on.
Echo Replace("abcabc", "b", "X", 3), Replace("abcabc", "b", "X", 1, 1), Replace("aBc", "b", "X", 1, -1, 1), Replace("abc", "", "X")
Echo UBound(Split("")), UBound(Split("a")), Join(Split("a,b,,c", ","), "|"), UBound(Split("a,b,c", ",", 2)), Split("a,b,c", ",", 2)(1)
Echo Join(Filter(Array("uno", "due", "tre"), "u")), Join(Filter(Array("uno", "due", "tre"), "u", False)), Join(Filter(Array("Uno", "due"), "u", True, 1))
Echo "[" & LTrim("  a  ") & "]", "[" & RTrim("  a  ") & "]", StrReverse("abc"), LCase("ÀÈ"), UCase("àè")
Echo Asc("Abc"), AscW("€"), Chr(128) = "€", ChrW(8364) = "€", String(3, "ab"), String(2, 65), String(1, 321), String(1, 128) = "€"
