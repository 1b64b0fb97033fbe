// What a view asks of the archive: section rules, the date selection with
// its captions and criteria, the period lists and the per-field menus.

#include "browser/DateSelection.h"
#include "browser/FieldMenus.h"
#include "browser/PeriodSelection.h"
#include "browser/ViewRules.h"
#include "component/ComponentGlobal.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"
#include "data/DB.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ViewRules, EachSectionHasItsTableOrderAndDateField)
{
    const QString join = QStringLiteral("Ricevute.OID = RigheRicevute.OID_Ricevute_Righe");
    struct Case { const char* key; const char* table; const char* order; const char* dateField; bool period; };
    const Case cases[] = {
        {"Lista Portate", "Menu", "Menu.OID_Portata,Menu.Ordine_Menù", "", false},
        {"Lista Venduto", "RigheRicevute", "Ricevute.Data", "", true},
        {"Lista Corrispettivi", "Ricevute", "Ricevute.OID_TipoDocumento, Ricevute.Numero", "", true},
        {"Menu", "Menu", "Ordine_Menù", "", false},
        {"Ricevute", "Ricevute", "AnnoFiscale,Numero", "Data", false},
        {"Lista Ricevute", "Ricevute", "AnnoFiscale,Numero", "Data", false},
        {"RigheRicevute", "RigheRicevute", "Ricevute.Data", "Data", false},
        {"Clienti", "Clienti", "Ragione_Sociale", "", false},
        {"Lista Clienti", "Clienti", "Ragione_Sociale", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const ViewRules rules = RulesOfSection(QString::fromUtf8(c.key), QStringLiteral("Ragione_Sociale"), join);
        EXPECT_EQ(rules.table, QString::fromUtf8(c.table));
        EXPECT_EQ(rules.order, QString::fromUtf8(c.order));
        EXPECT_EQ(rules.dateField, QString::fromUtf8(c.dateField));
        EXPECT_EQ(rules.asksForPeriod, c.period);
    }
    const ViewRules sold = RulesOfSection(QStringLiteral("Lista Venduto"), QString(), join);
    EXPECT_EQ(sold.select, QStringLiteral("*, Ricevute.Data"));
    EXPECT_EQ(sold.criteria, join);
}

TEST(DateSelection, CriteriaOfADayAndOfAMonth)
{
    DateSelection selection;
    selection.SelectDay(QDateTime(QDate(2026, 12, 7), QTime(21, 30)));
    EXPECT_EQ(selection.ApplyTo(QString(), QStringLiteral("Data")),
              QStringLiteral("Data >= #12/07/2026# AND Data < #12/08/2026#"));
    selection.SelectDay(QDateTime(QDate(2026, 12, 31), QTime(9, 0)));
    EXPECT_EQ(selection.ApplyTo(QStringLiteral("Note Like 'x*'"), QStringLiteral("Data")),
              QStringLiteral("(Note Like 'x*') AND Data >= #12/31/2026# AND Data < #01/01/2027#"));
    selection.SelectMonth(QDateTime(QDate(2026, 3, 15), QTime()));
    EXPECT_EQ(selection.ApplyTo(QString(), QStringLiteral("Data")), QStringLiteral("Month(Data) = 3 AND Year(Data) = 2026"));
    selection.SelectAll();
    EXPECT_EQ(selection.ApplyTo(QStringLiteral("A = 1"), QStringLiteral("Data")), QStringLiteral("A = 1"));
    EXPECT_EQ(selection.ApplyTo(QStringLiteral("A = 1"), QString()), QStringLiteral("A = 1"));
}

TEST(DateSelection, CaptionsInItalian)
{
    DateSelection selection;
    selection.SelectMonth(QDateTime(QDate(2026, 3, 15), QTime()));
    SelectionCaptions c = CaptionsFor(selection, QStringLiteral("Data Ricevuta"));
    EXPECT_EQ(c.button, QStringLiteral("Ricevuta  < marzo 2026 >"));
    EXPECT_EQ(c.tooltip, QStringLiteral("Dati del mese 03/2026 relativi a Data Ricevuta"));
    EXPECT_EQ(c.menu, QStringLiteral("Solo in data Ricevuta  < marzo 2026 >"));
    EXPECT_TRUE(c.checkMonth && !c.checkDate && !c.checkAll);

    selection.SelectDay(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
    c = CaptionsFor(selection, QStringLiteral("Data"));
    EXPECT_EQ(c.button, QStringLiteral("< 07 dic 2026 >"));
    EXPECT_EQ(c.tooltip, QStringLiteral("Dati del giorno 07/12/2026 relativi a Data"));

    selection.SelectAll();
    c = CaptionsFor(selection, QStringLiteral("Data Ricevuta"));
    EXPECT_EQ(c.button, QStringLiteral("< tutti >"));
    EXPECT_EQ(c.tooltip, QStringLiteral("Nessuna selezione per Data Ricevuta"));
    EXPECT_EQ(c.menu, QStringLiteral("Seleziona per Data Ricevuta"));
    EXPECT_TRUE(c.checkAll);
}

class ArchiveViews : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString path = dir.filePath(QStringLiteral("Mensora.mdb"));
        engine = std::make_shared<DatabaseEngine>();
        engine->CreateDatabaseFile(3, path);
        engine->OpenDatabaseFile(3, path);
        database = ComponentGlobal::CreateDatabaseObject(std::make_shared<DB>(), QString(), nullptr, nullptr);
        database->AttachEngine(engine);
        auto types = Open(QStringLiteral("TipiDocumento"));
        types->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Conto dell'oste")});
        auto receipts = Open(QStringLiteral("Ricevute"));
        const QList<std::pair<QDateTime, const char*>> sales = {
            {QDateTime(QDate(2026, 2, 28), QTime(22, 0)), "Fattura"},
            {QDateTime(QDate(2026, 3, 1), QTime(12, 30)), "Ricevuta fiscale"},
            {QDateTime(QDate(2026, 3, 31), QTime(23, 40)), "Ricevuta fiscale"},
            {QDateTime(QDate(2026, 3, 31), QTime(13, 0)), "Conto dell'oste"},
            {QDateTime(QDate(2026, 4, 1), QTime(0, 0)), "Fattura"},
        };
        for (const auto& [when, type] : sales)
            receipts->AddRecord({QStringLiteral("Cliente"), QStringLiteral("Cliente generico"), QStringLiteral("Data"), when,
                                 QStringLiteral("TipoDocumento"), QString::fromUtf8(type)});
    }

    std::shared_ptr<DataObject> Open(const QString& table, const QString& criteria = {})
    {
        return database->Tables().Item(table).OpenDataObject(engine, criteria);
    }

    QTemporaryDir dir;
    std::shared_ptr<DatabaseEngine> engine;
    std::shared_ptr<DatabaseObject> database;
};

