On Error Resume Next
x = 1 / 0
Echo Err.Number, Err.Description
Err.Clear
Echo Err.Number
Err.Raise 1000, "Fonte", "Messaggio"
Echo Err.Number, Err.Source, Err.Description
Err.Raise vbObjectError + 1
Echo Err.Number
On Error GoTo 0
Echo Err.Number
Sub Fails
  Dim a(1)
  a(5) = 1
  Echo "non stampato"
End Sub
On Error Resume Next
Fails
Echo "dopo", Err.Number
