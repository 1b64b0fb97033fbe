#include "app/ErrorReportText.h"

#include "component/ComponentErrors.h"

#include <QUrl>

#include <cstdlib>

namespace ErrorReport {

QString FirstText(qint32 number, const QString& description, const QString& context,
                  const std::function<QString()>& componentMessage)
{
    if (number == ComponentError::Cancelled || number == ComponentError::CancelSelected)
        return componentMessage ? componentMessage() : QString();
    const QString& lead = context.isEmpty() ? description : context;
    return lead.left(200) + QStringLiteral(" ...");
}

QString Question(const QString& firstText)
{
    return firstText + QStringLiteral("\r\rVisualizzare dettagli ?");
}

QString Detail(const QString& description, const QString& context, const QString& technical)
{
    QString detail = description;
    if (!technical.isEmpty())
        detail += QStringLiteral("\r\n\r\n") + technical;
    if (!context.isEmpty() && context != description)
        detail += QStringLiteral("\r\n\r\n") + context;
    return detail;
}

QString Code(qint32 number)
{
    const qint64 relative = qint64(number) - qint64(ComponentError::Base);
    const qint64 shown = std::llabs(relative) < 0x7FFC0000LL ? relative : qint64(number);
    return QStringLiteral("%1 (%2)").arg(shown).arg(quint32(number), 0, 16).toUpper();
}

QString ShownDetail(const QString& detail)
{
    if (detail.contains(QStringLiteral("\r\n")))
        return detail;
    QString shown = detail;
    shown.replace(QLatin1Char('\r'), QStringLiteral("\r\n"));
    return shown;
}

QString SavedLine(const QString& code, const QString& detail)
{
    return QStringLiteral("Error: ") + code + detail + QStringLiteral("\r\n");
}

QString SupportAddress()
{
    return QStringLiteral("assistenza@mensora.invalid");
}

QString SupportMailBody(const QString& code, const QString& detail)
{
    const QString text = QStringLiteral("Error: ") + code + detail;
    QString body;
    body.reserve(text.size() * 3);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u == ' ')
            body += QStringLiteral("%20");
        else if (u == '\r')
            body += QStringLiteral("%0d");
        else if (u == '\n')
            body += QStringLiteral("%0a");
        else if (u < 0x20 || u >= 0x7F || u == '%' || u == '&' || u == '#' || u == '+') {
            // A surrogate pair is encoded as the one character it stands for.
            const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
            body += QString::fromLatin1(QUrl::toPercentEncoding(text.mid(i, length)));
            i += length - 1;
        } else
            body += text[i];
    }
    return body;
}

QString SupportMailUrl(const QString& code, const QString& detail)
{
    return QStringLiteral("mailto:") + SupportAddress() + QStringLiteral("?subject=SUPPORT%20REQUEST&body=")
           + SupportMailBody(code, detail);
}

QString ErrorPage(const QString& detail)
{
    return QStringLiteral("<html><head><meta charset=\"utf-8\"><title>Visualizzazione Errore</title></head>"
                          "<body><pre>")
           + detail.toHtmlEscaped() + QStringLiteral("</pre></body></html>");
}

} // namespace ErrorReport
