// A till without a window, run by the durability tests as a process of its
// own: it starts a sale on the archive it is given, adds the menu items
// named by their keys and two covers, and then, depending on the mode,
// leaves the sale open ("open"), confirms it ("confirm") or stops in the
// payment editor ("editor"). It reports each step on its standard output
// and then waits to be killed.
//
//     sale_child <mode> <archive> <settings.ini> <menu key>...

#include "app/SaleDate.h"
#include "app/SettingsStore.h"
#include "component/ComponentGlobal.h"
#include "component/Currency.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/RecordEditSession.h"
#include "component/widgets/DialogService.h"
#include "data/DB.h"
#include "sales/OpenSale.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

void Say(const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

// Waits for the test to kill the process; gives up after a minute, so that
// no process outlives a broken test for long.
[[noreturn]] void WaitToBeKilled()
{
    std::this_thread::sleep_for(std::chrono::seconds(60));
    std::exit(3);
}

// The cashier of the child: chooses the first record of every list and
// confirms every editor, except in the payment editor of mode "editor".
class ChildDialogs : public DialogService
{
public:
    explicit ChildDialogs(bool stopInEditor) : m_stopInEditor(stopInEditor) {}

    MsgResult MessageBox(const QString& text, MsgButtons buttons, MsgIcon, MsgDefault, const QString&) override
    {
        Say(QStringLiteral("message ") + QString(text).replace(QLatin1Char('\r'), QLatin1Char(' ')));
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::No;
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> GetOpenFileName(const QString&, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QString> GetSaveFileName(const QString&, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    QStringList Printers() override { return {}; }
    std::optional<PrinterSetupChoice> PrinterSetup(const QString&, const QString&) override { return std::nullopt; }
    bool PrintDialog(QPrinter&, const QString&) override { return false; }
    void Beep() override {}
    int ExecModal(QDialog&) override { return 0; }
    std::optional<qint64> SelectionList(const std::shared_ptr<DataObject>& data, const QString&, const QString&) override
    {
        if (!data->MoveFirst())
            return std::nullopt;
        return data->ValueAt(0).toLongLong();
    }
    std::optional<qint64> RecordEditor(const std::shared_ptr<DataObject>& data, EditMode mode,
                                       const RecordEditorOptions& options) override
    {
        RecordEditSession session(data, mode, options);
        if (m_stopInEditor) {
            Say(QStringLiteral("editor"));
            WaitToBeKilled();
        }
        return session.Save();
    }
    bool ValueEditor(const std::shared_ptr<DataObject>&, const QString&, const QString&) override { return false; }
    bool ComplexFilterDialog(ComplexFilter&, const DatabaseObject&, const QString&) override { return false; }
    std::optional<QString> OrderDialog(const std::shared_ptr<DataObject>&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QString> FieldSequenceDialog(const std::shared_ptr<DataObject>&, const QString&,
                                               const QString&) override
    {
        return std::nullopt;
    }
    bool ExportDialog(const std::shared_ptr<DataObject>&, itfProgress*) override { return false; }
    void DataWindow(const std::shared_ptr<DataObject>&, const QString&) override {}

private:
    bool m_stopInEditor;
};

QString Figures(OpenSale& sale)
{
    const auto& receipt = sale.ReceiptData();
    return QStringLiteral("%1 %2 %3")
        .arg(receipt->GetValue(QStringLiteral("Numero")).toLongLong())
        .arg(receipt->GetValue(QStringLiteral("Importo_Ricevuta")).value<Currency>().Units())
        .arg(receipt->ValueAt(0).toLongLong());
}

} // namespace

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fputs("sale_child <open|confirm|editor> <archive> <settings.ini> <menu key>...\n", stderr);
        return 2;
    }
    const QString mode = args[1];
    ScopedSettingsFile settings(args[3]);
    ChildDialogs dialogs(mode == QLatin1String("editor"));
    ScopedDialogService use(dialogs);
    try {
        auto engine = std::make_shared<DatabaseEngine>();
        engine->OpenDatabaseFile(3, args[2]);
        auto database = ComponentGlobal::CreateDatabaseObject(std::make_shared<DB>(), QStringLiteral("mensora"), nullptr, nullptr);
        database->AttachEngine(engine);
        SetSaleDate(QDate::currentDate());

        OpenSale sale(database, engine);
        if (sale.Load() != OpenSale::LoadResult::Ready || !sale.Add_Vendita()) {
            Say(QStringLiteral("failed"));
            return 1;
        }
        for (int i = 4; i < args.size(); ++i)
            sale.AddMenuItem(args[i].toLongLong());
        sale.Add_Coperti(2);
        Say(QStringLiteral("open ") + Figures(sale));
        if (mode == QLatin1String("open"))
            WaitToBeKilled();

        const QString figures = Figures(sale);
        if (sale.Confirm(false) != OpenSale::ConfirmResult::Confirmed) {
            Say(QStringLiteral("failed"));
            return 1;
        }
        Say(QStringLiteral("confirmed ") + figures);
        WaitToBeKilled();
    } catch (const Exception& error) {
        Say(QStringLiteral("error ") + error.Description());
        return 1;
    }
}
