Class Bad
  Private Sub Class_Initialize
    Err.Raise 5
  End Sub
End Class
Echo "prima"
Set b = New Bad
Echo "mai"
