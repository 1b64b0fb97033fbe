#include "app/AppPaths.h"
#include "app/FilePaths.h"
#include "app/PasswordStore.h"
#include "component/Exception.h"
#include "support/QtPrinting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Bytes(std::initializer_list<int> codes)
{
    QString text;
    for (const int c : codes)
        text.append(QChar(c));
    return text;
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

TEST(ScrambleText, KnownVectors)
{
    // Odd length: on odd positions the top bit of the rotated byte is inverted.
    EXPECT_EQ(ScrambleText(QStringLiteral("A"), true), Bytes({32}));
    EXPECT_EQ(ScrambleText(QStringLiteral("abc"), true), QStringLiteral("011"));
    // Even length: a plain rotation right by one bit.
    EXPECT_EQ(ScrambleText(QStringLiteral("AB"), true), Bytes({160, 33}));
    // Codes above 127.
    EXPECT_EQ(ScrambleText(Bytes({233}), true), Bytes({116}));
    EXPECT_EQ(ScrambleText(Bytes({233, 233}), true), Bytes({244, 244}));
    EXPECT_EQ(ScrambleText(Bytes({255, 0, 128}), true), Bytes({127, 0, 192}));

    EXPECT_EQ(ScrambleText(QStringLiteral("011"), false), QStringLiteral("abc"));
    EXPECT_EQ(ScrambleText(Bytes({160, 33}), false), QStringLiteral("AB"));
    EXPECT_EQ(ScrambleText(QString(), true), QString());
}

TEST(ScrambleText, OddLengthDiffersFromPlainRotationOnlyInTheTopBitOfOddPositions)
{
    const QString password = QStringLiteral("Segreto");
    const QString scrambled = ScrambleText(password, true);
    ASSERT_EQ(scrambled.size(), password.size());
    for (qsizetype i = 0; i < password.size(); ++i) {
        const int c = password[i].unicode();
        const int rotated = (c >> 1) | ((c & 1) << 7);
        EXPECT_EQ(scrambled[i].unicode(), i % 2 == 0 ? rotated ^ 0x80 : rotated) << i;
    }
}

TEST(ScrambleText, EveryByteComesBackAtEveryLength)
{
    for (int length = 1; length <= 4; ++length) {
        for (int c = 0; c < 256; ++c) {
            QString text;
            for (int i = 0; i < length; ++i)
                text.append(QChar((c + 37 * i) % 256));
            const QString scrambled = ScrambleText(text, true);
            ASSERT_EQ(ScrambleText(scrambled, false), text) << "length " << length << " code " << c;
            for (const QChar s : scrambled)
                ASSERT_LE(s.unicode(), 255);
        }
    }
}

TEST(ScrambleText, LetterCaseAndUnstorableCharactersNeverMatch)
{
    const QString stored = ScrambleText(QStringLiteral("Segreto"), true);
    EXPECT_NE(ScrambleText(QStringLiteral("segreto"), true), stored);
    EXPECT_NE(ScrambleText(QStringLiteral("SEGRETO"), true), stored);
    EXPECT_EQ(ScrambleText(QStringLiteral("Segreto"), true), stored);
    // A character the file cannot hold is left as it is, so it matches no byte.
    EXPECT_EQ(ScrambleText(QStringLiteral("\u20ac"), true), QStringLiteral("\u20ac"));
    EXPECT_FALSE(IsStorablePassword(QStringLiteral("5\u20ac")));
    EXPECT_TRUE(IsStorablePassword(Bytes({0, 'a', 233, 255})));
}

class PasswordFileTest : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("prtct1.sys"));
};

