Echo Escape("a b&è€"), Unescape("a%20b%26%E8%u20AC")
Echo LenB("abc"), AscB("A"), ChrB(66), LeftB("abcd", 4), MidB("abcd", 3, 2)
Function Twice(n) : Twice = n * 2 : End Function
Set f = GetRef("Twice")
Echo f(21)
Echo RGB(255, 0, 0), RGB(0, 0, 255), ScriptEngine, ScriptEngineMajorVersion & "." & ScriptEngineMinorVersion
Echo GetLocale()
Randomize 1
r = Rnd
Echo r >= 0 And r < 1, TypeName(r)
Echo Rnd(0) = r
Echo Sqr(16), Exp(0), Log(1), Sin(0), Cos(0), Atn(0), Tan(0)
