// A till in another process, killed at the worst moments: right after a
// confirmation returns, in the middle of a sale, inside the payment editor;
// and a sale started while another process holds the archive.

#include "SaleFixture.h"

#include "component/ComponentErrors.h"

#include <QElapsedTimer>
#include <QProcess>

namespace {

class DurabilityTest : public SaleTest
{
protected:
    void SetUp() override
    {
        SaleTest::SetUp();
        // The child till keeps its defaults in a store of its own.
        childSettings = dir.filePath(QStringLiteral("child.ini"));
        QSettings child(childSettings, QSettings::IniFormat);
        child.setValue(QStringLiteral("Ricevute/TipoDocDefault"),
                       QString::number(Key(QStringLiteral("TipiDocumento"), "Ricevuta fiscale")));
    }

    void TearDown() override
    {
        if (child.state() != QProcess::NotRunning) {
            child.kill();
            child.waitForFinished(5000);
        }
        SaleTest::TearDown();
    }

    void StartChild(const QString& mode)
    {
        child.setProgram(QStringLiteral(MENSORA_SALE_CHILD));
        child.setArguments({mode, archive.Path(), childSettings, QString::number(item["Lasagne"]),
                            QString::number(item["Bruschette"]), QString::number(item["Lasagne"])});
        child.setProcessChannelMode(QProcess::SeparateChannels);
        child.start();
        ASSERT_TRUE(child.waitForStarted(10000)) << child.errorString().toStdString();
    }

    // The child's next report that begins with `word` (its other words split).
    QStringList WaitFor(const QString& word)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000) {
            while (child.canReadLine()) {
                const QString line = QString::fromUtf8(child.readLine()).trimmed();
                const QStringList words = line.split(QLatin1Char(' '));
                if (words.first() == word)
                    return words.mid(1);
                if (words.first() == QLatin1String("error") || words.first() == QLatin1String("failed")) {
                    ADD_FAILURE() << "the child till reported: " << line.toStdString();
                    return {};
                }
            }
            if (child.state() == QProcess::NotRunning) {
                ADD_FAILURE() << "the child till ended: " << child.readAllStandardError().toStdString();
                return {};
            }
            child.waitForReadyRead(200);
        }
        ADD_FAILURE() << "the child till never reported " << word.toStdString();
        return {};
    }

    // Like pulling the plug on the till: no destructor, no rollback, no close.
    void KillChild()
    {
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    }

    qint64 Count(const char* table)
    {
        return archive.Table(QString::fromLatin1(table))->RecordCount();
    }

    QString childSettings;
    QProcess child;
};

TEST_F(DurabilityTest, ASaleConfirmedJustBeforeTheProcessIsKilledIsInTheReopenedArchive)
{
    StartChild(QStringLiteral("confirm"));
    const QStringList confirmed = WaitFor(QStringLiteral("confirmed"));
    KillChild();
    ASSERT_EQ(confirmed.size(), 3);
    const qint64 number = confirmed[0].toLongLong();
    const Currency total = Currency::FromUnits(confirmed[1].toLongLong());
    const qint64 key = confirmed[2].toLongLong();

    archive.Open();
    auto receipts = archive.Table(QStringLiteral("Ricevute"));
    ASSERT_EQ(receipts->RecordCount(), 1);
    EXPECT_EQ(receipts->ValueAt(0).toLongLong(), key);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(receipts->GetValue(QStringLiteral("Numero")).toLongLong(), number);
    EXPECT_EQ(total, Money("31.50")) << "two lasagne, bruschette and two covers";
    EXPECT_EQ(receipts->GetValue(QStringLiteral("Importo_Ricevuta")).value<Currency>(), total);
    auto rows = receipts->OpenReference(QStringLiteral("Righe"));
    EXPECT_EQ(rows->RecordCount(), 3);
    EXPECT_EQ(rows->Aggregate(QStringLiteral("Importo_Riga"), 0).value<Currency>(), total);
    auto payment = receipts->OpenReference(QStringLiteral("Pagamento"));
    ASSERT_EQ(payment->RecordCount(), 1);
    EXPECT_EQ(payment->GetValue(QStringLiteral("Importo")).value<Currency>(), total);
    EXPECT_EQ(Count("PagamentiCliente"), 1);
}

TEST_F(DurabilityTest, AProcessKilledInTheMiddleOfASaleLeavesNoTraceAndItsNumberIsGivenAgain)
{
    StartChild(QStringLiteral("open"));
    const QStringList open = WaitFor(QStringLiteral("open"));
    ASSERT_EQ(open.size(), 3);
    EXPECT_EQ(open[0], QStringLiteral("1"));
    KillChild();

    archive.Open();
    EXPECT_EQ(Count("Ricevute"), 0);
    EXPECT_EQ(Count("RigheRicevute"), 0);
    auto sale = StartedSale();
    EXPECT_EQ(sale->ReceiptData()->GetValue(QStringLiteral("Numero")).toLongLong(), 1);
}

TEST_F(DurabilityTest, AProcessKilledWhileThePaymentEditorIsOpenLeavesNoTrace)
{
    StartChild(QStringLiteral("editor"));
    WaitFor(QStringLiteral("editor"));
    KillChild();

    archive.Open();
    EXPECT_EQ(Count("Ricevute"), 0);
    EXPECT_EQ(Count("RigheRicevute"), 0);
    EXPECT_EQ(Count("PagamentiCliente"), 0);
}

TEST_F(DurabilityTest, ASaleStartedWhileAnotherProcessHoldsTheArchiveIsRefusedAndLosesNothing)
{
    struct BusyTimeout
    {
        int previous = DatabaseEngine::BusyTimeout();
        BusyTimeout() { DatabaseEngine::SetBusyTimeout(150); }
        ~BusyTimeout() { DatabaseEngine::SetBusyTimeout(previous); }
    } shortWait;
    archive.Open();

    // A sale of this till, confirmed before the other one starts.
    {
        auto sale = StartedSale();
        sale->AddMenuItem(item["Tagliata"]);
        SetDefault(QStringLiteral("PagamentoDefault"), Key(QStringLiteral("TipiPagamento"), "Contanti"));
        dialogs.AnswerRecordEditorOk();
        ASSERT_EQ(sale->Confirm(false), OpenSale::ConfirmResult::Confirmed);
    }

    StartChild(QStringLiteral("open"));
    WaitFor(QStringLiteral("open"));
    auto sale = NewSale();
    dialogs.AnswerMessage(MsgResult::No);
    EXPECT_FALSE(sale->Add_Vendita());
    const DialogCall report = dialogs.LastCall();
    EXPECT_TRUE(report.text.contains(QStringLiteral("Archivio occupato"))) << report.text.toStdString();
    EXPECT_TRUE(report.text.startsWith(QStringLiteral("Impossibile iniziare la vendita: \r\r")));
    EXPECT_EQ(report.icon, MsgIcon::Critical);
    EXPECT_FALSE(sale->IsOpen());
    EXPECT_FALSE(archive.engine->InTransaction());

    // Once the other till is gone, selling goes on where it was.
    KillChild();
    ASSERT_TRUE(sale->Add_Vendita());
    EXPECT_EQ(sale->ReceiptData()->GetValue(QStringLiteral("Numero")).toLongLong(), 2);
    sale->Close_Vendita();
    EXPECT_EQ(Count("Ricevute"), 1);
    EXPECT_EQ(archive.Table(QStringLiteral("Ricevute"))->GetValue(QStringLiteral("Importo_Ricevuta")).value<Currency>(),
              Money("19"));
}

} // namespace
