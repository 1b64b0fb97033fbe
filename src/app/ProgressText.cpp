#include "app/ProgressText.h"

#include <cmath>

namespace ProgressText {

int BarMaximum(int total)
{
    return total > 0 ? total : 1;
}

int NextValue(int value, int maximum, int count)
{
    if (count > 0)
        return count <= maximum ? count : value;
    if (count == 0 && value < maximum)
        return value + 1;
    return value;
}

QString CountText(int value, int maximum)
{
    if (maximum > 9999)
        return QStringLiteral("%1 %").arg(std::lround(100.0 * value / maximum));
    return QStringLiteral("%1 / %2").arg(value).arg(maximum);
}

QString RemainingTimeText(int value, int maximum, double elapsedSeconds)
{
    if (elapsedSeconds < 5.0 || value <= 0 || maximum <= 0)
        return {};
    const double estimate = double(maximum) / value * elapsedSeconds;
    const long long remaining = std::max(0LL, std::llround(estimate - elapsedSeconds));
    const long long days = remaining / 86400;
    const long long rest = remaining % 86400;
    const QString time = QStringLiteral("%1:%2:%3")
                             .arg(rest / 3600, 2, 10, QLatin1Char('0'))
                             .arg(rest / 60 % 60, 2, 10, QLatin1Char('0'))
                             .arg(rest % 60, 2, 10, QLatin1Char('0'));
    return days > 0 ? QStringLiteral("%1gg %2").arg(days).arg(time) : time;
}

} // namespace ProgressText
