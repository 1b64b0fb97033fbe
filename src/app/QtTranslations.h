#pragma once
// The Italian texts of Qt's own windows: the printer and file dialogs that the
// printed lists and the exports open, the standard buttons, the context menu
// of a text box.

#include <QTranslator>

class QCoreApplication;

// Loads Qt's Italian translation into the application; the translator is the
// application's child. Returns it, or nullptr when no translation is found
// (the windows then show Qt's English texts).
QTranslator* InstallQtTranslations(QCoreApplication& application);
