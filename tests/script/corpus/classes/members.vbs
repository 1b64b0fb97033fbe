Class Account
  Private m_items()
  Private m_count
  Public Owner

  Private Sub Class_Initialize
    ReDim m_items(1)
    m_count = 0
  End Sub

  Public Sub Add(value)
    If m_count > UBound(m_items) Then ReDim Preserve m_items(m_count * 2)
    m_items(m_count) = value
    m_count = m_count + 1
  End Sub

  Public Default Property Get Item(i)
    Item = m_items(i)
  End Property

  Public Property Let Item(i, value)
    m_items(i) = value
  End Property

  Public Property Get Count
    Count = m_count
  End Property

  Public Property Get Total
    Dim i
    For i = 0 To m_count - 1
      Total = Total + m_items(i)
    Next
  End Property

  Public Property Set Holder(obj)
    Set Owner = obj
  End Property

  Public Function Self()
    Set Self = Me
  End Function

  Private Function Secret()
    Secret = "segreto"
  End Function

  Public Function Reveal()
    Reveal = Secret() & " " & Me.Count
  End Function
End Class

Set a = New Account
a.Add 10
a.Add 20
a.Add 30
Echo a.Count, a.Total, a(1), a.Item(2)
a(1) = 25
Echo a.Total
Set b = New Account
Set a.Holder = b
Echo TypeName(a.Owner), a.Owner Is b
Echo a.Self() Is a, a.Reveal()
b.Owner = "Anna"
Echo b.Owner
