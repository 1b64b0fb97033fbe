// Names that must be unique (courses, document and payment types) are
// compared without case over all letters, as Like compares them; the file
// stays one that plain SQLite tools read and write.

#include "RestaurantArchive.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

qint32 Refusal(const std::function<void()>& action, QString* description = nullptr)
{
    try {
        action();
    } catch (const Exception& e) {
        if (description)
            *description = e.Description();
        return e.Number();
    }
    return 0;
}

// A statement run by a plain connection, without the engine's functions.
int PlainSql(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc;
}

TEST(UniqueNames, CaseIsIgnoredOverAllLetters)
{
    RestaurantArchive archive;
    for (const char* table : {"Portate", "TipiDocumento", "TipiPagamento"}) {
        SCOPED_TRACE(table);
        auto names = archive.Table(QString::fromLatin1(table));
        names->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("DOLCI È")});
        const qint64 count = names->RecordCount();
        QString description;
        EXPECT_EQ(Refusal([&] { names->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("dolci è")}); }, &description),
                  ComponentError::Duplicate);
        EXPECT_EQ(description, QStringLiteral("Dati duplicati: esiste già un record con gli stessi valori di «Descrizione». "
                                              "Cambiare i valori e riprovare."));
        names->CancelUpdate();
        EXPECT_EQ(Refusal([&] { names->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Dolci è")}); }),
                  ComponentError::Duplicate);
        names->CancelUpdate();
        EXPECT_EQ(names->RecordCount(), count) << "nothing half-written";

        // Renaming onto another name is refused too; other names go in.
        names->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Caffè")});
        names->SetValue(QStringLiteral("Descrizione"), QStringLiteral("DOLCI è"));
        EXPECT_EQ(Refusal([&] { names->SaveRecord(); }), ComponentError::Duplicate);
        names->CancelUpdate();
        names->SetValue(QStringLiteral("Descrizione"), QStringLiteral("CAFFÈ"));
        EXPECT_EQ(Refusal([&] { names->SaveRecord(); }), 0) << "a record keeps its own name in another case";
    }
}

TEST(UniqueNames, OlderArchivesKeepTheirNamesAndStayPlainSqlite)
{
    RestaurantArchive archive;
    // An archive written before this comparison may hold two such names.
    ASSERT_EQ(PlainSql(archive.Path(), "INSERT INTO Portate (Descrizione, Ordine_Di_Stampa) VALUES ('DOLCI È', 300);"
                                       "INSERT INTO Portate (Descrizione, Ordine_Di_Stampa) VALUES ('dolci è', 310);"),
              SQLITE_OK);
    archive.Open();
    auto courses = archive.Table(QStringLiteral("Portate"), QStringLiteral("Descrizione Like 'dolci*'"));
    EXPECT_EQ(courses->RecordCount(), 2) << "both kept, both found";
    courses->SetValue(QStringLiteral("Ordine_Di_Stampa"), 320);
    EXPECT_EQ(Refusal([&] { courses->SaveRecord(); }), 0) << "the rest of such a record can still be changed";
    courses->MoveNext();
    courses->SetValue(QStringLiteral("Descrizione"), QStringLiteral("Dolci È"));
    EXPECT_EQ(Refusal([&] { courses->SaveRecord(); }), ComponentError::Duplicate) << "but no new name like them";
    courses->CancelUpdate();

    // The file needs nothing of the program to be read and written.
    EXPECT_EQ(PlainSql(archive.Path(), "SELECT * FROM Portate; PRAGMA integrity_check;"
                                       "INSERT INTO TipiPagamento (Descrizione) VALUES ('Buono pasto');"),
              SQLITE_OK);
}

} // namespace
