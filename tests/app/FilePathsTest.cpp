#include "app/FilePaths.h"
#include "support/QtPrinting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(BuildPath, JoinsWithBackslashUnlessTheDirectoryEndsWithASeparator)
{
    EXPECT_EQ(BuildPath(QStringLiteral("C:\\Dati"), QStringLiteral("Mensora.mdb"), {}),
              QStringLiteral("C:\\Dati\\Mensora.mdb"));
    EXPECT_EQ(BuildPath(QStringLiteral("C:\\Dati\\"), QStringLiteral("Mensora.mdb"), {}),
              QStringLiteral("C:\\Dati\\Mensora.mdb"));
    EXPECT_EQ(BuildPath(QStringLiteral("/srv/dati/"), QStringLiteral("Mensora.mdb"), {}),
              QStringLiteral("/srv/dati/Mensora.mdb"));
    EXPECT_EQ(BuildPath(QStringLiteral("/srv/dati"), QStringLiteral("Mensora.mdb"), {}),
              QStringLiteral("/srv/dati\\Mensora.mdb"));
    EXPECT_EQ(BuildPath({}, QStringLiteral("Mensora.mdb"), {}), QStringLiteral("Mensora.mdb"));
}

TEST(BuildPath, ExtensionReplacesEverythingFromTheFirstDot)
{
    EXPECT_EQ(BuildPath(QStringLiteral("D"), QStringLiteral("mensora"), QStringLiteral("INI")),
              QStringLiteral("D\\mensora.INI"));
    EXPECT_EQ(BuildPath(QStringLiteral("D"), QStringLiteral("a.b.c"), QStringLiteral("txt")), QStringLiteral("D\\a.txt"));
    EXPECT_EQ(BuildPath({}, QStringLiteral("a.b"), QStringLiteral("htm")), QStringLiteral("a.htm"));
    EXPECT_EQ(BuildPath({}, QStringLiteral("a.b"), {}), QStringLiteral("a.b"));
}

TEST(BuildNativePath, TrailingSeparatorsLeadToTheSamePath)
{
    const QString expected = QStringLiteral("/srv/dati/Mensora.mdb");
    EXPECT_EQ(BuildNativePath(QStringLiteral("/srv/dati"), QStringLiteral("Mensora.mdb"), {}), expected);
    EXPECT_EQ(BuildNativePath(QStringLiteral("/srv/dati/"), QStringLiteral("Mensora.mdb"), {}), expected);
    EXPECT_EQ(BuildNativePath(QStringLiteral("/srv/dati\\"), QStringLiteral("Mensora.mdb"), {}), expected);
    EXPECT_EQ(BuildNativePath(QStringLiteral("/srv/./dati//"), QStringLiteral("Mensora.mdb"), {}), expected);
    EXPECT_EQ(BuildNativePath(QStringLiteral("/"), QStringLiteral("x.y"), QStringLiteral("z")), QStringLiteral("/x.z"));
    EXPECT_EQ(BuildNativePath({}, QStringLiteral("Mensora.mdb"), {}), QStringLiteral("Mensora.mdb"));
}

TEST(FileExists, ReadsAttributesOfFilesAndDirectories)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("prova.txt"));
    const QString hidden = dir.filePath(QStringLiteral(".nascosto"));
    for (const QString& path : {file, hidden}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    EXPECT_FALSE(FileExists(dir.filePath(QStringLiteral("manca.txt"))));
    EXPECT_FALSE(FileExists(QString()));
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(dir.path()));
    EXPECT_TRUE(FileExists(dir.path() + QLatin1Char('/')));

    EXPECT_TRUE(FileExists(dir.path(), vbDirectory));
    EXPECT_FALSE(FileExists(file, vbDirectory));
    EXPECT_TRUE(FileExists(file, vbArchive));
    EXPECT_FALSE(FileExists(file, vbSystem));
    EXPECT_FALSE(FileExists(file, vbHidden | vbReadOnly));
    EXPECT_TRUE(FileExists(hidden, vbHidden));
    EXPECT_TRUE(FileExists(file, vbHidden | vbArchive)) << "any one bit of the mask is enough";

    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadUser));
    EXPECT_TRUE(FileExists(file, vbReadOnly));
    EXPECT_EQ(FileAttributes(file), vbReadOnly | vbArchive);
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
