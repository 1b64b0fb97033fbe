Class Item
  Public Name, Child
End Class
Set a = New Item : a.Name = "esterno"
Set a.Child = New Item : a.Child.Name = "interno"
With a
  Echo .Name
  With .Child
    Echo .Name
    .Name = .Name & "!"
  End With
  Echo .Child.Name
End With
For i = 1 To 3
  For j = 1 To 3
    If j = 2 Then Exit For
    Echo i & j
  Next
  If i = 2 Then Exit For
Next
Do
  Do While True
    Exit Do
  Loop
  Echo "fuori dal ciclo interno"
  Exit Do
Loop
