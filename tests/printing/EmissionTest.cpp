// Ticket emission over the restaurant's archive: the order of masks and rows
// across tickets and copies, the fields the scripts see, stops and errors,
// and that a stopped receipt prints nothing.

#include "TicketArchive.h"

#include "app/DefaultTicketScript.h"
#include "app/frmMessage.h"
#include "printing/TicketEmission.h"
#include "printing/TicketPrinters.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Writes which function ran with what, so that the record shows the order.
const char* const Tracer = R"vbs(Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)
  prn.TxtOut 0, 0, "M " & bTotal & " " & flds("Numero")
  PrintTicketMask = True
End Function

Function PrintTicketRow(flds, prn, nRow)
  prn.TxtOut 0, 0, "R" & nRow & " " & flds("Nome")
  PrintTicketRow = True
End Function
)vbs";

QString Script(const char* text)
{
    return QString::fromUtf8(text);
}

class Emission : public ::testing::Test
{
protected:
    // Rows 30..50 in slots of 5: three rows per ticket.
    static TicketGeometry ThreeRows()
    {
        TicketGeometry g;
        g.height = 60.0f;
        g.width = 70.0f;
        g.columns = 2;
        g.rowsTop = 30.0f;
        g.rowsDim = 5.0f;
        g.rowsBottom = 50.0f;
        return g;
    }

    bool Emit(const std::shared_ptr<DataObject>& receipt, const QString& script, int copies = 1,
              const TicketGeometry& geometry = ThreeRows())
    {
        auto printer = data.Printer(geometry);
        const bool ok = TicketEmission(*receipt, printer, copies, script);
        EXPECT_EQ(printer, nullptr) << "the emission releases the print object";
        return ok;
    }

    QStringList Texts() const { return data.record->Texts(); }

    TicketArchive data;
    ScriptedDialogs dialogs;
    ScopedDialogService useDialogs{dialogs};
    ScopedSettings keepSettings;
};

} // namespace

TEST_F(Emission, FullTicketsGetTheirMaskAfterTheirRowsAndTheLastOneTheTotal)
{
    auto receipt = data.Receipt({"Acqua", "Tiramisù", "2x Risotto", "Tagliata"});
    const QString n = receipt->GetValue(QStringLiteral("Numero")).toString();
    ASSERT_TRUE(Emit(receipt, Script(Tracer), 2));
    const QStringList texts = Texts();
    // Course order: VARIE (50), PRIMI (150), SECONDI (200); then as added.
    const QStringList copy = {QStringLiteral("R1 Acqua"), QStringLiteral("R2 Tiramisù"), QStringLiteral("R3 Risotto"),
                              QStringLiteral("M Falso ") + n, QStringLiteral("R4 Tagliata"),
                              QStringLiteral("M Vero ") + n};
    EXPECT_EQ(texts, copy + copy) << "nRow starts again at 1 for each copy";

    // Where they went: two tickets per copy, side by side, then a new line.
    const auto& calls = data.record->calls;
    std::vector<QPointF> at;
    for (const auto& call : calls)
        if (call.kind == TicketRecord::Call::Kind::Text)
            at.push_back(call.op.rect.topLeft());
    EXPECT_EQ(at[0], QPointF(0, 30));
    EXPECT_EQ(at[1], QPointF(0, 35));
    EXPECT_EQ(at[2], QPointF(0, 40));
    EXPECT_EQ(at[3], QPointF(0, 0));
    EXPECT_EQ(at[4], QPointF(70, 35)) << "a continued ticket starts in its second slot";
    EXPECT_EQ(at[5], QPointF(70, 0));
    EXPECT_EQ(at[6], QPointF(0, 90)) << "the second copy on the next line of tickets";
    EXPECT_EQ(data.record->Count(TicketRecord::Call::Kind::NextTicket), 4);
    EXPECT_EQ(data.record->lines.last(), QStringLiteral("EndTickets"));
    EXPECT_EQ(data.record->Count(TicketRecord::Call::Kind::EndTickets), 1);
    EXPECT_TRUE(dialogs.Calls().empty());
}

TEST_F(Emission, AReceiptWithoutRowsPrintsOneMaskPerCopy)
{
    auto receipt = data.Receipt({});
    ASSERT_TRUE(Emit(receipt, Script(Tracer), 3));
    const QString mask = QStringLiteral("M Vero ") + receipt->GetValue(QStringLiteral("Numero")).toString();
    EXPECT_EQ(Texts(), QStringList({mask, mask, mask}));
    EXPECT_EQ(data.record->Count(TicketRecord::Call::Kind::NextTicket), 3);
}

