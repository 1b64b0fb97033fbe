// What the user reads when the storage refuses: an Italian sentence saying
// what happened and what to do, never the storage's English text, which is
// kept as the error's detail for the report.

#include "TestArchive.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "component/Sqlite.h"
#include "support/QtPrinting.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

Exception Caught(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& e) {
        return e;
    }
    ADD_FAILURE() << "nothing was refused";
    return Exception(0, QString());
}

// The storage's own words stay out of what the user reads.
void ExpectItalianWithDetail(const Exception& e, const QString& storageText)
{
    EXPECT_FALSE(e.Description().contains(storageText, Qt::CaseInsensitive)) << e.Description().toStdString();
    EXPECT_TRUE(e.Detail().contains(storageText)) << e.Detail().toStdString();
}

TEST(StorageErrors, TheUserReadsWhatHappenedAndWhatToDo)
{
    TestArchive archive;

    // A file that is no archive.
    const QString path = archive.m_dir.filePath(QStringLiteral("altro.mdb"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    DatabaseEngine engine;
    Exception notArchive = Caught([&] { engine.OpenDatabaseFile(3, path); });
    EXPECT_EQ(notArchive.Number(), ComponentError::Io);
    EXPECT_EQ(notArchive.Description(), QStringLiteral("Il file non è un archivio valido o è danneggiato. Ripristinare "
                                                       "una copia di sicurezza dell'archivio, oppure scegliere un'altra "
                                                       "cartella di lavoro."));
    ExpectItalianWithDetail(notArchive, QStringLiteral("file is not a database"));

    // A duplicate of a unique index names the fields, without the table's
    // storage names.
    auto documents = archive.Open(QStringLiteral("Documenti"));
    documents->AddRecord({QStringLiteral("Numero"), 1, QStringLiteral("Categoria"), QStringLiteral("Bevande")});
    Exception duplicate = Caught([&] {
        documents->AddRecord({QStringLiteral("Numero"), 1, QStringLiteral("Categoria"), QStringLiteral("Bevande")});
    });
    EXPECT_EQ(duplicate.Number(), ComponentError::Duplicate);
    EXPECT_EQ(duplicate.Description(), QStringLiteral("Dati duplicati: esiste già un record con gli stessi valori di "
                                                      "«Numero, Categoria». Cambiare i valori e riprovare."));
    ExpectItalianWithDetail(duplicate, QStringLiteral("UNIQUE constraint failed"));
    documents->CancelUpdate();

    // A statement the storage refuses, and a refusal of the engine's own
    // functions, which is Italian already.
    SqliteDb& db = archive.engine->Db();
    Exception syntax = Caught([&] { Statement(db, QStringLiteral("SELEC 1")); });
    EXPECT_EQ(syntax.Number(), ComponentError::Sql);
    EXPECT_TRUE(syntax.Description().startsWith(QStringLiteral("Operazione sull'archivio non riuscita. Riprovare")));
    ExpectItalianWithDetail(syntax, QStringLiteral("syntax error"));
    EXPECT_TRUE(syntax.Detail().contains(QStringLiteral("SELEC 1"))) << "the statement, for the support";
    Exception division = Caught([&] {
        Statement s(db, QStringLiteral("SELECT mens_curdiv(10000, '0')"));
        s.Step();
    });
    EXPECT_EQ(division.Description(), QStringLiteral("Operazione sull'archivio non riuscita: Divisione per zero. "
                                                     "Controllare i criteri e i valori usati."));

    // A folder that is not there.
    Exception missing = Caught([&] { SqliteDb(archive.m_dir.filePath(QStringLiteral("manca/Mensora.mdb")), true, 100); });
    EXPECT_EQ(missing.Number(), ComponentError::Io);
    EXPECT_TRUE(missing.Description().startsWith(QStringLiteral("Impossibile aprire il file dell'archivio.")));
    ExpectItalianWithDetail(missing, QStringLiteral("unable to open database file"));
}

} // namespace
