// What reaches the paper: the thermal printer's byte stream decoded back into
// pictures and compared with the layout the recording target saw, the PDF
// file, and the failures a printer can meet.

#include "TicketArchive.h"

#include "printing/EscPosTarget.h"
#include "printing/PrinterTarget.h"
#include "printing/TicketEmission.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char* const ThermalLayout = R"vbs(Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)
  prn.BoxOut 1, 1, 78, 68
  prn.SetFont 14, True, False, "Arial"
  prn.TxtOut 4, 4, "Da Mario"
  prn.SetFont 9, False, False, "Arial"
  prn.TxtOut 12, 4, "Ricevuta n. " & flds("Numero")
  prn.BoxOut 26, 3, 0, 64
  If bTotal Then prn.TxtOut 64, 4, "TOTALE " & FormatNumber(flds("Importo_Ricevuta"), 2)
  PrintTicketMask = True
End Function

Function PrintTicketRow(flds, prn, nRow)
  prn.BoxOut 0.5, 3, 5, 4
  prn.TxtOut 1, 9, flds("Nome")
  PrintTicketRow = True
End Function
)vbs";

// An 80 mm roll: tickets 72 mm wide and 80 mm long, rows from 30 to 60 mm.
TicketGeometry Roll()
{
    TicketGeometry g;
    g.height = 80.0f;
    g.width = 70.0f;
    g.left = 1.0f;
    g.rowsTop = 30.0f;
    g.rowsDim = 6.0f;
    g.rowsBottom = 60.0f;
    return g;
}

struct Decoded
{
    std::vector<QImage> tickets;
    bool initialised = false;
    int cuts = 0;
    QString problem;
};

// Reads back ESC @, GS v 0 bands (stacked into one picture per ticket),
// ESC d n and GS V 1.
Decoded Decode(const QByteArray& bytes)
{
    Decoded d;
    std::vector<QImage> bands;
    const auto flush = [&] {
        int width = 0, height = 0;
        for (const QImage& band : bands) {
            width = std::max(width, band.width());
            height += band.height();
        }
        QImage ticket(width, height, QImage::Format_Mono);
        ticket.setColor(0, qRgb(255, 255, 255));
        ticket.setColor(1, qRgb(0, 0, 0));
        ticket.fill(0);
        int y = 0;
        for (const QImage& band : bands) {
            for (int row = 0; row < band.height(); ++row)
                for (int x = 0; x < band.width(); ++x)
                    ticket.setPixel(x, y + row, band.pixelIndex(x, row));
            y += band.height();
        }
        d.tickets.push_back(ticket);
        bands.clear();
    };
    const auto at = [&](qsizetype i) { return i < bytes.size() ? uchar(bytes[i]) : 0; };
    for (qsizetype i = 0; i < bytes.size();) {
        if (at(i) == 0x1B && at(i + 1) == 0x40) {
            d.initialised = i == 0;
            i += 2;
        } else if (at(i) == 0x1D && at(i + 1) == 0x76 && at(i + 2) == 0x30) {
            const int widthBytes = at(i + 4) | (at(i + 5) << 8);
            const int rows = at(i + 6) | (at(i + 7) << 8);
            i += 8;
            QImage band(widthBytes * 8, rows, QImage::Format_Mono);
            band.fill(0);
            for (int y = 0; y < rows; ++y)
                for (int b = 0; b < widthBytes; ++b, ++i)
                    for (int bit = 0; bit < 8; ++bit)
                        band.setPixel(b * 8 + bit, y, (at(i) >> (7 - bit)) & 1);
            bands.push_back(band);
        } else if (at(i) == 0x1B && at(i + 1) == 0x64) {
            i += 3;
        } else if (at(i) == 0x1D && at(i + 1) == 0x56 && at(i + 2) == 0x01) {
            ++d.cuts;
            flush();
            i += 3;
        } else {
            d.problem = QStringLiteral("unexpected byte %1 at %2").arg(at(i)).arg(i);
            break;
        }
    }
    return d;
}

int Dot(double mm)
{
    return int(std::lround(mm * EscPosTarget::DotsPerMm));
}

bool BlackIn(const QImage& image, QRect area)
{
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelIndex(x, y) == 1)
                return true;
    return false;
}

class TargetOutput : public ::testing::Test
{
protected:
    // The same receipt through the recording target, to compare with.
    std::shared_ptr<TicketRecord> Recorded(const std::shared_ptr<DataObject>& receipt)
    {
        auto printer = data.Printer(Roll());
        EXPECT_TRUE(TicketEmission(*receipt, printer, 1, QString::fromUtf8(ThermalLayout)));
        return data.record;
    }

    TicketArchive data;
    ScriptedDialogs dialogs;
    ScopedDialogService useDialogs{dialogs};
    QTemporaryDir dir;
};

} // namespace

