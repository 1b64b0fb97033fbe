' \ and Mod round their operands (halves to even) before dividing.
Echo 5 \ 2.6, 7 \ 2, -7 \ 2, 7.5 \ 2, 6.5 \ 2
Echo 10 Mod 3, 10.5 Mod 3, 11.5 Mod 3, -7 Mod 3, 7 Mod -3
Echo TypeName(7 \ 2), TypeName(7.5 \ 2), TypeName(7 Mod 2)
On Error Resume Next
x = 1 \ 0
Echo Err.Number
Err.Clear
x = 1 / 0
Echo Err.Number
Err.Clear
x = 0 / 0
Echo Err.Number
Err.Clear
x = 5 Mod 0.4
Echo Err.Number
