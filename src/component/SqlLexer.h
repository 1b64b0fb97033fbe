#pragma once
// Splits a text of the query dialect into tokens.

#include "component/SqlDialectErrors.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace SqlDialect {

// Longest text accepted: nothing typed or composed by the application comes
// near it, and it keeps every translated statement well within SQLite's limits.
constexpr int MaxTextLength = 32768;

struct Token
{
    enum class Kind { Name, BracketName, Number, Text, Date, Symbol, End };
    Kind kind = Kind::End;
    QString text;     // the name, the number as written, the text unquoted, the symbol
    QDateTime date;   // for Date
    int position = 0; // index of the first character in the source

    bool IsSymbol(QStringView s) const { return kind == Kind::Symbol && text == s; }
    // A plain (not bracketed) name equal to `word`, ignoring case.
    bool IsWord(QStringView word) const
    {
        return kind == Kind::Name && text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool IsName() const { return kind == Kind::Name || kind == Kind::BracketName; }
};

// Raises Syntax for an unclosed quote, bracket or date, an invalid date, a
// character the dialect does not know, or a text above MaxTextLength.
std::vector<Token> Tokenize(const ErrorContext& context);

// A date as the dialect writes it between '#': month/day/year with an optional
// time (h:mm[:ss] [AM|PM]), year-month-day, or a time alone (on 30/12/1899).
// Also accepted for text compared with a date. nullopt when invalid.
std::optional<QDateTime> ParseDateText(const QString& text);

// The storage form of a date: 'YYYY-MM-DD HH:MM:SS'.
QString StorageDateText(const QDateTime& value);

} // namespace SqlDialect
