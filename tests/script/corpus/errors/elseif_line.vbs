x = 0
If x = 1 Then
  Echo "uno"
ElseIf 1 / x = 2 Then
  Echo "due"
End If
