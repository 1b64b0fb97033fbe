#include "browser/HtmlExport.h"

#include "app/AppPaths.h"
#include "app/FilePaths.h"
#include "component/DataExport.h"

#include <QFile>

namespace HtmlExport {

namespace {

const QString kPageName = QStringLiteral("TableData.htm");

QString& FolderOverride()
{
    static QString folder;
    return folder;
}

} // namespace

QString PageFile()
{
    if (!FolderOverride().isEmpty())
        return BuildNativePath(FolderOverride(), kPageName, {});
    return AppPaths::FileBesideExecutable(kPageName);
}

bool Write(DataObject& data, itfProgress* progress)
{
    const QString path = PageFile();
    QFile::remove(path);
    return DataExport::Export(data, DataExport::Html, path, progress);
}

ScopedFolder::ScopedFolder(const QString& folder) : m_previous(FolderOverride())
{
    FolderOverride() = folder;
}

ScopedFolder::~ScopedFolder() { FolderOverride() = m_previous; }

} // namespace HtmlExport
