#pragma once
// Every modal interaction of the application goes through one dialog
// service: message boxes, input boxes, file and printer dialogs (and, as they
// come, the archive engine's own dialogs). The application asks Dialogs();
// tests put a scripted service in its place with ScopedDialogService and
// check the exact text, buttons, icon and default button of every dialog.

#include <QString>
#include <QStringList>
#include <optional>

class QDialog;

// The button sets of a message box.
enum class MsgButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };

enum class MsgIcon { None, Critical, Question, Exclamation, Information };

// Which button of the set is the default one, counted from the first.
enum class MsgDefault { Button1, Button2, Button3 };

// The button a message box was closed with.
enum class MsgResult { Ok = 1, Cancel, Abort, Retry, Ignore, Yes, No };

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

    // The printer set-up dialog; True when confirmed.
    virtual bool PrinterSetup(const QString& title) = 0;

    // The refusal of a command that does not apply.
    virtual void Beep() = 0;

    // Shows one of the application's own windows modally and returns its
    // result (QDialog::exec). Tests answer it by acting on the window.
    virtual int ExecModal(QDialog& window) = 0;
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
