// The import of a table from another archive: the messages, references
// resolved to this archive's records (look-ups added when missing), records
// owned by the imported ones, numbering kept, all-or-nothing, and the other
// archive left exactly as it was.

#include "MaintenanceArchive.h"

#include "app/frmMessage.h"
#include "maintenance/ImportCommand.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kView = QStringLiteral("Vuoi visualizzare i dati che verranno importati ?");
const QString kConfirm = QStringLiteral("Confermi l'importazione ?");
const QString kDone = QStringLiteral("OPERAZIONE COMPLETATA.");

// Notes, at every message, whether the import's transaction was still open.
class WatchingDialogs : public ScriptedDialogs
{
public:
    std::shared_ptr<DatabaseEngine> engine;
    QList<bool> inTransaction;

    MsgResult MessageBox(const QString& text, MsgButtons buttons, MsgIcon icon, MsgDefault defaultButton,
                         const QString& title) override
    {
        inTransaction.append(engine && engine->InTransaction());
        return ScriptedDialogs::MessageBox(text, buttons, icon, defaultButton, title);
    }
};

class ArchiveImportTest : public ::testing::Test
{
protected:
    void SetUp() override { dialogs.engine = current.engine; }
    void TearDown() override { DestroyMessageWindow(); }

    // The source as the user picks it: closed, as a copy from another till.
    QString CloseSource()
    {
        source.Close();
        digest = FileDigest(source.Path());
        return source.Path();
    }

    bool Import(const QString& table, const QString& path)
    {
        return ImportArchive(*current.database, path, current.Table(table), nullptr);
    }

    // Answers for an import that goes through: no look, confirm, the end.
    void AnswerGoingThrough()
    {
        dialogs.AnswerMessage(MsgResult::No).AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Ok);
    }

    void ExpectSourceUntouched()
    {
        EXPECT_EQ(FileDigest(source.Path()), digest) << "the other archive is byte for byte as it was";
        EXPECT_FALSE(QFile::exists(source.Path() + QStringLiteral("-wal")));
        EXPECT_FALSE(QFile::exists(source.Path() + QStringLiteral("-shm")));
    }

    // No reference of the archive points at a record that does not exist.
    void ExpectNoDanglingReference()
    {
        const char* const checks[] = {
            "SELECT count(*) FROM Menu WHERE OID_Portata NOT IN (SELECT OID FROM Portate)",
            "SELECT count(*) FROM RigheRicevute WHERE OID_Portata NOT IN (SELECT OID FROM Portate)",
            "SELECT count(*) FROM RigheRicevute WHERE OID_Menu NOT IN (SELECT OID FROM Menu)",
            "SELECT count(*) FROM RigheRicevute WHERE OID_Ricevute_Righe NOT IN (SELECT OID FROM Ricevute)",
            "SELECT count(*) FROM Ricevute WHERE OID_TipoDocumento NOT IN (SELECT OID FROM TipiDocumento)",
            "SELECT count(*) FROM Ricevute WHERE OID_Cliente NOT IN (SELECT OID FROM Clienti)",
            "SELECT count(*) FROM PagamentiCliente WHERE OID_Cliente NOT IN (SELECT OID FROM Clienti)",
            "SELECT count(*) FROM PagamentiCliente WHERE OID_Pagamento NOT IN (SELECT OID FROM TipiPagamento)",
            "SELECT count(*) FROM PagamentiCliente WHERE OID_Ricevute_Pagamento NOT IN (SELECT OID FROM Ricevute)",
        };
        for (const char* check : checks)
            EXPECT_EQ(current.Value(QString::fromUtf8(check)).toLongLong(), 0) << check;
    }

    WatchingDialogs dialogs;
    ScopedDialogService useDialogs{dialogs};
    MaintenanceArchive current;
    MaintenanceArchive source;
    QByteArray digest;
};

