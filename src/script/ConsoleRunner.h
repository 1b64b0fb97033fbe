#pragma once
// Runs a script's top-level code with two host subs, as the command-line
// runner and the script tests use it:
//   Echo x      writes the text of x (as CStr writes it; Null, which CStr
//               refuses, as "Null") and a line break; several arguments
//               are joined by spaces;
//   ok cond, m  writes "FAIL: m" unless cond converts to True.
// A script error writes "ERROR line=<n> number=<num>: <description>".

#include "script/Limits.h"

#include <QByteArray>
#include <QString>

namespace vbs {

struct ConsoleResult
{
    QString output;
    int exitCode = 0; // 0 ran through, 1 script error, 2 some ok failed
};

ConsoleResult RunConsoleScript(const QString& source, const Limits& limits = Limits());

// Script files are UTF-16 or UTF-8 with a byte order mark, plain UTF-8, or
// else the Western European code page 1252 of older editors.
QString DecodeScriptFile(const QByteArray& bytes);

} // namespace vbs
