// The ticket settings window driven as the owner drives it: typing in the
// boxes, clicking the buttons, loading and saving script files, previewing
// and test-printing an archived receipt.

#include "TicketArchive.h"

#include "app/DefaultTicketScript.h"
#include "app/SettingsStore.h"
#include "printing/TicketEmission.h"
#include "printing/TicketPrinters.h"
#include "printing/frmTicketPreview.h"
#include "printing/frmTicketPrintSetting.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const char* const Layout = R"vbs(Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)
  prn.TxtOut 2, 3, "Ricevuta n. " & flds("Numero")
  PrintTicketMask = True
End Function

Function PrintTicketRow(flds, prn, nRow)
  prn.TxtOut 0, 3, flds("Nome")
  PrintTicketRow = True
End Function
)vbs";

class SettingsWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Settings().Ticket = TicketSettings();
        Settings().Ticket.VBScript = DefaultTicketScript();
        Settings().Ticket.PrinterName = QStringLiteral("Cucina");
        dialogs.SetPrinters({QStringLiteral("Ufficio"), QStringLiteral("Cucina")});
    }

    std::unique_ptr<frmTicketPrintSetting> Open()
    {
        auto w = std::make_unique<frmTicketPrintSetting>(nullptr, data.archive.database, data.archive.engine);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }
    template <typename T = QLineEdit>
    static T* Child(QWidget& w, const char* name)
    {
        T* child = w.findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static void Click(QWidget& w, const char* name) { UserInput::Click(*Child<QAbstractButton>(w, name)); }
    // Clicks into a box, clears it and types, as the user does.
    static void Type(QWidget& w, const char* name, const QString& text)
    {
        UserInput::Click(*Child(w, name));
        UserInput::PressKey(Qt::Key_A, Qt::ControlModifier);
        UserInput::PressKey(Qt::Key_Delete);
        UserInput::TypeText(text);
    }
    QString Stored(const QString& key) const { return QSettings(ini, QSettings::IniFormat).value(key).toString(); }

    TicketArchive data;
    ScriptedDialogs dialogs;
    ScopedDialogService useDialogs{dialogs};
    ScopedSettings keepSettings;
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("Mensora.ini"));
    ScopedSettingsFile store{ini};
};

} // namespace

TEST_F(SettingsWindow, ShowsTheSettingsAndLeavesUntouchedWithoutAsking)
{
    auto w = Open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Impostazione stampa ricevute"));
    auto* printers = Child<QComboBox>(*w, "cboPrinter");
    EXPECT_EQ(printers->currentText(), QStringLiteral("Cucina"));
    EXPECT_EQ(printers->itemText(0), QStringLiteral("Ufficio"));
    EXPECT_TRUE(printers->findText(QStringLiteral("ESC/POS 80 mm: /dev/usb/lp0")) > 0);
    EXPECT_EQ(Child(*w, "txtTicketRowsDim")->text(), QStringLiteral("6"));
    EXPECT_EQ(Child(*w, "txtTicketHeight")->text(), QStringLiteral("203"));
    EXPECT_EQ(Child(*w, "txtColumns")->toolTip(),
              QStringLiteral("Numero di ricevute stampabili nella stessa riga del modulo (per copie multiple)"));
    EXPECT_EQ(Child(*w, "txtTicketRowsTop")->toolTip(),
              QStringLiteral("Margine superiore dell'area  riservata alle righe della ricevuta (millimetri)"));
    EXPECT_EQ(Child<QPushButton>(*w, "cmdDefault")->text(), QStringLiteral("&Predefinto"));
    EXPECT_EQ(w->ScriptText(), DefaultTicketScript());
    EXPECT_FALSE(w->ScriptModified());

    // The printer set-up button opens the system's printer dialog.
    dialogs.AnswerPrinterSetup(false);
    Click(*w, "cmdPrnSetting");
    EXPECT_EQ(dialogs.LastCall().kind, DialogKind::PrinterSetup);
    EXPECT_EQ(dialogs.LastCall().title, QStringLiteral("Impostazione stampanti"));

    Click(*w, "cmdCancel");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(dialogs.Calls().size(), 1u) << "no question on leaving";
    EXPECT_FALSE(QFile::exists(ini));
}

