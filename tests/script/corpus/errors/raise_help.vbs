' Err.Raise number, source, description, helpfile, helpcontext
On Error Resume Next
Err.Raise 7, 99, "desc", "help.chm", 42
Echo Err.Number, Err.Source, Err.Description, Err.HelpFile, Err.HelpContext
' A later error without help clears it; Clear clears everything.
Err.Raise 5
Echo Err.Number, "[" & Err.HelpFile & "]", Err.HelpContext
Err.Raise 1000, "Cassa", , "cassa.hlp"
Echo Err.Number, Err.Source, Err.Description, Err.HelpFile, Err.HelpContext
Err.Clear
Echo Err.Number, "[" & Err.Source & "]", "[" & Err.HelpFile & "]", Err.HelpContext
x = 1 / 0
Echo Err.Number, Err.Source, "[" & Err.HelpFile & "]"
