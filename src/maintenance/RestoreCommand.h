#pragma once
// The archive's copies as the user sees them: the daily copy when the
// application closes, and "Ripristina archivio...", which puts a copy back
// in place of the archive after keeping the archive itself aside.

#include <QDate>
#include <QString>

class QWidget;

// What restoring needs from the window that holds the archive open.
class ArchiveHolder
{
public:
    virtual ~ArchiveHolder() = default;
    // Closes the archive; false when something still holds it open.
    virtual bool CloseArchive() = 0;
    // Opens the archive again and shows it.
    virtual void ReopenArchive() = 0;
};

// The copy of the day, unless it has been taken already; progress in the
// message window over `owner`. A failure is reported.
void BackupAtClose(const QString& archivePath, QWidget* owner, const QDate& today = QDate::currentDate());

// Lists the copies, asks, keeps the archive aside, puts the chosen copy in
// its place and reopens. True when the archive was replaced.
bool RestoreArchive(const QString& archivePath, ArchiveHolder& holder, QWidget* owner);