TEST_F(ArchiveImportTest, MenuItemsBringTheCourseTheArchiveLacks)
{
    // The same course names stand on different records in the two archives.
    current.AddCourse(QStringLiteral("PIZZE"), 120);
    source.AddCourse(QStringLiteral("DOLCI"), 250);
    source.AddMenuItem(QStringLiteral("Tiramisù"), 5, QStringLiteral("DOLCI"));
    source.AddMenuItem(QStringLiteral("Carbonara \"della casa\""), QStringLiteral("9,50"), QStringLiteral("PRIMI"));
    const QString path = CloseSource();

    AnswerGoingThrough();
    EXPECT_TRUE(Import(QStringLiteral("Menu"), path));
    ASSERT_EQ(dialogs.Calls().size(), 3u);
    EXPECT_EQ(dialogs.Calls()[0].text, kView);
    EXPECT_EQ(dialogs.Calls()[0].icon, MsgIcon::Question);
    EXPECT_EQ(dialogs.Calls()[1].text, kConfirm);
    EXPECT_EQ(dialogs.Calls()[2].text, kDone);
    EXPECT_EQ(dialogs.Calls()[2].icon, MsgIcon::Information);
    for (const DialogCall& call : dialogs.Calls())
        EXPECT_EQ(call.title, QStringLiteral("Mensora"));
    EXPECT_EQ(dialogs.inTransaction.last(), false) << "committed before it is reported";

    EXPECT_EQ(current.Texts(QStringLiteral("SELECT m.Nome, p.Descrizione, m.Prezzo FROM Menu m JOIN Portate p ON p.OID = "
                                           "m.OID_Portata ORDER BY m.OID")),
              (QStringList{QStringLiteral("Coperto|VARIE|10000"), QStringLiteral("Tiramisù|DOLCI|50000"),
                           QStringLiteral("Carbonara \"della casa\"|PRIMI|95000")}))
        << "the menu item equal to one of this archive is not copied again";
    EXPECT_EQ(current.Texts(QStringLiteral("SELECT Descrizione, Ordine_Di_Stampa FROM Portate WHERE OID > 4 ORDER BY OID")),
              (QStringList{QStringLiteral("PIZZE|120"), QStringLiteral("DOLCI|250")}));
    ExpectNoDanglingReference();
    ExpectSourceUntouched();

    // Importing the same archive again adds nothing.
    AnswerGoingThrough();
    EXPECT_TRUE(Import(QStringLiteral("Menu"), path));
    EXPECT_EQ(current.Count(QStringLiteral("Menu")), 3);
    EXPECT_EQ(current.Count(QStringLiteral("Portate")), 6);

    // So do the courses themselves, whose names already exist.
    AnswerGoingThrough();
    EXPECT_TRUE(Import(QStringLiteral("Portate"), path));
    EXPECT_EQ(current.Count(QStringLiteral("Portate")), 6);
    ExpectSourceUntouched();
}

