#include "app/AppSettings.h"

#include "app/AppPaths.h"
#include "app/DefaultTicketScript.h"
#include "app/LocaleNumbers.h"
#include "app/SettingsStore.h"
#include "component/ComponentErrors.h"
#include "component/Exception.h"

#include <QDir>
#include <QStringList>

#include <limits>

namespace {

const QString kConfiguration = QStringLiteral("Configuration");
const QString kTicket = QStringLiteral("TicketPrinterParam");
const QString kPrint = QStringLiteral("PrintParam");

QString KeyPath(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

// The stored text of a key, or the default when the key is absent. A value
// edited by hand with an unquoted comma comes back from the store as a list;
// it is joined again so that "6,5" stays one text.
QString ReadText(QSettings& store, const QString& section, const QString& key, const QString& defaultText)
{
    const QString path = KeyPath(section, key);
    if (!store.contains(path))
        return defaultText;
    const QVariant value = store.value(path);
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

float ReadSingle(QSettings& store, const QString& section, const QString& key, float defaultValue)
{
    const QString path = KeyPath(section, key);
    if (!store.contains(path))
        return defaultValue;
    return ParseSingle(ReadText(store, section, key, {})).value_or(defaultValue);
}

qint16 ReadColumns(QSettings& store, qint16 defaultValue)
{
    const QString text = ReadText(store, kTicket, QStringLiteral("ModuleColumns"), QStringLiteral("1"));
    const double value = RoundHalfEven(LeadingNumber(text));
    if (value > std::numeric_limits<qint16>::max())
        return defaultValue;
    return static_cast<qint16>(value);
}

void FlushOrThrow(QSettings& store)
{
    store.sync();
    if (store.status() != QSettings::NoError)
        throw Exception(ComponentError::Io,
                        QStringLiteral("Impossibile salvare le impostazioni nel file \"%1\".")
                            .arg(QDir::toNativeSeparators(store.fileName())));
}

} // namespace

AppSettings& Settings()
{
    static AppSettings settings = DefaultSettings();
    return settings;
}

AppSettings DefaultSettings()
{
    AppSettings settings;
    // The executable's folder, unless it cannot be written (a program
    // installed for every user): then the user's own data folder, where the
    // archive can be created.
    settings.RootDir = AppPaths::FolderForFilesBeside(AppPaths::ExecutableDir());
    settings.Ticket.VBScript = DefaultTicketScript();
    return settings;
}

AppSettings ReadSettings(QSettings& store)
{
    const AppSettings defaults = DefaultSettings();
    AppSettings s;
    s.RootDir = ReadText(store, kConfiguration, QStringLiteral("RootDir"), defaults.RootDir);
    s.RestaurantName = ReadText(store, kConfiguration, QStringLiteral("RestaurantName"), defaults.RestaurantName);
    s.CurrencyConversion = ParseBoolean(ReadText(store, kConfiguration, QStringLiteral("CurrencyConversion"), {}));

    TicketSettings& t = s.Ticket;
    const TicketSettings& d = defaults.Ticket;
    t.PrinterName = ReadText(store, kTicket, QStringLiteral("PrinterName"), d.PrinterName);
    t.ModuleColumns = ReadColumns(store, d.ModuleColumns);
    t.VBScript = ReadText(store, kTicket, QStringLiteral("VBScript"), d.VBScript);
    t.TicketHeight = ReadSingle(store, kTicket, QStringLiteral("TicketHeight"), d.TicketHeight);
    t.TicketWidth = ReadSingle(store, kTicket, QStringLiteral("TicketWidth"), d.TicketWidth);
    t.TicketTop = ReadSingle(store, kTicket, QStringLiteral("TicketTop"), d.TicketTop);
    t.TicketLeft = ReadSingle(store, kTicket, QStringLiteral("TicketLeft"), d.TicketLeft);
    t.TicketRowsDim = ReadSingle(store, kTicket, QStringLiteral("TicketRowsDim"), d.TicketRowsDim);
    t.TicketRowsTop = ReadSingle(store, kTicket, QStringLiteral("TicketRowsTop"), d.TicketRowsTop);
    t.TicketRowsBottom = ReadSingle(store, kTicket, QStringLiteral("TicketRowsBottom"), d.TicketRowsBottom);

    s.PrintTop = ReadText(store, kPrint, QStringLiteral("PrintTop"), defaults.PrintTop);
    s.PrintLeft = ReadText(store, kPrint, QStringLiteral("PrintLeft"), defaults.PrintLeft);
    return s;
}

std::vector<SettingEntry> SettingEntries(const AppSettings& s)
{
    const TicketSettings& t = s.Ticket;
    return {
        {kConfiguration, QStringLiteral("RootDir"), s.RootDir},
        {kConfiguration, QStringLiteral("RestaurantName"), s.RestaurantName},
        {kConfiguration, QStringLiteral("CurrencyConversion"), BooleanText(s.CurrencyConversion)},
        {kTicket, QStringLiteral("PrinterName"), t.PrinterName},
        {kTicket, QStringLiteral("VBScript"), t.VBScript},
        {kTicket, QStringLiteral("ModuleColumns"), QString::number(t.ModuleColumns)},
        {kTicket, QStringLiteral("TicketHeight"), SingleText(t.TicketHeight)},
        {kTicket, QStringLiteral("TicketWidth"), SingleText(t.TicketWidth)},
        {kTicket, QStringLiteral("TicketTop"), SingleText(t.TicketTop)},
        {kTicket, QStringLiteral("TicketLeft"), SingleText(t.TicketLeft)},
        {kTicket, QStringLiteral("TicketRowsDim"), SingleText(t.TicketRowsDim)},
        {kTicket, QStringLiteral("TicketRowsTop"), SingleText(t.TicketRowsTop)},
        {kTicket, QStringLiteral("TicketRowsBottom"), SingleText(t.TicketRowsBottom)},
        {kPrint, QStringLiteral("PrintTop"), s.PrintTop},
        {kPrint, QStringLiteral("PrintLeft"), s.PrintLeft},
    };
}

void WriteSettings(const AppSettings& settings, QSettings& store)
{
    for (const SettingEntry& entry : SettingEntries(settings))
        store.setValue(KeyPath(entry.Section, entry.Key), entry.Text);
    FlushOrThrow(store);
}

void LoadSettings()
{
    Settings() = ReadSettings(*OpenSettingsStore());
}

void SaveSettings()
{
    WriteSettings(Settings(), *OpenSettingsStore());
}

bool ParseBoolean(const QString& text)
{
    static const QStringList falseTexts{QStringLiteral("FALSE"), QStringLiteral("FALSO"), QStringLiteral("NO"),
                                        QStringLiteral("0")};
    return !falseTexts.contains(text.trimmed().toUpper());
}

QString BooleanText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool CurrencyConverted()
{
    return ParseBoolean(ReadText(*OpenSettingsStore(), kConfiguration, QStringLiteral("CurrencyConverted"), {}));
}

void SetCurrencyConverted(bool converted)
{
    const auto store = OpenSettingsStore();
    store->setValue(KeyPath(kConfiguration, QStringLiteral("CurrencyConverted")), BooleanText(converted));
    FlushOrThrow(*store);
}
