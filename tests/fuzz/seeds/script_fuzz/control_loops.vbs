For i = 10 To 1 Step -3: Echo i: Next
For i = 1 To 0: Echo "mai": Next
Echo i
For i = 1 To 3: Next
Echo i
n = 0
Do While n < 3: n = n + 1: Loop
Echo n
Do: n = n - 1: Loop Until n = 0
Echo n
Do Until n = 2: n = n + 1: Loop
Echo n
Do
  n = n + 1
  If n = 5 Then Exit Do
Loop
Echo n
While n > 0: n = n - 2: Wend
Echo n
For i = 1 To 10
  If i = 3 Then Exit For
Next
Echo i
For i = 1 To 2: For j = 1 To 2: Echo i & "," & j: Next: Next
For x = 0.5 To 2 Step 0.5: Echo x: Next
Do
  Echo "una volta"
Loop While False
