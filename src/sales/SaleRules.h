#pragma once
// Small rules of the till that need neither the archive nor a window: the
// quantity the cashier types, the order a click on a column heading gives,
// the early-morning date check and what each key does in the sale window.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <Qt>
#include <optional>

// A typed quantity, read once with the user's locale ("1,5" is 1.5 in
// Italian); a text the locale refuses is tried with "." as the decimal
// separator ("1.5"). Blanks around it are ignored. Nullopt for anything
// that is not a finite number.
std::optional<double> ParseQuantity(const QString& text, const QLocale& locale = QLocale());

// A quantity as the quantity box proposes it: the shortest locale text
// ("1", "1,5", "-2").
QString QuantityText(double quantity, const QLocale& locale = QLocale());

// The order a click on the heading of `field` gives when the rows are in
// `currentSort`: the plain field first, then "<field> DESC", then
// "<field> ASC", and so on; another field starts again from its plain name.
QString NextColumnOrder(const QString& currentSort, const QString& field);

// Whether the sale window warns "Controllare la data della ricevuta": the
// sale date is today and it is not yet seven in the morning (after midnight
// the date of the receipts may still be yesterday's).
bool NeedsDateWarning(const QDate& saleDate, const QDateTime& now);

// The covers field's text: numeric ("3", "  3") gives the number of covers,
// anything else nullopt (the field goes back to "  0").
std::optional<qint16> CoversOf(const QString& text);

// The text the covers field shows at the start of a sale.
inline QString NoCoversText() { return QStringLiteral("  0"); }

// The commands of the keys the sale window sees before its controls.
enum class SaleKey {
    None,          // the key goes on to the control
    TogglePrint,   // F4
    CoversToRow,   // F5
    Customer,      // F6
    Quantity,      // F8
    DeleteRow,     // F10, Delete
    EditRow,       // F12
    FocusRows,     // Down, Page Down outside the rows grid
    StepUp,        // "+"
    StepDown,      // "-"
    ChooseCourse,  // Enter in the courses grid
};

// What a key does. `inRows`: the focus is in the rows grid; `inCourses`: in
// the courses grid. Only keys without Ctrl or Alt are taken.
SaleKey SaleKeyOf(int key, Qt::KeyboardModifiers modifiers, const QString& text, bool inRows, bool inCourses);

// The time the sale window reads for its checks; a test puts a fixed time in
// place with ScopedSaleClock.
QDateTime SaleNow();

class ScopedSaleClock
{
public:
    explicit ScopedSaleClock(const QDateTime& now);
    ~ScopedSaleClock();
    ScopedSaleClock(const ScopedSaleClock&) = delete;
    ScopedSaleClock& operator=(const ScopedSaleClock&) = delete;

private:
    QDateTime m_previous;
};