TEST_F(TargetOutput, TheThermalPrinterGetsEachTicketAsTheScriptLaidItOut)
{
    auto receipt = data.Receipt({"Acqua", "Bruschetta", "Risotto", "Tagliata", "Tiramisù", "Tagliatelle al ragù"});
    QByteArray sent;
    auto printer = std::make_unique<clsScriptPrinter>();
    printer->SetPrinter(std::make_unique<EscPosTarget>(576, [&](const QByteArray& bytes, QString*) {
        sent += bytes;
        return true;
    }), Roll());
    ASSERT_TRUE(TicketEmission(*receipt, printer, 1, QString::fromUtf8(ThermalLayout)));
    const auto record = Recorded(receipt);

    const Decoded decoded = Decode(sent);
    ASSERT_TRUE(decoded.problem.isEmpty()) << decoded.problem.toStdString();
    EXPECT_TRUE(decoded.initialised);
    ASSERT_EQ(decoded.tickets.size(), 2u) << "six rows in five slots: two tickets";
    EXPECT_EQ(decoded.cuts, 2);
    for (const QImage& ticket : decoded.tickets) {
        EXPECT_EQ(ticket.width(), 576);
        EXPECT_EQ(ticket.height(), Dot(80.0));
    }

    // Every box and text the recorder saw lies where it said, on its ticket;
    // the paper's left edge is the page's.
    size_t ticket = 0;
    double ticketTop = 0.0;
    int checked = 0;
    for (const auto& call : record->calls) {
        if (call.kind == TicketRecord::Call::Kind::NextTicket) {
            ++ticket;
            ticketTop = call.ticket.bottom();
            continue;
        }
        if (ticket >= decoded.tickets.size())
            break;
        const QImage& image = decoded.tickets[ticket];
        const QRectF r = call.op.rect.translated(0.0, -ticketTop);
        if (call.kind == TicketRecord::Call::Kind::Box) {
            // The top edge is inked at its middle, and (for a box with room
            // inside) the middle of the box is not.
            const QPoint edge(Dot(r.center().x()), Dot(r.top()));
            EXPECT_TRUE(BlackIn(image, QRect(edge - QPoint(1, 2), QSize(3, 5)))) << call.op.rect.x() << "," << call.op.rect.y();
            if (r.width() > 3.0 && r.height() > 3.0) {
                EXPECT_FALSE(BlackIn(image, QRect(Dot(r.center().x()) - 2, Dot(r.center().y()) - 2, 5, 5)));
            }
            ++checked;
        } else if (call.kind == TicketRecord::Call::Kind::Text) {
            // Ink right below and to the right of the text's corner, none
            // above it.
            EXPECT_TRUE(BlackIn(image, QRect(Dot(r.left()), Dot(r.top()), Dot(6.0), Dot(4.0)))) << call.op.text.toStdString();
            EXPECT_FALSE(BlackIn(image, QRect(Dot(r.left() + 0.5), Dot(r.top()) - Dot(1.0), Dot(5.0), Dot(0.8))))
                << call.op.text.toStdString();
            ++checked;
        }
    }
    EXPECT_GT(checked, 15);
    EXPECT_FALSE(BlackIn(decoded.tickets[0], QRect(0, 0, Dot(0.8), Dot(80.0)))) << "nothing left of the 1 mm margin";
}

TEST_F(TargetOutput, TheThermalPrinterIsReachedThroughItsDeviceOrTheNetwork)
{
    auto receipt = data.Receipt({"Acqua"});
    const QString device = dir.filePath(QStringLiteral("lp0"));
    auto printer = std::make_unique<clsScriptPrinter>();
    printer->SetPrinter(EscPosTarget::ForDestination(device, 384), Roll());
    ASSERT_TRUE(TicketEmission(*receipt, printer, 1, QString::fromUtf8(ThermalLayout)));
    QFile file(device);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const Decoded fromDevice = Decode(file.readAll());
    ASSERT_EQ(fromDevice.tickets.size(), 1u);
    EXPECT_EQ(fromDevice.tickets[0].width(), 384);

    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    printer = std::make_unique<clsScriptPrinter>();
    printer->SetPrinter(EscPosTarget::ForDestination(QStringLiteral("127.0.0.1:%1").arg(server.serverPort()), 576), Roll());
    ASSERT_TRUE(TicketEmission(*receipt, printer, 2, QString::fromUtf8(ThermalLayout)));
    ASSERT_TRUE(server.waitForNewConnection(2000));
    QTcpSocket* peer = server.nextPendingConnection();
    QByteArray received;
    while (peer->state() == QAbstractSocket::ConnectedState && peer->waitForReadyRead(500))
        received += peer->readAll();
    received += peer->readAll();
    EXPECT_EQ(Decode(received).tickets.size(), 2u);

    // Nobody listening: the emission fails and says why.
    const quint16 port = server.serverPort();
    server.close();
    printer = std::make_unique<clsScriptPrinter>();
    printer->SetPrinter(EscPosTarget::ForDestination(QStringLiteral("127.0.0.1:%1").arg(port), 576), Roll());
    dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_FALSE(TicketEmission(*receipt, printer, 1, QString::fromUtf8(ThermalLayout)));
    EXPECT_TRUE(dialogs.LastCall().text.startsWith(
        QStringLiteral("Si e' verificato un errore durante l'emissione della ricevuta:\r\rImpossibile inviare la ricevuta alla stampante 127.0.0.1:")))
        << dialogs.LastCall().text.toStdString();
}

