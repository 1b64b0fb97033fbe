#pragma once
// A main window over a temporary working directory and settings store, with
// scripted dialogs; the archive is created in the folder unless a test asks
// for a first run.

#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/ArchiveSession.h"
#include "app/SettingsStore.h"
#include "app/frmMessage.h"
#include "browser/frmMain.h"
#include "component/DatabaseEngine.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Settings() = DefaultSettings();
        Settings().RootDir = dir.path();
    }

    void TearDown() override
    {
        window.reset();
        ArchiveSession::Instance().ReleaseDatabase();
        DestroyMessageWindow();
    }

    QString ArchivePath() const { return dir.filePath(QStringLiteral("Mensora.mdb")); }

    void CreateArchiveFile()
    {
        DatabaseEngine engine;
        engine.CreateDatabaseFile(ArchiveSession::DatabaseKind, ArchivePath());
    }

    // A main window shown at a known size, activated on an existing archive.
    frmMain& OpenWindow(bool withArchive = true)
    {
        if (withArchive && !QFile::exists(ArchivePath()))
            CreateArchiveFile();
        window = std::make_unique<frmMain>();
        window->setGeometry(100, 100, 900, 600);
        window->show();
        window->Activate();
        return *window;
    }

    QTemporaryDir dir;
    ScopedSettingsFile store{dir.filePath(QStringLiteral("Mensora.ini"))};
    AppPaths::ScopedGridLayoutFile layouts{dir.filePath(QStringLiteral("mensora.INI"))};
    ScriptedDialogs dialogs;
    ScopedDialogService useDialogs{dialogs};
    std::unique_ptr<frmMain> window;
};
