// The grid tools without their window: column conditions built from what a
// user types (quotes, wildcards, brackets, accents), the order toggle,
// totals and averages as messages, deletion of a selection by record, the
// printed lists laid out and written to PDF, and the HTML page.

#include "data/RestaurantArchive.h"

#include "app/AppSettings.h"
#include "browser/ArchiveReport.h"
#include "browser/GridCriteria.h"
#include "browser/GridTotals.h"
#include "browser/HtmlExport.h"
#include "browser/RecordDeletion.h"
#include "browser/ReportPrinting.h"
#include "browser/PeriodSelection.h"
#include "component/ComponentErrors.h"
#include "component/Currency.h"
#include "component/Exception.h"
#include "support/QtPrinting.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

class GridEngine : public ::testing::Test
{
protected:
    void AddCustomer(const QString& name, const QString& town = QStringLiteral("Pisa"), const QString& note = {})
    {
        auto customers = archive.Table(QStringLiteral("Clienti"));
        customers->AddRecord({QStringLiteral("Ragione_Sociale"), name, QStringLiteral("Comune"), town,
                              QStringLiteral("Note"), note});
    }

    // The names of the customers a criteria selects, in name order.
    QStringList Names(const QString& criteria)
    {
        auto customers = archive.Table(QStringLiteral("Clienti"), QString(), QStringLiteral("Ragione_Sociale"));
        customers->SetFilter(criteria);
        QStringList names;
        for (bool more = customers->MoveFirst(); more; more = customers->MoveNext())
            names.append(customers->GetValue(QStringLiteral("Ragione_Sociale")).toString());
        names.removeAll(QStringLiteral("Cliente generico"));
        return names;
    }

    QString Like(const QString& field, const QString& typed, bool contains)
    {
        return GridCriteria::LikeCriteria(*archive.database, field, typed, contains);
    }

    RestaurantArchive archive;
};

TEST_F(GridEngine, WhatTheUserTypesIsLookedForAsTyped)
{
    for (const char* name : {"D'Angelo Mario", "Dangelo Srl", "a = b snc", "Sconto [10]", "Sconto 100%", "Sconto 1000",
                             "Caffè Società", "Bar_Centrale", "BarXCentrale", "Tavolo #3", "Tavolo 43"})
        AddCustomer(QString::fromUtf8(name));

    EXPECT_EQ(Like(QStringLiteral("Ragione_Sociale"), QStringLiteral("D'Angelo"), false),
              QStringLiteral("Ragione_Sociale Like 'D''Angelo*'"));
    EXPECT_EQ(Names(Like(QStringLiteral("Ragione_Sociale"), QStringLiteral("D'Angelo"), false)),
              QStringList{QStringLiteral("D'Angelo Mario")});
    EXPECT_EQ(Names(Like(QStringLiteral("Ragione_Sociale"), QStringLiteral("a = b"), false)),
              QStringList{QStringLiteral("a = b snc")});
    EXPECT_EQ(Names(Like(QStringLiteral("Ragione_Sociale"), QStringLiteral("["), true)),
              QStringList{QStringLiteral("Sconto [10]")})
        << "an open bracket is a character, not a broken set";
    EXPECT_EQ(Names(Like(QStringLiteral("Ragione_Sociale"), QStringLiteral("%"), true)),
              QStringList{QStringLiteral("Sconto 100%")})
        << "a percent sign is a character, not a wildcard";
    EXPECT_EQ(Names(Like(QStringLiteral("Ragione_Sociale"), QStringLiteral("Bar_"), false)),
              QStringList{QStringLiteral("Bar_Centrale")});
    EXPECT_EQ(Names(Like(QStringLiteral("Ragione_Sociale"), QStringLiteral("#3"), true)),
              QStringList{QStringLiteral("Tavolo #3")});
    // The star stays the wildcard it is for the user; accents match in any case.
    EXPECT_EQ(Names(Like(QStringLiteral("Ragione_Sociale"), QStringLiteral("d'*mario"), false)),
              QStringList{QStringLiteral("D'Angelo Mario")});
    EXPECT_EQ(Names(Like(QStringLiteral("Ragione_Sociale"), QString::fromUtf8("SOCIETÀ"), true)),
              QStringList{QString::fromUtf8("Caffè Società")});
    EXPECT_EQ(Names(Like(QStringLiteral("Ragione_Sociale"), QString::fromUtf8("caffè s*à"), false)),
              QStringList{QString::fromUtf8("Caffè Società")});
}

