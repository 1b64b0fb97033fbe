Class Counter
  Private m_count
  Public Name
  Private Sub Class_Initialize()
    m_count = 0
    Name = "contatore"
  End Sub
  Private Sub Class_Terminate()
    Echo "terminato " & Name
  End Sub
  Public Property Get Count
    Count = m_count
  End Property
  Public Property Let Count(v)
    If v < 0 Then Err.Raise 5
    m_count = v
  End Property
  Public Sub Add(n)
    m_count = m_count + n
  End Sub
  Public Function Twice()
    Twice = m_count * 2
  End Function
End Class
Set c = New Counter
c.Add 5
c.Count = c.Count + 1
Echo c.Count, c.Twice(), c.Twice, c.Name
Set c2 = c
c2.Add 1
Echo c.Count
Echo c Is c2, c Is Nothing
Set c2 = Nothing
Set c = Nothing
Echo "fine"
Set c = New Counter
On Error Resume Next
c.Count = -1
Echo Err.Number
Err.Clear
x = c.m_count
Echo Err.Number
Err.Clear
c.Missing
Echo Err.Number
