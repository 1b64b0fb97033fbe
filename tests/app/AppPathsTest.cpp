#include "app/AppPaths.h"
#include "support/QtPrinting.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(AppPaths, FilesGoBesideAWritableFolderElseInTheUserDataFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(AppPaths::FolderForFilesBeside(dir.path()), QFileInfo(dir.path()).absoluteFilePath());

    const QString missing = dir.filePath(QStringLiteral("non-esiste"));
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    EXPECT_EQ(AppPaths::FolderForFilesBeside(missing), dataDir);
    EXPECT_TRUE(QFileInfo(dataDir).isDir()) << "the data folder is created when missing";
}

TEST(AppPaths, GridLayoutFileIsNamedAfterTheExecutable)
{
    EXPECT_EQ(AppPaths::ExecutableName(), QStringLiteral("app_tests"));
    const QFileInfo layout(AppPaths::GridLayoutFile());
    EXPECT_EQ(layout.fileName(), QStringLiteral("app_tests.INI"));
}
