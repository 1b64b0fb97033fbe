// Every list of the "Stampe" group opened from the tree as a user does; the
// two period lists with the period typed in their window, with and without a
// document type.

#include "MainWindowFixture.h"

#include "browser/DateSelection.h"
#include "browser/PeriodSelection.h"
#include "browser/frmSetParamStat.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"
#include "support/QtPrinting.h"
#include "support/UserInput.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class ListSections : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        CurrentDateSelection() = DateSelection();
        frmSetParamStat::ResetKept();
    }

    // Receipts with one row each: three in March 2026 (one of them an
    // invoice), one in April and one today.
    frmMain& Open()
    {
        frmMain& main = OpenWindow();
        auto& session = ArchiveSession::Instance();
        const auto tables = session.Database()->Tables();
        auto menu = tables.Item(QStringLiteral("Menu")).OpenDataObject(session.Engine(), QStringLiteral("Nome = 'Coperto'"));
        const QVariant cover = menu->ValueAt(0);
        auto receipts = tables.Item(QStringLiteral("Ricevute")).OpenDataObject(session.Engine());
        const QList<std::pair<QDateTime, QString>> receiptsMade = {
            {QDateTime(QDate(2026, 3, 1), QTime(12, 0)), QStringLiteral("Ricevuta fiscale")},
            {QDateTime(QDate(2026, 3, 15), QTime(13, 0)), QStringLiteral("Fattura")},
            {QDateTime(QDate(2026, 3, 31), QTime(23, 30)), QStringLiteral("Ricevuta fiscale")},
            {QDateTime(QDate(2026, 4, 1), QTime(9, 0)), QStringLiteral("Fattura")},
            {QDateTime::currentDateTime(), QStringLiteral("Ricevuta fiscale")},
        };
        for (const auto& [when, type] : receiptsMade) {
            receipts->AddRecord({QStringLiteral("Cliente"), QStringLiteral("Cliente generico"), QStringLiteral("Data"), when,
                                 QStringLiteral("TipoDocumento"), type});
            receipts->OpenReference(QStringLiteral("Righe"))->AddRecord({QStringLiteral("OID_Menu"), cover});
        }
        EXPECT_TRUE(UserInput::BringToFront(main));
        return main;
    }

    // The period window, filled and confirmed with real input.
    void AnswerPeriod(const QString& from, const QString& to, const QString& type)
    {
        dialogs.AnswerWindow([from, to, type](QDialog& w) {
            auto& window = static_cast<frmSetParamStat&>(w);
            window.show();
            EXPECT_TRUE(UserInput::BringToFront(window));
            const auto retype = [](QWidget& box, const QString& text) {
                UserInput::Click(box);
                UserInput::PressKey(Qt::Key_A, Qt::ControlModifier);
                UserInput::PressKey(Qt::Key_Delete);
                UserInput::TypeText(text);
            };
            retype(*window.txtDaData, from);
            retype(*window.txtAData, to);
            retype(*window.cmbTipoDoc, type);
            UserInput::Click(*window.cmdSearch);
            return window.result();
        });
    }

    QString Shown(frmMain& main) const
    {
        const auto view = main.CurrentDataObject();
        return view && !main.GridView()->isHidden() ? view->TableName() : QString();
    }
};

TEST_F(ListSections, EveryListLoadsWithAndWithoutADocumentType)
{
    frmMain& main = Open();
    QTreeWidget& tree = *main.TreeView();

    UserInput::ClickTreeItem(tree, "Lista Ricevute");
    EXPECT_EQ(Shown(main), QStringLiteral("Ricevute"));
    EXPECT_EQ(main.CurrentDataObject()->RecordCount(), 1) << "today's";

    for (const QString& list : {QStringLiteral("Lista Venduto"), QStringLiteral("Lista Corrispettivi")}) {
        SCOPED_TRACE(list.toStdString());
        const QString table = list == QLatin1String("Lista Venduto") ? QStringLiteral("RigheRicevute") : QStringLiteral("Ricevute");
        // Another section first, so that a view left from before cannot pass.
        UserInput::ClickTreeItem(tree, "Lista Clienti");
        EXPECT_EQ(Shown(main), QStringLiteral("Clienti"));

        AnswerPeriod(QStringLiteral("01/03/26"), QStringLiteral("31/03/26"), QStringLiteral("Fattura"));
        UserInput::ClickTreeItem(tree, list);
        EXPECT_EQ(Shown(main), table);
        EXPECT_EQ(main.CurrentDataObject()->RecordCount(), 1) << "the invoice of 15 March";
        EXPECT_EQ(SelectionDescription(), QStringLiteral("Da Data: 01/03/2026 a Data: 31/03/2026 - Tipo Doc.: Fattura"));

        UserInput::ClickTreeItem(tree, "Lista Portate");
        EXPECT_EQ(Shown(main), QStringLiteral("Menu"));
        AnswerPeriod(QStringLiteral("01/03/26"), QStringLiteral("31/03/26"), QString());
        UserInput::ClickTreeItem(tree, list);
        EXPECT_EQ(Shown(main), table);
        EXPECT_EQ(main.CurrentDataObject()->RecordCount(), 3) << "every type in March";
    }
    for (const DialogCall& call : dialogs.Calls())
        EXPECT_EQ(call.kind, DialogKind::Window) << "no list fails to load: " << call.text.toStdString();
}

} // namespace
