#include "script/RegExp.h"

#include "script/Convert.h"
#include "script/ScriptError.h"
#include "script/StringLimit.h"

#include <vector>

namespace vbs {

namespace {

constexpr qint32 PatternError = 5017; // syntax error in a regular expression

void ExpectArgs(Args args, size_t count)
{
    if (args.size() != count)
        throw VbError(Err::WrongArgCount);
}

// A read-only list reached by index, with Count and For Each.
class ListObject : public ScriptObject
{
public:
    ListObject(QString typeName, std::vector<Variant> items) : m_typeName(std::move(typeName)), m_items(std::move(items)) {}
    QString TypeName() const override { return m_typeName; }
    Variant Invoke(const QString& name, InvokeKind kind, Args args) override
    {
        if (kind == InvokeKind::Let || kind == InvokeKind::Set)
            throw VbError(Err::NoSuchMember);
        if (name == QLatin1String("count")) {
            ExpectArgs(args, 0);
            return Variant::Long(qint32(m_items.size()));
        }
        if (name.isEmpty() || name == QLatin1String("item")) {
            ExpectArgs(args, 1);
            const qint32 i = Convert::ToLong(*args[0]);
            if (i < 0 || i >= qint32(m_items.size()))
                throw VbError(Err::InvalidCall);
            return m_items[size_t(i)];
        }
        throw VbError(Err::NoSuchMember);
    }
    bool Enumerate(std::vector<Variant>& items) override
    {
        items = m_items;
        return true;
    }

private:
    QString m_typeName;
    std::vector<Variant> m_items;
};

class MatchObject : public ScriptObject
{
public:
    explicit MatchObject(const QRegularExpressionMatch& match)
        : m_value(match.captured(0)), m_first(qint32(match.capturedStart(0)))
    {
        std::vector<Variant> groups;
        for (int i = 1; i <= match.lastCapturedIndex(); ++i)
            groups.push_back(match.hasCaptured(i) ? Variant::Str(match.captured(i)) : Variant());
        m_subMatches = std::make_shared<ListObject>(QStringLiteral("ISubMatches"), std::move(groups));
    }
    QString TypeName() const override { return QStringLiteral("IMatch2"); }
    Variant Invoke(const QString& name, InvokeKind kind, Args args) override
    {
        if (kind == InvokeKind::Let || kind == InvokeKind::Set)
            throw VbError(Err::NoSuchMember);
        if (name == QLatin1String("submatches")) // m.SubMatches(0) indexes the list
            return args.empty() ? Variant::Object(m_subMatches) : m_subMatches->Invoke(QString(), kind, args);
        if (!args.empty())
            throw VbError(Err::WrongArgCount);
        if (name.isEmpty() || name == QLatin1String("value"))
            return Variant::Str(m_value);
        if (name == QLatin1String("firstindex"))
            return Variant::Long(m_first);
        if (name == QLatin1String("length"))
            return Variant::Long(qint32(m_value.size()));
        throw VbError(Err::NoSuchMember);
    }

private:
    QString m_value;
    qint32 m_first;
    std::shared_ptr<ListObject> m_subMatches;
};

} // namespace

QRegularExpression RegExpObject::Compiled() const
{
    if (m_pattern.size() > 4096)
        throw VbError(Err::OutOfMemory);
    QRegularExpression::PatternOptions options = QRegularExpression::NoPatternOption;
    if (m_ignoreCase)
        options |= QRegularExpression::CaseInsensitiveOption;
    if (m_multiline)
        options |= QRegularExpression::MultilineOption;
    QRegularExpression re(m_pattern, options);
    if (!re.isValid())
        throw VbError(PatternError, QStringLiteral("Errore di sintassi nell'espressione regolare"));
    return re;
}

Variant RegExpObject::Execute(const QString& text) const
{
    const QRegularExpression re = Compiled();
    std::vector<Variant> matches;
    auto it = re.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        matches.push_back(Variant::Object(std::make_shared<MatchObject>(m)));
        if (!m_global || matches.size() > 100000)
            break;
    }
    return Variant::Object(std::make_shared<ListObject>(QStringLiteral("IMatchCollection2"), std::move(matches)));
}

// Replacement text: $1 to $99 are the groups, $& the whole match, $` and $'
// the text before and after it, $$ a dollar sign.
QString RegExpObject::Replace(const QString& text, const QString& replacement) const
{
    const QRegularExpression re = Compiled();
    QString out;
    qsizetype last = 0;
    auto it = re.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(last, m.capturedStart(0) - last);
        for (qsizetype i = 0; i < replacement.size(); ++i) {
            const QChar c = replacement[i];
            if (c != QLatin1Char('$') || i + 1 >= replacement.size()) {
                out += c;
                continue;
            }
            const QChar n = replacement[i + 1];
            if (n == QLatin1Char('$')) {
                out += QLatin1Char('$');
                ++i;
            } else if (n == QLatin1Char('&')) {
                out += m.captured(0);
                ++i;
            } else if (n == QLatin1Char('`')) {
                out += QStringView(text).left(m.capturedStart(0));
                ++i;
            } else if (n == QLatin1Char('\'')) {
                out += QStringView(text).mid(m.capturedEnd(0));
                ++i;
            } else if (n.isDigit()) {
                int group = n.digitValue();
                qsizetype used = 1;
                if (i + 2 < replacement.size() && replacement[i + 2].isDigit()
                    && group * 10 + replacement[i + 2].digitValue() <= re.captureCount()) {
                    group = group * 10 + replacement[i + 2].digitValue();
                    used = 2;
                }
                if (group >= 1 && group <= re.captureCount()) {
                    out += m.captured(group);
                    i += used;
                } else {
                    out += c;
                }
            } else {
                out += c;
            }
        }
        StringLimit::Check(out.size());
        last = m.capturedEnd(0);
        if (!m_global)
            break;
    }
    out += QStringView(text).mid(last);
    StringLimit::Check(out.size());
    return out;
}

Variant RegExpObject::Invoke(const QString& name, InvokeKind kind, Args args)
{
    const bool assign = kind == InvokeKind::Let || kind == InvokeKind::Set;
    auto flag = [&](bool& field) -> Variant {
        if (assign) {
            ExpectArgs(args, 1);
            field = Convert::ToBool(*args[0]);
            return {};
        }
        ExpectArgs(args, 0);
        return Variant::Bool(field);
    };
    if (name == QLatin1String("pattern")) {
        if (assign) {
            ExpectArgs(args, 1);
            m_pattern = Convert::ToString(*args[0]);
            return {};
        }
        ExpectArgs(args, 0);
        return Variant::Str(m_pattern);
    }
    if (name == QLatin1String("ignorecase"))
        return flag(m_ignoreCase);
    if (name == QLatin1String("global"))
        return flag(m_global);
    if (name == QLatin1String("multiline"))
        return flag(m_multiline);
    if (assign)
        throw VbError(Err::NoSuchMember);
    if (name == QLatin1String("test")) {
        ExpectArgs(args, 1);
        return Variant::Bool(Compiled().match(Convert::ToString(*args[0])).hasMatch());
    }
    if (name == QLatin1String("execute")) {
        ExpectArgs(args, 1);
        return Execute(Convert::ToString(*args[0]));
    }
    if (name == QLatin1String("replace")) {
        ExpectArgs(args, 2);
        return Variant::Str(Replace(Convert::ToString(*args[0]), Convert::ToString(*args[1])));
    }
    throw VbError(Err::NoSuchMember);
}

} // namespace vbs
