#pragma once
// The dialog service that shows real windows: message and input boxes, file
// dialogs and the printer set-up dialog, with Italian button texts, and the
// archive engine's windows, owned by the active window. The engine's windows
// are shown through Dialogs().ExecModal, so that a test can drive the real
// window while this service builds it.

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
    std::optional<PrinterSetupChoice> PrinterSetup(const QString& title, const QString& printerName) override;
    bool PrintDialog(QPrinter& printer, const QString& title) override;
    void Beep() override;
    int ExecModal(QDialog& window) override;

    std::optional<qint64> SelectionList(const std::shared_ptr<DataObject>& data, const QString& title,
                                        const QString& searchField) override;
    std::optional<qint64> RecordEditor(const std::shared_ptr<DataObject>& data, EditMode mode,
                                       const RecordEditorOptions& options) override;
    bool ValueEditor(const std::shared_ptr<DataObject>& data, const QString& field, const QString& title) override;
    bool ComplexFilterDialog(ComplexFilter& filter, const DatabaseObject& database, const QString& title) override;
    std::optional<QString> OrderDialog(const std::shared_ptr<DataObject>& data, const QString& title,
                                       const QString& currentOrder) override;
    std::optional<QString> FieldSequenceDialog(const std::shared_ptr<DataObject>& data, const QString& title,
                                               const QString& currentSequence) override;
    bool ExportDialog(const std::shared_ptr<DataObject>& data, itfProgress* progress) override;
    void DataWindow(const std::shared_ptr<DataObject>& data, const QString& caption) override;

    // "Testo|*.txt|Tutti|*.*" as the file dialog's "Testo (*.txt);;Tutti (*.*)".
    static QString QtFilter(const QString& filter);

    // Message text as shown: CR LF pairs and lone CRs become line feeds.
    static QString DisplayText(const QString& text);
};
