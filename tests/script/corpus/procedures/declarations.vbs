' Procedures and classes are defined wherever they are written, even in a
' block that never runs, and before the line that declares them.
Echo Early(2)
If False Then
  Sub Hidden(a)
    Echo "nascosta " & a
  End Sub
  Function OneLine(n) : OneLine = n + 1 : End Function
End If
Hidden 1
Echo OneLine(1)
If False Then Sub Inline : Echo "in linea" : End Sub : Echo "mai"
Inline
For i = 1 To 2
  Private Function Square(n) : Square = n * n : End Function
  Echo Square(i)
Next
Do While False
  Class Ghost
    Public Name
  End Class
Loop
Set g = New Ghost
g.Name = "fantasma"
Echo g.Name
Function Early(n)
  Early = "presto " & n
End Function
' Declared twice: the later declaration wins, for the calls before it too.
Echo Twice()
Function Twice()
  Twice = "prima"
End Function
Echo Twice()
Function Twice()
  Twice = "seconda"
End Function
Sub Show : Echo "sub" : End Sub
Function Show() : Echo "function" : End Function
Show
