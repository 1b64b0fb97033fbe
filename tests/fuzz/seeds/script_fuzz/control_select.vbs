For Each v In Array(1, 2, 3, 7)
  Select Case v
    Case 1, 2: Echo "uno o due"
    Case 3
      Echo "tre"
    Case Else
      Echo "altro " & v
  End Select
Next
Select Case "b"
  Case "a": Echo "a"
  Case "B": Echo "B maiuscola"
  Case "b": Echo "b"
End Select
y = 10
Select Case True
  Case y < 5: Echo "meno di 5"
  Case y < 20: Echo "meno di 20"
End Select