TEST_F(SettingsWindow, ThePrinterChosenInTheSetUpDialogIsTheOneStored)
{
    auto w = Open();
    auto* printers = Child<QComboBox>(*w, "cboPrinter");

    // The dialog opens on the printer of the window and gives back another.
    dialogs.AnswerPrinterSetup(QStringLiteral("Ufficio"));
    Click(*w, "cmdPrnSetting");
    EXPECT_EQ(dialogs.LastCall().kind, DialogKind::PrinterSetup);
    EXPECT_EQ(dialogs.LastCall().defaultText, QStringLiteral("Cucina"));
    EXPECT_EQ(printers->currentText(), QStringLiteral("Ufficio"));

    // A cancelled dialog leaves the choice as it was.
    dialogs.AnswerPrinterSetup(false);
    Click(*w, "cmdPrnSetting");
    EXPECT_EQ(dialogs.LastCall().defaultText, QStringLiteral("Ufficio"));
    EXPECT_EQ(printers->currentText(), QStringLiteral("Ufficio"));

    // Printing to a PDF file there becomes the PDF printer of this window.
    dialogs.AnswerPrinterSetupFile(QStringLiteral("/tmp/ricevute/prova.pdf"));
    Click(*w, "cmdPrnSetting");
    EXPECT_EQ(printers->currentText(), QStringLiteral("PDF: /tmp/ricevute/prova.pdf"));

    dialogs.AnswerPrinterSetup(QStringLiteral("Ufficio"));
    Click(*w, "cmdPrnSetting");
    EXPECT_EQ(dialogs.LastCall().defaultText, QString()) << "a PDF file is no queue of the system";
    Click(*w, "cmdOk");
    EXPECT_EQ(Settings().Ticket.PrinterName, QStringLiteral("Ufficio"));
    EXPECT_EQ(Stored(QStringLiteral("TicketPrinterParam/PrinterName")), QStringLiteral("Ufficio"));
}

TEST_F(SettingsWindow, AChangedScriptIsAskedAboutBeforeLeaving)
{
    Settings().Ticket.VBScript = QStringLiteral("' vuoto\r\n");
    auto w = Open();
    Click(*w, "cmdDefault");
    EXPECT_EQ(w->ScriptText(), DefaultTicketScript());
    dialogs.AnswerMessage(MsgResult::No);
    Click(*w, "cmdCancel");
    const DialogCall& question = dialogs.LastCall();
    EXPECT_EQ(question.text, QStringLiteral("Lo script è stato modificato...\r\rUscire senza salvare ?"));
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.icon, MsgIcon::Question);
    EXPECT_EQ(question.defaultButton, MsgDefault::Button2);
    EXPECT_TRUE(w->isVisible()) << "No keeps the window open";

    // Escape is the same as Esci.
    dialogs.AnswerMessage(MsgResult::Yes);
    UserInput::Click(*Child<QPlainTextEdit>(*w, "txtVBScript")->viewport());
    UserInput::PressKey(Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Settings().Ticket.VBScript, QStringLiteral("' vuoto\r\n")) << "nothing stored";
}

TEST_F(SettingsWindow, OkStoresWhatWasTypedAndRefusesGeometryThatCannotPrint)
{
    auto w = Open();
    Type(*w, "txtTicketRowsDim", QString());
    dialogs.AnswerMessage(MsgResult::Ok);
    Click(*w, "cmdOk");
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Il valore di \"Dimensione righe\" non è un numero di millimetri valido."));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), Child(*w, "txtTicketRowsDim"));

    Type(*w, "txtTicketRowsDim", QStringLiteral("0"));
    dialogs.AnswerMessage(MsgResult::Ok);
    Click(*w, "cmdOk");
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("La dimensione delle righe deve essere maggiore di zero."));
    EXPECT_FALSE(QFile::exists(ini));

    // The boxes take digits and one decimal comma (or point) only.
    Type(*w, "txtTicketRowsDim", QStringLiteral("5,5x"));
    EXPECT_EQ(Child(*w, "txtTicketRowsDim")->text(), QStringLiteral("5,5"));
    Type(*w, "txtTicketWidth", QStringLiteral("79.5"));
    Type(*w, "txtColumns", QStringLiteral("2"));
    UserInput::Click(*Child<QComboBox>(*w, "cboPrinter")->lineEdit());
    UserInput::PressKey(Qt::Key_A, Qt::ControlModifier);
    UserInput::TypeText(QStringLiteral("PDF: /tmp/ricevute"));
    auto* script = Child<QPlainTextEdit>(*w, "txtVBScript");
    UserInput::Click(*script->viewport());
    UserInput::PressKey(Qt::Key_Home, Qt::ControlModifier);
    UserInput::TypeText(QStringLiteral("' è così"));
    UserInput::PressKey(Qt::Key_Return);
    Click(*w, "cmdOk");
    EXPECT_EQ(w->result(), QDialog::Accepted);
    const TicketSettings& t = Settings().Ticket;
    EXPECT_EQ(t.TicketRowsDim, 5.5f);
    EXPECT_EQ(t.TicketWidth, 79.5f);
    EXPECT_EQ(t.ModuleColumns, 2);
    EXPECT_EQ(t.PrinterName, QStringLiteral("PDF: /tmp/ricevute"));
    EXPECT_TRUE(t.VBScript.startsWith(QStringLiteral("' è così\r\nFunction PrintTicketMask(")));
    EXPECT_EQ(Stored(QStringLiteral("TicketPrinterParam/TicketRowsDim")), QStringLiteral("5,5"));
    EXPECT_EQ(Stored(QStringLiteral("TicketPrinterParam/PrinterName")), QStringLiteral("PDF: /tmp/ricevute"));
}

