#pragma once
// The per-user settings store: an INI file "Mensora/Mensora.ini" in the
// user's configuration folder. Tests point it at a file of their own.

#include <QSettings>
#include <QString>
#include <memory>

// Opens the settings store in force (the user's, or the one a
// ScopedSettingsFile set).
std::unique_ptr<QSettings> OpenSettingsStore();

// While alive, OpenSettingsStore opens the given INI file instead.
class ScopedSettingsFile
{
public:
    explicit ScopedSettingsFile(const QString& iniFile);
    ~ScopedSettingsFile();
    ScopedSettingsFile(const ScopedSettingsFile&) = delete;
    ScopedSettingsFile& operator=(const ScopedSettingsFile&) = delete;

private:
    QString m_previous;
};
