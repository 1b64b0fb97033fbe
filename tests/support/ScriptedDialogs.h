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
//
// The archive engine's windows are answered the same way: the scripted user
// chooses a record, edits the record being edited (through the data object,
// as the real editor does), changes a filter, gives an order, a sequence or
// an export file.

#include "component/ComplexFilter.h"
#include "component/ComponentGlobal.h"
#include "component/DataExport.h"
#include "component/DataObject.h"
#include "component/Exception.h"
#include "component/RecordEditSession.h"
#include "component/TableDef.h"
#include "component/widgets/DialogService.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPrinter>
#include <QTest>

#include <deque>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

enum class DialogKind {
    MessageBox,
    InputBox,
    OpenFile,
    SaveFile,
    PrinterSetup,
    PrintDialog,
    Beep,
    Window,
    SelectionList,
    RecordEditor,
    ValueEditor,
    ComplexFilter,
    OrderDialog,
    FieldSequence,
    ExportDialog,
    DataWindow
};

struct DialogCall
{
    DialogKind kind = DialogKind::MessageBox;
    QString text;        // the message text, or the input box's prompt
    QString title;       // as given (empty means the product name)
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    MsgDefault defaultButton = MsgDefault::Button1;
    QString defaultText; // input box; the printer the set-up dialog opened on
    QString directory;   // file dialogs
    QString fileName;
    QString filter;
    QString window;      // ExecModal: the window's object name
    // The engine's windows: the table of the data object or filter, the
    // search field (selection list) or edited field (value editor), and for
    // the record editor whether it opened on a new record and its option.
    // The proposed order or sequence is in defaultText.
    QString table;
    QString field;
    bool newRecord = false;
    int baseTableOption = 0;
};

