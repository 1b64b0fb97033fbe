' Two numbers compare as numbers and two texts as texts (binary: capitals
' first); a number held in a variable is less than any text; Empty is 0
' against a number and "" against a text.
On Error Resume Next
Sub Check(label)
  If Err.Number <> 0 Then Echo label, Err.Number : Err.Clear
End Sub
n = 5 : s = "10" : big = 50 : e = Empty
Echo n < s, big < s, s > n, n = s, CStr(n) = "5", n = CInt("5")
Echo "5" > "10", "a" < "B", "a" < "b", "A" = "a", "Zebra" < "apple", "" < "a"
Echo e = 0, e = "", e < 1, e > -1, e < "a", IsNull(e = Null)
Echo StrComp("a", "B"), StrComp("a", "B", 1), StrComp("a", "A", vbTextCompare), StrComp("b", "a"), IsNull(StrComp(Null, "a"))
Echo 1 = 1.0, CInt(1) = CLng(1), CSng(0.5) = 0.5, CCur(1.5) = 1.5, True = -1, False = 0, True = 1
Echo #1/2/2000# > #1/1/2000#, CDate(36526) = #1/1/2000#, 0.1 + 0.2 = 0.3, 0.5 + 0.25 = 0.75
' A text written in the comparison counts as a number against a number.
Echo "10" = 10, 10 = "10", "1e1" = 10
x = 10 = "dieci" : Check "10 = ""dieci"""
Set d = CreateObject("Scripting.Dictionary")
Set o = Nothing
Echo o Is Nothing, d Is Nothing, Not d Is Nothing, d Is d
x = 1 Is 1 : Check "Is tra numeri"
a = Array(1, 2)
x = a = 1 : Check "matrice"