TEST_F(TargetOutput, APdfHoldsTheTicketsAndAFileThatCannotBeWrittenFailsTheEmission)
{
    auto receipt = data.Receipt({"Acqua", "Bruschetta", "Risotto", "Tagliata", "Tiramisù", "Tagliatelle al ragù"});
    const QString pdf = dir.filePath(QStringLiteral("ricevuta.pdf"));
    auto printer = std::make_unique<clsScriptPrinter>();
    printer->SetPrinter(PrinterTarget::ForPdf(pdf), Roll());
    EXPECT_EQ(printer->Geometry().height, 80.0f);
    ASSERT_TRUE(TicketEmission(*receipt, printer, 4, QString::fromUtf8(ThermalLayout)));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    // Eight tickets of 80 mm, three lines to an A4 page: three pages, none blank.
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page>>")
                  + bytes.count("/Type /Page "),
              3);

    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (!pdftoppm.isEmpty()) {
        QProcess render;
        render.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"), QStringLiteral("-f"),
                                QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), pdf, dir.filePath(QStringLiteral("p"))});
        ASSERT_TRUE(render.waitForFinished(20000));
        QImage page(dir.filePath(QStringLiteral("p-1.png")));
        ASSERT_FALSE(page.isNull());
        const double px = 72.0 / 25.4;
        // The first ticket's frame: left edge at 1 + 1 mm, from 1 to 79 mm down.
        EXPECT_LT(qGray(page.pixel(int(2.0 * px), int(40.0 * px))), 160);
        EXPECT_GT(qGray(page.pixel(int(30.0 * px), int(20.0 * px))), 200);
    }

    // A folder that cannot be written: the emission says so and fails.
    printer = std::make_unique<clsScriptPrinter>();
    printer->SetPrinter(PrinterTarget::ForPdf(QStringLiteral("/proc/mensora/ricevuta.pdf")), Roll());
    dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_FALSE(TicketEmission(*receipt, printer, 1, QString::fromUtf8(ThermalLayout)));
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Si e' verificato un errore durante l'emissione della ricevuta:\r\r"
                                                      "Impossibile scrivere il file \"/proc/mensora/ricevuta.pdf\"."));

    // A stopped receipt leaves no file behind.
    const QString stopped = dir.filePath(QStringLiteral("fermata.pdf"));
    printer = std::make_unique<clsScriptPrinter>();
    printer->SetPrinter(PrinterTarget::ForPdf(stopped), Roll());
    EXPECT_FALSE(TicketEmission(*receipt, printer, 1,
                                QString::fromUtf8(ThermalLayout).replace(QStringLiteral("PrintTicketRow = True"),
                                                                         QStringLiteral("PrintTicketRow = nRow < 3"))));
    EXPECT_FALSE(QFile::exists(stopped));

    // A folder gets a new file for each document.
    const QString folder = dir.filePath(QStringLiteral("Ricevute PDF"));
    for (int i = 0; i < 2; ++i) {
        printer = std::make_unique<clsScriptPrinter>();
        printer->SetPrinter(PrinterTarget::ForPdf(folder), Roll());
        ASSERT_TRUE(TicketEmission(*receipt, printer, 1, QString::fromUtf8(ThermalLayout)));
    }
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.pdf")}).size(), 2);
}

TEST_F(TargetOutput, APrintQueueNamedForTestingPrints)
{
    // Only where a queue is offered for it (a CUPS-PDF queue, say): tests
    // never print on a real printer by chance.
    const QString queue = qEnvironmentVariable("MENSORA_TEST_PRINT_QUEUE");
    if (queue.isEmpty() || !QPrinterInfo::availablePrinterNames().contains(queue))
        GTEST_SKIP() << "no print queue named in MENSORA_TEST_PRINT_QUEUE";
    auto receipt = data.Receipt({"Acqua", "Risotto"});
    auto printer = std::make_unique<clsScriptPrinter>();
    printer->SetPrinter(PrinterTarget::ForQueue(queue), Roll());
    EXPECT_TRUE(TicketEmission(*receipt, printer, 1, QString::fromUtf8(ThermalLayout)));
}