TEST_F(Emission, AScriptReturningFalseStopsAndNothingIsPrinted)
{
    auto receipt = data.Receipt({"Acqua", "Tiramisù", "Risotto", "Tagliata"});
    const QString stopper = Script(Tracer).replace(QStringLiteral("  PrintTicketRow = True"),
                                                   QStringLiteral("  PrintTicketRow = nRow <> 3"));
    EXPECT_FALSE(Emit(receipt, stopper));
    EXPECT_EQ(Texts(), QStringList({QStringLiteral("R1 Acqua"), QStringLiteral("R2 Tiramisù"), QStringLiteral("R3 Risotto")}));
    // The job is dropped before it ends: rows without their mask never reach
    // the paper, and a retry prints one whole receipt.
    const QStringList tail = data.record->lines.mid(data.record->lines.size() - 2);
    EXPECT_EQ(tail, QStringList({QStringLiteral("Abort"), QStringLiteral("EndTickets")}));
    EXPECT_TRUE(dialogs.Calls().empty()) << "returning False is no error";

    const QString maskStops = Script(Tracer).replace(QStringLiteral("  PrintTicketMask = True"),
                                                     QStringLiteral("  PrintTicketMask = bTotal"));
    EXPECT_FALSE(Emit(receipt, maskStops)) << "a mask returning False on a full ticket";
    EXPECT_EQ(Texts().size(), 4);
}

TEST_F(Emission, AFailedPrintIsAFailedEmission)
{
    auto receipt = data.Receipt({"Acqua"});
    ScopedTicketPrinter recorder;
    recorder.FailPrinting(QStringLiteral("Stampante non pronta."));
    auto printer = CreateTicketPrinter(QStringLiteral("Cassa"), TicketGeometry());
    dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_FALSE(TicketEmission(*receipt, printer, 1, Script(Tracer)));
    EXPECT_EQ(dialogs.LastCall().text,
              QStringLiteral("Si e' verificato un errore durante l'emissione della ricevuta:\r\rStampante non pronta."));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Critical);
    EXPECT_EQ(recorder.Record().printerNames, QStringList({QStringLiteral("Cassa")}));
}

TEST_F(Emission, ScriptErrorsAreReportedWithTheirLine)
{
    auto receipt = data.Receipt({"Acqua", "Risotto"});
    // A syntax error, reported by the first call (a row), with CR LF and LF
    // line ends alike.
    const QString broken = QStringLiteral("Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)\n"
                                          "  PrintTicketMask = True\nEnd Function\n\n"
                                          "Function PrintTicketRow(flds, prn, nRow)\n"
                                          "  If nRow = 1 Then\n  PrintTicketRow = True\nEnd Function\n");
    for (const QString& text : {broken, QString(broken).replace(QStringLiteral("\n"), QStringLiteral("\r\n"))}) {
        dialogs.AnswerMessage(MsgResult::Ok);
        EXPECT_FALSE(Emit(receipt, text));
        const QString shown = dialogs.LastCall().text;
        EXPECT_TRUE(shown.startsWith(QStringLiteral("Errore nel codice di stampa (1) riga ricevuta: \r\r"))) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(QStringLiteral("\r\rLinea VB: 8"))) << shown.toStdString();
        EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Critical);
    }
    EXPECT_TRUE(Texts().isEmpty());

    // A runtime error in the mask: a field that does not exist.
    const QString runtime = Script(Tracer).replace(QStringLiteral("flds(\"Numero\")"), QStringLiteral("flds(\"Numerone\")"));
    dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_FALSE(Emit(receipt, runtime));
    const QString shown = dialogs.LastCall().text;
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Errore nel codice di stampa maschera ricevuta: \r\r"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Numerone")));
    EXPECT_TRUE(shown.endsWith(QStringLiteral("\r\rLinea VB: 2"))) << shown.toStdString();
    EXPECT_EQ(data.record->lines.mid(data.record->lines.size() - 2),
              QStringList({QStringLiteral("Abort"), QStringLiteral("EndTickets")}));
}

TEST_F(Emission, AnEndlessLoopIsStoppedByTheTimeLimit)
{
    ScopedTicketTimeLimit limit(150);
    auto receipt = data.Receipt({"Acqua"});
    const QString endless = Script(Tracer).replace(QStringLiteral("  PrintTicketRow = True"),
                                                   QStringLiteral("  Do\n  Loop\n  PrintTicketRow = True"));
    dialogs.AnswerMessage(MsgResult::Ok);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Emit(receipt, endless));
    EXPECT_LT(clock.elapsed(), 5000);
    const QString shown = dialogs.LastCall().text;
    EXPECT_TRUE(shown.contains(QStringLiteral("tempo massimo"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("Linea VB: 8"))) << shown.toStdString();
}

