Dim m(2, 3)
m(1, 2) = "x"
Echo UBound(m), UBound(m, 2), LBound(m), m(1, 2)
Dim d()
ReDim d(2)
d(0) = "a": d(2) = "c"
ReDim Preserve d(4)
Echo UBound(d), d(0), d(2), IsEmpty(d(4))
ReDim d(1)
Echo IsEmpty(d(0))
a = Array(1, 2, 3)
b = a
b(0) = 99
Echo a(0), b(0)
Erase a
On Error Resume Next
Echo UBound(a)
Echo Err.Number
Err.Clear
Echo m(5, 5)
Echo Err.Number
On Error GoTo 0
Dim f(2): f(1) = 5: Erase f: Echo IsEmpty(f(1)), UBound(f)
s = 0
For Each v In Array(1, 2, 3): s = s + v: Next
Echo s
x = Array(Array(1, 2), Array(3, 4))
Echo x(1)(0), UBound(x(0))
Dim g(1, 1)
g(0, 0) = 1: g(1, 0) = 2: g(0, 1) = 3: g(1, 1) = 4
For Each v In g: Echo v: Next
