x = 5
If x > 3 Then Echo "grande" Else Echo "piccolo"
If x = 5 Then
  Echo "cinque"
ElseIf x = 6 Then
  Echo "sei"
Else
  Echo "altro"
End If
If x = 6 Then
  Echo "sei"
ElseIf x > 4 Then
  Echo "oltre quattro"
End If
' Both statements belong to the one-line If.
If x < 0 Then Echo "negativo" : Echo "ancora"
Echo "dopo"
if X = 5 then echo "maiuscole e minuscole"
