#pragma once
// Like patterns of the dialect: '*' or '%' any run of characters, '?' or '_'
// one character, '#' one digit, [abc], [a-z] and [!a-z] one character of (or
// not of) a set; [*], [?], [#], [%], [_] and [[] the character itself; []
// nothing. Letters compare without regard to case, over all of Unicode.

#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace SqlDialect {

class LikePattern
{
public:
    struct Element
    {
        enum class Kind { AnyRun, One, Digit, Literal, Set };
        Kind kind = Kind::Literal;
        char32_t character = 0;                              // Literal
        bool negated = false;                                // Set
        std::vector<std::pair<char32_t, char32_t>> ranges;   // Set
    };

    // nullopt when a '[' is not closed; `errorIndex` then receives its index.
    // Without `fold` the letters keep their case (for ToSqliteLike).
    static std::optional<LikePattern> Compile(const QString& pattern, int* errorIndex = nullptr, bool fold = true);

    bool Matches(const QString& value) const;

    // The same pattern for SQLite's LIKE (ASCII case folding, '%' and '_'
    // wildcards, '\' escapes), when it can say it: nullopt when the pattern
    // uses a digit or a set, or holds a letter outside ASCII. `needsEscape`
    // tells whether an ESCAPE '\' clause is needed.
    std::optional<QString> ToSqliteLike(bool* needsEscape) const;

    const std::vector<Element>& Elements() const { return m_elements; }

private:
    std::vector<Element> m_elements;
};

} // namespace SqlDialect
