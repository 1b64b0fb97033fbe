Echo "abc" = "abc", "abc" = "ABC", "abc" < "abd", "Z" < "a", "" < "a"
Echo "10" < "9", 10 < 9, "a" <> "b"
Echo StrComp("abc", "ABC", vbTextCompare) = 0, LCase("ABC") = "abc"
a = "x" : b = "x"
Echo a = b, a & b = "xx"
s = Empty
Echo s = "", s = 0, IsEmpty(s), Len(s)
