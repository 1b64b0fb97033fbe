Dim m()
ReDim m(1, 2)
m(1, 2) = "ultimo"
ReDim Preserve m(1, 4)
Echo UBound(m, 1), UBound(m, 2), m(1, 2)
On Error Resume Next
ReDim Preserve m(2, 4)
Echo Err.Number
Err.Clear
Dim f(3)
ReDim f(5)
Echo Err.Number
On Error GoTo 0
e = Array()
Echo UBound(e), LBound(e), IsArray(e)
a = Array(1, 2, 3)
For Each v In a
  v = v * 10
Next
Echo Join(a, ",")
ReDim Preserve a(1)
Echo Join(a, ",")
