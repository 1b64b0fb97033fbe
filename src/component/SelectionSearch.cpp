#include "component/SelectionSearch.h"

#include "component/SqlDialect.h"

QString StartsWithCriteria(const QString& field, const QString& typed)
{
    QString pattern;
    for (const QChar c : typed) {
        if (c == u'*' || c == u'?' || c == u'#' || c == u'[' || c == u'%' || c == u'_')
            pattern += u'[' + QString(c) + u']';
        else
            pattern += c;
    }
    return u'[' + field + QStringLiteral("] Like ") + SqlDialect::TextLiteral(pattern + u'*');
}
