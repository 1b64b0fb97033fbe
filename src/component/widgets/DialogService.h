#pragma once
// Every modal interaction of the application goes through one dialog
// service: message boxes, input boxes, file and printer dialogs, and the
// archive engine's own windows (selection list, record and value editors,
// filter, order and field-sequence dialogs, export, data window). The
// application asks Dialogs();
// tests put a scripted service in its place with ScopedDialogService and
// check the exact text, buttons, icon and default button of every dialog.

#include "component/RecordEditSession.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QDialog;
class QPrinter;
class ComplexFilter;
class DataObject;
class DatabaseObject;
class itfProgress;

// The button sets of a message box.
enum class MsgButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };

enum class MsgIcon { None, Critical, Question, Exclamation, Information };

// Which button of the set is the default one, counted from the first.
enum class MsgDefault { Button1, Button2, Button3 };

// The button a message box was closed with.
enum class MsgResult { Ok = 1, Cancel, Abort, Retry, Ignore, Yes, No };

// The printer chosen in the printer set-up dialog: a queue of the system, or
// a PDF file (printerName empty).
struct PrinterSetupChoice
{
    QString printerName;
    QString outputFile;
};

class DialogService
{
public:
    virtual ~DialogService() = default;

    // A message box; an empty title means the product name.
    virtual MsgResult MessageBox(const QString& text, MsgButtons buttons, MsgIcon icon, MsgDefault defaultButton,
                                 const QString& title) = 0;

    // A one-line text entry; nullopt when cancelled.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;

    // File dialogs. The filter is written as "Descrizione|*.ext;*.ext2|...".
    // The result is the chosen path, or nullopt when cancelled. The save
    // dialog does not ask before replacing a file: callers ask themselves.
    virtual std::optional<QString> GetOpenFileName(const QString& title, const QString& directory,
                                                   const QString& fileName, const QString& filter) = 0;
    virtual std::optional<QString> GetSaveFileName(const QString& title, const QString& directory,
                                                   const QString& fileName, const QString& filter) = 0;

    // The names of the installed printers, in the system's order.
    virtual QStringList Printers() = 0;

    // The printer set-up dialog, opened on the queue `printerName` (the
    // default printer when empty or not installed); the printer chosen when
    // confirmed, nullopt when cancelled.
    virtual std::optional<PrinterSetupChoice> PrinterSetup(const QString& title, const QString& printerName) = 0;

    // The print dialog over `printer` (which printer, which pages, how many
    // copies); True when confirmed, the choices then set on `printer`.
    virtual bool PrintDialog(QPrinter& printer, const QString& title) = 0;

    // The refusal of a command that does not apply.
    virtual void Beep() = 0;

    // Shows one of the application's own windows modally and returns its
    // result (QDialog::exec). Tests answer it by acting on the window.
    virtual int ExecModal(QDialog& window) = 0;

    // The archive engine's windows. They work on the caller's data object
    // and move its current record as the user browses.

    // The records of `data` in a list (titled with the table's caption when
    // `title` is empty); typing searches `searchField` when one is given.
    // The chosen record's OID, which is then the current record; nullopt
    // when the list was closed without choosing.
    virtual std::optional<qint64> SelectionList(const std::shared_ptr<DataObject>& data, const QString& title,
                                                const QString& searchField) = 0;

    // Edits a new record or the current one, one editor per field, the
    // table's rules applied as values change. The stored record's OID;
    // nullopt when the user cancelled (nothing is stored then).
    virtual std::optional<qint64> RecordEditor(const std::shared_ptr<DataObject>& data, EditMode mode,
                                               const RecordEditorOptions& options) = 0;

    // Edits one field of the current record: the value is set, not stored.
    // True when the field changed.
    virtual bool ValueEditor(const std::shared_ptr<DataObject>& data, const QString& field, const QString& title) = 0;

    // The conditions of `filter`, a filter on one of the tables of
    // `database`, with its saved filters. True when confirmed: `filter`
    // then holds the conditions as edited; otherwise it is as it was (filters
    // saved or deleted in the dialog stay saved or deleted).
    virtual bool ComplexFilterDialog(ComplexFilter& filter, const DatabaseObject& database, const QString& title) = 0;

    // A combined order over the fields of `data`, starting from
    // `currentOrder`. The order string, or nullopt when cancelled.
    virtual std::optional<QString> OrderDialog(const std::shared_ptr<DataObject>& data, const QString& title,
                                               const QString& currentOrder) = 0;

    // The fields a grid of `data` shows, in sequence, starting from
    // `currentSequence` (empty: the default fields). The new sequence (empty
    // for the default), or nullopt when cancelled.
    virtual std::optional<QString> FieldSequenceDialog(const std::shared_ptr<DataObject>& data, const QString& title,
                                                       const QString& currentSequence) = 0;

    // Asks for a format and a file and exports the records of `data` there,
    // reporting to `progress` (may be null). True when a file was written.
    virtual bool ExportDialog(const std::shared_ptr<DataObject>& data, itfProgress* progress) = 0;

    // Shows the records of `data` in a window with `caption`.
    virtual void DataWindow(const std::shared_ptr<DataObject>& data, const QString& caption) = 0;
};

// The title shown for an empty one.
inline QString DialogTitle(const QString& title)
{
    return title.isEmpty() ? QStringLiteral("Mensora") : title;
}

namespace DialogServiceDetail {
inline DialogService* g_current = nullptr;
}

// The dialog service in force: the one a ScopedDialogService set, else the
// one that shows the application's real windows.
DialogService& Dialogs();

// While alive, Dialogs() answers with the given service.
class ScopedDialogService
{
public:
    explicit ScopedDialogService(DialogService& service) : m_previous(DialogServiceDetail::g_current)
    {
        DialogServiceDetail::g_current = &service;
    }
    ~ScopedDialogService() { DialogServiceDetail::g_current = m_previous; }
    ScopedDialogService(const ScopedDialogService&) = delete;
    ScopedDialogService& operator=(const ScopedDialogService&) = delete;

private:
    DialogService* m_previous;
};
