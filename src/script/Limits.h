#pragma once
// What the application sets around script calls: how long and how deep a
// call may run and how large its values may grow, and the windows that
// MsgBox and InputBox open.

#include <QString>
#include <QtGlobal>
#include <functional>

namespace vbs {

struct Limits
{
    int timeLimitMs = 2000;             // per call from the application; 0 for none
    qint64 maxSteps = 0;                // loop turns and calls per call from the application; 0 for none
    int maxStackBytes = 1 << 20;        // machine stack that nested script calls may use: keep it
                                        // well under the stack of the thread that runs the script
    qint64 maxArrayElements = 1 << 20;  // elements of one array
    qint64 maxStringLength = 1 << 24;   // characters of one string
};

struct Dialogs
{
    // Returns the button pressed (vbOK = 1, ...).
    std::function<int(const QString& prompt, int buttons, const QString& title)> msgBox;
    // Returns the text typed; an empty text when cancelled.
    std::function<QString(const QString& prompt, const QString& title, const QString& defaultText)> inputBox;
};

} // namespace vbs
