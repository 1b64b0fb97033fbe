#pragma once
// The list of the archive's copies to restore from: date and size of each,
// the newest first and chosen; "OK" (also a double click) chooses, "Annulla"
// and Esc leave.

#include "maintenance/ArchiveBackup.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

class frmRestore : public QDialog
{
    Q_OBJECT

public:
    explicit frmRestore(const QList<ArchiveBackup::BackupFile>& backups, QWidget* parent = nullptr);

    // The copy chosen; only after the window was accepted.
    const ArchiveBackup::BackupFile* Chosen() const;
    QTreeWidget* List() const { return m_lvBackups; }

    // "1,2 MB": a size as the list shows it.
    static QString SizeText(qint64 bytes);

private:
    QList<ArchiveBackup::BackupFile> m_backups;
    QTreeWidget* m_lvBackups = nullptr;
    QPushButton* m_cmdOk = nullptr;
};
