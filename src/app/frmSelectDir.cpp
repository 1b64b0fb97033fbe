#include "app/frmSelectDir.h"

#include "component/widgets/DialogService.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QRadioButton* ResourceOption(QWidget* owner, int index, const QString& caption, const QString& toolTip)
{
    auto* option = new QRadioButton(caption, owner);
    option->setObjectName(QStringLiteral("optResource"));
    option->setProperty("index", index);
    option->setToolTip(toolTip);
    return option;
}

QPushButton* Button(QWidget* owner, const QString& name, const QString& caption, const QString& toolTip = {})
{
    auto* button = new QPushButton(caption, owner);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    return button;
}

} // namespace

frmSelectDir::frmSelectDir(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSelectDir"));
    setWindowTitle(QStringLiteral("Selezione indirizzario"));

    m_optDisks = ResourceOption(this, 0, QStringLiteral("Dischi"), QStringLiteral("Seleziona uno dei dischi disponibili"));
    m_optOther = ResourceOption(this, 1, QStringLiteral("Altra locazione"),
                                QStringLiteral("Seleziona una qualsiasi risorsa disponibile"));

    m_driveSelect = new QComboBox(this);
    m_driveSelect->setObjectName(QStringLiteral("driveSelect"));

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setReadOnly(true);
    m_model->setRootPath(QString());
    m_dirSelect = new QTreeView(this);
    m_dirSelect->setObjectName(QStringLiteral("dirSelect"));
    m_dirSelect->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_dirSelect->hideColumn(column);
    m_dirSelect->setHeaderHidden(true);
    m_dirSelect->setMinimumSize(fontMetrics().averageCharWidth() * 48, fontMetrics().lineSpacing() * 16);

    QPushButton* cmdOk = Button(this, QStringLiteral("cmdOk"), QStringLiteral("&OK"));
    cmdOk->setDefault(true);
    m_cmdSelectResource = Button(this, QStringLiteral("cmdSelectResource"), QStringLiteral("&Selezione Risorsa"),
                                 QStringLiteral("Attiva la selezione della risorsa"));
    m_cmdSelectResource->setAutoDefault(false);
    QPushButton* cmdCancel = Button(this, QStringLiteral("cmdCancel"), QStringLiteral("&Esci"));
    cmdCancel->setAutoDefault(false);

    auto* options = new QGridLayout;
    options->addWidget(m_optDisks, 0, 0);
    options->addWidget(m_driveSelect, 0, 1);
    options->addWidget(m_optOther, 1, 0);
    options->addWidget(m_cmdSelectResource, 1, 1, Qt::AlignLeft);
    options->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(m_dirSelect, 1);
    layout->addLayout(buttons);

    FillDisks();
    connect(m_optDisks, &QRadioButton::clicked, this, [this] { ChooseOption(true); });
    connect(m_optOther, &QRadioButton::clicked, this, [this] { ChooseOption(false); });
    connect(m_driveSelect, qOverload<int>(&QComboBox::activated), this, &frmSelectDir::DiskChanged);
    connect(m_dirSelect->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    m_shown = m_model->filePath(current);
            });
    // The tree fills in the background: scroll again once a folder is read.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this] {
        if (m_dirSelect->currentIndex().isValid())
            m_dirSelect->scrollTo(m_dirSelect->currentIndex());
    });
    connect(m_cmdSelectResource, &QPushButton::clicked, this, &frmSelectDir::SelectResource);
    connect(cmdOk, &QPushButton::clicked, this, &frmSelectDir::Confirm);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelectDir::Leave);

    ChooseOption(true);
}

void frmSelectDir::SetDirectory(const QString& directory)
{
    m_directory = directory;
    const QFileInfo info(directory);
    const bool exists = !directory.isEmpty() && info.isDir();
    int disk = -1;
    if (exists) {
        ShowInTree(info.absoluteFilePath());
        const QStorageInfo storage(info.absoluteFilePath());
        disk = storage.isValid() ? m_driveSelect->findData(storage.rootPath()) : -1;
    }
    if (disk >= 0)
        m_driveSelect->setCurrentIndex(disk);
    ChooseOption(disk >= 0);
}

bool frmSelectDir::DisksChosen() const
{
    return m_optDisks->isChecked();
}

QString frmSelectDir::FolderOfPath(const QString& path)
{
    qsizetype cut = path.lastIndexOf(QLatin1Char('\\'));
    if (cut < 0)
        cut = path.lastIndexOf(QLatin1Char('/'));
    if (cut < 0)
        return path;
    // A file right below the root keeps the root itself.
    return cut == 0 ? path.left(1) : path.left(cut);
}

QString frmSelectDir::WithoutTrailingSeparator(const QString& directory)
{
    QString result = directory;
    while (result.size() > 1 && (result.endsWith(QLatin1Char('/')) || result.endsWith(QLatin1Char('\\')))
           && !(result.size() == 3 && result[1] == QLatin1Char(':')))
        result.chop(1);
    return result;
}

void frmSelectDir::FillDisks()
{
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(),
              [](const QStorageInfo& a, const QStorageInfo& b) { return a.rootPath() < b.rootPath(); });
    for (const QStorageInfo& volume : volumes) {
        if (!volume.isValid() || !volume.isReady() || !QFileInfo(volume.rootPath()).isDir()
            || m_driveSelect->findData(volume.rootPath()) >= 0)
            continue;
        const QString root = QDir::toNativeSeparators(volume.rootPath());
        const QString name = volume.displayName();
        const QString text = name.isEmpty() || name == volume.rootPath() ? root : QStringLiteral("%1  [%2]").arg(root, name);
        m_driveSelect->addItem(text, volume.rootPath());
    }
}

void frmSelectDir::ChooseOption(bool disks)
{
    {
        const QSignalBlocker blockDisks(m_optDisks);
        const QSignalBlocker blockOther(m_optOther);
        (disks ? m_optDisks : m_optOther)->setChecked(true);
    }
    for (QRadioButton* option : {m_optDisks, m_optOther}) {
        QFont font = option->font();
        font.setBold(option->isChecked());
        option->setFont(font);
    }
    m_driveSelect->setEnabled(disks);
    m_cmdSelectResource->setEnabled(!disks);
}

void frmSelectDir::ShowInTree(const QString& directory)
{
    const QModelIndex index = m_model->index(directory);
    if (!index.isValid())
        return;
    m_shown = m_model->filePath(index);
    m_dirSelect->setCurrentIndex(index);
    m_dirSelect->expand(index);
    m_dirSelect->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void frmSelectDir::DiskChanged(int index)
{
    const QString root = m_driveSelect->itemData(index).toString();
    if (!root.isEmpty())
        ShowInTree(root);
}

void frmSelectDir::SelectResource()
{
    const std::optional<QString> picked = Dialogs().GetOpenFileName(QString(), m_shown, QStringLiteral("*.*"),
                                                                    QStringLiteral("tutti i files|*.*"));
    if (!picked || picked->isEmpty())
        return;
    const QString folder = FolderOfPath(*picked);
    if (QFileInfo(folder).isDir())
        ShowInTree(QFileInfo(folder).absoluteFilePath());
}

void frmSelectDir::Confirm()
{
    m_directory = m_shown.isEmpty() ? QString() : QDir::toNativeSeparators(WithoutTrailingSeparator(m_shown));
    accept();
}

void frmSelectDir::Leave()
{
    m_directory.clear();
    reject();
}
