#include "maintenance/frmRestore.h"

#include "component/widgets/DialogButtons.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

frmRestore::frmRestore(const QList<ArchiveBackup::BackupFile>& backups, QWidget* parent)
    : QDialog(parent), m_backups(backups)
{
    setObjectName(QStringLiteral("frmRestore"));
    setWindowTitle(QStringLiteral("Ripristina archivio"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Copie di sicurezza dell'archivio:"), this);
    layout->addWidget(label);
    m_lvBackups = new QTreeWidget(this);
    m_lvBackups->setObjectName(QStringLiteral("lvBackups"));
    m_lvBackups->setRootIsDecorated(false);
    m_lvBackups->setUniformRowHeights(true);
    m_lvBackups->setHeaderLabels({QStringLiteral("Data"), QStringLiteral("Dimensione")});
    label->setBuddy(m_lvBackups);
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    for (const ArchiveBackup::BackupFile& backup : backups) {
        auto* item = new QTreeWidgetItem(m_lvBackups, {italian.toString(backup.date, QStringLiteral("dddd d MMMM yyyy")),
                                                       SizeText(backup.size)});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_lvBackups->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_lvBackups->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_lvBackups->header()->setStretchLastSection(false);
    if (m_lvBackups->topLevelItemCount() > 0)
        m_lvBackups->setCurrentItem(m_lvBackups->topLevelItem(0));
    layout->addWidget(m_lvBackups);
    const DialogButtons buttons = OkCancelButtons(*this);
    m_cmdOk = buttons.ok;
    layout->addWidget(buttons.box);
    connect(m_lvBackups, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_lvBackups, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { m_cmdOk->setEnabled(item != nullptr); });
    m_cmdOk->setEnabled(m_lvBackups->currentItem() != nullptr);
    resize(420, 320);
}

const ArchiveBackup::BackupFile* frmRestore::Chosen() const
{
    const int row = m_lvBackups->indexOfTopLevelItem(m_lvBackups->currentItem());
    return result() == QDialog::Accepted && row >= 0 && row < m_backups.size() ? &m_backups[row] : nullptr;
}

QString frmRestore::SizeText(qint64 bytes)
{
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    if (bytes < 1024 * 1024)
        return italian.toString(double(bytes) / 1024.0, 'f', 0) + QStringLiteral(" KB");
    if (bytes < qint64(1024) * 1024 * 1024)
        return italian.toString(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
    return italian.toString(double(bytes) / (1024.0 * 1024.0 * 1024.0), 'f', 2) + QStringLiteral(" GB");
}
