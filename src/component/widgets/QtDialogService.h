#pragma once
// The dialog service that shows real windows: message and input boxes, file
// dialogs and the printer set-up dialog, with Italian button texts, owned by
// the active window.

#include "component/widgets/DialogService.h"

class QtDialogService : public DialogService
{
public:
    MsgResult MessageBox(const QString& text, MsgButtons buttons, MsgIcon icon, MsgDefault defaultButton,
                         const QString& title) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    std::optional<QString> GetOpenFileName(const QString& title, const QString& directory, const QString& fileName,
                                           const QString& filter) override;
    std::optional<QString> GetSaveFileName(const QString& title, const QString& directory, const QString& fileName,
                                           const QString& filter) override;
    QStringList Printers() override;
    bool PrinterSetup(const QString& title) override;
    void Beep() override;
    int ExecModal(QDialog& window) override;

    // "Testo|*.txt|Tutti|*.*" as the file dialog's "Testo (*.txt);;Tutti (*.*)".
    static QString QtFilter(const QString& filter);

    // Message text as shown: CR LF pairs and lone CRs become line feeds.
    static QString DisplayText(const QString& text);
};