inline const char* DialogKindName(DialogKind kind)
{
    switch (kind) {
    case DialogKind::MessageBox: return "message box";
    case DialogKind::InputBox: return "input box";
    case DialogKind::OpenFile: return "open-file dialog";
    case DialogKind::SaveFile: return "save-file dialog";
    case DialogKind::PrinterSetup: return "printer set-up";
    case DialogKind::PrintDialog: return "print dialog";
    case DialogKind::Beep: return "beep";
    case DialogKind::Window: return "window";
    case DialogKind::SelectionList: return "selection list";
    case DialogKind::RecordEditor: return "record editor";
    case DialogKind::ValueEditor: return "value editor";
    case DialogKind::ComplexFilter: return "complex filter dialog";
    case DialogKind::OrderDialog: return "order dialog";
    case DialogKind::FieldSequence: return "field-sequence dialog";
    case DialogKind::ExportDialog: return "export dialog";
    case DialogKind::DataWindow: return "data window";
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
    // The printer set-up dialog: confirmed on the printer it opened on, or
    // cancelled; confirmed on another queue; confirmed printing to a PDF file.
    ScriptedDialogs& AnswerPrinterSetup(bool confirmed) { return Push({DialogKind::PrinterSetup, {}, {}, confirmed}); }
    ScriptedDialogs& AnswerPrinterSetup(const QString& queue)
    {
        return Push({DialogKind::PrinterSetup, {}, queue, true});
    }
    ScriptedDialogs& AnswerPrinterSetupFile(const QString& pdfFile)
    {
        Answer answer{DialogKind::PrinterSetup, {}, {}, true};
        answer.value = pdfFile;
        return Push(std::move(answer));
    }
    // Print dialog: `choose` plays the user on the printer (sets the output
    // file, the pages) and returns whether the dialog is confirmed.
    ScriptedDialogs& AnswerPrint(std::function<bool(QPrinter&)> choose)
    {
        Answer answer{DialogKind::PrintDialog, {}, {}, true};
        answer.print = std::move(choose);
        return Push(std::move(answer));
    }
    ScriptedDialogs& AnswerPrintCancel() { return Push({DialogKind::PrintDialog, {}, {}, false}); }
    // An application window shown modally: `act` plays the user (fills the
    // window, clicks its buttons) and returns the window's result.
    ScriptedDialogs& AnswerWindow(std::function<int(QDialog&)> act)
    {
        Answer answer{DialogKind::Window, {}, {}, false};
        answer.act = std::move(act);
        return Push(std::move(answer));
    }
    // An application window shown modally and driven with real input: the
    // window is shown and activated as exec() would show it, `drive` plays
    // the user on it (keys to the focused widget, clicks at the controls),
    // and the window's result is returned once it has closed. Dialogs the
    // window opens meanwhile take the next scripted answers. A window still
    // open when `drive` returns fails the test and is closed.
    ScriptedDialogs& AnswerShownWindow(std::function<void(QDialog&)> drive)
    {
        return AnswerWindow([drive = std::move(drive)](QDialog& window) {
            window.setWindowModality(Qt::ApplicationModal);
            window.show();
            window.raise();
            window.activateWindow();
            // (A window may also close by itself as it opens.)
            EXPECT_TRUE(QTest::qWaitFor([&window] { return window.isActiveWindow() || !window.isVisible(); }, 5000))
                << "the window never became active";
            QApplication::processEvents();
            drive(window);
            QApplication::processEvents();
            if (window.isVisible()) {
                ADD_FAILURE() << "the window " << window.objectName().toStdString() << " was left open";
                window.done(QDialog::Rejected);
            }
            return window.result();
        });
    }
    void SetPrinters(QStringList printers) { m_printers = std::move(printers); }

    // Selection list: the record chosen, which becomes the current record
    // (nullopt: closed without choosing).
    ScriptedDialogs& AnswerSelection(std::optional<qint64> oid)
    {
        Answer answer{DialogKind::SelectionList, {}, {}, oid.has_value()};
        answer.key = oid;
        return Push(std::move(answer));
    }
    // Selection list: the record at `row` of the list (0 is the first).
    ScriptedDialogs& AnswerSelectionRow(int row)
    {
        Answer answer{DialogKind::SelectionList, {}, {}, true};
        answer.row = row;
        return Push(std::move(answer));
    }
    // Record editor: `edit` plays the user on the record being edited (a new
    // record has been begun; set values with SetValue) and returns true for
    // "OK", false for "Annulla". "OK" stores the record as the real editor
    // does; when storing fails the error appears in a message box (script
    // its answer) and the user then cancels.
    ScriptedDialogs& AnswerRecordEditor(std::function<bool(DataObject&)> edit)
    {
        Answer answer{DialogKind::RecordEditor, {}, {}, true};
        answer.edit = std::move(edit);
        return Push(std::move(answer));
    }
    ScriptedDialogs& AnswerRecordEditorOk() { return Push({DialogKind::RecordEditor, {}, {}, true}); }
    ScriptedDialogs& AnswerRecordEditorCancel() { return Push({DialogKind::RecordEditor, {}, {}, false}); }
    // Value editor: the value confirmed (nullopt: cancelled). A value the
    // field refuses appears in a message box (script its answer), then the
    // user cancels.
    ScriptedDialogs& AnswerValueEditor(std::optional<QVariant> value)
    {
        Answer answer{DialogKind::ValueEditor, {}, {}, value.has_value()};
        answer.value = value.value_or(QVariant());
        return Push(std::move(answer));
    }
    // Complex filter dialog: `edit` changes the conditions and returns
    // whether the dialog is confirmed (a cancelled edit leaves the filter
    // as it was).
    ScriptedDialogs& AnswerComplexFilter(std::function<bool(ComplexFilter&)> edit)
    {
        Answer answer{DialogKind::ComplexFilter, {}, {}, true};
        answer.filterEdit = std::move(edit);
        return Push(std::move(answer));
    }
    ScriptedDialogs& AnswerComplexFilterConfirmed(bool confirmed)
    {
        return Push({DialogKind::ComplexFilter, {}, {}, confirmed});
    }
    // Order and field-sequence dialogs: the string confirmed (nullopt: cancelled).
    ScriptedDialogs& AnswerOrder(std::optional<QString> order) { return Push({DialogKind::OrderDialog, {}, order, false}); }
    ScriptedDialogs& AnswerFieldSequence(std::optional<QString> sequence)
    {
        return Push({DialogKind::FieldSequence, {}, sequence, false});
    }
    // Export dialog: the format and file chosen; the records are exported
    // there as by the real dialog (an error appears in a message box: script
    // its answer).
    ScriptedDialogs& AnswerExport(int format, const QString& path)
    {
        Answer answer{DialogKind::ExportDialog, {}, path, true};
        answer.format = format;
        return Push(std::move(answer));
    }
    ScriptedDialogs& AnswerExportCancel() { return Push({DialogKind::ExportDialog, {}, {}, false}); }
    // Data window: `look` sees the data object shown, then the window closes.
    ScriptedDialogs& AnswerDataWindow(std::function<void(DataObject&)> look = {})
    {
        Answer answer{DialogKind::DataWindow, {}, {}, true};
        answer.look = std::move(look);
        return Push(std::move(answer));
    }

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

    std::optional<PrinterSetupChoice> PrinterSetup(const QString& title, const QString& printerName) override
    {
        DialogCall call;
        call.kind = DialogKind::PrinterSetup;
        call.title = title;
        call.defaultText = printerName;
        const Answer* answer = Take(call);
        if (!answer || !answer->confirmed)
            return std::nullopt;
        if (answer->value.isValid())
            return PrinterSetupChoice{QString(), answer->value.toString()};
        return PrinterSetupChoice{answer->text.value_or(printerName), QString()};
    }

    bool PrintDialog(QPrinter& printer, const QString& title) override
    {
        DialogCall call;
        call.kind = DialogKind::PrintDialog;
        call.title = title;
        const Answer* taken = Take(call);
        if (!taken || !taken->confirmed)
            return false;
        const auto choose = taken->print;
        return choose ? choose(printer) : true;
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

    std::optional<qint64> SelectionList(const std::shared_ptr<DataObject>& data, const QString& title,
                                        const QString& searchField) override
    {
        DialogCall call = EngineCall(DialogKind::SelectionList, data->TableName(), title);
        call.field = searchField;
        const Answer* taken = Take(call);
        if (!taken || !taken->confirmed)
            return std::nullopt;
        const Answer answer = *taken;
        if (answer.row >= 0) {
            if (!data->MoveTo(answer.row)) {
                ADD_FAILURE() << "The selection list has no row " << answer.row;
                return std::nullopt;
            }
            return data->ValueAt(0).toLongLong();
        }
        if (!data->FindKey(QVariant(*answer.key)))
            ADD_FAILURE() << "The selection list has no record " << *answer.key;
        return answer.key;
    }

    std::optional<qint64> RecordEditor(const std::shared_ptr<DataObject>& data, EditMode mode,
                                       const RecordEditorOptions& options) override
    {
        DialogCall call = EngineCall(DialogKind::RecordEditor, data->TableName(), QString());
        call.newRecord = mode == EditMode::NewRecord;
        call.baseTableOption = options.baseTableOption;
        const Answer* taken = Take(call);
        if (!taken)
            return std::nullopt;
        const Answer answer = *taken;
        RecordEditSession session(data, mode, options);
        const bool ok = answer.edit ? answer.edit(*data) : answer.confirmed;
        if (!ok)
            return std::nullopt;
        try {
            return session.Save();
        } catch (const Exception& e) {
            MessageBox(e.Description(), MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1, QString());
            return std::nullopt;
        }
    }

    bool ValueEditor(const std::shared_ptr<DataObject>& data, const QString& field, const QString& title) override
    {
        DialogCall call = EngineCall(DialogKind::ValueEditor, data->TableName(), title);
        call.field = field;
        const Answer* taken = Take(call);
        if (!taken || !taken->confirmed)
            return false;
        const QVariant value = taken->value;
        const int index = data->FieldIndex(field);
        if (index < 0) {
            ADD_FAILURE() << "The value editor opened on an unknown field";
            return false;
        }
        try {
            if (ComponentGlobal::ValuesEqual(value, RecordEditSession::EditorValue(*data, index)))
                return false;
            data->SetValue(field, value);
            return true;
        } catch (const Exception& e) {
            MessageBox(e.Description(), MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1, title);
            return false;
        }
    }

    bool ComplexFilterDialog(ComplexFilter& filter, const DatabaseObject&, const QString& title) override
    {
        const Answer* taken = Take(EngineCall(DialogKind::ComplexFilter, filter.TableName(), title));
        if (!taken)
            return false;
        const Answer answer = *taken;
        if (!answer.filterEdit)
            return answer.confirmed;
        ComplexFilter working = filter;
        if (!answer.filterEdit(working))
            return false;
        filter = working;
        return true;
    }

    std::optional<QString> OrderDialog(const std::shared_ptr<DataObject>& data, const QString& title,
                                       const QString& currentOrder) override
    {
        DialogCall call = EngineCall(DialogKind::OrderDialog, data->TableName(), title);
        call.defaultText = currentOrder;
        const Answer* answer = Take(call);
        return answer ? answer->text : std::nullopt;
    }

    std::optional<QString> FieldSequenceDialog(const std::shared_ptr<DataObject>& data, const QString& title,
                                               const QString& currentSequence) override
    {
        DialogCall call = EngineCall(DialogKind::FieldSequence, data->TableName(), title);
        call.defaultText = currentSequence;
        const Answer* answer = Take(call);
        return answer ? answer->text : std::nullopt;
    }

    bool ExportDialog(const std::shared_ptr<DataObject>& data, itfProgress* progress) override
    {
        const Answer* taken = Take(EngineCall(DialogKind::ExportDialog, data->TableName(), QString()));
        if (!taken || !taken->confirmed)
            return false;
        const Answer answer = *taken;
        try {
            return DataExport::Export(*data, answer.format, answer.text.value_or(QString()), progress);
        } catch (const Exception& e) {
            MessageBox(e.Description(), MsgButtons::Ok, MsgIcon::Critical, MsgDefault::Button1, QString());
            return false;
        }
    }

    void DataWindow(const std::shared_ptr<DataObject>& data, const QString& caption) override
    {
        const Answer* taken = Take(EngineCall(DialogKind::DataWindow, data->TableName(), caption));
        if (taken && taken->look) {
            const auto look = taken->look;
            look(*data);
        }
    }

private:
    struct Answer
    {
        DialogKind kind;
        MsgResult result;
        std::optional<QString> text;
        bool confirmed;
        std::function<int(QDialog&)> act = {};
        std::optional<qint64> key = {};
        int row = -1;
        std::function<bool(DataObject&)> edit = {};
        QVariant value = {};
        std::function<bool(ComplexFilter&)> filterEdit = {};
        int format = 0;
        std::function<void(DataObject&)> look = {};
        std::function<bool(QPrinter&)> print = {};
    };

    static DialogCall EngineCall(DialogKind kind, const QString& table, const QString& title)
    {
        DialogCall call;
        call.kind = kind;
        call.table = table;
        call.title = title;
        return call;
    }

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
            PrintTo(call.text.isEmpty() && !call.table.isEmpty() ? call.table + QStringLiteral(" ") + call.title
                                                                 : call.text,
                    &os);
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
