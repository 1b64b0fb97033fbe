Rem A comment line
' Another comment
x = 1 + _
    2 + _
    3   ' continued over three lines
Echo x : Echo "due istruzioni" : REM comment after a colon
s = "a" & _
  "b"
Echo s
If x = 6 Then _
  Echo "sei"
DIM Y : y = 5 : ECHO Y
Echo [Nome con spazi]
[Nome con spazi] = "tra parentesi"
Echo [Nome con spazi]
