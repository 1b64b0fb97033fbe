// The command-line tool: one line per print-object call with absolute
// positions, errors on standard error with the message boxes' texts, and the
// exit status of the emission.

#include "TicketArchive.h"
#include "support/ToolProcess.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString ToolPath()
{
    return BuiltProgram(QStringLiteral("tools/ticketprint"), QStringLiteral("ticketprint"));
}

struct TicketprintRun
{
    int status = -1;
    QStringList lines;
    QString errors;
};

TicketprintRun Ticketprint(const QStringList& arguments, const QString& configDir)
{
    const ToolRun run = RunTool(ToolPath(), arguments,
                                {{QStringLiteral("XDG_CONFIG_HOME"), configDir},
                                 {QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")}});
    if (!run.finished)
        return {};
    return {run.exitCode, run.out.split(u'\n', Qt::SkipEmptyParts), run.err};
}

} // namespace

TEST(Ticketprint, PrintsAReceiptsCallsAndReportsErrors)
{
    if (!QFileInfo::exists(ToolPath()))
        GTEST_SKIP() << "ticketprint is not built";
    QTemporaryDir dir;
    TicketArchive data;
    auto receipt = data.Receipt({"Risotto", "Acqua"});
    const QString oid = receipt->ValueAt(0).toString();
    const QString script = dir.filePath(QStringLiteral("layout.vbs"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)\r\n"
               "  prn.BoxOut 0, 0, 20, 50\r\n  PrintTicketMask = True\r\nEnd Function\r\n"
               "Function PrintTicketRow(flds, prn, nRow)\r\n  prn.SetFont 9, False, True, \"\"\r\n"
               "  prn.TxtOut 1, 2, nRow & \" \" & flds(\"Nome\")\r\n  PrintTicketRow = True\r\nEnd Function\r\n");
    file.close();

    const TicketprintRun ok = Ticketprint({data.archive.Path(), QStringLiteral("--oid"), oid, QStringLiteral("--script"), script,
                                QStringLiteral("--geometry"), QStringLiteral("100,60,10,5,5,30,60"), QStringLiteral("--to"),
                                QStringLiteral("record")},
                               dir.path());
    EXPECT_EQ(ok.status, 0) << ok.errors.toStdString();
    const QStringList expected = {
        QStringLiteral("SetFont 9 False True Arial"),
        QStringLiteral("TxtOut 41.00 7.00 1 Acqua"),
        QStringLiteral("SetFont 9 False True Arial"),
        QStringLiteral("TxtOut 46.00 7.00 2 Risotto"),
        QStringLiteral("BoxOut 10.00 5.00 20.00 50.00"),
        QStringLiteral("NextTicket"),
        QStringLiteral("EndTickets"),
    };
    EXPECT_EQ(ok.lines, expected);

    file.open(QIODevice::Append);
    file.write("Function Broken(\r\n");
    file.close();
    const TicketprintRun broken = Ticketprint({data.archive.Path(), QStringLiteral("--number"), receipt->GetValue(QStringLiteral("Numero")).toString(),
                                    QStringLiteral("--year"), QStringLiteral("2026"), QStringLiteral("--type"),
                                    QStringLiteral("Ricevuta fiscale"), QStringLiteral("--script"), script, QStringLiteral("--to"),
                                    QStringLiteral("record")},
                                   dir.path());
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(broken.errors.contains(QStringLiteral("Errore nel codice di stampa (1) riga ricevuta: \n\n"))) << broken.errors.toStdString();
    EXPECT_TRUE(broken.errors.contains(QStringLiteral("Linea VB: 10"))) << broken.errors.toStdString();

    const TicketprintRun missing = Ticketprint({data.archive.Path(), QStringLiteral("--oid"), QStringLiteral("999"), QStringLiteral("--to"),
                                     QStringLiteral("record")},
                                    dir.path());
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.errors.contains(QStringLiteral("Ricevuta non trovata.")));
    EXPECT_EQ(Ticketprint({data.archive.Path(), QStringLiteral("--oid"), oid}, dir.path()).status, 64);
}
