' A text that is no number does not match a number, with no type mismatch.
Select Case 4
  Case "four", "4x": Echo "testo"
  Case 4: Echo "quattro"
End Select
n = 4
Select Case n
  Case "quattro": Echo "testo"
  Case 2 + 2: Echo "due più due"
End Select
Select Case "abc"
  Case 1, 2: Echo "numero"
  Case Else: Echo "altro"
End Select
' Null matches nothing, not even Null.
Select Case Null
  Case Null: Echo "null"
  Case Else: Echo "nessuno"
End Select
' Empty matches 0 and "".
Select Case Empty
  Case 0: Echo "zero"
End Select
Select Case Empty
  Case "": Echo "stringa vuota"
End Select
