#pragma once
// Copies of the archive for safe keeping, in a "Backup" folder beside it:
// one a day at most, named with the date ("Mensora 2025-03-31.mdb"), the
// last 30 kept. A copy holds what was committed when it began: it is read
// through a connection of its own inside one read transaction, so a sale
// that is still open in the application is not in it, and the sale is never
// held up (the archive's journal lets one writer go on beside readers). The
// copy is written in small steps, with the caller's progress between them,
// to a temporary name that becomes the copy's only once it is complete.

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

namespace ArchiveBackup {

constexpr int Kept = 30;

// Called between steps with the pages copied and the pages in all; false
// stops the copy (no file is left).
using Progress = std::function<bool(qint64 done, qint64 total)>;

struct BackupFile
{
    QString path;
    QDate date;
    qint64 size = 0;
    QDateTime modified;
};

QString Folder(const QString& archivePath);
// The daily copy of a date.
QString DailyPath(const QString& archivePath, const QDate& date);
// The daily copies in the folder, the newest first. Other files are ignored.
QList<BackupFile> List(const QString& archivePath);

// Writes a consistent copy of the archive to `target` (which must not
// exist). False when stopped; throws Exception on failure, leaving nothing.
bool Copy(const QString& archivePath, const QString& target, const Progress& progress = {});

enum class Outcome { Written, AlreadyTaken, Stopped };
// The copy of `today`, unless it is already there; then the oldest copies
// beyond `kept` are removed.
Outcome TakeDaily(const QString& archivePath, const QDate& today, const Progress& progress = {}, int kept = Kept);
// Removes the oldest daily copies beyond `kept`.
void Rotate(const QString& archivePath, int kept = Kept);

// Throws Exception unless `path` is a sound archive of the application.
void Verify(const QString& path);

} // namespace ArchiveBackup
