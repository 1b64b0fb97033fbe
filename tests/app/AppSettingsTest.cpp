#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/DefaultTicketScript.h"
#include "app/SettingsStore.h"
#include "component/Exception.h"
#include "support/QtPrinting.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class AppSettingsTest : public ::testing::Test
{
protected:
    QString IniFile() const { return m_dir.filePath(QStringLiteral("Mensora.ini")); }
    QSettings Store() const { return QSettings(IniFile(), QSettings::IniFormat); }

    void WriteRaw(const QByteArray& text)
    {
        QFile file(IniFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir m_dir;
    ScopedSettingsFile m_store{IniFile()};
    AppSettings m_saved = Settings();

    void TearDown() override { Settings() = m_saved; }
};

} // namespace

TEST_F(AppSettingsTest, InstalledWhereTheUserCannotWriteTheArchiveGoesToTheUsersDataFolder)
{
    // Else the first run proposes the program's folder, where the archive
    // cannot be created.
    AppPaths::ScopedReadOnlyFolder installed(AppPaths::ExecutableDir());
    LoadSettings();
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    EXPECT_EQ(Settings().RootDir, dataDir);
    EXPECT_TRUE(QFileInfo(dataDir).isDir());
}

TEST_F(AppSettingsTest, EmptyStoreGivesEveryDefault)
{
    LoadSettings();
    const AppSettings& s = Settings();
    EXPECT_EQ(s.RootDir, AppPaths::ExecutableDir());
    EXPECT_EQ(s.RestaurantName, QString());
    EXPECT_TRUE(s.CurrencyConversion);
    EXPECT_EQ(s.PrintTop, QStringLiteral("0"));
    EXPECT_EQ(s.PrintLeft, QStringLiteral("0"));
    EXPECT_EQ(s.Ticket.PrinterName, QString());
    EXPECT_EQ(s.Ticket.ModuleColumns, 1);
    EXPECT_EQ(s.Ticket.VBScript, DefaultTicketScript());
    EXPECT_EQ(s.Ticket.TicketHeight, 203.0f);
    EXPECT_EQ(s.Ticket.TicketWidth, 121.0f);
    EXPECT_EQ(s.Ticket.TicketTop, 0.0f);
    EXPECT_EQ(s.Ticket.TicketLeft, 0.0f);
    EXPECT_EQ(s.Ticket.TicketRowsDim, 6.0f);
    EXPECT_EQ(s.Ticket.TicketRowsTop, 85.0f);
    EXPECT_EQ(s.Ticket.TicketRowsBottom, 165.0f);
    EXPECT_TRUE(CurrencyConverted());
    EXPECT_FALSE(QFile::exists(IniFile())) << "loading writes nothing";
}

TEST_F(AppSettingsTest, SaveWritesEveryKeyInOrderAsLocaleText)
{
    AppSettings s = DefaultSettings();
    s.RootDir = QStringLiteral("/srv/ristorante");
    s.RestaurantName = QStringLiteral("Trattoria da Gino");
    s.CurrencyConversion = false;
    s.Ticket.PrinterName = QStringLiteral("Cassa");
    s.Ticket.ModuleColumns = 3;
    s.Ticket.VBScript = QStringLiteral("Riga 1\r\nRiga 2");
    s.Ticket.TicketHeight = 6.5f;
    s.Ticket.TicketRowsDim = 0.1f;
    s.PrintTop = QStringLiteral("12,5");

    QStringList keys;
    QStringList texts;
    for (const SettingEntry& e : SettingEntries(s)) {
        keys << e.Section + QLatin1Char('/') + e.Key;
        texts << e.Text;
    }
    EXPECT_EQ(keys, (QStringList{
                        "Configuration/RootDir", "Configuration/RestaurantName", "Configuration/CurrencyConversion",
                        "TicketPrinterParam/PrinterName", "TicketPrinterParam/VBScript",
                        "TicketPrinterParam/ModuleColumns", "TicketPrinterParam/TicketHeight",
                        "TicketPrinterParam/TicketWidth", "TicketPrinterParam/TicketTop",
                        "TicketPrinterParam/TicketLeft", "TicketPrinterParam/TicketRowsDim",
                        "TicketPrinterParam/TicketRowsTop", "TicketPrinterParam/TicketRowsBottom",
                        "PrintParam/PrintTop", "PrintParam/PrintLeft"}));
    EXPECT_EQ(texts, (QStringList{"/srv/ristorante", "Trattoria da Gino", "False", "Cassa", "Riga 1\r\nRiga 2", "3",
                                  "6,5", "121", "0", "0", "0,1", "85", "165", "12,5", "0"}));
}

TEST_F(AppSettingsTest, ValuesSurviveARoundTripThroughTheStore)
{
    AppSettings& s = Settings();
    s = DefaultSettings();
    s.RootDir = QStringLiteral("/srv/è dati");
    s.RestaurantName = QStringLiteral("Osteria, \"Il Gallo\" = 1");
    s.CurrencyConversion = false;
    s.Ticket.ModuleColumns = 4;
    s.Ticket.TicketWidth = 80.25f;
    s.Ticket.TicketRowsDim = 0.1f;
    s.Ticket.VBScript = DefaultTicketScript() + QStringLiteral("' ; # [x] @y\r\n");
    s.PrintLeft = QStringLiteral("7,5");
    const AppSettings written = s;
    SaveSettings();

    s = DefaultSettings();
    LoadSettings();
    EXPECT_EQ(s.RootDir, written.RootDir);
    EXPECT_EQ(s.RestaurantName, written.RestaurantName);
    EXPECT_FALSE(s.CurrencyConversion);
    EXPECT_EQ(s.Ticket.ModuleColumns, 4);
    EXPECT_EQ(s.Ticket.TicketWidth, 80.25f);
    EXPECT_EQ(s.Ticket.TicketRowsDim, 0.1f);
    EXPECT_EQ(s.Ticket.VBScript, written.Ticket.VBScript);
    EXPECT_EQ(s.PrintLeft, QStringLiteral("7,5"));
}

TEST_F(AppSettingsTest, NumbersWrittenByHandAreReadTolerantly)
{
    WriteRaw("[TicketPrinterParam]\n"
             "TicketHeight=6.5\n"
             "TicketWidth=\"7,25\"\n"
             "TicketTop=8,75\n"
             "TicketLeft=abc\n"
             "TicketRowsDim=\n"
             "TicketRowsTop=\" 90 \"\n"
             "ModuleColumns=2.5\n");
    const AppSettings s = ReadSettings(*OpenSettingsStore());
    EXPECT_EQ(s.Ticket.TicketHeight, 6.5f);
    EXPECT_EQ(s.Ticket.TicketWidth, 7.25f);
    EXPECT_EQ(s.Ticket.TicketTop, 8.75f) << "an unquoted comma must not split the value";
    EXPECT_EQ(s.Ticket.TicketLeft, 0.0f) << "no number: the default";
    EXPECT_EQ(s.Ticket.TicketRowsDim, 6.0f);
    EXPECT_EQ(s.Ticket.TicketRowsTop, 90.0f);
    EXPECT_EQ(s.Ticket.ModuleColumns, 2) << "halves round to even";
}

TEST_F(AppSettingsTest, ColumnsAreTheLeadingNumberRoundedHalfToEven)
{
    const std::pair<const char*, int> cases[] = {
        {"3", 3}, {"3.5", 4}, {"2.5", 2}, {"2.51", 3}, {"  7 colonne", 7}, {"2,5", 2}, {"", 0}, {"x9", 0}, {"-3", 0}};
    for (const auto& [text, expected] : cases) {
        QSettings store = Store();
        store.setValue(QStringLiteral("TicketPrinterParam/ModuleColumns"), QString::fromUtf8(text));
        store.sync();
        EXPECT_EQ(ReadSettings(store).Ticket.ModuleColumns, expected) << text;
    }
}

TEST(ParseBoolean, FalseOnlyForTheFourFalseTexts)
{
    for (const char* text : {"FALSE", "false", " Falso ", "no", "No", "0", "\t0 ", "False"})
        EXPECT_FALSE(ParseBoolean(QString::fromUtf8(text))) << text;
    for (const char* text : {"", "True", "Vero", "1", "-1", "00", "NOT", "0,0", "yes"})
        EXPECT_TRUE(ParseBoolean(QString::fromUtf8(text))) << text;
    EXPECT_FALSE(ParseBoolean(BooleanText(false)));
    EXPECT_TRUE(ParseBoolean(BooleanText(true)));
}

TEST_F(AppSettingsTest, CurrencyConversionAndConvertedReadThroughParseBoolean)
{
    WriteRaw("[Configuration]\nCurrencyConversion=\" falso \"\n");
    LoadSettings();
    EXPECT_FALSE(Settings().CurrencyConversion);

    EXPECT_TRUE(CurrencyConverted());
    SetCurrencyConverted(false);
    EXPECT_FALSE(CurrencyConverted());
    SetCurrencyConverted(true);
    EXPECT_TRUE(CurrencyConverted());
    EXPECT_EQ(Store().value(QStringLiteral("Configuration/CurrencyConverted")).toString(), QStringLiteral("True"));
    LoadSettings();
    EXPECT_FALSE(Settings().CurrencyConversion) << "the conversion flag is another key";
}

TEST_F(AppSettingsTest, SavingToAStoreThatCannotBeWrittenIsReported)
{
    ScopedSettingsFile unwritable(m_dir.filePath(QStringLiteral("non-esiste/sotto/Mensora.ini")));
    QFile blocker(m_dir.filePath(QStringLiteral("non-esiste")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)) << "a file where the folder should be";
    blocker.close();
    EXPECT_THROW(SaveSettings(), Exception);
}