TEST_F(SettingsWindow, TheStoredGeometryReadsBackTheSameUnderAnotherLocale)
{
    Settings().Ticket.TicketRowsDim = 6.25f;
    Settings().Ticket.TicketTop = 12.5f;
    SaveSettings();
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QSettings storeFile(ini, QSettings::IniFormat);
    const AppSettings read = ReadSettings(storeFile);
    auto w = Open();
    const std::optional<TicketGeometry> typed = w->TypedGeometry();
    QLocale::setDefault(saved);
    EXPECT_EQ(read.Ticket.TicketRowsDim, 6.25f);
    EXPECT_EQ(read.Ticket.TicketTop, 12.5f);
    ASSERT_TRUE(typed.has_value());
    EXPECT_EQ(typed->rowsDim, 6.25f);
    EXPECT_EQ(typed->top, 12.5f);
}

TEST_F(SettingsWindow, ScriptFilesLoadInEitherEncodingAndSaveAfterAsking)
{
    const QString utf8 = dir.filePath(QStringLiteral("utf8.vbs"));
    const QString ansi = dir.filePath(QStringLiteral("ansi.vbs"));
    {
        QFile f(utf8);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("' Trattoria \xC3\xA8\n' riga due\r\n' fine");
    }
    {
        QFile f(ansi);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("' Trattoria \xE8\r\n' riga due\r\n' fine \x80\r\n");
    }
    auto w = Open();
    dialogs.AnswerOpenFile(utf8);
    Click(*w, "cmdLoad");
    EXPECT_EQ(dialogs.LastCall().filter, QStringLiteral("VB Script|*.vbs"));
    EXPECT_TRUE(dialogs.LastCall().fileName.endsWith(QStringLiteral("TicketPrint.vbs")));
    EXPECT_EQ(w->ScriptText(), QStringLiteral("' Trattoria è\r\n' riga due\r\n' fine\r\n"));
    EXPECT_TRUE(w->ScriptModified());
    dialogs.AnswerOpenFile(ansi);
    Click(*w, "cmdLoad");
    EXPECT_EQ(w->ScriptText(), QStringLiteral("' Trattoria è\r\n' riga due\r\n' fine €\r\n"));
    dialogs.AnswerOpenFile(std::nullopt);
    Click(*w, "cmdLoad");
    EXPECT_EQ(w->ScriptText(), QStringLiteral("' Trattoria è\r\n' riga due\r\n' fine €\r\n")) << "cancel changes nothing";

    // Saving over an existing file asks first; No writes nothing.
    dialogs.AnswerSaveFile(utf8).AnswerMessage(MsgResult::No);
    Click(*w, "cmdSave");
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Il file esiste già...\r\rVuoi sostituirlo ?"));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Exclamation);
    EXPECT_EQ(dialogs.LastCall().defaultButton, MsgDefault::Button2);
    QFile check(utf8);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("' Trattoria \xC3\xA8\n' riga due\r\n' fine"));
    check.close();
    dialogs.AnswerSaveFile(utf8).AnswerMessage(MsgResult::Yes);
    Click(*w, "cmdSave");
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(check.readAll()), w->ScriptText()) << "a saved and loaded script stays the same";
    EXPECT_TRUE(w->ScriptModified()) << "saving to a file is not storing the settings";
    dialogs.AnswerMessage(MsgResult::Yes);
    Click(*w, "cmdCancel");
}

