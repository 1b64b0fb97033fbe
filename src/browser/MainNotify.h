#pragma once
// The main window's reactions to the archive engine's notifications, apart
// from the window: the status text of an event and the OK/Cancel question.

#include <QString>

// The engine's text for the event code, followed by " <detail>..." when a
// detail is given.
QString EventStatusText(int eventCode, const QString& detail);

// Asks the engine's question with OK and Cancel: an exclamation icon for
// message type 3, a question icon otherwise; Cancel is the default button
// when `cancel` comes in True. Returns the new cancel flag: True unless OK
// was chosen.
bool AskQueryMessage(int messageType, const QString& text, bool cancel);
