' Integer overflows to Long, Long to Double; Byte to Integer.
Echo TypeName(32767 + 1), 32767 + 1
Echo TypeName(2147483647 + 1), 2147483647 + 1
Echo TypeName(CByte(200) + CByte(100)), CByte(200) + CByte(100)
Echo TypeName(CByte(1) + CByte(2))
Echo TypeName(True + True), True + True
Echo TypeName(1 * 1.5), TypeName(CSng(1.5) + 1), TypeName(CSng(1.5) + 100000)
Echo TypeName(CCur(1) + 1), TypeName(Empty + Empty), Empty + Empty
Echo 10 / 4, TypeName(10 / 4), TypeName(4 / 2)
Echo 2 ^ 10, TypeName(2 ^ 10), -2 ^ 2
Echo 200 * 200, TypeName(200 * 200)
Echo 7 - 10, TypeName(-32767 - 1)
