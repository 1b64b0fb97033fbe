#include "script/DateUtil.h"

#include "script/ScriptError.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace vbs::DateUtil {

namespace {
const qint64 BaseJulian = QDate(1899, 12, 30).toJulianDay();

const char* const MonthNames[] = {"gennaio", "febbraio", "marzo", "aprile", "maggio", "giugno", "luglio",
                                  "agosto", "settembre", "ottobre", "novembre", "dicembre"};
const char* const EnglishMonths[] = {"january", "february", "march", "april", "may", "june", "july",
                                     "august", "september", "october", "november", "december"};
const char* const DayNames[] = {"domenica", "lunedì", "martedì", "mercoledì", "giovedì", "venerdì", "sabato"};

int MonthFromName(const QString& word)
{
    const QString w = word.toLower();
    if (w.size() < 3)
        return 0;
    for (int i = 0; i < 12; ++i) {
        const QString it = QString::fromUtf8(MonthNames[i]);
        const QString en = QString::fromLatin1(EnglishMonths[i]);
        if (it.startsWith(w) || en.startsWith(w))
            return i + 1;
    }
    return 0;
}

int ExpandYear(int year, int digits)
{
    if (digits <= 2 && year < 100)
        return year < 30 ? 2000 + year : 1900 + year;
    return year;
}
} // namespace

double FromDate(int year, int month, int day)
{
    if (year >= 0 && year < 100)
        year = ExpandYear(year, 2);
    // Carry months into years first, then days as an offset.
    qint64 y = year;
    qint64 m = qint64(month) - 1;
    y += m >= 0 ? m / 12 : -((11 - m) / 12);
    m = ((m % 12) + 12) % 12;
    if (y < 100 || y > 9999)
        throw VbError(Err::InvalidCall);
    const QDate first(int(y), int(m) + 1, 1);
    const double serial = double(first.toJulianDay() - BaseJulian) + double(day) - 1.0;
    if (!InRange(serial))
        throw VbError(Err::InvalidCall);
    return serial;
}

double FromTime(int hour, int minute, int second)
{
    const double seconds = double(hour) * 3600.0 + double(minute) * 60.0 + double(second);
    return seconds / 86400.0;
}

double Combine(double datePart, double timePart)
{
    if (datePart < 0 && timePart > 0)
        return datePart - timePart;
    return datePart + timePart;
}

bool InRange(double serial)
{
    return serial >= MinSerial && serial < 2958466.0;
}

double DatePart(double serial)
{
    return std::trunc(serial);
}

double TimePart(double serial)
{
    return std::fabs(serial - std::trunc(serial));
}

Parts Split(double serial)
{
    Parts p;
    double day = std::trunc(serial);
    qint64 secs = qint64(std::llround(std::fabs(serial - day) * 86400.0));
    if (secs >= 86400) {
        secs -= 86400;
        day += serial < 0 ? -1 : 1;
    }
    const QDate d = QDate::fromJulianDay(BaseJulian + qint64(day));
    p.year = d.year();
    p.month = d.month();
    p.day = d.day();
    p.hour = int(secs / 3600);
    p.minute = int(secs / 60 % 60);
    p.second = int(secs % 60);
    return p;
}

int Weekday(double serial, int firstDay)
{
    const qint64 day = qint64(std::trunc(serial));
    // 30 December 1899 was a Saturday (7 when Sunday is 1).
    const int sundayBased = int(((day + 6) % 7 + 7) % 7) + 1;
    return (sundayBased - firstDay + 7) % 7 + 1;
}

double Now()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QTime t = now.time();
    return double(now.date().toJulianDay() - BaseJulian) + FromTime(t.hour(), t.minute(), t.second());
}

QString MonthName(int month, bool abbreviate)
{
    const QString name = QString::fromUtf8(MonthNames[(month - 1) % 12]);
    return abbreviate ? name.left(3) : name;
}

QString WeekdayName(int weekday, bool abbreviate)
{
    const QString name = QString::fromUtf8(DayNames[(weekday - 1) % 7]);
    return abbreviate ? name.left(3) : name;
}

QString ShortDate(double serial)
{
    const Parts p = Split(serial);
    return QStringLiteral("%1/%2/%3").arg(p.day, 2, 10, QLatin1Char('0')).arg(p.month, 2, 10, QLatin1Char('0'))
        .arg(p.year, 4, 10, QLatin1Char('0'));
}

QString LongDate(double serial)
{
    const Parts p = Split(serial);
    return QStringLiteral("%1 %2 %3 %4").arg(WeekdayName(Weekday(serial), false)).arg(p.day)
        .arg(MonthName(p.month, false)).arg(p.year);
}

