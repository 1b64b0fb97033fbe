#include "app/frmShowException.h"

#include "app/AppPaths.h"
#include "app/DesktopOpener.h"
#include "app/ErrorReportText.h"
#include "app/FilePaths.h"
#include "component/widgets/DialogService.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {

QPushButton* AddButton(QHBoxLayout* row, QWidget* owner, const QString& name, const QString& caption,
                       const QString& toolTip)
{
    auto* button = new QPushButton(caption, owner);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

// Writes the whole file or nothing; the reason of a failure, else empty.
QString WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    return file.errorString();
}

void ReportFileError(const QString& path, const QString& reason)
{
    Dialogs().MessageBox(QStringLiteral("Impossibile scrivere il file \"%1\":\r\r%2").arg(QDir::toNativeSeparators(path), reason),
                         MsgButtons::Ok, MsgIcon::Critical, MsgDefault::Button1, QString());
}

} // namespace

frmShowException::frmShowException(QWidget* parent)
    : QDialog(parent), m_folder(AppPaths::FolderForFilesBeside(AppPaths::ExecutableDir()))
{
    setObjectName(QStringLiteral("frmShowException"));
    setWindowTitle(QStringLiteral("Visualizzazione Errore"));

    auto* codeCaption = new QLabel(QStringLiteral("Codice:"), this);
    m_lblCode = new QLabel(this);
    m_lblCode->setObjectName(QStringLiteral("lblCode"));
    m_lblCode->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = m_lblCode->font();
    bold.setBold(true);
    m_lblCode->setFont(bold);

    m_txtMsg = new QPlainTextEdit(this);
    m_txtMsg->setObjectName(QStringLiteral("txtMsg"));
    m_txtMsg->setReadOnly(true);
    m_txtMsg->setMinimumSize(m_txtMsg->fontMetrics().averageCharWidth() * 60, m_txtMsg->fontMetrics().lineSpacing() * 10);

    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(codeCaption);
    codeRow->addWidget(m_lblCode, 1);

    auto* buttons = new QHBoxLayout;
    QPushButton* save = AddButton(buttons, this, QStringLiteral("cmdSave"), QStringLiteral("&Salva"),
                                  QStringLiteral("Salva il messaggio di errore in un file di testo"));
    QPushButton* browse = AddButton(buttons, this, QStringLiteral("cmdBrowser"), QStringLiteral("&Browser"), QString());
    QPushButton* support = AddButton(buttons, this, QStringLiteral("cmdSupport"), QStringLiteral("S&upporto"),
                                     QStringLiteral("Spedisce il messaggio di errore al supporto tramite posta elettronica"));
    buttons->addStretch(1);
    QPushButton* exit = AddButton(buttons, this, QStringLiteral("cmdExit"), QStringLiteral("&Esci"), QString());
    exit->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(codeRow);
    layout->addWidget(m_txtMsg, 1);
    layout->addLayout(buttons);

    connect(save, &QPushButton::clicked, this, &frmShowException::Save);
    connect(browse, &QPushButton::clicked, this, &frmShowException::Browse);
    connect(support, &QPushButton::clicked, this, &frmShowException::MailSupport);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
}

void frmShowException::SetError(const QString& code, const QString& detail)
{
    m_code = code;
    m_detail = ErrorReport::ShownDetail(detail);
    m_lblCode->setText(code);
    m_txtMsg->setPlainText(m_detail);
}

void frmShowException::Save()
{
    const std::optional<QString> path = Dialogs().GetSaveFileName(QString(), m_folder, QStringLiteral("LastError.txt"),
                                                                  QStringLiteral("Testo|*.txt"));
    if (!path || path->isEmpty())
        return;
    if (QFileInfo::exists(*path)
        && Dialogs().MessageBox(QStringLiteral("Il file esiste già...\r\rVuoi sostituirlo ?"), MsgButtons::YesNo,
                                MsgIcon::Exclamation, MsgDefault::Button2, QStringLiteral("ATTENZIONE"))
               != MsgResult::Yes)
        return;
    const QString reason = WriteWholeFile(*path, ErrorReport::SavedLine(m_code, Detail()).toUtf8());
    if (!reason.isEmpty())
        ReportFileError(*path, reason);
}

void frmShowException::Browse()
{
    const QString path = BuildNativePath(m_folder, QStringLiteral("Error.htm"), QString());
    const QString reason = WriteWholeFile(path, ErrorReport::ErrorPage(Detail()).toUtf8());
    if (!reason.isEmpty()) {
        ReportFileError(path, reason);
        return;
    }
    if (!OpenWithDesktop(QUrl::fromLocalFile(path)))
        Dialogs().MessageBox(QStringLiteral("Impossibile aprire il file \"%1\" con il programma predefinito.")
                                 .arg(QDir::toNativeSeparators(path)),
                             MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1, QString());
}

void frmShowException::MailSupport()
{
    const QString url = ErrorReport::SupportMailUrl(m_code, Detail());
    if (!OpenWithDesktop(QUrl::fromEncoded(url.toLatin1())))
        Dialogs().MessageBox(QStringLiteral("Impossibile avviare il programma di posta elettronica.\r\r"
                                            "Indirizzo del supporto: ")
                                 + ErrorReport::SupportAddress(),
                             MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1, QString());
}
