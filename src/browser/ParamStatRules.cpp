#include "browser/ParamStatRules.h"

TypedDate ParseTypedDate(const QString& text, QDate* date)
{
    QString digits = text;
    digits.remove(u'_').remove(u'/').remove(u' ');
    if (digits.isEmpty())
        return TypedDate::Empty;
    const QStringList parts = text.split(u'/');
    if (parts.size() != 3)
        return TypedDate::Invalid;
    bool okDay = false, okMonth = false, okYear = false;
    const int day = parts[0].trimmed().remove(u'_').toInt(&okDay);
    const int month = parts[1].trimmed().remove(u'_').toInt(&okMonth);
    const QString yearText = parts[2].trimmed().remove(u'_');
    int year = yearText.toInt(&okYear);
    if (!okDay || !okMonth || !okYear || yearText.size() != 2)
        return TypedDate::Invalid;
    year += year < 30 ? 2000 : 1900;
    const QDate parsed(year, month, day);
    if (!parsed.isValid())
        return TypedDate::Invalid;
    *date = parsed;
    return TypedDate::Valid;
}

QString TypedDateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yy")) : QStringLiteral("__/__/__");
}

ParamStatCheck CheckParamStat(const QString& fromText, const QString& toText)
{
    ParamStatCheck check;
    QDate from;
    QDate to;
    const TypedDate fromState = ParseTypedDate(fromText, &from);
    check.keepTo = false;
    if (fromState == TypedDate::Empty) {
        check.message = QStringLiteral("Impostare il campo Da Data");
        check.focus = ParamStatCheck::Focus::From;
        check.from = QDate(); // the kept date becomes 0
        return check;
    }
    if (fromState == TypedDate::Invalid) {
        check.message = QStringLiteral("Campo Da Data non valido");
        check.focus = ParamStatCheck::Focus::From;
        check.keepFrom = false;
        return check;
    }
    check.from = from;
    const TypedDate toState = ParseTypedDate(toText, &to);
    if (toState == TypedDate::Empty) {
        check.message = QStringLiteral("Impostare il campo a Data");
        check.focus = ParamStatCheck::Focus::To;
        check.keepTo = true;
        check.to = QDate();
        return check;
    }
    if (toState == TypedDate::Invalid) {
        check.message = QStringLiteral("Campo A Data non valido");
        check.focus = ParamStatCheck::Focus::To;
        return check;
    }
    check.keepTo = true;
    check.to = to;
    if (from > to) {
        check.message = QStringLiteral("-Il campo \"A Data\" non può contenere un valore minore del campo \"Da Data\".");
        check.icon = MsgIcon::Information;
        check.focus = ParamStatCheck::Focus::From;
        return check;
    }
    check.ok = true;
    return check;
}
