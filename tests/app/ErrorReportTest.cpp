// The error report: the first question, the code and detail in the exception
// window, and what its three buttons write and open.

#include "app/DesktopOpener.h"
#include "app/ErrorReport.h"
#include "app/ErrorReportText.h"
#include "app/frmShowException.h"
#include "component/ComponentErrors.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <new>

namespace {

class ErrorReportTest : public ::testing::Test
{
protected:
    // Answers the question with Yes and plays the exception window.
    void OpenDetails(std::function<void(frmShowException&)> act)
    {
        m_dialogs.AnswerMessage(MsgResult::Yes);
        m_dialogs.AnswerWindow([this, act](QDialog& d) {
            auto& w = dynamic_cast<frmShowException&>(d);
            w.SetFolder(m_dir.path());
            act(w);
            return QDialog::Accepted;
        });
    }
    static void Click(QWidget& w, const char* name) { w.findChild<QPushButton*>(QLatin1String(name))->click(); }
    static QString Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir m_dir;
    QList<QUrl> m_opened;
    ScopedDesktopOpener m_opener{[this](const QUrl& url) {
        m_opened.append(url);
        return true;
    }};
    ScriptedDialogs m_dialogs;
    ScopedDialogService m_use{m_dialogs};
};

} // namespace

TEST_F(ErrorReportTest, AsksWithTheContextAndStopsOnNo)
{
    m_dialogs.AnswerMessage(MsgResult::No);
    ShowErrorReport(QStringLiteral("Visualizzazione dati fallita: "), Exception(5, QStringLiteral("Chiamata non valida")));
    ASSERT_EQ(m_dialogs.Calls().size(), 1u);
    const DialogCall& box = m_dialogs.LastCall();
    EXPECT_EQ(box.text, QStringLiteral("Visualizzazione dati fallita:  ...\r\rVisualizzare dettagli ?"));
    EXPECT_EQ(box.buttons, MsgButtons::YesNo);
    EXPECT_EQ(box.icon, MsgIcon::Critical);
    EXPECT_EQ(box.defaultButton, MsgDefault::Button2);

    m_dialogs.AnswerMessage(MsgResult::No);
    ShowErrorReport(QString(), Exception(5, QStringLiteral("Chiamata non valida")));
    EXPECT_EQ(m_dialogs.LastCall().text, QStringLiteral("Chiamata non valida ...\r\rVisualizzare dettagli ?"));

    m_dialogs.AnswerMessage(MsgResult::No);
    ShowErrorReport(QStringLiteral("Errore in conferma dati: "), Exception(ComponentError::Cancelled, QStringLiteral("x")));
    EXPECT_EQ(m_dialogs.LastCall().text, QStringLiteral("Operazione annullata dall'utente.\r\rVisualizzare dettagli ?"));
}

TEST_F(ErrorReportTest, DetailsShowTheCodeAndTheDetail)
{
    OpenDetails([](frmShowException& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Visualizzazione Errore"));
        EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("lblCode"))->text(), QStringLiteral("1009 (800403F1)"));
        EXPECT_EQ(w.Detail(), QStringLiteral("Record duplicato\r\n\r\nErrore in conferma dati: "));
        EXPECT_EQ(w.findChild<QPlainTextEdit*>(QStringLiteral("txtMsg"))->toPlainText(),
                  QStringLiteral("Record duplicato\n\nErrore in conferma dati: "));
    });
    ShowErrorReport(QStringLiteral("Errore in conferma dati: "),
                    Exception(ComponentError::Duplicate, QStringLiteral("Record duplicato")));
    EXPECT_EQ(m_dialogs.LastCall().window, QStringLiteral("frmShowException"));

    // Errors that are not the application's own.
    OpenDetails([](frmShowException& w) { EXPECT_EQ(w.Code(), QStringLiteral("7 (7)")); });
    ShowErrorReport(QString(), std::bad_alloc());
    EXPECT_EQ(m_dialogs.Calls()[2].text, QStringLiteral("Memoria insufficiente ...\r\rVisualizzare dettagli ?"));
    OpenDetails([](frmShowException& w) {
        EXPECT_EQ(w.Code(), QStringLiteral("51 (33)"));
        EXPECT_EQ(w.Detail(), QStringLiteral("Errore interno: rotto"));
    });
    ShowErrorReport(QString(), std::runtime_error("rotto"));
    const Exception own(ComponentError::Io, QStringLiteral("Disco pieno"));
    OpenDetails([](frmShowException& w) { EXPECT_EQ(w.Code(), QStringLiteral("1015 (800403F7)")); });
    ShowErrorReport(QString(), static_cast<const std::exception&>(own));

    // The storage's own text is among the details, not in the first box.
    const Exception storage(ComponentError::Io, QStringLiteral("Il disco è pieno."), QString(),
                            QStringLiteral("SQLite: database or disk is full (codice 13)"));
    OpenDetails([](frmShowException& w) {
        EXPECT_EQ(w.Detail(), QStringLiteral("Il disco è pieno.\r\n\r\nSQLite: database or disk is full (codice 13)"
                                             "\r\n\r\nSalvataggio fallito: "));
    });
    ShowErrorReport(QStringLiteral("Salvataggio fallito: "), storage);
    EXPECT_FALSE(m_dialogs.Calls()[m_dialogs.Calls().size() - 2].text.contains(QStringLiteral("SQLite")));
}

