#include "component/widgets/QtDialogService.h"

#include "component/widgets/ComplexFilterWindow.h"
#include "component/widgets/DataViewWindow.h"
#include "component/widgets/ExportWindow.h"
#include "component/widgets/FieldSequenceWindow.h"
#include "component/widgets/OrderWindow.h"
#include "component/widgets/RecordEditorWindow.h"
#include "component/widgets/SelectionListWindow.h"
#include "component/widgets/ValueEditorWindow.h"

#include <QDialog>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>

#include <vector>

namespace {

struct ButtonSpec
{
    QMessageBox::StandardButton Button;
    const char16_t* Text;
    MsgResult Result;
};

const ButtonSpec kOk{QMessageBox::Ok, u"OK", MsgResult::Ok};
const ButtonSpec kCancel{QMessageBox::Cancel, u"Annulla", MsgResult::Cancel};
const ButtonSpec kAbort{QMessageBox::Abort, u"Interrompi", MsgResult::Abort};
const ButtonSpec kRetry{QMessageBox::Retry, u"Riprova", MsgResult::Retry};
const ButtonSpec kIgnore{QMessageBox::Ignore, u"Ignora", MsgResult::Ignore};
const ButtonSpec kYes{QMessageBox::Yes, u"Sì", MsgResult::Yes};
const ButtonSpec kNo{QMessageBox::No, u"No", MsgResult::No};

std::vector<ButtonSpec> ButtonsOf(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return {kOk};
    case MsgButtons::OkCancel: return {kOk, kCancel};
    case MsgButtons::AbortRetryIgnore: return {kAbort, kRetry, kIgnore};
    case MsgButtons::YesNoCancel: return {kYes, kNo, kCancel};
    case MsgButtons::YesNo: return {kYes, kNo};
    case MsgButtons::RetryCancel: return {kRetry, kCancel};
    }
    return {kOk};
}

QMessageBox::Icon IconOf(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None: return QMessageBox::NoIcon;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// The result when the box was closed without a button: Cancel when offered,
// else the safest button of the set.
MsgResult ClosedResult(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return MsgResult::Ok;
    case MsgButtons::YesNo: return MsgResult::No;
    case MsgButtons::AbortRetryIgnore: return MsgResult::Abort;
    default: return MsgResult::Cancel;
    }
}

// The default suffix for a saved file: the extension of the selected filter's
// first pattern, when it names one ("*.txt" gives "txt").
QString SuffixOf(const QString& qtFilter)
{
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([A-Za-z0-9_]+)[ )]"));
    const QRegularExpressionMatch match = pattern.match(qtFilter);
    return match.hasMatch() ? match.captured(1) : QString();
}

