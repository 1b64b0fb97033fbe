// Date and time functions.
#include "script/Builtins.h"
#include "script/Convert.h"
#include "script/DateUtil.h"
#include "script/ScriptError.h"

#include <QDate>
#include <QTime>
#include <cmath>

namespace vbs::Builtins {

namespace {

using Args = std::span<Variant>;

constexpr int SystemFirstDay = 2; // Monday, as the Italian calendar has it

double DateArg(const Variant& v)
{
    return Convert::ToDate(v);
}

int FirstDay(Args a, size_t i, int fallback)
{
    if (!Has(a, i))
        return fallback;
    const qint32 d = Convert::ToLong(a[i]);
    if (d < 0 || d > 7)
        throw VbError(Err::InvalidCall);
    return d == 0 ? SystemFirstDay : d;
}

Variant Now(Interpreter&, Args)
{
    return Variant::Date(DateUtil::Now());
}

Variant DateFn(Interpreter&, Args)
{
    return Variant::Date(DateUtil::DatePart(DateUtil::Now()));
}

Variant Time(Interpreter&, Args)
{
    return Variant::Date(DateUtil::TimePart(DateUtil::Now()));
}

Variant Timer(Interpreter&, Args)
{
    const QTime t = QTime::currentTime();
    return Variant::Single(float(t.msecsSinceStartOfDay() / 10) / 100.0f);
}

template<int DateUtil::Parts::*Field>
Variant PartOf(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    return Variant::Int(qint16(DateUtil::Split(DateArg(a[0])).*Field));
}

Variant Weekday(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    return Variant::Int(qint16(DateUtil::Weekday(DateArg(a[0]), FirstDay(a, 1, 1))));
}

Variant WeekdayName(Interpreter&, Args a)
{
    const qint32 day = Convert::ToLong(a[0]);
    if (day < 1 || day > 7)
        throw VbError(Err::InvalidCall);
    const bool abbreviate = Has(a, 1) && Convert::ToBool(a[1]);
    // Day 1 is the first day of the week asked for, Sunday by default.
    const int first = FirstDay(a, 2, 1);
    return Variant::Str(DateUtil::WeekdayName((day - 1 + first - 1) % 7 + 1, abbreviate));
}

Variant MonthName(Interpreter&, Args a)
{
    const qint32 month = Convert::ToLong(a[0]);
    if (month < 1 || month > 12)
        throw VbError(Err::InvalidCall);
    return Variant::Str(DateUtil::MonthName(month, Has(a, 1) && Convert::ToBool(a[1])));
}

Variant DateSerial(Interpreter&, Args a)
{
    const qint32 y = Convert::ToInteger(a[0]);
    const qint32 m = Convert::ToInteger(a[1]);
    const qint32 d = Convert::ToInteger(a[2]);
    return Variant::Date(DateUtil::FromDate(y, m, d));
}

Variant TimeSerial(Interpreter&, Args a)
{
    const double t = DateUtil::FromTime(Convert::ToInteger(a[0]), Convert::ToInteger(a[1]), Convert::ToInteger(a[2]));
    if (t >= 0)
        return Variant::Date(t);
    // Before midnight: the day before, with a positive time.
    const double day = std::floor(t);
    return Variant::Date(DateUtil::Combine(day, t - day));
}

Variant DateValue(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    return Variant::Date(DateUtil::DatePart(DateArg(a[0])));
}

Variant TimeValue(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    return Variant::Date(DateUtil::TimePart(DateArg(a[0])));
}

enum class Unit { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

Unit ParseUnit(const Variant& v)
{
    const QString s = Convert::ToString(v).trimmed().toLower();
    if (s == QLatin1String("yyyy")) return Unit::Year;
    if (s == QLatin1String("q")) return Unit::Quarter;
    if (s == QLatin1String("m")) return Unit::Month;
    if (s == QLatin1String("y")) return Unit::DayOfYear;
    if (s == QLatin1String("d")) return Unit::Day;
    if (s == QLatin1String("w")) return Unit::Weekday;
    if (s == QLatin1String("ww")) return Unit::Week;
    if (s == QLatin1String("h")) return Unit::Hour;
    if (s == QLatin1String("n")) return Unit::Minute;
    if (s == QLatin1String("s")) return Unit::Second;
    throw VbError(Err::InvalidCall);
}

double AddMonths(double serial, qint64 months)
{
    const DateUtil::Parts p = DateUtil::Split(serial);
    const qint64 total = qint64(p.year) * 12 + (p.month - 1) + months;
    const qint64 year = total >= 0 ? total / 12 : -1;
    const int month = int(total - year * 12) + 1;
    if (year < 100 || year > 9999)
        throw VbError(Err::InvalidCall);
    const int day = std::min(p.day, QDate(int(year), month, 1).daysInMonth());
    const double date = DateUtil::FromDate(int(year), month, day);
    return DateUtil::Combine(date, DateUtil::TimePart(serial));
}

Variant DateAdd(Interpreter&, Args a)
{
    const Unit unit = ParseUnit(a[0]);
    if (a[1].IsNull() || a[2].IsNull())
        return Variant::Null();
    const qint64 n = Convert::ToLong(a[1]);
    const double serial = DateArg(a[2]);
    double result = serial;
    switch (unit) {
    case Unit::Year: result = AddMonths(serial, n * 12); break;
    case Unit::Quarter: result = AddMonths(serial, n * 3); break;
    case Unit::Month: result = AddMonths(serial, n); break;
    case Unit::DayOfYear:
    case Unit::Day:
    case Unit::Weekday: result = serial + double(n); break;
    case Unit::Week: result = serial + double(n) * 7; break;
    case Unit::Hour: result = serial + double(n) / 24.0; break;
    case Unit::Minute: result = serial + double(n) / 1440.0; break;
    case Unit::Second: result = serial + double(n) / 86400.0; break;
    }
    if (!DateUtil::InRange(result))
        throw VbError(Err::InvalidCall);
    return Variant::Date(result);
}

// Whole seconds since the serial origin, for differences of hours, minutes
// and seconds.
qint64 Seconds(double serial)
{
    const double day = std::trunc(serial);
    const double frac = std::fabs(serial - day);
    return qint64(day) * 86400 + qint64(std::llround(frac * 86400.0));
}

qint64 FloorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

Variant DateDiff(Interpreter&, Args a)
{
    const Unit unit = ParseUnit(a[0]);
    if (a[1].IsNull() || a[2].IsNull())
        return Variant::Null();
    const double d1 = DateArg(a[1]);
    const double d2 = DateArg(a[2]);
    const DateUtil::Parts p1 = DateUtil::Split(d1);
    const DateUtil::Parts p2 = DateUtil::Split(d2);
    const qint64 s1 = Seconds(d1), s2 = Seconds(d2);
    const qint64 day1 = FloorDiv(s1, 86400), day2 = FloorDiv(s2, 86400);
    qint64 r = 0;
    switch (unit) {
    case Unit::Year: r = p2.year - p1.year; break;
    case Unit::Quarter: r = (p2.year * 4 + (p2.month - 1) / 3) - (p1.year * 4 + (p1.month - 1) / 3); break;
    case Unit::Month: r = (qint64(p2.year) * 12 + p2.month) - (qint64(p1.year) * 12 + p1.month); break;
    case Unit::DayOfYear:
    case Unit::Day: r = day2 - day1; break;
    case Unit::Weekday: r = (day2 - day1) / 7; break;
    case Unit::Week: {
        // Week boundaries crossed, a week starting on the given day.
        const int first = FirstDay(a, 3, 1);
        // Day 0 (30 December 1899) is a Saturday, weekday 7 counting from Sunday.
        const qint64 shift = (7 + 7 - 1 - (first - 1)) % 7; // days from the week start to day 0
        r = FloorDiv(day2 + shift, 7) - FloorDiv(day1 + shift, 7);
        break;
    }
    case Unit::Hour: r = FloorDiv(s2, 3600) - FloorDiv(s1, 3600); break;
    case Unit::Minute: r = FloorDiv(s2, 60) - FloorDiv(s1, 60); break;
    case Unit::Second: r = s2 - s1; break;
    }
    return Variant::FromInteger(r).GetTag() == Variant::Tag::Double ? Variant::Double(double(r))
                                                                   : Variant::Long(qint32(r));
}

int WeekOfYear(double serial, int firstDay, int firstWeek)
{
    const DateUtil::Parts p = DateUtil::Split(serial);
    const double jan1 = DateUtil::FromDate(p.year, 1, 1);
    const int jan1Weekday = DateUtil::Weekday(jan1, firstDay); // 1..7
    const int dayOfYear = int(DateUtil::DatePart(serial) - jan1);
    int week = (dayOfYear + jan1Weekday - 1) / 7 + 1;
    if (firstWeek == 2 && jan1Weekday > 4)
        --week; // the first week has at least four days
    if (firstWeek == 3 && jan1Weekday > 1)
        --week; // the first full week
    if (week < 1)
        week = WeekOfYear(jan1 - 1, firstDay, firstWeek);
    return week;
}

Variant DatePart(Interpreter&, Args a)
{
    const Unit unit = ParseUnit(a[0]);
    if (a[1].IsNull())
        return Variant::Null();
    const double serial = DateArg(a[1]);
    const DateUtil::Parts p = DateUtil::Split(serial);
    switch (unit) {
    case Unit::Year: return Variant::Int(qint16(p.year));
    case Unit::Quarter: return Variant::Int(qint16((p.month - 1) / 3 + 1));
    case Unit::Month: return Variant::Int(qint16(p.month));
    case Unit::DayOfYear:
        return Variant::Int(qint16(DateUtil::DatePart(serial) - DateUtil::FromDate(p.year, 1, 1) + 1));
    case Unit::Day: return Variant::Int(qint16(p.day));
    case Unit::Weekday: return Variant::Int(qint16(DateUtil::Weekday(serial, FirstDay(a, 2, 1))));
    case Unit::Week: {
        const int firstWeek = Has(a, 3) ? Convert::ToLong(a[3]) : 1;
        if (firstWeek < 0 || firstWeek > 3)
            throw VbError(Err::InvalidCall);
        return Variant::Int(qint16(WeekOfYear(serial, FirstDay(a, 2, 1), firstWeek == 0 ? 2 : firstWeek)));
    }
    case Unit::Hour: return Variant::Int(qint16(p.hour));
    case Unit::Minute: return Variant::Int(qint16(p.minute));
    case Unit::Second: return Variant::Int(qint16(p.second));
    }
    return {};
}

Variant FormatDateTime(Interpreter&, Args a)
{
    if (a[0].IsNull())
        throw VbError(Err::TypeMismatch);
    const double serial = DateArg(a[0]);
    const qint32 format = Has(a, 1) ? Convert::ToLong(a[1]) : 0;
    switch (format) {
    case 0: return Variant::Str(DateUtil::ToText(serial));
    case 1: return Variant::Str(DateUtil::LongDate(serial));
    case 2: return Variant::Str(DateUtil::ShortDate(serial));
    case 3: return Variant::Str(DateUtil::LongTime(serial));
    case 4: return Variant::Str(DateUtil::ShortTime(serial));
    default: throw VbError(Err::InvalidCall);
    }
}

} // namespace

void AddDateFunctions(std::vector<BuiltinInfo>& t)
{
    t.push_back({"Now", 0, 0, Now});
    t.push_back({"Date", 0, 0, DateFn});
    t.push_back({"Time", 0, 0, Time});
    t.push_back({"Timer", 0, 0, Timer});
    t.push_back({"Year", 1, 1, PartOf<&DateUtil::Parts::year>});
    t.push_back({"Month", 1, 1, PartOf<&DateUtil::Parts::month>});
    t.push_back({"Day", 1, 1, PartOf<&DateUtil::Parts::day>});
    t.push_back({"Hour", 1, 1, PartOf<&DateUtil::Parts::hour>});
    t.push_back({"Minute", 1, 1, PartOf<&DateUtil::Parts::minute>});
    t.push_back({"Second", 1, 1, PartOf<&DateUtil::Parts::second>});
    t.push_back({"Weekday", 1, 2, Weekday});
    t.push_back({"WeekdayName", 1, 3, WeekdayName});
    t.push_back({"MonthName", 1, 2, MonthName});
    t.push_back({"DateSerial", 3, 3, DateSerial});
    t.push_back({"TimeSerial", 3, 3, TimeSerial});
    t.push_back({"DateValue", 1, 1, DateValue});
    t.push_back({"TimeValue", 1, 1, TimeValue});
    t.push_back({"DateAdd", 3, 3, DateAdd});
    t.push_back({"DateDiff", 3, 5, DateDiff});
    t.push_back({"DatePart", 2, 4, DatePart});
    t.push_back({"FormatDateTime", 1, 2, FormatDateTime});
}

} // namespace vbs::Builtins
