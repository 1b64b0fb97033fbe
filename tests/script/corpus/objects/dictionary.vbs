Set d = CreateObject("Scripting.Dictionary")
d.Add "uno", 1
d.Add "due", 2
d("tre") = 3
Echo d.Count, d("due"), d.Item("tre")
Echo d.Exists("uno"), d.Exists("UNO")
Echo Join(d.Keys, ","), Join(d.Items, ",")
d.Remove "due"
Echo Join(d.Keys, ",")
d.Key("uno") = "primo"
Echo Join(d.Keys, ",")
For Each k In d: Echo k & "=" & d(k): Next
On Error Resume Next
d.Add "tre", 4
Echo Err.Number
Err.Clear
d.Remove "manca"
Echo Err.Number
On Error GoTo 0
x = d("nuovo")
Echo d.Count, IsEmpty(x)
d.RemoveAll
Echo d.Count
Set t = CreateObject("Scripting.Dictionary")
t.CompareMode = vbTextCompare
t.Add "Chiave", 1
Echo t.Exists("CHIAVE")
d.Add 1, "numero"
Echo d.Exists(1), d.Exists("1"), d(1)
Echo d.Keys()(0), UBound(d.Items)
Stop
