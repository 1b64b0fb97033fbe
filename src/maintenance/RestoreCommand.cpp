#include "maintenance/RestoreCommand.h"

#include "app/ErrorReport.h"
#include "app/frmMessage.h"
#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "component/widgets/DialogService.h"
#include "maintenance/ArchiveBackup.h"
#include "maintenance/frmRestore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace {

void Inform(const QString& text, MsgIcon icon)
{
    Dialogs().MessageBox(text, MsgButtons::Ok, icon, MsgDefault::Button1, QString());
}

QString DateText(const QDate& date) { return date.toString(QStringLiteral("dd/MM/yyyy")); }

// The file the archive is kept in before a copy replaces it.
QString KeptPath(const QString& archivePath)
{
    const QFileInfo archive(archivePath);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss"));
    return QDir(ArchiveBackup::Folder(archivePath))
        .filePath(QStringLiteral("%1 prima del ripristino %2.%3").arg(archive.completeBaseName(), stamp, archive.suffix()));
}

// Puts `copy` in place of the closed archive: first beside it, then over it
// in one rename, so that the archive is never half written.
void Replace(const QString& archivePath, const QString& copy)
{
    const QString incoming = archivePath + QStringLiteral(".ripristino");
    QFile::remove(incoming);
    if (!QFile::copy(copy, incoming))
        throw Exception(ComponentError::Io, QStringLiteral("Impossibile copiare «%1» nella cartella dell'archivio")
                                                .arg(QDir::toNativeSeparators(copy)));
    // The journal files of the old archive must not be applied to the new one.
    QFile::remove(archivePath + QStringLiteral("-wal"));
    QFile::remove(archivePath + QStringLiteral("-shm"));
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(incoming.toStdU16String()),
                            std::filesystem::path(archivePath.toStdU16String()), error);
    if (error) {
        QFile::remove(incoming);
        throw Exception(ComponentError::Io, QStringLiteral("Impossibile sostituire l'archivio «%1»: %2")
                                                .arg(QDir::toNativeSeparators(archivePath),
                                                     QString::fromLocal8Bit(error.message())));
    }
}

} // namespace

void BackupAtClose(const QString& archivePath, QWidget* owner, const QDate& today)
{
    if (archivePath.isEmpty() || !QFileInfo(archivePath).isFile()
        || QFileInfo::exists(ArchiveBackup::DailyPath(archivePath, today)))
        return;
    frmMessage& message = MessageWindow();
    try {
        message.ShowMsg(QStringLiteral("Copia di sicurezza dell'archivio..."), owner);
        ArchiveBackup::TakeDaily(archivePath, today, [&](qint64 done, qint64 total) {
            if (message.MaxProgress() != total)
                message.StartProgress(total, true);
            return message.Progress(done);
        });
        message.EndProgress();
    } catch (const std::exception& error) {
        message.EndProgress();
        ShowErrorReport(QStringLiteral("Copia di sicurezza dell'archivio non riuscita: "), error);
    }
}

bool RestoreArchive(const QString& archivePath, ArchiveHolder& holder, QWidget* owner)
{
    const QList<ArchiveBackup::BackupFile> backups = ArchiveBackup::List(archivePath);
    if (backups.isEmpty()) {
        Inform(QStringLiteral("Non ci sono copie di sicurezza dell'archivio nella cartella\r\r")
                 + QDir::toNativeSeparators(ArchiveBackup::Folder(archivePath)),
             MsgIcon::Information);
        return false;
    }
    frmRestore window(backups, owner);
    if (Dialogs().ExecModal(window) != QDialog::Accepted || !window.Chosen())
        return false;
    const ArchiveBackup::BackupFile chosen = *window.Chosen();
    const QString question = QStringLiteral("L'archivio corrente sarà sostituito dalla copia del ") + DateText(chosen.date)
                             + QStringLiteral(".\r\rUna copia dell'archivio corrente resterà nella cartella Backup.\r\r"
                                              "Continuare ?");
    if (Dialogs().MessageBox(question, MsgButtons::YesNo, MsgIcon::Exclamation, MsgDefault::Button2, QString())
        != MsgResult::Yes)
        return false;
    try {
        ScopedMessage checking(QStringLiteral("Verifica della copia..."), owner);
        ArchiveBackup::Verify(chosen.path);
    } catch (const std::exception&) {
        Inform(QStringLiteral("La copia del ") + DateText(chosen.date)
                 + QStringLiteral(" è danneggiata o non è un archivio: l'archivio corrente non è stato modificato."),
             MsgIcon::Exclamation);
        return false;
    }
    if (!holder.CloseArchive()) {
        holder.ReopenArchive();
        Inform(QStringLiteral("L'archivio è ancora in uso: chiudere le altre finestre e riprovare."), MsgIcon::Exclamation);
        return false;
    }
    QString kept;
    try {
        ScopedMessage restoring(QStringLiteral("Ripristino dell'archivio..."), owner);
        kept = KeptPath(archivePath);
        ArchiveBackup::Copy(archivePath, kept);
        Replace(archivePath, chosen.path);
    } catch (const std::exception& error) {
        holder.ReopenArchive();
        ShowErrorReport(QStringLiteral("Ripristino dell'archivio non riuscito: "), error);
        return false;
    }
    holder.ReopenArchive();
    Inform(QStringLiteral("Archivio ripristinato dalla copia del ") + DateText(chosen.date)
             + QStringLiteral(".\r\rL'archivio sostituito è conservato in:\r") + QDir::toNativeSeparators(kept),
         MsgIcon::Information);
    return true;
}
