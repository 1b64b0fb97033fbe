#include "browser/DateSelection.h"

#include "component/SqlDialect.h"

#include <QLocale>

namespace {

const QLocale& Italian()
{
    static const QLocale locale(QLocale::Italian, QLocale::Italy);
    return locale;
}

// The field's caption without a leading "Data" and its blanks, followed by two
// blanks when something is left.
QString LabelOf(const QString& caption)
{
    QString label = caption;
    if (label.left(4).toUpper() == QLatin1String("DATA")) {
        label = label.mid(4);
        while (label.startsWith(u' '))
            label.remove(0, 1);
    }
    if (!label.isEmpty())
        label += QStringLiteral("  ");
    return label;
}

} // namespace

DateSelection& CurrentDateSelection()
{
    static DateSelection selection;
    return selection;
}

QString DateSelection::ApplyTo(const QString& criteria, const QString& dateField) const
{
    if (dateField.isEmpty() || (!SelectByMonth && !SelectByDate))
        return criteria;
    QString result = criteria.isEmpty() ? QString() : u'(' + criteria + QStringLiteral(") AND ");
    const QDate day = SelectionDate.date();
    if (SelectByMonth) {
        result += QStringLiteral("Month(%1) = %2 AND Year(%1) = %3").arg(dateField).arg(day.month()).arg(day.year());
    } else {
        result += QStringLiteral("%1 >= %2 AND %1 < %3")
                      .arg(dateField, SqlDialect::DateLiteral(day.startOfDay()), SqlDialect::DateLiteral(day.addDays(1).startOfDay()));
    }
    return result;
}

SelectionCaptions CaptionsFor(const DateSelection& selection, const QString& fieldCaption)
{
    SelectionCaptions c;
    c.checkAll = !selection.SelectByDate && !selection.SelectByMonth;
    c.checkDate = selection.SelectByDate;
    c.checkMonth = selection.SelectByMonth;
    const QString label = LabelOf(fieldCaption);
    const QDate day = selection.SelectionDate.date();
    if (selection.SelectByMonth) {
        c.button = label + QStringLiteral("< ") + Italian().monthName(day.month(), QLocale::LongFormat) + u' ' +
                   QString::number(day.year()) + QStringLiteral(" >");
        c.tooltip = QStringLiteral("Dati del mese ") + day.toString(QStringLiteral("MM/yyyy")) + QStringLiteral(" relativi a ") +
                    fieldCaption;
        c.menu = QStringLiteral("Solo in data ") + c.button;
    } else if (selection.SelectByDate) {
        c.button = label + QStringLiteral("< ") + day.toString(QStringLiteral("dd")) + u' ' +
                   Italian().monthName(day.month(), QLocale::ShortFormat) + u' ' + QString::number(day.year()) +
                   QStringLiteral(" >");
        c.tooltip = QStringLiteral("Dati del giorno ") + day.toString(QStringLiteral("dd/MM/yyyy")) +
                    QStringLiteral(" relativi a ") + fieldCaption;
        c.menu = QStringLiteral("Solo in data ") + c.button;
    } else {
        c.button = QStringLiteral("< tutti >");
        c.tooltip = QStringLiteral("Nessuna selezione per ") + fieldCaption;
        c.menu = QStringLiteral("Seleziona per ") + fieldCaption;
    }
    return c;
}