TEST_F(Emission, ScriptsSeeTheRecordsFieldsAsTheArchiveHoldsThem)
{
    Settings().RestaurantName = QStringLiteral("Trattoria \"Da Mario\"");
    auto receipt = data.Receipt({"2x Tagliatelle al ragù"});
    // No customer: every customer field is Null.
    receipt->SetValue(QStringLiteral("Cliente"), QVariant());
    receipt->SaveRecord();
    const char* const fields = R"vbs(Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)
  prn.TxtOut 0, 0, sName
  prn.TxtOut 0, 0, TypeName(flds("Importo_Ricevuta").Value) & " " & FormatNumber(flds("Importo_Ricevuta"), 2)
  prn.TxtOut 0, 0, VarType(flds("Data")) & " " & Day(flds("Data")) & " " & Hour(flds("Data"))
  prn.TxtOut 0, 0, fldsCliente("Ragione_Sociale") & " " & IsNull(fldsCliente("Ragione_Sociale")) & " " & fldsCliente.Count
  prn.TxtOut 0, 0, fldsTipoDoc("Descrizione") & " " & fldsTipoDoc("Ricevuta_Fiscale")
  PrintTicketMask = True
End Function
Function PrintTicketRow(flds, prn, nRow)
  Dim f, s
  For Each f In flds
    If f.Name = "Portata" Or f.Name = "Quantità" Or f.Name = "Descrizione" Then s = s & f.Name & "=" & f.Value & ";"
  Next
  prn.TxtOut 0, 0, s
  prn.TxtOut 0, 0, flds("Nome").Value & " " & TypeName(flds("Importo_Riga").Value) & " " & flds("Importo_Riga") & " " & flds("Prezzo")
  prn.TxtOut 0, 0, (flds.Count > 8) & " " & (flds(0).Name = "OID")
  PrintTicketRow = True
End Function
)vbs";
    ASSERT_TRUE(Emit(receipt, Script(fields)));
    const QStringList expected = {
        QStringLiteral("Descrizione=Piatto Tagliatelle al ragù;Portata=PRIMI;Quantità=2;"),
        QStringLiteral("Tagliatelle al ragù Currency 18 9"),
        QStringLiteral("Vero Vero"),
        QStringLiteral("Trattoria \"Da Mario\""),
        QStringLiteral("Currency 18,00"),
        QStringLiteral("7 14 21"),
        QStringLiteral(" Vero 11"),
        QStringLiteral("Ricevuta fiscale Vero"),
    };
    EXPECT_EQ(Texts(), expected);
}

TEST_F(Emission, TheDefaultScriptPrintsNothingAndSucceeds)
{
    Settings().Ticket.VBScript = DefaultTicketScript();
    auto receipt = data.Receipt({"Acqua", "Risotto"});
    EXPECT_TRUE(Emit(receipt, QString()));
    EXPECT_TRUE(Texts().isEmpty());
    EXPECT_TRUE(dialogs.Calls().empty());
}

TEST_F(Emission, OverTheMainWindowTheMessageWindowShowsProgressAndCanStop)
{
    QWidget main;
    main.setObjectName(QStringLiteral("frmMain"));
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    auto receipt = data.Receipt({"Acqua", "Tiramisù", "Risotto", "Tagliata"});

    // When the bar reaches the third row the cashier presses Stop and
    // confirms: two rows were drawn, and dropped.
    const QString slow = Script(Tracer);
    int stopAtRow = 3;
    dialogs.AnswerMessage(MsgResult::Yes);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        frmMessage& message = MessageWindow();
        if (message.isVisible() && message.ProgressValue() == stopAtRow) {
            stopAtRow = -1;
            auto* stop = message.findChild<QPushButton*>(QStringLiteral("cmdStop"));
            QTest::mouseClick(stop, Qt::LeftButton);
        }
    });
    poll.start(0);
    EXPECT_FALSE(Emit(receipt, slow));
    poll.stop();
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Confermi l'interruzione ?"));
    EXPECT_FALSE(MessageWindow().isVisible()) << "the message window is unloaded at the end";
    EXPECT_TRUE(main.isEnabled());
    EXPECT_EQ(Texts().size(), 2);
    EXPECT_TRUE(data.record->lines.contains(QStringLiteral("Abort")));
    DestroyMessageWindow();
}

TEST_F(Emission, TheRunnersWorkOnTheirOwn)
{
    auto receipt = data.Receipt({"Acqua", "Risotto"});
    auto printer = data.Printer(ThreeRows());
    auto rows = receipt->OpenReference(QStringLiteral("Righe"), TicketRowsOrder);
    rows->MoveFirst();
    EXPECT_TRUE(RunTicketRow(*rows, *printer, Script(Tracer), 1));
    rows->MoveNext();
    EXPECT_TRUE(RunTicketRow(*rows, *printer, Script(Tracer), 2));
    EXPECT_TRUE(printer->RowPrinting());
    EXPECT_TRUE(RunTicketMask(*receipt, *printer, Script(Tracer), true));
    EXPECT_FALSE(printer->RowPrinting());
    EXPECT_EQ(Texts().size(), 3);
    EXPECT_EQ(data.record->calls[1].op.rect.topLeft(), QPointF(0, 35));
}
