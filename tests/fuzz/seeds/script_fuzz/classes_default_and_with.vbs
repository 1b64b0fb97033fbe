Class Box
  Private m_v
  Public Default Property Get Value : Value = m_v : End Property
  Public Property Let Value(v) : m_v = v : End Property
End Class
Set b = New Box
b.Value = "dentro"
Echo b, "x" & b
y = b
Echo TypeName(y), TypeName(b)
Class Node
  Public Value
  Public NextNode
End Class
Set first = New Node
first.Value = 1
Set first.NextNode = New Node
first.NextNode.Value = 2
With first.NextNode
  .Value = .Value * 10
  Echo .Value, TypeName(.NextNode)
End With
On Error Resume Next
Set z = 5
Echo Err.Number
Err.Clear
Set o = Nothing
w = o.Value
Echo Err.Number
