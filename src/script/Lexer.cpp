#include "script/Lexer.h"

#include "script/DateUtil.h"
#include "script/ScriptError.h"

#include <QHash>
#include <QRegularExpression>
#include <cmath>

namespace vbs {

namespace {

const QHash<QString, Kw>& Keywords()
{
    static const QHash<QString, Kw> map = {
        {QStringLiteral("and"), Kw::And}, {QStringLiteral("byref"), Kw::ByRef}, {QStringLiteral("byval"), Kw::ByVal},
        {QStringLiteral("call"), Kw::Call}, {QStringLiteral("case"), Kw::Case}, {QStringLiteral("class"), Kw::Class},
        {QStringLiteral("const"), Kw::Const}, {QStringLiteral("default"), Kw::Default}, {QStringLiteral("dim"), Kw::Dim},
        {QStringLiteral("do"), Kw::Do}, {QStringLiteral("each"), Kw::Each}, {QStringLiteral("else"), Kw::Else},
        {QStringLiteral("elseif"), Kw::ElseIf}, {QStringLiteral("empty"), Kw::Empty}, {QStringLiteral("end"), Kw::End},
        {QStringLiteral("eqv"), Kw::Eqv}, {QStringLiteral("erase"), Kw::Erase}, {QStringLiteral("error"), Kw::Error},
        {QStringLiteral("exit"), Kw::Exit}, {QStringLiteral("explicit"), Kw::Explicit}, {QStringLiteral("false"), Kw::False},
        {QStringLiteral("for"), Kw::For}, {QStringLiteral("function"), Kw::Function}, {QStringLiteral("get"), Kw::Get},
        {QStringLiteral("goto"), Kw::GoTo}, {QStringLiteral("if"), Kw::If}, {QStringLiteral("imp"), Kw::Imp},
        {QStringLiteral("in"), Kw::In}, {QStringLiteral("is"), Kw::Is}, {QStringLiteral("let"), Kw::Let},
        {QStringLiteral("loop"), Kw::Loop}, {QStringLiteral("me"), Kw::Me}, {QStringLiteral("mod"), Kw::Mod},
        {QStringLiteral("new"), Kw::New}, {QStringLiteral("next"), Kw::Next}, {QStringLiteral("not"), Kw::Not},
        {QStringLiteral("nothing"), Kw::Nothing}, {QStringLiteral("null"), Kw::Null}, {QStringLiteral("on"), Kw::On},
        {QStringLiteral("option"), Kw::Option}, {QStringLiteral("or"), Kw::Or}, {QStringLiteral("preserve"), Kw::Preserve},
        {QStringLiteral("private"), Kw::Private}, {QStringLiteral("property"), Kw::Property},
        {QStringLiteral("public"), Kw::Public}, {QStringLiteral("redim"), Kw::ReDim}, {QStringLiteral("resume"), Kw::Resume},
        {QStringLiteral("select"), Kw::Select}, {QStringLiteral("set"), Kw::Set}, {QStringLiteral("step"), Kw::Step},
        {QStringLiteral("sub"), Kw::Sub}, {QStringLiteral("then"), Kw::Then}, {QStringLiteral("to"), Kw::To},
        {QStringLiteral("true"), Kw::True}, {QStringLiteral("until"), Kw::Until}, {QStringLiteral("wend"), Kw::WEnd},
        {QStringLiteral("while"), Kw::While}, {QStringLiteral("with"), Kw::With}, {QStringLiteral("xor"), Kw::Xor},
    };
    return map;
}

bool IsNameStart(QChar c)
{
    return c.isLetter();
}

bool IsNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

class Lexer
{
public:
    Lexer(const QString& source, int firstLine) : m_src(source), m_line(firstLine) {}

