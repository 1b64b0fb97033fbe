Echo "uno"
x = 1

y = x / 0
Echo "mai"
