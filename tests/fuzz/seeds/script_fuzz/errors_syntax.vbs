Echo "mai"
x = (1 + 2