    std::vector<Token> Run()
    {
        bool space = false;
        while (m_pos < m_src.size()) {
            const QChar c = m_src[m_pos];
            if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0xA0)) {
                ++m_pos;
                space = true;
                continue;
            }
            if (c == QLatin1Char('_') && IsContinuation()) {
                continue;
            }
            Token t;
            t.line = m_line;
            t.column = int(m_pos - m_lineStart) + 1;
            t.spaceBefore = space;
            space = false;
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                if (c == QLatin1Char('\r') && m_pos + 1 < m_src.size() && m_src[m_pos + 1] == QLatin1Char('\n'))
                    ++m_pos;
                ++m_pos;
                t.type = Tok::Newline;
                Push(std::move(t));
                ++m_line;
                m_lineStart = m_pos;
            } else if (c == QLatin1Char(':')) {
                ++m_pos;
                t.type = Tok::Newline;
                t.colon = true;
                Push(std::move(t));
            } else if (c == QLatin1Char('\'')) {
                SkipComment();
            } else if (c == QLatin1Char('"')) {
                ReadString(t);
                Push(std::move(t));
            } else if (c.isDigit() || (c == QLatin1Char('.') && m_pos + 1 < m_src.size() && m_src[m_pos + 1].isDigit()
                                       && !AfterOperand())) {
                ReadNumber(t);
                Push(std::move(t));
            } else if (c == QLatin1Char('&') && RadixAhead()) {
                ReadRadix(t);
                Push(std::move(t));
            } else if (c == QLatin1Char('#')) {
                ReadDate(t);
                Push(std::move(t));
            } else if (c == QLatin1Char('[')) {
                const qsizetype end = m_src.indexOf(QLatin1Char(']'), m_pos);
                const qsizetype nl = m_src.indexOf(QLatin1Char('\n'), m_pos);
                if (end < 0 || (nl >= 0 && nl < end))
                    Fail(Err::ExpectedIdentifier);
                t.type = Tok::Name;
                t.bracketed = true;
                t.text = m_src.mid(m_pos + 1, end - m_pos - 1);
                t.lower = t.text.toLower();
                m_pos = end + 1;
                Push(std::move(t));
            } else if (IsNameStart(c)) {
                const qsizetype start = m_pos;
                while (m_pos < m_src.size() && IsNameChar(m_src[m_pos]))
                    ++m_pos;
                if (m_pos - start > 255)
                    Fail(Err::Syntax);
                t.type = Tok::Name;
                t.text = m_src.mid(start, m_pos - start);
                t.lower = t.text.toLower();
                if (t.lower == QLatin1String("rem")) {
                    SkipComment();
                    continue;
                }
                t.keyword = Keywords().value(t.lower, Kw::None);
                Push(std::move(t));
            } else {
                ReadOperator(t);
                Push(std::move(t));
            }
        }
        Token end;
        end.type = Tok::Newline;
        end.line = m_line;
        m_tokens.push_back(end);
        end.type = Tok::End;
        m_tokens.push_back(end);
        return std::move(m_tokens);
    }