TEST_F(GridEngine, ColumnFiltersKeepTheirTextsAndJoinInMenuOrder)
{
    AddCustomer(QStringLiteral("Abete"), QStringLiteral("Pisa"));
    AddCustomer(QStringLiteral("Abaco"), QStringLiteral("Lucca"));
    AddCustomer(QStringLiteral("Acero"), QStringLiteral("Pisa"));

    ColumnFilters filters;
    filters.Reset({QStringLiteral("Ragione_Sociale"), QStringLiteral("Comune"), QStringLiteral("Note")});
    EXPECT_FALSE(filters.Any());
    EXPECT_EQ(filters.At(1).Caption(), QStringLiteral("Comune"));

    filters.Set(1, QStringLiteral("is"), true);
    filters.Set(0, QStringLiteral("ab"), false);
    EXPECT_EQ(filters.Caption(), QStringLiteral("Ragione_Sociale = 'ab*' AND Comune = '*is*'"));
    EXPECT_EQ(filters.Criteria(*archive.database),
              QStringLiteral("Ragione_Sociale Like 'ab*' AND Comune Like '*is*'"));
    EXPECT_EQ(Names(filters.Criteria(*archive.database)), QStringList{QStringLiteral("Abete")});

    // A quote in one condition breaks nothing, and the next one still works.
    filters.Set(2, QStringLiteral("l'ospite"), true);
    EXPECT_EQ(filters.At(2).Caption(), QStringLiteral("Note = '*l'ospite*'"));
    EXPECT_EQ(Names(filters.Criteria(*archive.database)), QStringList());
    filters.Set(2, QString(), true);
    EXPECT_FALSE(filters.At(2).contains) << "an empty text is no condition";
    EXPECT_EQ(Names(filters.Criteria(*archive.database)), QStringList{QStringLiteral("Abete")});
    filters.ClearAll();
    EXPECT_EQ(filters.Criteria(*archive.database), QString());
}

TEST_F(GridEngine, ChoosingAColumnAgainTogglesItsDirection)
{
    using GridCriteria::NextOrder;
    QString order;
    order = NextOrder(order, QStringLiteral("Nome"));
    EXPECT_EQ(order, QStringLiteral("Nome"));
    order = NextOrder(order, QStringLiteral("Nome"));
    EXPECT_EQ(order, QStringLiteral("Nome DESC"));
    order = NextOrder(order, QStringLiteral("Nome"));
    EXPECT_EQ(order, QStringLiteral("Nome ASC"));
    EXPECT_EQ(NextOrder(order, QStringLiteral("Prezzo")), QStringLiteral("Prezzo"));
    EXPECT_EQ(NextOrder(QStringLiteral("F, G DESC"), QStringLiteral("F")), QStringLiteral("F ASC"));
    EXPECT_EQ(NextOrder(QStringLiteral("Ricevute.Data"), QStringLiteral("Data")), QStringLiteral("Data DESC"))
        << "a name inside the order counts as ordered";
    EXPECT_EQ(NextOrder(QStringLiteral("Nome"), QStringLiteral("Portata, Nome DESC")), QStringLiteral("Portata, Nome DESC"));
    EXPECT_EQ(NextOrder(QStringLiteral("Nome DESC"), QString()), QString());
}

