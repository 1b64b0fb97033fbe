#include "component/SqlDialectPattern.h"

#include <QChar>
#include <QList>

namespace SqlDialect {

namespace {

// Case folding and composition, so that "È", "è" and "e" + combining grave
// compare equal.
std::u32string Folded(const QString& text, bool fold = true)
{
    const QList<uint> ucs4 = text.normalized(QString::NormalizationForm_C).toUcs4();
    std::u32string out;
    out.reserve(size_t(ucs4.size()));
    for (uint c : ucs4)
        out.push_back(char32_t(fold ? QChar::toCaseFolded(c) : c));
    return out;
}

bool HasCase(char32_t c) { return QChar::toLower(uint(c)) != uint(c) || QChar::toUpper(uint(c)) != uint(c); }

bool ElementMatches(const LikePattern::Element& e, char32_t c)
{
    using Kind = LikePattern::Element::Kind;
    switch (e.kind) {
    case Kind::One:
        return true;
    case Kind::Digit:
        return c >= U'0' && c <= U'9';
    case Kind::Literal:
        return e.character == c;
    case Kind::Set: {
        bool in = false;
        for (const auto& [low, high] : e.ranges) {
            if (c >= low && c <= high) {
                in = true;
                break;
            }
        }
        return in != e.negated;
    }
    case Kind::AnyRun:
        break;
    }
    return false;
}

} // namespace

std::optional<LikePattern> LikePattern::Compile(const QString& pattern, int* errorIndex, bool fold)
{
    using Kind = Element::Kind;
    const std::u32string p = Folded(pattern, fold);
    LikePattern result;
    for (size_t i = 0; i < p.size(); ++i) {
        Element e;
        const char32_t c = p[i];
        if (c == U'*' || c == U'%') {
            if (!result.m_elements.empty() && result.m_elements.back().kind == Kind::AnyRun)
                continue;
            e.kind = Kind::AnyRun;
        } else if (c == U'?' || c == U'_') {
            e.kind = Kind::One;
        } else if (c == U'#') {
            e.kind = Kind::Digit;
        } else if (c == U'[') {
            const size_t close = p.find(U']', i + 1);
            if (close == std::u32string::npos) {
                if (errorIndex)
                    *errorIndex = int(pattern.lastIndexOf(u'['));
                return std::nullopt;
            }
            std::u32string inside = p.substr(i + 1, close - i - 1);
            i = close;
            if (inside.empty())
                continue;
            e.kind = Kind::Set;
            size_t k = 0;
            if (inside[0] == U'!' && inside.size() > 1) {
                e.negated = true;
                k = 1;
            }
            for (; k < inside.size(); ++k) {
                if (k + 2 < inside.size() && inside[k + 1] == U'-') {
                    e.ranges.emplace_back(std::min(inside[k], inside[k + 2]), std::max(inside[k], inside[k + 2]));
                    k += 2;
                } else {
                    e.ranges.emplace_back(inside[k], inside[k]);
                }
            }
            if (!e.negated && e.ranges.size() == 1 && e.ranges[0].first == e.ranges[0].second) {
                e.kind = Kind::Literal;
                e.character = e.ranges[0].first;
                e.ranges.clear();
            }
        } else {
            e.character = c;
        }
        result.m_elements.push_back(std::move(e));
    }
    return result;
}

bool LikePattern::Matches(const QString& value) const
{
    const std::u32string s = Folded(value);
    const size_t m = m_elements.size();
    size_t p = 0;
    size_t i = 0;
    size_t starElement = SIZE_MAX;
    size_t starText = 0;
    while (i < s.size()) {
        if (p < m && m_elements[p].kind == Element::Kind::AnyRun) {
            starElement = p++;
            starText = i;
        } else if (p < m && ElementMatches(m_elements[p], s[i])) {
            ++p;
            ++i;
        } else if (starElement != SIZE_MAX) {
            p = starElement + 1;
            i = ++starText;
        } else {
            return false;
        }
    }
    while (p < m && m_elements[p].kind == Element::Kind::AnyRun)
        ++p;
    return p == m;
}

std::optional<QString> LikePattern::ToSqliteLike(bool* needsEscape) const
{
    QString out;
    *needsEscape = false;
    for (const Element& e : m_elements) {
        switch (e.kind) {
        case Element::Kind::AnyRun:
            out += u'%';
            break;
        case Element::Kind::One:
            out += u'_';
            break;
        case Element::Kind::Literal:
            if (e.character > 127 && HasCase(e.character))
                return std::nullopt;
            if (e.character == U'%' || e.character == U'_' || e.character == U'\\') {
                out += u'\\';
                *needsEscape = true;
            }
            out += QString::fromUcs4(&e.character, 1);
            break;
        case Element::Kind::Digit:
        case Element::Kind::Set:
            return std::nullopt;
        }
    }
    return out;
}

} // namespace SqlDialect
