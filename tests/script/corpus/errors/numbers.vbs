' The run-time error each mistake raises, and its Italian description.
On Error Resume Next
Sub Check(label)
  Echo label, Err.Number, Err.Description
  Err.Clear
End Sub
x = Mid("abc", 0) : Check "Mid da 0"
x = Left("abc", -1) : Check "Left negativo"
x = Sqr(-1) : Check "Sqr negativo"
x = Log(0) : Check "Log di zero"
x = Chr(256) : Check "Chr 256"
x = Asc("") : Check "Asc vuota"
x = String(-1, "a") : Check "String negativo"
x = InStr(0, "abc", "b") : Check "InStr da 0"
x = (-8) ^ (1 / 3) : Check "radice di negativo"
Err.Raise 0 : Check "Raise 0"
x = 1 \ 0 : Check "divisione intera per zero"
x = 5 Mod 0 : Check "Mod zero"
x = 0 / 0 : Check "zero su zero"
x = Hex(4294967296) : Check "Hex troppo grande"
x = UBound("x") : Check "UBound su testo"
x = CDate("ciao") : Check "CDate"
x = Join("abc") : Check "Join senza matrice"
x = Int("abc") : Check "Int testo"
Dim arr(2)
x = LBound(arr, 2) : Check "LBound dimensione"
x = Array(1, 2)(5) : Check "indice"
Set o = Nothing
x = o.Name : Check "membro di Nothing"
n = 5
x = n.Name : Check "membro di un numero"
Set n = 5 : Check "Set di un numero"
Set d = CreateObject("Scripting.Dictionary")
d.Add "k", 1
d.Add "k", 2 : Check "chiave doppia"
x = d.Manca : Check "membro mancante"
Nessuna 1 : Check "Sub non definita"
Function Two(a, b) : Two = a + b : End Function
x = Two(1) : Check "argomenti"
x = CreateObject("Non.Esiste") : Check "CreateObject"
Set c = New NonEsiste : Check "classe"
For Each e In 5 : Next : Check "For Each su un numero"
