#pragma once
// Dates as the scripts see them: a serial number of days since 30 December
// 1899 whose fraction is the time of day, written and read the Italian way
// (day/month/year, 24-hour clock).

#include <QString>
#include <optional>

namespace vbs::DateUtil {

struct Parts
{
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

constexpr double MinSerial = -657434.0;  // 1 January 100
constexpr double MaxSerial = 2958465.999988426; // 31 December 9999 23:59:59

// Months and days outside their range carry over, as DateSerial does.
// Raises error 5 when the result lies outside years 100 to 9999.
double FromDate(int year, int month, int day);
double FromTime(int hour, int minute, int second);
// Adds a time fraction to a day the way serial dates combine (negative
// serials keep a positive time).
double Combine(double datePart, double timePart);
Parts Split(double serial);
int Weekday(double serial, int firstDay = 1); // 1 = the first day of the week
bool InRange(double serial);
double DatePart(double serial);
double TimePart(double serial);
double Now();

QString MonthName(int month, bool abbreviate);
QString WeekdayName(int weekday, bool abbreviate); // 1 = Sunday
QString ShortDate(double serial);
QString LongDate(double serial);
QString LongTime(double serial);
QString ShortTime(double serial);
// Date only when there is no time, time only when there is no date.
QString ToText(double serial);
// Parses dates and times written the Italian way ("01/03/2026",
// "1 marzo 2026", "10:05", "01/03/2026 10.05.00"); nullopt when it is not one.
std::optional<double> Parse(const QString& text);

} // namespace vbs::DateUtil