TEST_F(ErrorReportTest, SalvaWritesTheTextFileAndAsksBeforeReplacing)
{
    const QString target = m_dir.filePath(QStringLiteral("LastError.txt"));
    OpenDetails([&](frmShowException& w) {
        m_dialogs.AnswerSaveFile(target);
        Click(w, "cmdSave");
        m_dialogs.AnswerSaveFile(target).AnswerMessage(MsgResult::No);
        QFile(target).open(QIODevice::Append);
        Click(w, "cmdSave");
        m_dialogs.AnswerSaveFile(std::nullopt);
        Click(w, "cmdSave");
    });
    ShowErrorReport(QString(), Exception(5, QStringLiteral("Chiamata\rnon valida")));
    const DialogCall& save = m_dialogs.Calls()[2];
    EXPECT_EQ(save.kind, DialogKind::SaveFile);
    EXPECT_EQ(save.fileName, QStringLiteral("LastError.txt"));
    EXPECT_EQ(save.directory, m_dir.path());
    EXPECT_EQ(save.filter, QStringLiteral("Testo|*.txt"));
    EXPECT_EQ(Read(target), QStringLiteral("Error: 5 (5)Chiamata\r\nnon valida\r\n"));
    const DialogCall& replace = m_dialogs.Calls()[4];
    EXPECT_EQ(replace.text, QStringLiteral("Il file esiste già...\r\rVuoi sostituirlo ?"));
    EXPECT_EQ(replace.title, QStringLiteral("ATTENZIONE"));
    EXPECT_EQ(replace.icon, MsgIcon::Exclamation);
    EXPECT_EQ(replace.defaultButton, MsgDefault::Button2);
}

TEST_F(ErrorReportTest, BrowserWritesEscapedHtmlAndSupportOpensAMail)
{
    OpenDetails([](frmShowException& w) {
        Click(w, "cmdBrowser");
        Click(w, "cmdSupport");
        EXPECT_EQ(w.findChild<QPushButton*>(QStringLiteral("cmdSupport"))->toolTip(),
                  QStringLiteral("Spedisce il messaggio di errore al supporto tramite posta elettronica"));
    });
    ShowErrorReport(QString(), Exception(5, QStringLiteral("<b>Prezzo & IVA</b> 10%")));
    const QString page = m_dir.filePath(QStringLiteral("Error.htm"));
    ASSERT_EQ(m_opened.size(), 2);
    EXPECT_EQ(m_opened[0], QUrl::fromLocalFile(page));
    EXPECT_TRUE(Read(page).contains(QStringLiteral("&lt;b&gt;Prezzo &amp; IVA&lt;/b&gt; 10%")));
    EXPECT_FALSE(Read(page).contains(QStringLiteral("<b>")));
    const QUrl mail = m_opened[1];
    EXPECT_EQ(mail, QUrl::fromEncoded(ErrorReport::SupportMailUrl(QStringLiteral("5 (5)"),
                                                                  QStringLiteral("<b>Prezzo & IVA</b> 10%")).toLatin1()));
    EXPECT_EQ(mail.scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(mail.toString(QUrl::FullyEncoded).contains(QStringLiteral("&body=Error:%205%20(5)%3Cb%3EPrezzo%20%26%20IVA")));
}

TEST_F(ErrorReportTest, ADesktopThatCannotOpenIsReported)
{
    ScopedDesktopOpener refusing([](const QUrl&) { return false; });
    OpenDetails([&](frmShowException& w) {
        m_dialogs.AnswerMessage(MsgResult::Ok);
        Click(w, "cmdSupport");
    });
    ShowErrorReport(QString(), Exception(5, QStringLiteral("x")));
    EXPECT_TRUE(m_dialogs.LastCall().text.contains(ErrorReport::SupportAddress()));
}
