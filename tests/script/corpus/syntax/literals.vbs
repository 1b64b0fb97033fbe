' A trailing & makes a hex or octal literal a Long.
Echo &hFFFF&, TypeName(&hFFFF&), &hFFFF, TypeName(&hFFFF), &h8000&, &o177777&, &o177777
Echo &hFFFFFFFF, TypeName(&hFFFFFFFF), &h7FFFFFFF&, &h10000, TypeName(&h10000)
' -32768 negates the Long 32768: a Long.
Echo TypeName(-32768), Hex(-32768), TypeName(-32767), Hex(-32767), TypeName(32768), TypeName(-2147483648)
' &h before a name that is not a number is the & operator.
hint = "suggerimento"
hat = 3
Echo "x" &hint, "y"&hat, "z" &hint&hat
' >< is <>, => is >=, =< is <=.
Echo 1 >< 2, 2 >< 2, 3 => 3, 3 =< 2