TEST_F(ArchiveImportTest, ReceiptsComeWithTheirRowsAndPayments)
{
    const QDateTime lunch(QDate(2023, 3, 14), QTime(13, 5));
    const QVariant mario = source.AddCustomer(QStringLiteral("Trattoria Da Mario"), QStringLiteral("Modena"));
    const QVariant pasta = source.AddMenuItem(QStringLiteral("Tagliatelle"), 9, QStringLiteral("PRIMI"));
    const QVariant cover = source.Value(QStringLiteral("SELECT OID FROM Menu WHERE Nome = 'Coperto'"));
    source.AddReceipt(QStringLiteral("Ricevuta fiscale"), lunch, QStringLiteral("Cliente generico"), {{cover, 2}, {pasta, 2}});
    source.AddReceipt(QStringLiteral("Ricevuta fiscale"), lunch.addSecs(600), mario, {{pasta, 1}},
                      QStringLiteral("Bonifico"));
    source.AddReceipt(QStringLiteral("Fattura"), lunch.addSecs(900), mario, {{pasta, 3}}, QStringLiteral("Bonifico"));

    // This archive has a customer of the same name elsewhere, a receipt of
    // another year, and lacks the pasta.
    const QVariant otherMario = current.AddCustomer(QStringLiteral("Trattoria Da Mario"), QStringLiteral("Bologna"));
    current.AddReceipt(QStringLiteral("Ricevuta fiscale"), QDateTime(QDate(2024, 1, 2), QTime(12, 0)),
                       QStringLiteral("Cliente generico"),
                       {{current.Value(QStringLiteral("SELECT OID FROM Menu WHERE Nome = 'Coperto'")), 1}});
    const QString path = CloseSource();

    AnswerGoingThrough();
    EXPECT_TRUE(Import(QStringLiteral("Ricevute"), path));
    ASSERT_EQ(dialogs.Calls().size(), 3u);
    EXPECT_EQ(dialogs.Calls()[2].text, kDone);

    EXPECT_EQ(current.Texts(QStringLiteral(
                  "SELECT r.AnnoFiscale, t.Descrizione, r.Numero, c.Ragione_Sociale, c.Comune, r.Importo_Ricevuta, "
                  "(SELECT count(*) FROM RigheRicevute w WHERE w.OID_Ricevute_Righe = r.OID), "
                  "(SELECT sum(w.Importo_Riga) FROM RigheRicevute w WHERE w.OID_Ricevute_Righe = r.OID), "
                  "(SELECT p.Importo || ' ' || tp.Descrizione FROM PagamentiCliente p JOIN TipiPagamento tp ON tp.OID = "
                  "p.OID_Pagamento WHERE p.OID_Ricevute_Pagamento = r.OID) "
                  "FROM Ricevute r JOIN TipiDocumento t ON t.OID = r.OID_TipoDocumento JOIN Clienti c ON c.OID = r.OID_Cliente "
                  "ORDER BY r.Data")),
              (QStringList{QStringLiteral("2023|Ricevuta fiscale|1|Cliente generico||200000|2|200000|200000 Contanti"),
                           QStringLiteral("2023|Ricevuta fiscale|2|Trattoria Da Mario|Modena|90000|1|90000|90000 Bonifico"),
                           QStringLiteral("2023|Fattura|1|Trattoria Da Mario|Modena|270000|1|270000|270000 Bonifico"),
                           QStringLiteral("2024|Ricevuta fiscale|1|Cliente generico||10000|1|10000|10000 Contanti")}));
    EXPECT_EQ(current.Count(QStringLiteral("Clienti")), 3) << "the customer of the other town is another customer";
    EXPECT_EQ(current.Value(QStringLiteral("SELECT count(*) FROM Ricevute WHERE OID_Cliente = %1").arg(otherMario.toLongLong())), 0);
    EXPECT_EQ(current.Count(QStringLiteral("TipiPagamento")), 5);
    EXPECT_EQ(current.Count(QStringLiteral("Menu")), 1) << "sold items do not return to the menu";
    EXPECT_EQ(current.Texts(QStringLiteral("SELECT DISTINCT Nome, OID_Menu IS NULL FROM RigheRicevute ORDER BY Nome")),
              (QStringList{QStringLiteral("Coperto|0"), QStringLiteral("Tagliatelle|1")}));
    ExpectNoDanglingReference();
    ExpectSourceUntouched();

    // Numbering goes on from the imported numbers.
    const QVariant next = current.AddReceipt(QStringLiteral("Ricevuta fiscale"), lunch.addDays(1),
                                             QStringLiteral("Cliente generico"), {});
    EXPECT_EQ(current.Value(QStringLiteral("SELECT Numero FROM Ricevute WHERE OID = %1").arg(next.toLongLong())), 3);
}

