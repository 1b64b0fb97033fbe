#include "app/FilePaths.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString NameWithExtension(const QString& name, const QString& extension)
{
    if (extension.isEmpty())
        return name;
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return (dot < 0 ? name : name.left(dot)) + QLatin1Char('.') + extension;
}

bool EndsWithSeparator(const QString& directory)
{
    return directory.endsWith(QLatin1Char('\\')) || directory.endsWith(QLatin1Char('/'));
}

} // namespace

QString BuildPath(const QString& directory, const QString& name, const QString& extension)
{
    const QString fileName = NameWithExtension(name, extension);
    if (directory.isEmpty())
        return fileName;
    if (EndsWithSeparator(directory))
        return directory + fileName;
    return directory + QLatin1Char('\\') + fileName;
}

QString BuildNativePath(const QString& directory, const QString& name, const QString& extension)
{
    const QString fileName = NameWithExtension(name, extension);
    if (directory.isEmpty())
        return QDir::cleanPath(fileName);
    // A backslash inside a name is a valid character here; only a trailing one
    // is taken as the separator it was meant to be.
    QString folder = directory;
    while (folder.size() > 1 && EndsWithSeparator(folder))
        folder.chop(1);
    if (folder == QLatin1String("\\"))
        folder = QStringLiteral("/");
    return QDir::cleanPath(folder + QLatin1Char('/') + fileName);
}

int FileAttributes(const QString& path)
{
    if (path.isEmpty())
        return -1;
    const QFileInfo info(QDir::cleanPath(path));
    if (!info.exists())
        return -1;
    int attributes = vbNormal;
    if (!info.permission(QFileDevice::WriteOwner))
        attributes |= vbReadOnly;
    const QString fileName = info.fileName();
    if (fileName.startsWith(QLatin1Char('.')) && fileName != QLatin1String(".") && fileName != QLatin1String(".."))
        attributes |= vbHidden;
    if (info.isDir())
        attributes |= vbDirectory;
    else if (info.isFile())
        attributes |= vbArchive;
    return attributes;
}

bool FileExists(const QString& path, int attributeMask)
{
    const int attributes = FileAttributes(path);
    if (attributes < 0)
        return false;
    return attributeMask == 0 || (attributes & attributeMask) != 0;
}
