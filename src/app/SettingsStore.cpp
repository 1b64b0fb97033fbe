#include "app/SettingsStore.h"

#include <QStandardPaths>

namespace {

QString& OverrideFile()
{
    static QString file;
    return file;
}

} // namespace

std::unique_ptr<QSettings> OpenSettingsStore()
{
    QString file = OverrideFile();
    // The configuration folder comes from the standard paths, so that a test
    // run (standard paths in test mode) never reaches the user's own file.
    if (file.isEmpty())
        file = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
               + QStringLiteral("/Mensora/Mensora.ini");
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

ScopedSettingsFile::ScopedSettingsFile(const QString& iniFile) : m_previous(OverrideFile())
{
    OverrideFile() = iniFile;
}

ScopedSettingsFile::~ScopedSettingsFile()
{
    OverrideFile() = m_previous;
}