TEST_F(ArchiveImportTest, ATakenReceiptNumberRefusesTheWholeImport)
{
    const QDateTime day(QDate(2023, 5, 2), QTime(20, 30));
    const QVariant cover = source.Value(QStringLiteral("SELECT OID FROM Menu WHERE Nome = 'Coperto'"));
    source.AddReceipt(QStringLiteral("Fattura"), day, source.AddCustomer(QStringLiteral("Nuovo Cliente"), QStringLiteral("Forlì")),
                      {{cover, 1}});
    source.AddReceipt(QStringLiteral("Ricevuta fiscale"), day, QStringLiteral("Cliente generico"), {{cover, 4}});
    current.AddReceipt(QStringLiteral("Ricevuta fiscale"), day.addDays(-30), QStringLiteral("Cliente generico"), {});
    const QStringList before = current.Dump();
    const QString path = CloseSource();

    dialogs.AnswerMessage(MsgResult::No).AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Ok);
    EXPECT_FALSE(Import(QStringLiteral("Ricevute"), path));
    ASSERT_EQ(dialogs.Calls().size(), 3u);
    EXPECT_EQ(dialogs.Calls()[2].text,
              QStringLiteral("Impossibile importare i dati:\r\rLa ricevuta numero 1 «Ricevuta fiscale» dell'anno 2023 è già "
                             "presente nell'archivio corrente.\r\rNessun dato è stato importato."));
    EXPECT_EQ(dialogs.Calls()[2].icon, MsgIcon::Exclamation);
    EXPECT_EQ(dialogs.inTransaction.last(), false) << "rolled back before it is reported";
    EXPECT_EQ(current.Dump(), before) << "not even the new customer stays";
    ExpectSourceUntouched();
}

TEST_F(ArchiveImportTest, RowsImportedAloneComeWithTheirReceipts)
{
    const QVariant cover = source.Value(QStringLiteral("SELECT OID FROM Menu WHERE Nome = 'Coperto'"));
    source.AddReceipt(QStringLiteral("Preconto"), QDateTime(QDate(2022, 8, 15), QTime(21, 0)), QStringLiteral("Cliente generico"),
                      {{cover, 3}, {source.AddMenuItem(QStringLiteral("Anguria"), 3, QStringLiteral("VARIE")), 2}});
    // A row that belongs to no receipt is copied alone.
    source.Exec(QStringLiteral("INSERT INTO RigheRicevute(Nome, Prezzo, \"Quantità\", Importo_Riga, OID_Portata) "
                               "VALUES('Sfuso', 10000, 1, 10000, 1)"));
    const QString path = CloseSource();

    AnswerGoingThrough();
    EXPECT_TRUE(Import(QStringLiteral("RigheRicevute"), path));
    EXPECT_EQ(current.Texts(QStringLiteral("SELECT Numero, Importo_Ricevuta FROM Ricevute")), QStringList{QStringLiteral("1|90000")});
    EXPECT_EQ(current.Texts(QStringLiteral("SELECT Nome, OID_Ricevute_Righe IS NULL FROM RigheRicevute ORDER BY OID")),
              (QStringList{QStringLiteral("Coperto|0"), QStringLiteral("Anguria|0"), QStringLiteral("Sfuso|1")}));
    EXPECT_EQ(current.Count(QStringLiteral("PagamentiCliente")), 1);
    ExpectNoDanglingReference();
}

TEST_F(ArchiveImportTest, NothingToImportIsSaidAndChangesNothing)
{
    // The source has no receipts; and a source without the table at all
    // must not get one (nor its creation rows).
    source.Exec(QStringLiteral("DROP TABLE Menu"));
    const QString path = CloseSource();
    const QStringList before = current.Dump();

    dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_FALSE(Import(QStringLiteral("Ricevute"), path));
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].text, QStringLiteral("L'archivio non contiene dati da importare"));
    EXPECT_EQ(dialogs.Calls()[0].icon, MsgIcon::Information);

    dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_FALSE(Import(QStringLiteral("Menu"), path));
    ASSERT_EQ(dialogs.Calls().size(), 2u);
    EXPECT_EQ(dialogs.Calls()[1].text, QStringLiteral("L'archivio selezionato non contiene dati < Menù > da importare!"));
    EXPECT_EQ(dialogs.Calls()[1].icon, MsgIcon::None);
    EXPECT_EQ(current.Dump(), before);
    EXPECT_EQ(current.Count(QStringLiteral("Menu")), 1) << "\"Coperto\" is not imported twice";
    ExpectSourceUntouched();
}

