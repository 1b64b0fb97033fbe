Echo "[" & Mid("abc", 2, 100) & "]", "[" & Mid("abc", 5) & "]", "[" & Left("abc", 10) & "]"
Echo "[" & Space(0) & "]", InStr(5, "abc", "a"), InStr("abc", ""), InStr(2, "abc", "")
Echo StrComp("ABC", "abc", vbTextCompare), StrComp("ABC", "abc", vbBinaryCompare)
Echo Replace("a-b-c-d", "-", "+", 3, 1)
Echo Join(Array("a", Null, "c"), ",")
Echo UCase("àèì"), LCase("ÀÈÌ"), Len("perché")
Echo "virgolette ""doppie""", "a" & vbTab & "b"
Echo Asc("a"), Chr(97) & Chr(98)
On Error Resume Next
x = Left("abc", -1)
Echo Err.Number
Err.Clear
x = Asc("")
Echo Err.Number
Err.Clear
x = Chr(300)
Echo Err.Number
