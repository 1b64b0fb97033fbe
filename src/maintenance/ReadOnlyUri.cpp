#include "maintenance/ReadOnlyUri.h"

#include <QFileInfo>
#include <QUrl>

QString ReadOnlyUri(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const bool inUse = QFileInfo::exists(absolute + QStringLiteral("-wal"));
    return QUrl::fromLocalFile(absolute).toString(QUrl::FullyEncoded)
           + (inUse ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=ro&immutable=1"));
}
