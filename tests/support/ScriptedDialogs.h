#pragma once
// A dialog service for tests: it records every dialog the code under test
// shows and answers from a queue of scripted answers, in order. A dialog
// without a scripted answer, an answer of the wrong kind, or an answer left
// unused at the end fails the test.
//
//     ScriptedDialogs dialogs;
//     ScopedDialogService use(dialogs);
//     dialogs.AnswerMessage(MsgResult::No);
//     ... run the code ...
//     EXPECT_EQ(dialogs.Calls().at(0).text, ...);

#include "component/widgets/DialogService.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>

#include <QDialog>

#include <deque>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

enum class DialogKind { MessageBox, InputBox, OpenFile, SaveFile, PrinterSetup, Beep, Window };

struct DialogCall
{
    DialogKind kind = DialogKind::MessageBox;
    QString text;        // the message text, or the input box's prompt
    QString title;       // as given (empty means the product name)
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    MsgDefault defaultButton = MsgDefault::Button1;
    QString defaultText; // input box
    QString directory;   // file dialogs
    QString fileName;
    QString filter;
    QString window;      // ExecModal: the window's object name
};

inline const char* DialogKindName(DialogKind kind)
{
    switch (kind) {
    case DialogKind::MessageBox: return "message box";
    case DialogKind::InputBox: return "input box";
    case DialogKind::OpenFile: return "open-file dialog";
    case DialogKind::SaveFile: return "save-file dialog";
    case DialogKind::PrinterSetup: return "printer set-up";
    case DialogKind::Beep: return "beep";
    case DialogKind::Window: return "window";
    }
    return "dialog";
}

class ScriptedDialogs : public DialogService
{
public:
    ScriptedDialogs() = default;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    ~ScriptedDialogs() override
    {
        if (!m_answers.empty())
            ADD_FAILURE() << m_answers.size() << " scripted dialog answer(s) never used; the first is for a "
                          << DialogKindName(m_answers.front().kind);
    }

    ScriptedDialogs& AnswerMessage(MsgResult result) { return Push({DialogKind::MessageBox, result, {}, false}); }
    ScriptedDialogs& AnswerInput(std::optional<QString> text) { return Push({DialogKind::InputBox, {}, text, false}); }
    ScriptedDialogs& AnswerOpenFile(std::optional<QString> path) { return Push({DialogKind::OpenFile, {}, path, false}); }
    ScriptedDialogs& AnswerSaveFile(std::optional<QString> path) { return Push({DialogKind::SaveFile, {}, path, false}); }
    ScriptedDialogs& AnswerPrinterSetup(bool confirmed) { return Push({DialogKind::PrinterSetup, {}, {}, confirmed}); }
    // An application window shown modally: `act` plays the user (fills the
    // window, clicks its buttons) and returns the window's result.
    ScriptedDialogs& AnswerWindow(std::function<int(QDialog&)> act)
    {
        Answer answer{DialogKind::Window, {}, {}, false};
        answer.act = std::move(act);
        return Push(std::move(answer));
    }
    void SetPrinters(QStringList printers) { m_printers = std::move(printers); }

    const std::vector<DialogCall>& Calls() const { return m_calls; }
    const DialogCall& LastCall() const { return m_calls.back(); }
    int Count(DialogKind kind) const
    {
        int n = 0;
        for (const DialogCall& call : m_calls)
            n += call.kind == kind ? 1 : 0;
        return n;
    }
    int Beeps() const { return Count(DialogKind::Beep); }
    std::size_t PendingAnswers() const { return m_answers.size(); }

    MsgResult MessageBox(const QString& text, MsgButtons buttons, MsgIcon icon, MsgDefault defaultButton,
                         const QString& title) override
    {
        DialogCall call;
        call.kind = DialogKind::MessageBox;
        call.text = text;
        call.title = title;
        call.buttons = buttons;
        call.icon = icon;
        call.defaultButton = defaultButton;
        const Answer* answer = Take(call);
        return answer ? answer->result : SafeResult(buttons);
    }

    std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& defaultText) override
    {
        DialogCall call;
        call.kind = DialogKind::InputBox;
        call.text = prompt;
        call.title = title;
        call.defaultText = defaultText;
        const Answer* answer = Take(call);
        return answer ? answer->text : std::nullopt;
    }

    std::optional<QString> GetOpenFileName(const QString& title, const QString& directory, const QString& fileName,
                                           const QString& filter) override
    {
        return FileDialog(DialogKind::OpenFile, title, directory, fileName, filter);
    }

    std::optional<QString> GetSaveFileName(const QString& title, const QString& directory, const QString& fileName,
                                           const QString& filter) override
    {
        return FileDialog(DialogKind::SaveFile, title, directory, fileName, filter);
    }

    QStringList Printers() override { return m_printers; }

    bool PrinterSetup(const QString& title) override
    {
        DialogCall call;
        call.kind = DialogKind::PrinterSetup;
        call.title = title;
        const Answer* answer = Take(call);
        return answer && answer->confirmed;
    }

    void Beep() override
    {
        DialogCall call;
        call.kind = DialogKind::Beep;
        m_calls.push_back(call);
    }

    int ExecModal(QDialog& window) override
    {
        DialogCall call;
        call.kind = DialogKind::Window;
        call.window = window.objectName();
        call.title = window.windowTitle();
        const Answer* answer = Take(call);
        if (!answer || !answer->act)
            return QDialog::Rejected;
        const auto act = answer->act; // the answer slot is reused by nested dialogs
        return act(window);
    }

private:
    struct Answer
    {
        DialogKind kind;
        MsgResult result;
        std::optional<QString> text;
        bool confirmed;
        std::function<int(QDialog&)> act = {};
    };

    ScriptedDialogs& Push(Answer answer)
    {
        m_answers.push_back(std::move(answer));
        return *this;
    }

    // Records the call and hands out the next answer, or fails the test and
    // gives nullptr when there is none of the right kind.
    const Answer* Take(const DialogCall& call)
    {
        m_calls.push_back(call);
        std::string shown;
        {
            std::ostringstream os;
            PrintTo(call.text, &os);
            shown = os.str();
        }
        if (m_answers.empty()) {
            ADD_FAILURE() << "Unscripted " << DialogKindName(call.kind) << ": " << shown;
            return nullptr;
        }
        m_current = m_answers.front();
        m_answers.pop_front();
        if (m_current.kind != call.kind) {
            ADD_FAILURE() << "A " << DialogKindName(call.kind) << " appeared (" << shown
                          << ") where the script expected a " << DialogKindName(m_current.kind);
            return nullptr;
        }
        return &m_current;
    }

    std::optional<QString> FileDialog(DialogKind kind, const QString& title, const QString& directory,
                                      const QString& fileName, const QString& filter)
    {
        DialogCall call;
        call.kind = kind;
        call.title = title;
        call.directory = directory;
        call.fileName = fileName;
        call.filter = filter;
        const Answer* answer = Take(call);
        return answer ? answer->text : std::nullopt;
    }

    // What an unscripted box answers: the button that changes nothing.
    static MsgResult SafeResult(MsgButtons buttons)
    {
        switch (buttons) {
        case MsgButtons::Ok: return MsgResult::Ok;
        case MsgButtons::YesNo: return MsgResult::No;
        case MsgButtons::AbortRetryIgnore: return MsgResult::Abort;
        default: return MsgResult::Cancel;
        }
    }

    std::deque<Answer> m_answers;
    Answer m_current{DialogKind::MessageBox, MsgResult::Ok, {}, false};
    std::vector<DialogCall> m_calls;
    QStringList m_printers;
};