std::optional<QString> RunFileDialog(bool save, const QString& title, const QString& directory,
                                     const QString& fileName, const QString& filter)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title.isEmpty() ? (save ? QStringLiteral("Salva con nome") : QStringLiteral("Apri"))
                                          : title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Cerca in:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nome file:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo file:"));
    dialog.setLabelText(QFileDialog::Accept, save ? QStringLiteral("Salva") : QStringLiteral("Apri"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Annulla"));

    const QString qtFilter = QtDialogService::QtFilter(filter);
    if (!qtFilter.isEmpty())
        dialog.setNameFilter(qtFilter);
    if (save)
        dialog.setDefaultSuffix(SuffixOf(dialog.selectedNameFilter()));

    QString folder = directory;
    QString name = fileName;
    if (name.contains(QLatin1Char('/'))) {
        const QFileInfo info(name);
        folder = info.path();
        name = info.fileName();
    }
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (!name.isEmpty() && !name.contains(QLatin1Char('*')) && !name.contains(QLatin1Char('?')))
        dialog.selectFile(name);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

MsgResult QtDialogService::MessageBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                                      MsgDefault defaultButton, const QString& title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(DialogTitle(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(DisplayText(text));
    box.setIcon(IconOf(icon));

    const std::vector<ButtonSpec> specs = ButtonsOf(buttons);
    std::vector<QPushButton*> added;
    for (const ButtonSpec& spec : specs) {
        QPushButton* button = box.addButton(spec.Button);
        button->setText(QString::fromUtf16(spec.Text));
        added.push_back(button);
    }
    const auto index = static_cast<std::size_t>(defaultButton);
    box.setDefaultButton(added[index < added.size() ? index : 0]);

    box.exec();
    for (std::size_t i = 0; i < added.size(); ++i) {
        if (box.clickedButton() == added[i])
            return specs[i].Result;
    }
    return ClosedResult(buttons);
}

std::optional<QString> QtDialogService::InputBox(const QString& prompt, const QString& title,
                                                 const QString& defaultText)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(DialogTitle(title));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(DisplayText(prompt));
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annulla"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> QtDialogService::GetOpenFileName(const QString& title, const QString& directory,
                                                        const QString& fileName, const QString& filter)
{
    return RunFileDialog(false, title, directory, fileName, filter);
}

std::optional<QString> QtDialogService::GetSaveFileName(const QString& title, const QString& directory,
                                                        const QString& fileName, const QString& filter)
{
    return RunFileDialog(true, title, directory, fileName, filter);
}

QStringList QtDialogService::Printers()
{
    return QPrinterInfo::availablePrinterNames();
}

std::optional<PrinterSetupChoice> QtDialogService::PrinterSetup(const QString& title, const QString& printerName)
{
    QPrinter printer;
    if (!printerName.isEmpty() && !QPrinterInfo::printerInfo(printerName).isNull())
        printer.setPrinterName(printerName);
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(DialogTitle(title));
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return PrinterSetupChoice{QString(), printer.outputFileName()};
    return PrinterSetupChoice{printer.printerName(), QString()};
}

bool QtDialogService::PrintDialog(QPrinter& printer, const QString& title)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(DialogTitle(title));
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogService::Beep()
{
    QApplication::beep();
}

QString QtDialogService::QtFilter(const QString& filter)
{
    if (filter.isEmpty())
        return {};
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        if (parts[i].trimmed().isEmpty() && patterns.isEmpty())
            continue;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns.isEmpty())
            patterns = QStringLiteral("*");
        filters.append(QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns.simplified()));
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtDialogService::DisplayText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

DialogService& Dialogs()
{
    if (DialogServiceDetail::g_current)
        return *DialogServiceDetail::g_current;
    static QtDialogService service;
    return service;
}

int QtDialogService::ExecModal(QDialog& window) { return window.exec(); }

std::optional<qint64> QtDialogService::SelectionList(const std::shared_ptr<DataObject>& data, const QString& title,
                                                     const QString& searchField)
{
    SelectionListWindow window(data, title, searchField, QApplication::activeWindow());
    if (Dialogs().ExecModal(window) != QDialog::Accepted)
        return std::nullopt;
    return window.ChosenKey();
}

std::optional<qint64> QtDialogService::RecordEditor(const std::shared_ptr<DataObject>& data, EditMode mode,
                                                    const RecordEditorOptions& options)
{
    RecordEditorWindow window(data, mode, options, QApplication::activeWindow());
    if (Dialogs().ExecModal(window) != QDialog::Accepted)
        return std::nullopt;
    return window.StoredKey();
}

bool QtDialogService::ValueEditor(const std::shared_ptr<DataObject>& data, const QString& field, const QString& title)
{
    ValueEditorWindow window(data, field, title, QApplication::activeWindow());
    return Dialogs().ExecModal(window) == QDialog::Accepted && window.Changed();
}

bool QtDialogService::ComplexFilterDialog(ComplexFilter& filter, const DatabaseObject& database, const QString& title)
{
    ComplexFilterWindow window(filter, database, title, QApplication::activeWindow());
    return Dialogs().ExecModal(window) == QDialog::Accepted;
}

std::optional<QString> QtDialogService::OrderDialog(const std::shared_ptr<DataObject>& data, const QString& title,
                                                    const QString& currentOrder)
{
    OrderWindow window(*data, title, currentOrder, QApplication::activeWindow());
    if (Dialogs().ExecModal(window) != QDialog::Accepted)
        return std::nullopt;
    return window.Result();
}

std::optional<QString> QtDialogService::FieldSequenceDialog(const std::shared_ptr<DataObject>& data,
                                                            const QString& title, const QString& currentSequence)
{
    FieldSequenceWindow window(*data, title, currentSequence, QApplication::activeWindow());
    if (Dialogs().ExecModal(window) != QDialog::Accepted)
        return std::nullopt;
    return window.Result();
}

bool QtDialogService::ExportDialog(const std::shared_ptr<DataObject>& data, itfProgress* progress)
{
    ExportWindow window(data, progress, QApplication::activeWindow());
    Dialogs().ExecModal(window);
    return window.Exported();
}

void QtDialogService::DataWindow(const std::shared_ptr<DataObject>& data, const QString& caption)
{
    DataViewWindow window(data, caption, QApplication::activeWindow());
    Dialogs().ExecModal(window);
}