QString LongTime(double serial)
{
    const Parts p = Split(serial);
    return QStringLiteral("%1:%2:%3").arg(p.hour, 2, 10, QLatin1Char('0')).arg(p.minute, 2, 10, QLatin1Char('0'))
        .arg(p.second, 2, 10, QLatin1Char('0'));
}

QString ShortTime(double serial)
{
    const Parts p = Split(serial);
    return QStringLiteral("%1:%2").arg(p.hour, 2, 10, QLatin1Char('0')).arg(p.minute, 2, 10, QLatin1Char('0'));
}

QString ToText(double serial)
{
    const bool hasTime = TimePart(serial) != 0.0;
    const bool hasDate = DatePart(serial) != 0.0;
    if (!hasTime)
        return ShortDate(serial);
    if (!hasDate)
        return LongTime(serial);
    return ShortDate(serial) + QLatin1Char(' ') + LongTime(serial);
}

std::optional<double> Parse(const QString& input)
{
    QString text = input.trimmed().toLower();
    if (text.isEmpty() || text.size() > 64)
        return std::nullopt;

    // The time: h:m[:s] or h.m.s, with an optional am/pm.
    static const QRegularExpression timeRe(
        QStringLiteral("(?:^|\\s)(\\d{1,2})([:.])(\\d{1,2})(?:\\2(\\d{1,2}))?\\s*(am|pm|a\\.m\\.|p\\.m\\.)?\\s*$"));
    double timePart = 0;
    bool hasTime = false;
    const QRegularExpressionMatch tm = timeRe.match(text);
    if (tm.hasMatch() && (tm.captured(2) == QLatin1String(":") || !tm.captured(4).isEmpty())) {
        int h = tm.captured(1).toInt();
        const int m = tm.captured(3).toInt();
        const int s = tm.captured(4).isEmpty() ? 0 : tm.captured(4).toInt();
        const QString ampm = tm.captured(5);
        if (!ampm.isEmpty()) {
            if (h < 1 || h > 12)
                return std::nullopt;
            if (ampm.startsWith(QLatin1Char('p')) && h < 12)
                h += 12;
            if (ampm.startsWith(QLatin1Char('a')) && h == 12)
                h = 0;
        }
        if (h > 23 || m > 59 || s > 59)
            return std::nullopt;
        timePart = FromTime(h, m, s);
        hasTime = true;
        text = text.left(tm.capturedStart()).trimmed();
    }
    if (text.isEmpty())
        return hasTime ? std::optional<double>(timePart) : std::nullopt;

    // The date: numbers and at most one month name, in day-month-year order
    // unless the first number is a four-digit year.
    static const QRegularExpression partRe(QStringLiteral("[\\s/,.-]+"));
    const QStringList parts = text.split(partRe, Qt::SkipEmptyParts);
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    int numbers[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int count = 0;
    int monthByName = 0;
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const int n = parts[i].toInt(&ok);
        if (ok && parts[i].size() <= 4) {
            numbers[count] = n;
            digits[count] = int(parts[i].size());
            ++count;
        } else {
            if (monthByName)
                return std::nullopt;
            monthByName = MonthFromName(parts[i]);
            if (!monthByName)
                return std::nullopt;
        }
    }
    int year = QDate::currentDate().year(), month = 0, day = 0;
    if (monthByName) {
        month = monthByName;
        if (count == 1) {
            day = numbers[0];
        } else if (count == 2) { // "1 marzo 2026" or "marzo 1, 2026"
            day = numbers[0];
            year = ExpandYear(numbers[1], digits[1]);
        } else {
            return std::nullopt;
        }
    } else if (count == 2) {
        if (digits[0] == 4) { // yyyy/mm
            year = numbers[0];
            month = numbers[1];
            day = 1;
        } else {
            day = numbers[0];
            month = numbers[1];
            if (month > 12 && day <= 12)
                std::swap(day, month);
        }
    } else if (count == 3) {
        if (digits[0] == 4) {
            year = numbers[0];
            month = numbers[1];
            day = numbers[2];
        } else {
            day = numbers[0];
            month = numbers[1];
            year = ExpandYear(numbers[2], digits[2]);
            if (month > 12 && day <= 12)
                std::swap(day, month);
        }
    } else {
        return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || year < 100 || year > 9999)
        return std::nullopt;
    if (day > QDate(year, month, 1).daysInMonth())
        return std::nullopt;
    const double datePart = double(QDate(year, month, day).toJulianDay() - BaseJulian);
    return Combine(datePart, timePart);
}

} // namespace vbs::DateUtil
