' And, Or, Xor, Not, Eqv, Imp: logical on Booleans, bitwise on numbers.
Echo True And False, True Or False, True Xor True, Not True
Echo 12 And 10, 12 Or 10, 12 Xor 10, Not 0, Not 5
Echo True Eqv False, False Imp True, True Imp False
Echo TypeName(12 And 10), TypeName(True And 1), TypeName(CLng(1) Or 2)
Echo 1 < 2, "a" < "b", "B" < "a", 2 >= 2, 3 <> 3
