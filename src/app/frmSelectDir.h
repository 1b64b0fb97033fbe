#pragma once
// The directory chooser: a list of the mounted disks and a tree of their
// directories, or any other place picked through the file-open dialog.

#include <QDialog>
#include <QString>

class QComboBox;
class QFileSystemModel;
class QPushButton;
class QRadioButton;
class QTreeView;

class frmSelectDir : public QDialog
{
    Q_OBJECT

public:
    explicit frmSelectDir(QWidget* parent = nullptr);

    // Set before showing: the directory shown. After the window closes: the
    // chosen directory without a trailing separator, or empty for "Esci".
    QString Directory() const { return m_directory; }
    void SetDirectory(const QString& directory);

    // The directory the tree points at.
    QString ShownDirectory() const { return m_shown; }
    // Whether "Dischi" (else "Altra locazione") is chosen.
    bool DisksChosen() const;

    // The text before the last "\" of a path, or before the last "/" when it
    // has no "\"; the path itself when it has neither.
    static QString FolderOfPath(const QString& path);
    // The directory without a trailing "\" or "/" (a root keeps its own).
    static QString WithoutTrailingSeparator(const QString& directory);

private:
    void FillDisks();
    void ChooseOption(bool disks);
    void ShowInTree(const QString& directory);
    void DiskChanged(int index);
    void SelectResource();
    void Confirm();
    void Leave();

    QRadioButton* m_optDisks = nullptr;
    QRadioButton* m_optOther = nullptr;
    QComboBox* m_driveSelect = nullptr;
    QTreeView* m_dirSelect = nullptr;
    QFileSystemModel* m_model = nullptr;
    QPushButton* m_cmdSelectResource = nullptr;
    QString m_directory;
    QString m_shown;
};
