#include "printing/TicketEmission.h"

#include "app/AppSettings.h"
#include "app/frmMessage.h"
#include "component/DataObject.h"
#include "component/Exception.h"
#include "component/widgets/DialogService.h"
#include "printing/TicketFields.h"
#include "printing/clsScriptPrinter.h"
#include "script/Convert.h"
#include "script/FieldCollection.h"
#include "script/ScriptEngine.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <exception>

namespace {

const QString MaskHeading = QStringLiteral("Errore nel codice di stampa maschera ricevuta: ");
const QString EmissionHeading = QStringLiteral("Si e' verificato un errore durante l'emissione della ricevuta:");

void ReportCritical(const QString& text)
{
    Dialogs().MessageBox(text, MsgButtons::Ok, MsgIcon::Critical, MsgDefault::Button1, QString());
}

void ReportScriptError(const QString& heading, const QString& description, qint32 number, int line)
{
    QString text = heading + QStringLiteral("\r\r") + description + u'\r';
    if (number != 0)
        text += QStringLiteral("\rLinea VB: ") + QString::number(line);
    ReportCritical(text);
}

QString RowHeading(qint32 nRow)
{
    return QStringLiteral("Errore nel codice di stampa (") + QString::number(nRow) + QStringLiteral(") riga ricevuta: ");
}

// The main window when it is the active one: the message window belongs to it.
QWidget* MainWindowIfActive()
{
    QWidget* active = QApplication::activeWindow();
    return active && active->objectName() == QLatin1String("frmMain") ? active : nullptr;
}

// The layout script of one emission: compiled once, each call on a fresh
// engine. A text that does not compile is reported by the first call, as a
// new script host per call would report it.
class TicketScript
{
public:
    explicit TicketScript(const QString& text)
        : m_text(text.isEmpty() ? Settings().Ticket.VBScript : text)
    {
    }

    bool Mask(DataObject& receipt, clsScriptPrinter& printer, bool bTotal)
    {
        try {
            printer.SetRowPrinting(false);
            std::vector<vbs::Variant> args{
                vbs::Variant::Object(TicketFields::Current(receipt)),
                vbs::Variant::Object(TicketFields::Referenced(receipt, QStringLiteral("Cliente"))),
                vbs::Variant::Object(TicketFields::Referenced(receipt, QStringLiteral("TipoDocumento"))),
                vbs::Variant::Object(printer.ScriptObject()),
                vbs::Variant::Str(Settings().RestaurantName),
                vbs::Variant::Bool(bTotal)};
            return Run(QStringLiteral("PrintTicketMask"), args, MaskHeading);
        } catch (const Exception& e) {
            ReportScriptError(MaskHeading, e.Description(), 0, 0);
        } catch (const std::exception& e) {
            ReportScriptError(MaskHeading, QString::fromLocal8Bit(e.what()), 0, 0);
        }
        return false;
    }

    bool Row(DataObject& rows, clsScriptPrinter& printer, qint32 nRow)
    {
        const QString heading = RowHeading(nRow);
        try {
            printer.SetRowPrinting(true);
            if (nRow > 1)
                printer.NextTicketRow();
            std::vector<vbs::Variant> args{vbs::Variant::Object(TicketFields::Current(rows)),
                                           vbs::Variant::Object(printer.ScriptObject()), vbs::Variant::Long(nRow)};
            return Run(QStringLiteral("PrintTicketRow"), args, heading);
        } catch (const Exception& e) {
            ReportScriptError(heading, e.Description(), 0, 0);
        } catch (const std::exception& e) {
            ReportScriptError(heading, QString::fromLocal8Bit(e.what()), 0, 0);
        }
        return false;
    }

private:
    bool Run(const QString& function, std::vector<vbs::Variant>& args, const QString& heading)
    {
        if (!m_compiled && !m_compileError.IsError()) {
            m_compiled = vbs::ScriptEngine::Compile(m_text, &m_compileError);
            if (!m_compiled && !m_compileError.IsError())
                m_compileError.number = vbs::Err::Syntax;
        }
        if (!m_compiled) {
            ReportScriptError(heading, m_compileError.description, m_compileError.number, m_compileError.line);
            return false;
        }
        vbs::ScriptEngine engine(m_compiled);
        engine.SetLimits(TicketScriptLimits());
        vbs::Variant result;
        vbs::ScriptError error;
        if (!engine.Run(function, args, &result, &error)) {
            ReportScriptError(heading, error.description, error.number, error.line);
            return false;
        }
        try {
            return vbs::Convert::ToBool(result);
        } catch (const vbs::VbError& e) {
            ReportScriptError(heading, e.Description(), e.Number(), e.Line());
            return false;
        }
    }

