// Escape and Unescape, and the byte-oriented string functions (LenB, AscB,
// ChrB, LeftB, RightB, MidB), which count two bytes per character.
#include "script/Builtins.h"
#include "script/Convert.h"
#include "script/ScriptError.h"

namespace vbs::Builtins {

namespace {

using Args = std::span<Variant>;

bool KeptByEscape(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'@'
           || c == u'*' || c == u'_' || c == u'+' || c == u'-' || c == u'.' || c == u'/';
}

Variant Escape(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    const QString text = Convert::ToString(a[0]);
    QString out;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (KeptByEscape(c))
            out += ch;
        else if (c < 256)
            out += QStringLiteral("%%1").arg(unsigned(c), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += QStringLiteral("%u") + QStringLiteral("%1").arg(unsigned(c), 4, 16, QLatin1Char('0')).toUpper();
    }
    return Variant::Str(out);
}

Variant Unescape(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    const QString text = Convert::ToString(a[0]);
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        bool ok = false;
        if (text[i] == QLatin1Char('%') && i + 5 < text.size() && text[i + 1] == QLatin1Char('u')) {
            const uint code = text.mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out += QChar(char16_t(code));
                i += 5;
                continue;
            }
        }
        if (text[i] == QLatin1Char('%') && i + 2 < text.size()) {
            const uint code = text.mid(i + 1, 2).toUInt(&ok, 16);
            if (ok) {
                out += QChar(char16_t(code));
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return Variant::Str(out);
}

qint32 ByteCount(const Variant& v)
{
    const qint32 n = Convert::ToLong(v);
    if (n < 0)
        throw VbError(Err::InvalidCall);
    return n;
}

Variant LenB(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    return Variant::Long(qint32(Convert::ToString(a[0]).size() * 2));
}

Variant AscB(Interpreter&, Args a)
{
    const QString s = Convert::ToString(a[0]);
    if (s.isEmpty())
        throw VbError(Err::InvalidCall);
    return Variant::Int(qint16(s[0].unicode() & 0xFF));
}

Variant ChrB(Interpreter&, Args a)
{
    const qint32 code = Convert::ToLong(a[0]);
    if (code < 0 || code > 255)
        throw VbError(Err::InvalidCall);
    return Variant::Str(QString(QChar(char16_t(code))));
}

Variant LeftB(Interpreter&, Args a)
{
    const qint32 n = ByteCount(a[1]);
    if (a[0].IsNull())
        return Variant::Null();
    return Variant::Str(Convert::ToString(a[0]).left(n / 2));
}

Variant RightB(Interpreter&, Args a)
{
    const qint32 n = ByteCount(a[1]);
    if (a[0].IsNull())
        return Variant::Null();
    return Variant::Str(Convert::ToString(a[0]).right(n / 2));
}

Variant MidB(Interpreter&, Args a)
{
    const qint32 start = Convert::ToLong(a[1]);
    if (start < 1)
        throw VbError(Err::InvalidCall);
    const qint32 length = Has(a, 2) ? ByteCount(a[2]) : -1;
    if (a[0].IsNull())
        return Variant::Null();
    return Variant::Str(Convert::ToString(a[0]).mid((start - 1) / 2, length < 0 ? -1 : length / 2));
}

} // namespace

void AddByteAndEscapeFunctions(std::vector<BuiltinInfo>& t)
{
    t.push_back({"Escape", 1, 1, Escape});
    t.push_back({"Unescape", 1, 1, Unescape});
    t.push_back({"LenB", 1, 1, LenB});
    t.push_back({"AscB", 1, 1, AscB});
    t.push_back({"ChrB", 1, 1, ChrB});
    t.push_back({"LeftB", 2, 2, LeftB});
    t.push_back({"RightB", 2, 2, RightB});
    t.push_back({"MidB", 2, 3, MidB});
}

} // namespace vbs::Builtins
