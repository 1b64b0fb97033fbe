Function Kind(course)
  Select Case LCase(course)
    Case "antipasto", "primo"
      Kind = "cucina calda"
    Case "dolce"
      Kind = "pasticceria"
    Case Else
      Kind = "bar"
  End Select
End Function
Echo Kind("Primo"), Kind("DOLCE"), Kind("caffè")
Select Case 5
  Case 1 + 1, 2 * 2 + 1
    Echo "calcolato"
End Select
n = 0
Select Case n
  Case 1
    Echo "uno"
End Select
Echo "nessun caso"
