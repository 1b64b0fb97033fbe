#pragma once
// The checks of the list parameters window, in the order the window makes
// them: which message to show, where to put the focus, what to keep.

#include <QDate>
#include <QString>

#include "component/widgets/DialogService.h"

// A date typed in a "##/##/##" box ("__/__/__" when empty); two-digit years
// from 30 to 99 are 1930-1999, from 00 to 29 are 2000-2029.
enum class TypedDate { Empty, Invalid, Valid };
TypedDate ParseTypedDate(const QString& text, QDate* date);
QString TypedDateText(const QDate& date); // "dd/MM/yy", or "__/__/__" for no date

struct ParamStatCheck
{
    bool ok = false;
    QString message;            // shown when not ok
    MsgIcon icon = MsgIcon::None;
    enum class Focus { None, From, To } focus = Focus::None;
    QDate from;                 // the dates to keep (null: 0)
    QDate to;
    bool keepFrom = true;       // false: the kept date is unchanged
    bool keepTo = true;
};

ParamStatCheck CheckParamStat(const QString& fromText, const QString& toText);
