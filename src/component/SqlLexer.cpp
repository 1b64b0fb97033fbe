#include "component/SqlLexer.h"

#include <QStringList>

namespace SqlDialect {

namespace {

bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool IsNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool IsNamePart(QChar c) { return c.isLetterOrNumber() || c == u'_' || c.isMark(); }

// A run of 1 to `maxDigits` ASCII digits, as a number; -1 otherwise.
int SmallNumber(const QString& text, int maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return -1;
    int value = 0;
    for (QChar c : text) {
        if (!IsAsciiDigit(c))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

// Two-digit years as the dialect reads them: 00-29 this century, 30-99 the last.
int FullYear(const QString& text)
{
    const int year = SmallNumber(text, 4);
    if (year < 0 || text.size() == 3)
        return -1;
    if (text.size() <= 2)
        return year < 30 ? 2000 + year : 1900 + year;
    return year;
}

std::optional<QDate> ParseDatePart(const QString& text)
{
    const QChar separator = text.contains(u'/') ? u'/' : u'-';
    const QStringList parts = text.split(separator);
    if (parts.size() != 3)
        return std::nullopt;
    int year, month, day;
    if (parts[0].size() == 4) {
        year = FullYear(parts[0]);
        month = SmallNumber(parts[1], 2);
        day = SmallNumber(parts[2], 2);
    } else {
        month = SmallNumber(parts[0], 2);
        day = SmallNumber(parts[1], 2);
        year = FullYear(parts[2]);
    }
    if (year < 1 || month < 0 || day < 0)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> ParseTimePart(const QString& text, const QString& meridian)
{
    const QStringList parts = text.split(u':');
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    int hour = SmallNumber(parts[0], 2);
    const int minute = SmallNumber(parts[1], 2);
    const int second = parts.size() == 3 ? SmallNumber(parts[2], 2) : 0;
    if (hour < 0 || minute < 0 || second < 0)
        return std::nullopt;
    if (!meridian.isEmpty()) {
        const bool pm = meridian.compare(u"PM", Qt::CaseInsensitive) == 0;
        if ((!pm && meridian.compare(u"AM", Qt::CaseInsensitive) != 0) || hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    const QTime time(hour, minute, second);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

} // namespace

std::optional<QDateTime> ParseDateText(const QString& text)
{
    QStringList words = text.trimmed().split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty() || words.size() > 3)
        return std::nullopt;
    QString meridian;
    if (words.size() >= 2 && words.last().size() == 2 && words.last()[0].isLetter())
        meridian = words.takeLast();
    if (words.isEmpty() || words.size() > 2)
        return std::nullopt;
    std::optional<QDate> date;
    std::optional<QTime> time = QTime(0, 0);
    if (words.size() == 2) {
        date = ParseDatePart(words[0]);
        time = ParseTimePart(words[1], meridian);
    } else if (words[0].contains(u':')) {
        date = QDate(1899, 12, 30);
        time = ParseTimePart(words[0], meridian);
    } else if (meridian.isEmpty()) {
        date = ParseDatePart(words[0]);
    }
    if (!date || !time)
        return std::nullopt;
    return QDateTime(*date, *time, Qt::UTC);
}

QString StorageDateText(const QDateTime& value)
{
    const QDate d = value.date();
    const QTime t = value.time();
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(), d.day(), t.hour(), t.minute(),
                             t.second());
}

std::vector<Token> Tokenize(const ErrorContext& context)
{
    const QString& s = context.text;
    if (s.size() > MaxTextLength)
        ThrowSyntax(context, MaxTextLength, QStringLiteral("testo troppo lungo (più di %1 caratteri)").arg(MaxTextLength));
    std::vector<Token> tokens;
    int i = 0;
    const int n = int(s.size());
    while (true) {
        while (i < n && s[i].isSpace())
            ++i;
        Token token;
        token.position = i;
        if (i >= n) {
            tokens.push_back(token);
            return tokens;
        }
        const QChar c = s[i];
        if (IsNameStart(c)) {
            int j = i + 1;
            while (j < n && IsNamePart(s[j]))
                ++j;
            token.kind = Token::Kind::Name;
            token.text = s.mid(i, j - i);
            i = j;
        } else if (c == u'[') {
            const int close = int(s.indexOf(u']', i + 1));
            if (close < 0)
                ThrowSyntax(context, i, QStringLiteral("nome tra parentesi quadre non chiuso"));
            token.kind = Token::Kind::BracketName;
            token.text = s.mid(i + 1, close - i - 1);
            if (token.text.trimmed().isEmpty())
                ThrowSyntax(context, i, QStringLiteral("nome vuoto tra parentesi quadre"));
            i = close + 1;
        } else if (IsAsciiDigit(c) || (c == u'.' && i + 1 < n && IsAsciiDigit(s[i + 1]))) {
            int j = i;
            while (j < n && IsAsciiDigit(s[j]))
                ++j;
            if (j < n && s[j] == u'.') {
                ++j;
                while (j < n && IsAsciiDigit(s[j]))
                    ++j;
            }
            if (j < n && (s[j] == u'e' || s[j] == u'E')) {
                int k = j + 1;
                if (k < n && (s[k] == u'+' || s[k] == u'-'))
                    ++k;
                if (k < n && IsAsciiDigit(s[k])) {
                    while (k < n && IsAsciiDigit(s[k]))
                        ++k;
                    j = k;
                }
            }
            token.kind = Token::Kind::Number;
            token.text = s.mid(i, j - i);
            i = j;
        } else if (c == u'\'' || c == u'"') {
            int j = i + 1;
            QString value;
            while (true) {
                if (j >= n)
                    ThrowSyntax(context, i, QStringLiteral("testo tra virgolette non chiuso"));
                if (s[j] == c) {
                    if (j + 1 < n && s[j + 1] == c) {
                        value += c;
                        j += 2;
                        continue;
                    }
                    break;
                }
                value += s[j++];
            }
            token.kind = Token::Kind::Text;
            token.text = value;
            i = j + 1;
        } else if (c == u'#') {
            const int close = int(s.indexOf(u'#', i + 1));
            if (close < 0)
                ThrowSyntax(context, i, QStringLiteral("data non chiusa da «#»"));
            token.kind = Token::Kind::Date;
            token.text = s.mid(i + 1, close - i - 1);
            const std::optional<QDateTime> date = ParseDateText(token.text);
            if (!date)
                ThrowSyntax(context, i, QStringLiteral("data non valida #%1# (atteso mese/giorno/anno)").arg(token.text));
            token.date = *date;
            i = close + 1;
        } else {
            static const QStringList twoChar = {QStringLiteral("<>"), QStringLiteral("<="), QStringLiteral(">=")};
            const QString pair = s.mid(i, 2);
            if (twoChar.contains(pair)) {
                token.text = pair;
                i += 2;
            } else if (QStringView(u"=<>+-*/\\&(),.;").contains(c)) {
                token.text = c;
                ++i;
            } else {
                ThrowSyntax(context, i, QStringLiteral("carattere non valido «%1»").arg(c));
            }
            token.kind = Token::Kind::Symbol;
        }
        tokens.push_back(std::move(token));
    }
}

} // namespace SqlDialect
