#include "sales/SaleRules.h"

#include <cmath>

std::optional<double> ParseQuantity(const QString& text, const QLocale& locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    double value = locale.toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString QuantityText(double quantity, const QLocale& locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(quantity, 'g', QLocale::FloatingPointShortest);
}

QString NextColumnOrder(const QString& currentSort, const QString& field)
{
    if (field.contains(QLatin1Char(' ')) || field.contains(QLatin1Char(',')))
        return field;
    if (!field.isEmpty() && currentSort.contains(field))
        return field + (currentSort.contains(QLatin1String("DESC")) ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    return field;
}

bool NeedsDateWarning(const QDate& saleDate, const QDateTime& now)
{
    return saleDate.isValid() && saleDate == now.date() && now.time().hour() < 7;
}

std::optional<qint16> CoversOf(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < -32768 || value > 32767)
        return std::nullopt;
    return qint16(value);
}

SaleKey SaleKeyOf(int key, Qt::KeyboardModifiers modifiers, const QString& text, bool inRows, bool inCourses)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return SaleKey::None;
    switch (key) {
    case Qt::Key_F4: return SaleKey::TogglePrint;
    case Qt::Key_F5: return SaleKey::CoversToRow;
    case Qt::Key_F6: return SaleKey::Customer;
    case Qt::Key_F8: return SaleKey::Quantity;
    case Qt::Key_F10:
    case Qt::Key_Delete: return SaleKey::DeleteRow;
    case Qt::Key_F12: return SaleKey::EditRow;
    case Qt::Key_Down:
    case Qt::Key_PageDown: return inRows ? SaleKey::None : SaleKey::FocusRows;
    case Qt::Key_Return:
    case Qt::Key_Enter: return inCourses ? SaleKey::ChooseCourse : SaleKey::None;
    default: break;
    }
    // The characters, whichever key typed them (the keypad's too).
    if (text == QLatin1String("+"))
        return SaleKey::StepUp;
    if (text == QLatin1String("-"))
        return SaleKey::StepDown;
    return SaleKey::None;
}

namespace {

QDateTime& FixedNow()
{
    static QDateTime now;
    return now;
}

} // namespace

QDateTime SaleNow()
{
    return FixedNow().isValid() ? FixedNow() : QDateTime::currentDateTime();
}

ScopedSaleClock::ScopedSaleClock(const QDateTime& now) : m_previous(FixedNow())
{
    FixedNow() = now;
}

ScopedSaleClock::~ScopedSaleClock()
{
    FixedNow() = m_previous;
}
