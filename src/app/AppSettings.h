#pragma once
// The configuration values of the run: loaded once at start-up, changed by
// the options and ticket settings windows, and saved back to the settings
// store as text.

#include <QSettings>
#include <QString>
#include <vector>

// The ticket print settings (section "TicketPrinterParam"); lengths in
// millimetres.
struct TicketSettings
{
    QString PrinterName;
    qint16 ModuleColumns = 1;
    QString VBScript;
    float TicketHeight = 203.0f;
    float TicketWidth = 121.0f;
    float TicketTop = 0.0f;
    float TicketLeft = 0.0f;
    float TicketRowsDim = 6.0f;
    float TicketRowsTop = 85.0f;
    float TicketRowsBottom = 165.0f;
};

struct AppSettings
{
    QString RootDir;                 // working directory of the archive
    QString RestaurantName;
    bool CurrencyConversion = true;  // amounts shown also in the conversion currency
    QString PrintTop = QStringLiteral("0");   // margins of the receipt list, millimetres as text
    QString PrintLeft = QStringLiteral("0");
    TicketSettings Ticket;
};

// One key of the store with the text written for it.
struct SettingEntry
{
    QString Section;
    QString Key;
    QString Text;
};

// The values of the run.
AppSettings& Settings();

// The values of an empty store: the working directory is the executable's
// folder and the layout script is the default one.
AppSettings DefaultSettings();

// Reads every configuration key; an absent key, or a number key whose text
// is no number, gives its default.
AppSettings ReadSettings(QSettings& store);

// The keys and texts SaveSettings writes, in the order it writes them.
std::vector<SettingEntry> SettingEntries(const AppSettings& settings);

// Writes every configuration key and flushes the store; throws Exception
// when the store cannot be written.
void WriteSettings(const AppSettings& settings, QSettings& store);

// Loads the run's values from the settings store.
void LoadSettings();

// Saves the run's values to the settings store; throws Exception on failure.
void SaveSettings();

// False for "FALSE", "FALSO", "NO" and "0" in any letter case and with blanks
// around; True for every other text, the empty text included.
bool ParseBoolean(const QString& text);

// The text a Boolean is stored as: "True" or "False".
QString BooleanText(bool value);

// Whether the archive has been converted to euro; True when never stored.
bool CurrencyConverted();

// Stores whether the archive has been converted; throws Exception on failure.
void SetCurrencyConverted(bool converted);
