#pragma once
// The button row of the engine's windows: "OK" (the default button, cmdOk)
// accepts the window, "Annulla" (cmdCancel) rejects it.

#include <QString>

class QDialog;
class QDialogButtonBox;
class QPushButton;

struct DialogButtons
{
    QDialogButtonBox* box;
    QPushButton* ok;
    QPushButton* cancel;
};

DialogButtons OkCancelButtons(QDialog& window, const QString& okCaption = QStringLiteral("OK"),
                              const QString& okName = QStringLiteral("cmdOk"));
