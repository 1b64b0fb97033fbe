#pragma once
// The rules of the message window's progress bar and labels, apart from the
// window: the bar's range and value, the count label and the remaining time.

#include <QString>

namespace ProgressText {

// The bar's maximum for a total: a total of 0 (or less) counts as 1.
int BarMaximum(int total);

// The bar's value after a progress step: a count above 0 sets it when it does
// not exceed the maximum; a count of 0 adds one while below the maximum.
int NextValue(int value, int maximum, int count);

// The count label: "value / maximum", or, when the maximum exceeds 9999, the
// value as a rounded percentage of the maximum followed by " %".
QString CountText(int value, int maximum);

// The estimated remaining time once progress has run for 5 seconds or more,
// as "hh:mm:ss", preceded by the whole days and "gg " when a day or more;
// empty before then and while no step has been counted. Seconds are rounded
// to the nearest second.
QString RemainingTimeText(int value, int maximum, double elapsedSeconds);

} // namespace ProgressText