TEST_F(GridEngine, TotalsAndAveragesAreWrittenAsTheFieldIs)
{
    auto menu = archive.Table(QStringLiteral("Menu"));
    menu->AddRecord({QStringLiteral("Nome"), QStringLiteral("Tagliata"), QStringLiteral("Prezzo"), QStringLiteral("1234,5"),
                     QStringLiteral("Portata"), QStringLiteral("SECONDI"), QStringLiteral("Ordine_Menù"), 2});
    menu->AddRecord({QStringLiteral("Nome"), QStringLiteral("Acqua"), QStringLiteral("Prezzo"), QStringLiteral("2"),
                     QStringLiteral("Portata"), QStringLiteral("VARIE"), QStringLiteral("Ordine_Menù"), 5});
    menu->SetFilter(QStringLiteral("Nome <> 'Coperto'"));
    EXPECT_EQ(GridTotals::Message(*menu, QStringLiteral("Prezzo"), GridTotals::Kind::Total),
              QStringLiteral("Totale < Prezzo >\r\r1.236,50"));
    EXPECT_EQ(GridTotals::Message(*menu, QStringLiteral("Prezzo"), GridTotals::Kind::Average),
              QStringLiteral("Media < Prezzo >\r\r618,25"));
    EXPECT_EQ(GridTotals::Message(*menu, QStringLiteral("Ordine_Menù"), GridTotals::Kind::Average),
              QString::fromUtf8("Media < Ordine Menù >\r\r4")) << "3.5 of whole numbers rounds to a whole number";

    // Nothing left: a total of nothing is 0, an average of nothing is no number.
    menu->SetFilter(QStringLiteral("Nome = 'Nessuno'"));
    EXPECT_EQ(GridTotals::Message(*menu, QStringLiteral("Prezzo"), GridTotals::Kind::Total),
              QStringLiteral("Totale < Prezzo >\r\r0,00"));
    try {
        GridTotals::Message(*menu, QStringLiteral("Prezzo"), GridTotals::Kind::Average);
        ADD_FAILURE() << "an average over no rows gave a number";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Description(), QStringLiteral("Nessun valore di «Prezzo» su cui calcolare la media"));
    }
}

TEST_F(GridEngine, ASelectionIsDeletedByRecordNotByRowNumber)
{
    for (const char* name : {"Uno", "Due", "Tre", "Quattro", "Cinque"})
        AddCustomer(QString::fromUtf8(name));
    auto customers = archive.Table(QStringLiteral("Clienti"), QStringLiteral("Ragione_Sociale <> 'Cliente generico'"),
                                   QStringLiteral("OID"));
    // Rows 2 and 4 of the grid (1-based): "Due" and "Quattro".
    const QList<qint64> selected = {customers->RowAt(1)->oid, customers->RowAt(3)->oid};
    EXPECT_EQ(RecordDeletion::DeleteSelected(*customers, selected, [] { return true; }), RecordDeletion::Outcome::Done);
    EXPECT_EQ(Names(QStringLiteral("OID > 0")),
              (QStringList{QStringLiteral("Cinque"), QStringLiteral("Tre"), QStringLiteral("Uno")}));

    // A stop after the first record: it stays deleted, the rest stays.
    int steps = 0;
    const QList<qint64> rest = {customers->RowAt(0)->oid, customers->RowAt(1)->oid};
    try {
        RecordDeletion::DeleteSelected(*customers, rest, [&steps] { return ++steps < 2; });
        ADD_FAILURE() << "the stop did not end the command";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Number(), ComponentError::Interrupted);
        EXPECT_EQ(error.Description(), QStringLiteral("Operazione interrotta"));
    }
    EXPECT_EQ(Names(QStringLiteral("OID > 0")), (QStringList{QStringLiteral("Cinque"), QStringLiteral("Tre")}));
}

TEST_F(GridEngine, ARecordInUseStopsTheDeletionOfASelection)
{
    AddCustomer(QStringLiteral("Libero"));
    AddCustomer(QStringLiteral("Con ricevuta"));
    AddCustomer(QStringLiteral("Dopo"));
    archive.Table(QStringLiteral("Ricevute"))->AddRecord({QStringLiteral("Cliente"), QStringLiteral("Con ricevuta"),
                                                          QStringLiteral("TipoDocumento"), QStringLiteral("Ricevuta fiscale")});
    auto customers = archive.Table(QStringLiteral("Clienti"), QStringLiteral("Ragione_Sociale <> 'Cliente generico'"),
                                   QStringLiteral("OID"));
    const QList<qint64> all = {customers->RowAt(0)->oid, customers->RowAt(1)->oid, customers->RowAt(2)->oid};
    EXPECT_EQ(RecordDeletion::DeleteSelected(*customers, all, {}), RecordDeletion::Outcome::InUse);
    EXPECT_EQ(Names(QStringLiteral("OID > 0")), (QStringList{QStringLiteral("Con ricevuta"), QStringLiteral("Dopo")}));
}

