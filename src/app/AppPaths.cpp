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

QString FolderForFilesBeside(const QString& executableDir)
{
    const QFileInfo folder(executableDir);
    if (!executableDir.isEmpty() && folder.isDir() && folder.isWritable())
        return folder.absoluteFilePath();
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataDir);
    return dataDir;
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
