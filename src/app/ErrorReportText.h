#pragma once
// The texts of the error report and of the exception window: what the first
// message box asks, the detail and the code shown in the exception window,
// and what its buttons save, mail and browse.

#include <QString>
#include <functional>

namespace ErrorReport {

// The first message's text: the archive engine's own message for its
// "cancelled" errors (asked from componentMessage), otherwise the first 200
// characters of the context text, or of the description when the context is
// empty, followed by " ...".
QString FirstText(qint32 number, const QString& description, const QString& context,
                  const std::function<QString()>& componentMessage);

// The question of the first message box: the text, two CR and
// "Visualizzare dettagli ?".
QString Question(const QString& firstText);

// The description, then the technical detail behind it (the storage's own
// message) when there is one, then the context text when one was given that
// differs from the description, each after two line breaks.
QString Detail(const QString& description, const QString& context, const QString& technical = {});

// The error's code: the number relative to the base of the archive engine's
// errors when it is one of them, else the number; then its hexadecimal value
// as a 32-bit number in brackets ("124 (8004007C)", "5 (5)").
QString Code(qint32 number);

// The detail as the exception window shows it: when it holds no CR LF pair,
// each CR becomes CR LF.
QString ShownDetail(const QString& detail);

// The line that "Salva" writes to the text file (with its CR LF).
QString SavedLine(const QString& code, const QString& detail);

// The mail address of the support service.
QString SupportAddress();

// The mail body for "Supporto": "Error: ", code and detail, with space, CR
// and LF written as %20, %0d and %0a, and the characters that would change
// the address's meaning (%, &, #, +, other controls, non-ASCII) percent-encoded.
QString SupportMailBody(const QString& code, const QString& detail);

// The mail-to address with subject "SUPPORT REQUEST" and the body above.
QString SupportMailUrl(const QString& code, const QString& detail);

// The page "Browser" writes: the detail HTML-escaped, its lines kept.
QString ErrorPage(const QString& detail);

} // namespace ErrorReport
