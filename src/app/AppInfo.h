#pragma once
// Names and version of the application.
#include <QString>

namespace AppInfo {
inline QString ProductName() { return QStringLiteral("Mensora"); }
inline QString VersionText()
{
    return QStringLiteral("%1.%2.%3").arg(MENSORA_VERSION_MAJOR).arg(MENSORA_VERSION_MINOR).arg(MENSORA_VERSION_PATCH);
}
} // namespace AppInfo