TEST_F(ArchiveImportTest, WhatIsNoOtherArchiveIsRefused)
{
    const QString text = source.Folder() + QStringLiteral("/Appunti.mdb");
    {
        QFile file(text);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Menù del giorno: lasagne, arrosto\n");
    }
    const QString foreign = source.Folder() + QStringLiteral("/Altro.odb");
    {
        SqliteDb db(foreign, true, 1000);
        db.Exec(QStringLiteral("CREATE TABLE Menu(Nome TEXT); INSERT INTO Menu VALUES('Pizza')"));
    }
    const QByteArray foreignDigest = FileDigest(foreign);
    const QStringList before = current.Dump();
    dialogs.AnswerMessage(MsgResult::Ok).AnswerMessage(MsgResult::Ok).AnswerMessage(MsgResult::Ok).AnswerMessage(MsgResult::Ok);
    EXPECT_FALSE(Import(QStringLiteral("Menu"), text));
    EXPECT_FALSE(Import(QStringLiteral("Menu"), foreign));
    EXPECT_FALSE(Import(QStringLiteral("Menu"), current.Path()));
    EXPECT_FALSE(Import(QStringLiteral("Menu"), source.Folder() + QStringLiteral("/Manca.mdb")));
    ASSERT_EQ(dialogs.Calls().size(), 4u);
    const QString notArchive = QStringLiteral("Il file «%1» non è un archivio di Mensora.");
    EXPECT_EQ(dialogs.Calls()[0].text, notArchive.arg(QDir::toNativeSeparators(text)));
    EXPECT_EQ(dialogs.Calls()[1].text, notArchive.arg(QDir::toNativeSeparators(foreign)));
    EXPECT_EQ(dialogs.Calls()[2].text, QStringLiteral("L'archivio selezionato è l'archivio corrente: scegliere un altro "
                                                      "archivio da cui importare i dati."));
    EXPECT_TRUE(dialogs.Calls()[3].text.endsWith(QStringLiteral("Manca.mdb» non esiste.")));
    for (const DialogCall& call : dialogs.Calls())
        EXPECT_EQ(call.icon, MsgIcon::Exclamation);
    EXPECT_EQ(current.Dump(), before);
    EXPECT_EQ(FileDigest(foreign), foreignDigest);
    EXPECT_FALSE(current.engine->InTransaction());
}

TEST_F(ArchiveImportTest, AFailureInTheMiddleLeavesTheArchiveAsItWas)
{
    const QVariant boom = source.AddMenuItem(QStringLiteral("Boom"), 1, QStringLiteral("VARIE"));
    const QVariant pasta = source.AddMenuItem(QStringLiteral("Pasta"), 8, QStringLiteral("PRIMI"));
    for (int k = 0; k < 3; ++k)
        source.AddReceipt(QStringLiteral("Ricevuta fiscale"), QDateTime(QDate(2021, 2, 1 + k), QTime(12, 0)),
                          source.AddCustomer(QStringLiteral("Cliente %1").arg(k), QStringLiteral("Imola")),
                          {{pasta, 1}, {k == 2 ? boom : pasta, 1}});
    current.Exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON RigheRicevute WHEN NEW.Nome = 'Boom' "
                                "BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"));
    const QStringList before = current.Dump();
    const QString path = CloseSource();

    dialogs.AnswerMessage(MsgResult::No).AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::No);
    EXPECT_FALSE(Import(QStringLiteral("Ricevute"), path));
    ASSERT_EQ(dialogs.Calls().size(), 3u);
    EXPECT_EQ(dialogs.Calls()[2].text, QStringLiteral("Impossibile importare i dati ...\r\rVisualizzare dettagli ?"));
    EXPECT_EQ(dialogs.Calls()[2].icon, MsgIcon::Critical);
    EXPECT_EQ(dialogs.inTransaction.last(), false);
    EXPECT_EQ(current.Dump(), before);
    ExpectSourceUntouched();
}