TEST_F(GridEngine, MarginsAreReadAsTwipsRoundedHalfToEven)
{
    EXPECT_DOUBLE_EQ(MarginMillimetres(QStringLiteral("10")), 570 * 25.4 / 1440);
    EXPECT_DOUBLE_EQ(MarginMillimetres(QStringLiteral("0,5")), 28 * 25.4 / 1440) << "28.5 twips rounds to 28";
    EXPECT_DOUBLE_EQ(MarginMillimetres(QStringLiteral("1,5")), 86 * 25.4 / 1440) << "85.5 twips rounds to 86";
    EXPECT_DOUBLE_EQ(MarginMillimetres(QStringLiteral("mezzo")), 0.0);
}

TEST_F(GridEngine, TheReportOfAViewIsChosenByTableAndSection)
{
    EXPECT_EQ(ChooseReport(QStringLiteral("Clienti"), QStringLiteral("Lista Clienti")).definition.name, QStringLiteral("drClienti"));
    EXPECT_EQ(ChooseReport(QStringLiteral("Menu"), QStringLiteral("Lista Portate")).definition.name, QStringLiteral("drMenu"));
    EXPECT_EQ(ChooseReport(QStringLiteral("Ricevute"), QStringLiteral("Lista Corrispettivi")).definition.name,
              QStringLiteral("drRicevute"));
    EXPECT_EQ(ChooseReport(QStringLiteral("Ricevute"), QStringLiteral("Ricevute")).kind, ReportChoice::Kind::TicketPreview);
    EXPECT_EQ(ChooseReport(QStringLiteral("TipiPagamento"), QStringLiteral("TipiPagamento")).kind, ReportChoice::Kind::None);
    EXPECT_EQ(NoReportMessage(QStringLiteral("TipiPagamento")),
              QStringLiteral("Nessun report di stampa disponibile per <TipiPagamento>"));
}

// The text of a PDF, page by page.
QStringList PdfPages(const QString& path)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!tool.waitForFinished(20000) || tool.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

TEST_F(GridEngine, AReceiptListOfThreePagesEndsWithItsTotal)
{
    auto receipts = archive.Table(QStringLiteral("Ricevute"));
    AddCustomer(QString::fromUtf8("Trattoria D'Angelo & Figli"));
    // Enough receipts for three pages; amounts 1,00 to n,00.
    Settings() = DefaultSettings();
    auto list = archive.Table(QStringLiteral("Ricevute"), QString(), QStringLiteral("AnnoFiscale,Numero"));
    const ReportDefinition definition = drRicevute();
    auto report = ReportPrinting::MakeReport(list, definition, QStringLiteral("Lista Ricevute"));
    QTemporaryDir dir;
    const QString probe = dir.filePath(QStringLiteral("probe.pdf"));
    ASSERT_TRUE(ReportPrinting::WritePdf(*report, probe, nullptr));
    const int first = report->Capacity(0);
    ASSERT_GT(first, 20);
    const int perPage = report->Capacity(1);
    EXPECT_GT(perPage, first) << "the other pages have no title section";
    const int count = first + perPage + 7;
    for (int i = 1; i <= count; ++i) {
        receipts->AddRecord({QStringLiteral("Cliente"), i == 2 ? QString::fromUtf8("Trattoria D'Angelo & Figli")
                                                               : QStringLiteral("Cliente generico"),
                             QStringLiteral("Data"), QDateTime(QDate(2026, 3, 1 + i % 28), QTime(12, 0)),
                             QStringLiteral("TipoDocumento"), QStringLiteral("Ricevuta fiscale"),
                             QStringLiteral("Importo_Ricevuta"), QVariant::fromValue(Currency::FromDouble(i))});
    }
    list->Requery();

    const QString path = dir.filePath(QStringLiteral("Lista Ricevute.pdf"));
    SelectionDescription() = QStringLiteral("Tutte le Date - Tutti i Tipi di Documento");
    report = ReportPrinting::MakeReport(list, definition, QStringLiteral("Lista Ricevute"));
    ASSERT_TRUE(ReportPrinting::WritePdf(*report, path, nullptr));
    EXPECT_EQ(report->PageCount(), 3);
    EXPECT_EQ(report->RowsOnPage(1), perPage);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".part")));

    const QStringList pages = PdfPages(path);
    ASSERT_EQ(pages.size(), 3) << "pdftotext (poppler-utils) is needed";
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Lista Ricevute")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Tutte le Date - Tutti i Tipi di Documento")));
    EXPECT_TRUE(pages[0].contains(QString::fromUtf8("Trattoria D'Angelo & Figli")));
    for (int page = 0; page < 3; ++page) {
        EXPECT_TRUE(pages[page].contains(QStringLiteral("Pag. %1/3").arg(page + 1))) << page;
        EXPECT_TRUE(pages[page].contains(QString::fromUtf8("N°"))) << "column headers on every page";
    }
    EXPECT_FALSE(pages[1].contains(QStringLiteral("TOTALE")));
    // 1 + 2 + ... + n, as "#,#0.00".
    const qint64 sum = qint64(count) * (count + 1) / 2;
    const QString total = QLocale(QLocale::Italian).toString(double(sum), 'f', 2);
    EXPECT_TRUE(pages[2].contains(QStringLiteral("TOTALE :"))) << pages[2].toStdString();
    EXPECT_TRUE(pages[2].contains(total)) << total.toStdString();
    EXPECT_TRUE(pages[2].contains(QStringLiteral("%1,00").arg(count)));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("2/03/2026"))) << "dates as d/MM/yyyy";
}