TEST_F(SettingsWindow, PreviewDrawsOneLineOfTicketsWithTheTypedGeometryAndScript)
{
    auto receipt = data.Receipt({"Acqua", "Risotto"});
    const qint64 oid = receipt->ValueAt(0).toLongLong();
    auto w = Open();
    Type(*w, "txtColumns", QStringLiteral("3"));
    Type(*w, "txtTicketWidth", QStringLiteral("70"));
    Type(*w, "txtTicketHeight", QStringLiteral("100"));
    Child<QPlainTextEdit>(*w, "txtVBScript")->setPlainText(QString::fromUtf8(Layout));
    std::vector<QRectF> frames;
    QStringList texts;
    dialogs.AnswerSelection(oid).AnswerWindow([&](QDialog& window) {
        auto& preview = dynamic_cast<frmTicketPreview&>(window);
        for (const TicketOp& op : preview.Ops()) {
            if (op.kind == TicketOp::Kind::Box && op.colour == QColor(255, 0, 0))
                frames.push_back(op.rect);
            if (op.kind == TicketOp::Kind::Text)
                texts << op.text;
        }
        EXPECT_EQ(preview.AreaMm(), QSizeF(211.0, 101.0));
        // Wider than tall: 85% of the screen's width, in proportion.
        EXPECT_NEAR(double(preview.height()) / preview.width(), 101.0 / 211.0, 0.02);
        preview.show();
        QTest::keyClick(&preview, Qt::Key_Escape);
        EXPECT_FALSE(preview.isVisible());
        return preview.result();
    });
    Click(*w, "cmdPreview");
    EXPECT_EQ(dialogs.Calls().at(0).kind, DialogKind::SelectionList);
    EXPECT_EQ(dialogs.Calls().at(0).table, QStringLiteral("Ricevute"));
    ASSERT_EQ(frames.size(), 3u) << "three copies side by side";
    EXPECT_EQ(frames[0], QRectF(0, 0, 70, 100));
    EXPECT_EQ(frames[2], QRectF(140, 0, 70, 100));
    EXPECT_EQ(texts.count(QStringLiteral("Risotto")), 3);
    EXPECT_EQ(Settings().Ticket.TicketWidth, 121.0f) << "nothing stored by a preview";

    // Closing the list without a choice ends the command.
    dialogs.AnswerSelection(std::nullopt);
    Click(*w, "cmdPreview");
    EXPECT_EQ(dialogs.PendingAnswers(), 0u);
}

TEST_F(SettingsWindow, APreviewOfNoSizeUsesThePrintableArea)
{
    auto receipt = data.Receipt({"Acqua"});
    auto w = Open();
    Type(*w, "txtTicketWidth", QStringLiteral("0"));
    Type(*w, "txtTicketHeight", QStringLiteral("0"));
    Child<QComboBox>(*w, "cboPrinter")->setEditText(QStringLiteral("PDF: ") + dir.path());
    Child<QPlainTextEdit>(*w, "txtVBScript")->setPlainText(QString::fromUtf8(Layout));
    QSizeF area;
    dialogs.AnswerSelection(receipt->ValueAt(0).toLongLong()).AnswerWindow([&](QDialog& window) {
        area = dynamic_cast<frmTicketPreview&>(window).AreaMm();
        return 0;
    });
    Click(*w, "cmdPreview");
    EXPECT_EQ(area, QSizeF(211.0, 298.0));
}

TEST_F(SettingsWindow, TestPrintsTheStoredScriptWithTheTypedGeometry)
{
    Settings().Ticket.VBScript = QString::fromUtf8(Layout);
    auto receipt = data.Receipt({"Acqua"});
    auto w = Open();
    Type(*w, "txtTicketTop", QStringLiteral("10"));
    Child<QPlainTextEdit>(*w, "txtVBScript")->setPlainText(DefaultTicketScript());
    ScopedTicketPrinter recorder;
    dialogs.AnswerSelection(receipt->ValueAt(0).toLongLong());
    Click(*w, "cmdTest");
    EXPECT_EQ(recorder.Record().printerNames, QStringList({QStringLiteral("Cucina")}));
    EXPECT_EQ(recorder.Record().lines.first(), QStringLiteral("TxtOut 95.00 3.00 Acqua")) << "10 + 85 from the boxes";
    EXPECT_EQ(recorder.Record().Texts().size(), 2);
    EXPECT_EQ(Settings().Ticket.TicketTop, 0.0f);
}

TEST_F(SettingsWindow, AScriptThatNeverEndsIsStoppedAndTheWindowStaysUsable)
{
    ScopedTicketTimeLimit limit(100);
    auto receipt = data.Receipt({"Acqua"});
    auto w = Open();
    Child<QPlainTextEdit>(*w, "txtVBScript")->setPlainText(
        QString::fromUtf8(Layout).replace(QStringLiteral("  PrintTicketRow = True"), QStringLiteral("  While True\n  Wend")));
    dialogs.AnswerSelection(receipt->ValueAt(0).toLongLong()).AnswerMessage(MsgResult::Ok);
    Click(*w, "cmdPreview");
    EXPECT_TRUE(dialogs.LastCall().text.startsWith(QStringLiteral("Errore nel codice di stampa (1) riga ricevuta: ")));
    EXPECT_EQ(dialogs.Count(DialogKind::Window), 0) << "no preview after a failed emission";
    Type(*w, "txtColumns", QStringLiteral("4"));
    EXPECT_EQ(Child(*w, "txtColumns")->text(), QStringLiteral("4"));
    dialogs.AnswerMessage(MsgResult::Yes);
    Click(*w, "cmdCancel");
    EXPECT_FALSE(w->isVisible());
}