TEST_F(PasswordFileTest, AbsentOrEmptyFileMeansNoPassword)
{
    EXPECT_EQ(ReadStoredPassword(m_path), QString());
    QFile file(m_path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(ReadStoredPassword(m_path), QString());
}

TEST_F(PasswordFileTest, WritesTheScrambledBytesAndMakesTheFileReadOnly)
{
    WritePassword(m_path, QStringLiteral("Caff\u00e8"));
    EXPECT_EQ(FileBytes(m_path), ScrambleText(QStringLiteral("Caff\u00e8"), true).toLatin1());
    EXPECT_EQ(FileBytes(m_path).size(), 5) << "one byte per character, nothing else";
    EXPECT_TRUE(FileExists(m_path, vbReadOnly));
    EXPECT_EQ(ScrambleText(ReadStoredPassword(m_path), false), QStringLiteral("Caff\u00e8"));

    WritePassword(m_path, QStringLiteral("nuova"));
    EXPECT_EQ(ScrambleText(ReadStoredPassword(m_path), false), QStringLiteral("nuova"));
    EXPECT_TRUE(FileExists(m_path, vbReadOnly));
}

TEST_F(PasswordFileTest, AnEmptyPasswordWritesAnEmptyFile)
{
    WritePassword(m_path, QStringLiteral("segreto"));
    WritePassword(m_path, QString());
    EXPECT_TRUE(QFile::exists(m_path));
    EXPECT_EQ(QFileInfo(m_path).size(), 0);
    EXPECT_EQ(ReadStoredPassword(m_path), QString());
}

TEST_F(PasswordFileTest, UnstorablePasswordIsRefusedAndTheOldOneKept)
{
    WritePassword(m_path, QStringLiteral("vecchia"));
    try {
        WritePassword(m_path, QStringLiteral("costa 5\u20ac"));
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Description().startsWith(QStringLiteral("La password contiene caratteri non ammessi.")));
    }
    EXPECT_EQ(ScrambleText(ReadStoredPassword(m_path), false), QStringLiteral("vecchia"));
}

TEST_F(PasswordFileTest, FailuresAreReportedNotTakenAsNoPassword)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("prtct1.sys")));
    EXPECT_THROW(ReadStoredPassword(m_path), Exception) << "a file that cannot be read is no empty password";
    try {
        WritePassword(m_dir.filePath(QStringLiteral("manca/prtct1.sys")), QStringLiteral("x"));
        FAIL() << "written into a missing folder";
    } catch (const Exception& e) {
        // What to do, in Italian; the system's reason only among the details.
        EXPECT_TRUE(e.Description().startsWith(QStringLiteral("Impossibile scrivere il file della password")));
        EXPECT_TRUE(e.Description().contains(QStringLiteral("Controllare che il file e la cartella del programma")));
        EXPECT_FALSE(e.Detail().isEmpty());
        EXPECT_FALSE(e.Description().contains(e.Detail()));
    }
}

TEST(PasswordFileLocation, APasswordBesideTheProgramCountsForEveryUser)
{
    QTemporaryDir program;
    ASSERT_TRUE(program.isValid());
    const QString beside = QDir::toNativeSeparators(program.filePath(QStringLiteral("prtct1.sys")));
    const QString perUser = QDir::toNativeSeparators(
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("prtct1.sys")));

    // A program folder that can be written holds the file.
    EXPECT_EQ(PasswordFilePath(program.path()), beside);
    WritePassword(beside, QStringLiteral("segreto"));

    // Installed where the user cannot write (another user, or a system
    // folder): the password set there is still the one asked.
    AppPaths::ScopedReadOnlyFolder installed(program.path());
    EXPECT_EQ(PasswordFilePath(program.path()), beside);
    EXPECT_EQ(ScrambleText(ReadStoredPassword(PasswordFilePath(program.path())), false), QStringLiteral("segreto"));

    // Only with none beside the program does the user's own folder hold it.
    ASSERT_TRUE(QFile::setPermissions(beside, QFile::permissions(beside) | QFileDevice::WriteOwner));
    ASSERT_TRUE(QFile::remove(beside));
    EXPECT_EQ(PasswordFilePath(program.path()), perUser);
}
