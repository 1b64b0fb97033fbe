Option Explicit
Dim a
a = 1
Echo a
b = 2
Echo "mai"