TEST_F(GridEngine, AMenuListShowsPricesAndAnEmptyListStillPrintsItsPage)
{
    auto menu = archive.Table(QStringLiteral("Menu"), QString(), QStringLiteral("Ordine_Menù"));
    menu->AddRecord({QStringLiteral("Nome"), QStringLiteral("Fiorentina"), QStringLiteral("Prezzo"), QStringLiteral("1250"),
                     QStringLiteral("Portata"), QStringLiteral("SECONDI"), QStringLiteral("Descrizione"),
                     QStringLiteral("<b>al kg</b>")});
    QTemporaryDir dir;
    auto report = ReportPrinting::MakeReport(menu, drMenu(), QStringLiteral("Menu"));
    const QString path = dir.filePath(QStringLiteral("menu.pdf"));
    ASSERT_TRUE(ReportPrinting::WritePdf(*report, path, nullptr));
    const QStringList pages = PdfPages(path);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains(QString::fromUtf8("Menù - Archivio Portate")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("1.250,00")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("<b>al kg</b>")));
    EXPECT_TRUE(pages[0].contains(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")))) << "the print date";
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Pag. 1/1")));

    menu->SetFilter(QStringLiteral("Nome = 'Nessuno'"));
    report = ReportPrinting::MakeReport(menu, drMenu(), QStringLiteral("Menu"));
    ASSERT_TRUE(ReportPrinting::WritePdf(*report, path, nullptr));
    EXPECT_EQ(report->PageCount(), 1);
    EXPECT_TRUE(PdfPages(path).value(0).contains(QStringLiteral("Pag. 1/1")));
}

TEST_F(GridEngine, TheHtmlPageEscapesWhatItShowsAndIsWrittenAnew)
{
    AddCustomer(QStringLiteral("<script>alert(1)</script>"), QStringLiteral("Pisa & Lucca"), QString::fromUtf8("Società \"Bella\""));
    QTemporaryDir dir;
    HtmlExport::ScopedFolder folder(dir.path());
    auto customers = archive.Table(QStringLiteral("Clienti"), QStringLiteral("Comune = 'Pisa & Lucca'"));
    ASSERT_TRUE(HtmlExport::Write(*customers, nullptr));
    QFile page(HtmlExport::PageFile());
    ASSERT_EQ(QFileInfo(page).fileName(), QStringLiteral("TableData.htm"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    page.close();
    EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    EXPECT_FALSE(html.contains(QStringLiteral("<script>")));
    EXPECT_TRUE(html.contains(QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt;")));
    EXPECT_TRUE(html.contains(QStringLiteral("Pisa &amp; Lucca")));
    EXPECT_TRUE(html.contains(QString::fromUtf8("Società &quot;Bella&quot;")));

    // A second export replaces the first.
    customers = archive.Table(QStringLiteral("Clienti"), QStringLiteral("Ragione_Sociale = 'Cliente generico'"));
    ASSERT_TRUE(HtmlExport::Write(*customers, nullptr));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString second = QString::fromUtf8(page.readAll());
    EXPECT_FALSE(second.contains(QStringLiteral("alert")));
    EXPECT_TRUE(second.contains(QStringLiteral("Cliente generico")));
}

} // namespace
