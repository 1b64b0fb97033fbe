' Unary minus binds tighter than ^; ^ groups from the left.
Echo -3 ^ 2, -2 ^ 2 = 4, 2 ^ -1
x = 3
Echo -x ^ 2, 2 * -3 ^ 2, -(3 ^ 2)
Echo 2 ^ 3 ^ 2, 2 ^ (3 ^ 2), 2 ^ -2 ^ 2, - - 2, -2 * -3, Not 1 + 1
' = in an expression compares: x = 1 = 1 assigns True.
x = 1 = 1 : y = z = 2 : Echo x, y
' * and / before \, \ before Mod, Mod before + and -.
Echo 10 \ 3 * 2, 7 Mod 4 \ 2, 2 + 7 Mod 3, 10 - 4 - 3, 16 / 4 / 2
' + before &, & before comparisons, comparisons before Not, Not before And.
Echo 1 + 2 & 3, "a" & 1 + 2 = "a3", Not 1 = 2, Not False And False
' And before Or, Or before Xor, Xor before Eqv, Eqv before Imp.
Echo True Or False And False, True Xor True Or True, False Eqv False Xor True, False Imp False Eqv False
' Comparisons group from the left.
Echo 1 < 2 = True, 3 > 2 > 1
