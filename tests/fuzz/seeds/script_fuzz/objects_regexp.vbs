Set re = New RegExp
re.Pattern = "(\d+),(\d+)"
re.Global = True
Echo re.Test("prezzo 12,50"), re.Test("niente")
Echo re.Replace("a 1,5 b 22,75", "$2.$1")
Set ms = re.Execute("a 1,5 b 22,75")
Echo ms.Count, ms(1).Value, ms(1).FirstIndex, ms(1).Length, ms(1).SubMatches(0), ms.Item(0).SubMatches.Count
For Each m In ms : Echo m : Next
re.Global = False
Echo re.Replace("1,2 3,4", "[$&]")
re.IgnoreCase = True
re.Pattern = "^caffè$"
Echo re.Test("CAFFÈ"), TypeName(re)
re.Pattern = "(("
On Error Resume Next
x = re.Test("a")
Echo Err.Number
