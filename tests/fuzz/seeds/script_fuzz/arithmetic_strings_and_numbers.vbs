' + adds when one side is a number (the text is converted), joins two texts.
Echo "1" + 1, TypeName("1" + 1)
Echo "1" + "1", "a" & 1, 1 & 2, TypeName(1 & 2)
Echo "1,5" + 1
Echo "a" + Empty, Empty + 3
On Error Resume Next
x = "a" + 1
Echo Err.Number, Err.Description