private:
    [[noreturn]] void Fail(qint32 number)
    {
        VbError e(number);
        e.SetPosition(m_line, int(m_pos - m_lineStart) + 1);
        throw e;
    }

    void Push(Token&& t)
    {
        m_tokens.push_back(std::move(t));
    }

    bool AfterOperand() const
    {
        if (m_tokens.empty() || m_pos == 0)
            return false;
        const QChar prev = m_src[m_pos - 1];
        if (prev == QLatin1Char(' ') || prev == QLatin1Char('\t'))
            return false;
        const Token& t = m_tokens.back();
        return t.type == Tok::Name || (t.type == Tok::Op && t.op == ')');
    }

    // " _" at the end of a line joins it to the next one.
    bool IsContinuation()
    {
        qsizetype p = m_pos + 1;
        if (m_pos > 0 && IsNameChar(m_src[m_pos - 1]))
            return false;
        while (p < m_src.size() && (m_src[p] == QLatin1Char(' ') || m_src[p] == QLatin1Char('\t')))
            ++p;
        if (p < m_src.size() && m_src[p] != QLatin1Char('\r') && m_src[p] != QLatin1Char('\n'))
            return false;
        if (p < m_src.size() && m_src[p] == QLatin1Char('\r'))
            ++p;
        if (p < m_src.size() && m_src[p] == QLatin1Char('\n'))
            ++p;
        m_pos = p;
        ++m_line;
        m_lineStart = m_pos;
        return true;
    }

    void SkipComment()
    {
        while (m_pos < m_src.size() && m_src[m_pos] != QLatin1Char('\r') && m_src[m_pos] != QLatin1Char('\n'))
            ++m_pos;
    }

    void ReadString(Token& t)
    {
        QString text;
        ++m_pos;
        for (;;) {
            if (m_pos >= m_src.size() || m_src[m_pos] == QLatin1Char('\r') || m_src[m_pos] == QLatin1Char('\n'))
                Fail(Err::UnterminatedString);
            const QChar c = m_src[m_pos++];
            if (c == QLatin1Char('"')) {
                if (m_pos < m_src.size() && m_src[m_pos] == QLatin1Char('"')) {
                    text += c;
                    ++m_pos;
                    continue;
                }
                break;
            }
            text += c;
        }
        t.type = Tok::Literal;
        t.value = Variant::Str(std::move(text));
    }

    void ReadNumber(Token& t)
    {
        const qsizetype start = m_pos;
        bool isFloat = false;
        while (m_pos < m_src.size() && m_src[m_pos].isDigit())
            ++m_pos;
        if (m_pos < m_src.size() && m_src[m_pos] == QLatin1Char('.')) {
            isFloat = true;
            ++m_pos;
            while (m_pos < m_src.size() && m_src[m_pos].isDigit())
                ++m_pos;
        }
        if (m_pos < m_src.size() && (m_src[m_pos] == QLatin1Char('e') || m_src[m_pos] == QLatin1Char('E'))) {
            qsizetype p = m_pos + 1;
            if (p < m_src.size() && (m_src[p] == QLatin1Char('+') || m_src[p] == QLatin1Char('-')))
                ++p;
            if (p < m_src.size() && m_src[p].isDigit()) {
                isFloat = true;
                m_pos = p;
                while (m_pos < m_src.size() && m_src[m_pos].isDigit())
                    ++m_pos;
            }
        }
        const QString text = m_src.mid(start, m_pos - start);
        if (m_pos < m_src.size() && IsNameChar(m_src[m_pos]))
            Fail(Err::ExpectedEndOfStatement);
        t.type = Tok::Literal;
        bool ok = false;
        if (!isFloat) {
            const qlonglong n = text.toLongLong(&ok);
            if (ok && n <= INT32_MAX) {
                t.value = Variant::FromInteger(n);
                return;
            }
        }
        const double d = text.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            Fail(Err::InvalidNumber);
        t.value = Variant::Double(d);
    }

    static bool IsRadixDigit(QChar c, bool hex)
    {
        if (hex)
            return c.unicode() < 128 && isxdigit(c.toLatin1());
        return c >= QLatin1Char('0') && c <= QLatin1Char('7');
    }

    // The end of the digits of a &h or &o literal at m_pos.
    qsizetype RadixDigitsEnd(bool hex) const
    {
        qsizetype p = m_pos + 2;
        while (p < m_src.size() && IsRadixDigit(m_src[p], hex))
            ++p;
        return p;
    }

    // "&h1F" is a literal; "&hint" and "&hat" are the & operator before a
    // name that begins with h (or o): digits must follow, and no name
    // character after them.
    bool RadixAhead() const
    {
        if (m_pos + 1 >= m_src.size())
            return false;
        const QChar kind = m_src[m_pos + 1].toLower();
        if (kind != QLatin1Char('h') && kind != QLatin1Char('o'))
            return false;
        const qsizetype end = RadixDigitsEnd(kind == QLatin1Char('h'));
        return end > m_pos + 2 && (end >= m_src.size() || !IsNameChar(m_src[end]));
    }

    // A trailing & makes the literal a Long: &hFFFF is the Integer -1,
    // &hFFFF& the Long 65535.
    void ReadRadix(Token& t)
    {
        const bool hex = m_src[m_pos + 1].toLower() == QLatin1Char('h');
        const qsizetype end = RadixDigitsEnd(hex);
        const QString digits = m_src.mid(m_pos + 2, end - m_pos - 2);
        m_pos = end;
        bool isLong = false;
        if (m_pos < m_src.size() && m_src[m_pos] == QLatin1Char('&')) {
            ++m_pos;
            isLong = true;
        }
        bool ok = false;
        const qulonglong n = digits.toULongLong(&ok, hex ? 16 : 8);
        if (digits.isEmpty() || !ok || n > 0xFFFFFFFFull)
            Fail(Err::InvalidNumber);
        t.type = Tok::Literal;
        if (!isLong && n <= 0xFFFF && (hex ? digits.size() <= 4 : n <= 0177777))
            t.value = Variant::Int(qint16(quint16(n)));
        else
            t.value = Variant::Long(qint32(quint32(n)));
    }

    // #month/day/year [time]#, written the same way whatever the locale.
    void ReadDate(Token& t)
    {
        const qsizetype end = m_src.indexOf(QLatin1Char('#'), m_pos + 1);
        const qsizetype nl = m_src.indexOf(QLatin1Char('\n'), m_pos + 1);
        if (end < 0 || (nl >= 0 && nl < end))
            Fail(Err::Syntax);
        QString text = m_src.mid(m_pos + 1, end - m_pos - 1).trimmed();
        m_pos = end + 1;
        // Swap month and day so that the Italian reader takes it.
        static const QRegularExpression us(QStringLiteral("^(\\d{1,2})([/-])(\\d{1,2})\\2(\\d{1,4})(.*)$"));
        const QRegularExpressionMatch m = us.match(text);
        if (m.hasMatch())
            text = m.captured(3) + QLatin1Char('/') + m.captured(1) + QLatin1Char('/') + m.captured(4) + m.captured(5);
        const std::optional<double> serial = DateUtil::Parse(text);
        if (!serial)
            Fail(Err::Syntax);
        t.type = Tok::Literal;
        t.value = Variant::Date(*serial);
    }

    void ReadOperator(Token& t)
    {
        const QChar c = m_src[m_pos++];
        const QChar next = m_pos < m_src.size() ? m_src[m_pos] : QChar();
        t.type = Tok::Op;
        switch (c.unicode()) {
        case '<':
            if (next == QLatin1Char('=')) { t.op = 'l'; ++m_pos; }
            else if (next == QLatin1Char('>')) { t.op = 'n'; ++m_pos; }
            else t.op = '<';
            return;
        case '>':
            if (next == QLatin1Char('=')) { t.op = 'g'; ++m_pos; }
            else if (next == QLatin1Char('<')) { t.op = 'n'; ++m_pos; }
            else t.op = '>';
            return;
        case '=':
            if (next == QLatin1Char('<')) { t.op = 'l'; ++m_pos; }
            else if (next == QLatin1Char('>')) { t.op = 'g'; ++m_pos; }
            else t.op = '=';
            return;
        case '+': case '-': case '*': case '/': case '\\': case '^': case '&': case '(': case ')': case ',': case '.':
            t.op = char(c.unicode());
            return;
        default:
            --m_pos;
            Fail(Err::InvalidCharacter);
        }
    }

    const QString& m_src;
    qsizetype m_pos = 0;
    qsizetype m_lineStart = 0;
    int m_line;
    std::vector<Token> m_tokens;
};

} // namespace

std::vector<Token> Tokenize(const QString& source, int firstLine)
{
    return Lexer(source, firstLine).Run();
}

} // namespace vbs
