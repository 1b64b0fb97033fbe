' Null spreads through arithmetic and comparisons; & treats it as "".
Echo IsNull(Null + 1), IsNull(1 - Null), IsNull(Null * 0)
Echo Null & "x", "x" & Null & "y"
Echo IsNull(Null & Null), IsNull(Null = Null), IsNull(Null <> 1)
Echo IsNull(Not Null), Null And False, IsNull(Null And True)
Echo Null Or True, IsNull(Null Or False)
Echo IsNull(Len(Null)), IsNull(Left(Null, 2)), IsNull(UCase(Null))
If Null Then Echo "vero" Else Echo "falso"
On Error Resume Next
x = CStr(Null)
Echo Err.Number