TEST_F(ArchiveViews, PeriodIncludesTheWholeLastDay)
{
    PeriodChoice choice{true, QString(), QDate(2026, 3, 1), QDate(2026, 3, 31)};
    const PeriodCriteria all = ApplyPeriod(QString(), choice, *database, engine);
    EXPECT_EQ(all.description, QStringLiteral("Da Data: 01/03/2026 a Data: 31/03/2026 - Tutti i Tipi di Documento"));
    EXPECT_EQ(Open(QStringLiteral("Ricevute"), all.criteria)->RecordCount(), 3) << "23:40 of the last day is in";

    choice.documentType = QStringLiteral(" Ricevuta fiscale ");
    const PeriodCriteria fiscal = ApplyPeriod(QString(), choice, *database, engine);
    EXPECT_EQ(fiscal.description, QStringLiteral("Da Data: 01/03/2026 a Data: 31/03/2026 - Tipo Doc.: Ricevuta fiscale"));
    EXPECT_TRUE(fiscal.criteria.contains(QStringLiteral("#AND Ricevute.OID_TipoDocumento=")));
    EXPECT_EQ(Open(QStringLiteral("Ricevute"), fiscal.criteria)->RecordCount(), 2);

    choice.documentType = QStringLiteral("Conto dell'oste");
    EXPECT_EQ(Open(QStringLiteral("Ricevute"), ApplyPeriod(QString(), choice, *database, engine).criteria)->RecordCount(), 1)
        << "a quote in the type's description must not break the list";

    const PeriodCriteria none = ApplyPeriod(QStringLiteral("A = 1"), PeriodChoice{}, *database, engine);
    EXPECT_EQ(none.description, QStringLiteral("Tutte le Date - Tutti i Tipi di Documento"));
    EXPECT_EQ(none.criteria, QStringLiteral("A = 1"));
}

TEST_F(ArchiveViews, SoldItemsOfAPeriodReachTheirReceiptsDate)
{
    auto receipts = Open(QStringLiteral("Ricevute"), QStringLiteral("Numero = 2 AND AnnoFiscale = 2026 AND TipiDocumento.OID = 2"));
    receipts->OpenReference(QStringLiteral("Righe"))->AddRecord({QStringLiteral("OID_Menu"), qint64(1)});
    const ViewRules rules = RulesOfSection(QStringLiteral("Lista Venduto"), QString(), RigheJoinCriteria(*database));
    const PeriodCriteria period = ApplyPeriod(rules.criteria, {true, QString(), QDate(2026, 3, 31), QDate(2026, 3, 31)}, *database, engine);
    auto sold = database->Tables().Item(rules.table).OpenDataObject(engine, period.criteria, rules.order, {}, rules.select);
    ASSERT_EQ(sold->RecordCount(), 1);
    EXPECT_EQ(sold->GetValue(QStringLiteral("Data")).toDateTime(), QDateTime(QDate(2026, 3, 31), QTime(23, 40)));
}

TEST_F(ArchiveViews, FieldMenusOfTheReceipts)
{
    const FieldMenus menus = BuildFieldMenus(*Open(QStringLiteral("Ricevute")));
    QStringList totals;
    for (const FieldMenuItem& item : menus.total)
        totals.append(item.tag);
    EXPECT_EQ(totals, (QStringList{"Importo_Ricevuta", "Numero", "AnnoFiscale"}));
    for (const FieldMenuItem& item : menus.average)
        EXPECT_FALSE(item.caption.startsWith(QStringLiteral("OID")));
    ASSERT_FALSE(menus.find.isEmpty());
    EXPECT_EQ(menus.find[menus.findDefault - 1].tag, QStringLiteral("Note"));
    EXPECT_EQ(menus.search.first().caption, QStringLiteral("Note"));
    EXPECT_EQ(menus.filter.first().caption, QStringLiteral("Note"));
    QStringList order;
    for (const FieldMenuItem& item : menus.order)
        order.append(item.caption);
    EXPECT_TRUE(order.contains(QStringLiteral("Data Ricevuta")));
    EXPECT_FALSE(order.contains(QStringLiteral("OID")));
}

} // namespace