    QString m_text;
    std::shared_ptr<const vbs::CompiledScript> m_compiled;
    vbs::ScriptError m_compileError;
};

// The message window with its progress, over the main window, for the
// lifetime of an emission.
class EmissionProgress
{
public:
    EmissionProgress() : m_owner(MainWindowIfActive())
    {
        if (m_owner)
            MessageWindow().ShowMsg(QStringLiteral("Emissione scontrino in corso..."), m_owner);
    }
    ~EmissionProgress()
    {
        if (!m_owner)
            return;
        MessageWindow().EndProgress();
        MessageWindow().Unload();
    }
    bool InUse() const { return m_owner != nullptr; }
    void Start(qint64 rows)
    {
        if (m_owner)
            MessageWindow().StartProgress(rows, true);
    }
    // False once the user has confirmed the stop.
    bool Step() { return !m_owner || MessageWindow().Progress(); }

private:
    QPointer<QWidget> m_owner;
};

bool PrintCopies(DataObject& receipt, clsScriptPrinter& printer, int copies, TicketScript& script)
{
    printer.InitializeVars();
    EmissionProgress progress;
    const std::shared_ptr<DataObject> rows = receipt.OpenReference(QStringLiteral("Righe"), TicketRowsOrder);
    for (int copy = 1; copy <= copies; ++copy) {
        if (progress.InUse()) {
            rows->MoveLast();
            progress.Start(rows->RecordCount());
        }
        qint32 nRow = 0;
        rows->MoveFirst();
        while (!rows->IsEOF()) {
            if (!progress.Step())
                return false;
            if (printer.LastRow()) {
                if (!script.Mask(receipt, printer, false))
                    return false;
                printer.NextTicket();
            }
            ++nRow;
            if (!script.Row(*rows, printer, nRow))
                return false;
            rows->MoveNext();
        }
        if (!script.Mask(receipt, printer, true))
            return false;
        printer.NextTicket();
    }
    return true;
}

vbs::Limits& Limits()
{
    static vbs::Limits limits;
    return limits;
}

} // namespace

vbs::Limits& TicketScriptLimits()
{
    return Limits();
}

ScopedTicketTimeLimit::ScopedTicketTimeLimit(int milliseconds) : m_previous(Limits().timeLimitMs)
{
    Limits().timeLimitMs = milliseconds;
}

ScopedTicketTimeLimit::~ScopedTicketTimeLimit()
{
    Limits().timeLimitMs = m_previous;
}

bool TicketEmission(DataObject& receipt, std::unique_ptr<clsScriptPrinter>& printer, int copies, const QString& scriptText)
{
    if (!printer) {
        ReportCritical(EmissionHeading + QStringLiteral("\r\rNessuna stampante per la ricevuta."));
        return false;
    }
    bool ok = false;
    try {
        TicketScript script(scriptText);
        ok = PrintCopies(receipt, *printer, copies, script);
    } catch (const Exception& e) {
        ReportCritical(EmissionHeading + QStringLiteral("\r\r") + e.Description());
    } catch (const std::exception& e) {
        ReportCritical(EmissionHeading + QStringLiteral("\r\r") + QString::fromLocal8Bit(e.what()));
    }
    // A stopped receipt prints nothing of itself: half a ticket is no receipt,
    // and a retry would print it again.
    if (!ok)
        printer->Abort();
    const bool ended = printer->EndTickets();
    if (ok && !ended) {
        ReportCritical(EmissionHeading + QStringLiteral("\r\r") + printer->LastError());
        ok = false;
    }
    printer.reset();
    return ok;
}

bool RunTicketMask(DataObject& receipt, clsScriptPrinter& printer, const QString& scriptText, bool bTotal)
{
    TicketScript script(scriptText);
    return script.Mask(receipt, printer, bTotal);
}

bool RunTicketRow(DataObject& rows, clsScriptPrinter& printer, const QString& scriptText, qint32 nRow)
{
    TicketScript script(scriptText);
    return script.Row(rows, printer, nRow);
}
