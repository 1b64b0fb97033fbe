#include "maintenance/ArchiveBackup.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "maintenance/ReadOnlyUri.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <algorithm>
#include <memory>
#include <sqlite3.h>

namespace ArchiveBackup {

namespace {

constexpr int kFirstStepPages = 16;
constexpr int kPagesPerStep = 256;   // 1 MB with pages of 4 KB: a few milliseconds
constexpr int kBusyRetries = 200;

struct Closer
{
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Handle = std::unique_ptr<sqlite3, Closer>;

[[noreturn]] void Fail(const QString& text) { throw Exception(ComponentError::Io, text); }

QString Message(sqlite3* db) { return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString(); }

Handle Open(const QString& path, int flags)
{
    sqlite3* raw = nullptr;
    const QByteArray name = path.toUtf8();
    const int rc = sqlite3_open_v2(name.constData(), &raw, flags, nullptr);
    Handle db(raw);
    if (rc != SQLITE_OK)
        Fail(QStringLiteral("Impossibile aprire «%1»: %2").arg(QDir::toNativeSeparators(path), Message(raw)));
    sqlite3_busy_timeout(raw, 5000);
    return db;
}

void Exec(sqlite3* db, const char* sql, const QString& context)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail(QStringLiteral("%1: %2").arg(context, Message(db)));
}

QString Pattern(const QString& archivePath)
{
    return QStringLiteral("^%1 (\\d{4}-\\d{2}-\\d{2})\\.%2$")
        .arg(QRegularExpression::escape(QFileInfo(archivePath).completeBaseName()),
             QRegularExpression::escape(QFileInfo(archivePath).suffix()));
}

// Removes a file that a failed or stopped copy left.
class PartialFile
{
public:
    explicit PartialFile(QString path) : m_path(std::move(path)) {}
    ~PartialFile()
    {
        if (!m_kept)
            QFile::remove(m_path);
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;
    void Keep() { m_kept = true; }

private:
    QString m_path;
    bool m_kept = false;
};

} // namespace

QString Folder(const QString& archivePath)
{
    return QFileInfo(archivePath).absoluteDir().filePath(QStringLiteral("Backup"));
}

QString DailyPath(const QString& archivePath, const QDate& date)
{
    const QFileInfo archive(archivePath);
    return QDir(Folder(archivePath))
        .filePath(QStringLiteral("%1 %2.%3").arg(archive.completeBaseName(), date.toString(Qt::ISODate), archive.suffix()));
}

QList<BackupFile> List(const QString& archivePath)
{
    const QRegularExpression pattern(Pattern(archivePath), QRegularExpression::CaseInsensitiveOption);
    QList<BackupFile> files;
    const QFileInfoList entries = QDir(Folder(archivePath)).entryInfoList(QDir::Files);
    for (const QFileInfo& entry : entries) {
        const QRegularExpressionMatch match = pattern.match(entry.fileName());
        const QDate date = match.hasMatch() ? QDate::fromString(match.captured(1), Qt::ISODate) : QDate();
        if (date.isValid())
            files.append({entry.absoluteFilePath(), date, entry.size(), entry.lastModified()});
    }
    std::sort(files.begin(), files.end(), [](const BackupFile& a, const BackupFile& b) { return a.date > b.date; });
    return files;
}

bool Copy(const QString& archivePath, const QString& target, const Progress& progress)
{
    if (!QFileInfo(archivePath).isFile())
        Fail(QStringLiteral("Archivio non trovato: %1").arg(QDir::toNativeSeparators(archivePath)));
    if (QFileInfo::exists(target))
        Fail(QStringLiteral("Il file «%1» esiste già").arg(QDir::toNativeSeparators(target)));
    QDir().mkpath(QFileInfo(target).absolutePath());
    const QString partial = target + QStringLiteral(".partial");
    QFile::remove(partial);
    PartialFile cleanup(partial);
    {
        Handle source = Open(archivePath, SQLITE_OPEN_READONLY);
        // One read transaction over the whole copy: every step sees the
        // same committed state, whatever the application writes meanwhile.
        Exec(source.get(), "BEGIN; SELECT count(*) FROM sqlite_master;", QStringLiteral("Lettura dell'archivio"));
        Handle destination = Open(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        sqlite3_backup* backup = sqlite3_backup_init(destination.get(), "main", source.get(), "main");
        if (!backup)
            Fail(QStringLiteral("Copia dell'archivio: %1").arg(Message(destination.get())));
        int rc = SQLITE_OK;
        int busy = 0;
        bool stopped = false;
        // A short first step tells the size (and lets the copy be stopped) early.
        for (int pages = kFirstStepPages;; pages = kPagesPerStep) {
            rc = sqlite3_backup_step(backup, pages);
            if (rc == SQLITE_DONE)
                break;
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
                if (++busy > kBusyRetries)
                    break;
                QThread::msleep(5);
                continue;
            }
            if (rc != SQLITE_OK)
                break;
            const qint64 total = sqlite3_backup_pagecount(backup);
            if (progress && !progress(total - sqlite3_backup_remaining(backup), total)) {
                stopped = true;
                break;
            }
        }
        const int finish = sqlite3_backup_finish(backup);
        if (stopped)
            return false;
        if (rc != SQLITE_DONE || finish != SQLITE_OK)
            Fail(QStringLiteral("Copia dell'archivio non riuscita: %1").arg(Message(destination.get())));
        sqlite3_exec(source.get(), "COMMIT", nullptr, nullptr, nullptr);
    }
    if (!QFile::rename(partial, target))
        Fail(QStringLiteral("Impossibile scrivere «%1»").arg(QDir::toNativeSeparators(target)));
    cleanup.Keep();
    return true;
}

void Rotate(const QString& archivePath, int kept)
{
    const QList<BackupFile> files = List(archivePath);
    for (qsizetype i = std::max(kept, 0); i < files.size(); ++i)
        QFile::remove(files[i].path);
}

Outcome TakeDaily(const QString& archivePath, const QDate& today, const Progress& progress, int kept)
{
    const QString target = DailyPath(archivePath, today);
    if (QFileInfo::exists(target))
        return Outcome::AlreadyTaken;
    if (!Copy(archivePath, target, progress))
        return Outcome::Stopped;
    Rotate(archivePath, kept);
    return Outcome::Written;
}

void Verify(const QString& path)
{
    Handle db = Open(ReadOnlyUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
    sqlite3_stmt* raw = nullptr;
    bool sound = false;
    if (sqlite3_prepare_v2(db.get(), "PRAGMA quick_check", -1, &raw, nullptr) == SQLITE_OK && sqlite3_step(raw) == SQLITE_ROW)
        sound = qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0)), "ok") == 0;
    sqlite3_finalize(raw);
    bool ours = false;
    if (sound && sqlite3_prepare_v2(db.get(), "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'mensora_tables'",
                                    -1, &raw, nullptr) == SQLITE_OK) {
        ours = sqlite3_step(raw) == SQLITE_ROW;
        sqlite3_finalize(raw);
    }
    if (!sound || !ours)
        Fail(QStringLiteral("Il file «%1» è danneggiato o non è un archivio dell'applicazione")
                 .arg(QDir::toNativeSeparators(path)));
}

} // namespace ArchiveBackup