TEST_F(ArchiveImportTest, AnOlderArchiveIsReadAsItIsAndUpgradedInTheCopyOnly)
{
    source.AddMenuItem(QStringLiteral("Polenta"), 6, QStringLiteral("SECONDI"));
    source.Exec(QStringLiteral("ALTER TABLE Menu ADD COLUMN \"Fuori_Menù\" INTEGER; UPDATE Menu SET \"Ordine_Menù\" = 7, "
                               "\"Fuori_Menù\" = 1; UPDATE mensora_tables SET version = 1.0 WHERE name = 'Menu'"));
    const QString path = CloseSource();

    AnswerGoingThrough();
    EXPECT_TRUE(Import(QStringLiteral("Menu"), path));
    EXPECT_EQ(current.Texts(QStringLiteral("SELECT Nome, \"Ordine_Menù\" FROM Menu ORDER BY OID")),
              (QStringList{QStringLiteral("Coperto|0"), QStringLiteral("Polenta|100")}))
        << "as opening the older archive would give them; the cover charge is the one this archive has";
    ExpectSourceUntouched();
}

TEST_F(ArchiveImportTest, TheRecordsCanBeSeenBeforeConfirming)
{
    source.AddCourse(QStringLiteral("DOLCI"), 250);
    source.AddMenuItem(QStringLiteral("Cannoli"), 4, QStringLiteral("DOLCI"));
    const QString path = CloseSource();

    QStringList seen;
    dialogs.AnswerMessage(MsgResult::Yes)
        .AnswerDataWindow([&](DataObject& records) {
            for (bool more = records.MoveFirst(); more; more = records.MoveNext())
                seen.append(records.GetValue(QStringLiteral("Nome")).toString() + u'/'
                            + records.GetValue(QStringLiteral("Portata")).toString());
        })
        .AnswerMessage(MsgResult::No);
    EXPECT_FALSE(Import(QStringLiteral("Menu"), path));
    ASSERT_EQ(dialogs.Calls().size(), 3u);
    EXPECT_EQ(dialogs.Calls()[1].kind, DialogKind::DataWindow);
    EXPECT_EQ(dialogs.Calls()[1].table, QStringLiteral("Menu"));
    EXPECT_EQ(dialogs.Calls()[1].title, QStringLiteral("Menù"));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Coperto/VARIE"), QStringLiteral("Cannoli/DOLCI")}));
    EXPECT_EQ(dialogs.Calls()[2].text, kConfirm);
    EXPECT_EQ(current.Count(QStringLiteral("Menu")), 1) << "refused: nothing imported";
    EXPECT_EQ(current.Count(QStringLiteral("Portate")), 4);
    ExpectSourceUntouched();
}

TEST_F(ArchiveImportTest, StoppingTheCopyImportsNothing)
{
    source.Exec(QStringLiteral("WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < 12000) "
                               "INSERT INTO Clienti(Ragione_Sociale, Comune) SELECT 'Cliente ' || k, 'Lugo' FROM n"));
    const QString path = CloseSource();
    const QStringList before = current.Dump();
    QProgressBar* bar = MessageWindow().findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    bool pressed = false;
    QObject::connect(bar, &QProgressBar::valueChanged, bar, [&](int value) {
        if (value > 0 && !pressed) {
            pressed = true;
            QTimer::singleShot(0, [] { MessageWindow().findChild<QPushButton*>(QStringLiteral("cmdStop"))->click(); });
        }
    });
    dialogs.AnswerMessage(MsgResult::No).AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::No);
    EXPECT_FALSE(Import(QStringLiteral("Clienti"), path));
    EXPECT_TRUE(pressed);
    ASSERT_EQ(dialogs.Calls().size(), 4u);
    EXPECT_EQ(dialogs.Calls()[2].text, QStringLiteral("Confermi l'interruzione ?"));
    EXPECT_EQ(dialogs.Calls()[3].text, QStringLiteral("Operazione annullata dall'utente.\r\rVisualizzare dettagli ?"));
    EXPECT_EQ(current.Dump(), before);
    EXPECT_FALSE(current.engine->InTransaction());
    ExpectSourceUntouched();
}

} // namespace
