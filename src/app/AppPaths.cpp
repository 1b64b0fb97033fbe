#include "app/AppPaths.h"

#include "app/FilePaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace AppPaths {

QString ExecutableDir()
{
    return QCoreApplication::applicationDirPath();
}

QString ExecutableName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

namespace {
QStringList& ReadOnlyFolders()
{
    static QStringList folders;
    return folders;
}
} // namespace

ScopedReadOnlyFolder::ScopedReadOnlyFolder(const QString& folder) : m_folder(QFileInfo(folder).absoluteFilePath())
{
    ReadOnlyFolders().append(m_folder);
}

ScopedReadOnlyFolder::~ScopedReadOnlyFolder() { ReadOnlyFolders().removeOne(m_folder); }

bool IsWritableFolder(const QString& folder)
{
    const QFileInfo info(folder);
    return !folder.isEmpty() && info.isDir() && info.isWritable() && !ReadOnlyFolders().contains(info.absoluteFilePath());
}

QString FolderForFilesBeside(const QString& executableDir)
{
    if (IsWritableFolder(executableDir))
        return QFileInfo(executableDir).absoluteFilePath();
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataDir);
    return dataDir;
}

QString SharedFileBeside(const QString& executableDir, const QString& fileName)
{
    if (!executableDir.isEmpty()) {
        const QString beside = BuildNativePath(QFileInfo(executableDir).absoluteFilePath(), fileName, {});
        if (QFileInfo::exists(beside))
            return beside;
    }
    return BuildNativePath(FolderForFilesBeside(executableDir), fileName, {});
}

QString FileBesideExecutable(const QString& fileName)
{
    return BuildNativePath(FolderForFilesBeside(ExecutableDir()), fileName, {});
}

namespace {
QString& GridLayoutOverride()
{
    static QString path;
    return path;
}
} // namespace

ScopedGridLayoutFile::ScopedGridLayoutFile(const QString& path) : m_previous(GridLayoutOverride())
{
    GridLayoutOverride() = path;
}

ScopedGridLayoutFile::~ScopedGridLayoutFile() { GridLayoutOverride() = m_previous; }

QString GridLayoutFile()
{
    if (!GridLayoutOverride().isEmpty())
        return GridLayoutOverride();
    return FileBesideExecutable(ExecutableName() + QStringLiteral(".INI"));
}

} // namespace AppPaths
