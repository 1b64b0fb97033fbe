ExecuteGlobal "Class Dyn" & vbCrLf & "Public V" & vbCrLf & "End Class"
Set d = New Dyn
d.V = "dinamica"
Echo d.V
ExecuteGlobal "Dim shared" & vbCrLf & "shared = 41"
Function ReadShared()
  ReadShared = shared + 1
End Function
Echo ReadShared()
Echo Eval("ReadShared() * 2"), Eval("UCase(""abc"")")
Execute "Sub Hello(n) : Echo ""ciao "" & n : End Sub"
Hello 3
