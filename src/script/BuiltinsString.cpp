// String functions.
#include "script/ArrayOps.h"
#include "script/Builtins.h"
#include "script/Convert.h"
#include "script/Interpreter.h"
#include "script/ScriptError.h"
#include "script/StringLimit.h"

#include <QStringList>

namespace vbs::Builtins {

namespace {

using Args = std::span<Variant>;

Qt::CaseSensitivity Compare(Args a, size_t i)
{
    if (!Has(a, i))
        return Qt::CaseSensitive;
    const qint32 mode = Convert::ToLong(a[i]);
    if (mode < 0)
        throw VbError(Err::InvalidCall);
    return mode == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

qint32 NonNegative(const Variant& v)
{
    const qint32 n = Convert::ToLong(v);
    if (n < 0)
        throw VbError(Err::InvalidCall);
    return n;
}

// The characters 128 to 159 of the Western European code page 1252, which
// Chr and Asc use; the others match Latin-1.
const char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

Variant Len(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    return Variant::Long(qint32(Convert::ToString(a[0]).size()));
}

Variant Left(Interpreter&, Args a)
{
    const qint32 n = NonNegative(a[1]);
    if (a[0].IsNull())
        return Variant::Null();
    return Variant::Str(Convert::ToString(a[0]).left(n));
}

Variant Right(Interpreter&, Args a)
{
    const qint32 n = NonNegative(a[1]);
    if (a[0].IsNull())
        return Variant::Null();
    return Variant::Str(Convert::ToString(a[0]).right(n));
}

Variant Mid(Interpreter&, Args a)
{
    const qint32 start = Convert::ToLong(a[1]);
    if (start < 1)
        throw VbError(Err::InvalidCall);
    const qint32 length = Has(a, 2) ? NonNegative(a[2]) : -1;
    if (a[0].IsNull())
        return Variant::Null();
    return Variant::Str(Convert::ToString(a[0]).mid(start - 1, length));
}

Variant InStr(Interpreter&, Args a)
{
    size_t i = 0;
    qint32 start = 1;
    if (a.size() >= 3) {
        if (a[0].IsNull())
            throw VbError(Err::InvalidNull);
        start = Convert::ToLong(a[0]);
        if (start < 1)
            throw VbError(Err::InvalidCall);
        i = 1;
    }
    const Qt::CaseSensitivity cs = Compare(a, i + 2);
    if (a[i].IsNull() || a[i + 1].IsNull())
        return Variant::Null();
    const QString text = Convert::ToString(a[i]);
    const QString find = Convert::ToString(a[i + 1]);
    if (start > text.size())
        return Variant::Long(0);
    if (find.isEmpty())
        return Variant::Long(start);
    return Variant::Long(qint32(text.indexOf(find, start - 1, cs) + 1));
}

Variant InStrRev(Interpreter&, Args a)
{
    const qint32 start = Has(a, 2) ? Convert::ToLong(a[2]) : -1;
    if (start == 0 || start < -1)
        throw VbError(Err::InvalidCall);
    const Qt::CaseSensitivity cs = Compare(a, 3);
    if (a[0].IsNull() || a[1].IsNull())
        return Variant::Null();
    const QString text = Convert::ToString(a[0]);
    const QString find = Convert::ToString(a[1]);
    if (start > text.size())
        return Variant::Long(0);
    const qint32 from = start == -1 ? qint32(text.size()) : start;
    if (find.isEmpty())
        return Variant::Long(from);
    const qsizetype lastStart = from - find.size();
    if (lastStart < 0)
        return Variant::Long(0);
    return Variant::Long(qint32(text.lastIndexOf(find, lastStart, cs) + 1));
}

Variant Replace(Interpreter&, Args a)
{
    if (a[0].IsNull() || a[1].IsNull() || a[2].IsNull())
        throw VbError(Err::InvalidNull);
    const qint32 start = Has(a, 3) ? Convert::ToLong(a[3]) : 1;
    const qint32 count = Has(a, 4) ? Convert::ToLong(a[4]) : -1;
    if (start < 1 || count < -1)
        throw VbError(Err::InvalidCall);
    const Qt::CaseSensitivity cs = Compare(a, 5);
    const QString text = Convert::ToString(a[0]);
    const QString find = Convert::ToString(a[1]);
    const QString with = Convert::ToString(a[2]);
    // The result starts at `start`, as the language defines it.
    QString rest = text.mid(start - 1);
    if (find.isEmpty() || count == 0)
        return Variant::Str(rest);
    QString out;
    qsizetype pos = 0;
    qint32 done = 0;
    while (count < 0 || done < count) {
        const qsizetype hit = rest.indexOf(find, pos, cs);
        if (hit < 0)
            break;
        out += QStringView(rest).mid(pos, hit - pos);
        out += with;
        StringLimit::Check(out.size());
        pos = hit + find.size();
        ++done;
    }
    out += QStringView(rest).mid(pos);
    StringLimit::Check(out.size());
    return Variant::Str(out);
}

QString TrimSpaces(const QString& s, bool left, bool right)
{
    qsizetype b = 0, e = s.size();
    while (left && b < e && s[b] == QLatin1Char(' '))
        ++b;
    while (right && e > b && s[e - 1] == QLatin1Char(' '))
        --e;
    return s.mid(b, e - b);
}

Variant Trim(Interpreter&, Args a)
{
    return a[0].IsNull() ? Variant::Null() : Variant::Str(TrimSpaces(Convert::ToString(a[0]), true, true));
}

Variant LTrim(Interpreter&, Args a)
{
    return a[0].IsNull() ? Variant::Null() : Variant::Str(TrimSpaces(Convert::ToString(a[0]), true, false));
}

Variant RTrim(Interpreter&, Args a)
{
    return a[0].IsNull() ? Variant::Null() : Variant::Str(TrimSpaces(Convert::ToString(a[0]), false, true));
}

Variant UCase(Interpreter&, Args a)
{
    return a[0].IsNull() ? Variant::Null() : Variant::Str(Convert::ToString(a[0]).toUpper());
}

Variant LCase(Interpreter&, Args a)
{
    return a[0].IsNull() ? Variant::Null() : Variant::Str(Convert::ToString(a[0]).toLower());
}

Variant Space(Interpreter&, Args a)
{
    const qint32 n = NonNegative(a[0]);
    StringLimit::Check(n);
    return Variant::Str(QString(n, QLatin1Char(' ')));
}

// The character of a code of the Western European code page, as Chr gives it.
char16_t CodePageChar(qint32 code)
{
    return code >= 128 && code < 160 ? Cp1252High[code - 128] : char16_t(code);
}

// String(n, c) is Null when either is Null; a code above 255 counts modulo 256.
Variant StringFn(Interpreter&, Args a)
{
    if (a[0].IsNull() || a[1].IsNull())
        return Variant::Null();
    const qint32 n = NonNegative(a[0]);
    QChar c;
    if (a[1].IsString()) {
        if (a[1].StrValue().isEmpty())
            throw VbError(Err::InvalidCall);
        c = a[1].StrValue()[0];
    } else {
        const qint32 code = Convert::ToLong(a[1]);
        c = QChar(CodePageChar(((code % 256) + 256) % 256));
    }
    StringLimit::Check(n);
    return Variant::Str(QString(n, c));
}

Variant StrReverse(Interpreter&, Args a)
{
    if (a[0].IsNull())
        throw VbError(Err::InvalidNull);
    QString s = Convert::ToString(a[0]);
    std::reverse(s.begin(), s.end());
    return Variant::Str(s);
}

Variant StrComp(Interpreter&, Args a)
{
    const Qt::CaseSensitivity cs = Compare(a, 2);
    if (a[0].IsNull() || a[1].IsNull())
        return Variant::Null();
    const int c = Convert::ToString(a[0]).compare(Convert::ToString(a[1]), cs);
    return Variant::Int(qint16(c < 0 ? -1 : c > 0 ? 1 : 0));
}

Variant Split(Interpreter& vm, Args a)
{
    if (a[0].IsNull())
        throw VbError(Err::InvalidNull);
    const QString text = Convert::ToString(a[0]);
    const QString delimiter = Has(a, 1) ? Convert::ToString(a[1]) : QStringLiteral(" ");
    const qint32 limit = Has(a, 2) ? Convert::ToLong(a[2]) : -1;
    if (limit < -1)
        throw VbError(Err::InvalidCall);
    const Qt::CaseSensitivity cs = Compare(a, 3);
    std::vector<Variant> parts;
    if (text.isEmpty() || limit == 0)
        return ArrayOps::FromValues(std::move(parts));
    if (delimiter.isEmpty()) {
        parts.push_back(Variant::Str(text));
        return ArrayOps::FromValues(std::move(parts));
    }
    qsizetype pos = 0;
    for (;;) {
        if (limit > 0 && qint32(parts.size()) == limit - 1)
            break;
        const qsizetype hit = text.indexOf(delimiter, pos, cs);
        if (hit < 0)
            break;
        parts.push_back(Variant::Str(text.mid(pos, hit - pos)));
        vm.CheckArraySize(qint64(parts.size()));
        pos = hit + delimiter.size();
    }
    parts.push_back(Variant::Str(text.mid(pos)));
    return ArrayOps::FromValues(std::move(parts));
}

Variant Join(Interpreter&, Args a)
{
    if (!a[0].IsArray())
        throw VbError(Err::TypeMismatch);
    const VbArray& array = *a[0].ArrValue();
    if (array.Dimensions() > 1)
        throw VbError(Err::SubscriptRange);
    const QString delimiter = Has(a, 1) ? Convert::ToString(a[1]) : QStringLiteral(" ");
    QString out;
    for (size_t i = 0; i < array.data.size(); ++i) {
        if (i)
            out += delimiter;
        if (!array.data[i].IsNull())
            out += Convert::ToString(array.data[i]);
        StringLimit::Check(out.size());
    }
    return Variant::Str(out);
}

Variant Filter(Interpreter&, Args a)
{
    if (!a[0].IsArray())
        throw VbError(Err::TypeMismatch);
    const VbArray& array = *a[0].ArrValue();
    if (array.Dimensions() != 1)
        throw VbError(Err::SubscriptRange);
    if (a[1].IsNull())
        throw VbError(Err::InvalidNull);
    const QString value = Convert::ToString(a[1]);
    const bool include = Has(a, 2) ? Convert::ToBool(a[2]) : true;
    const Qt::CaseSensitivity cs = Compare(a, 3);
    std::vector<Variant> out;
    for (const Variant& item : array.data) {
        const QString s = item.IsNull() ? QString() : Convert::ToString(item);
        if (s.contains(value, cs) == include)
            out.push_back(Variant::Str(s));
    }
    return ArrayOps::FromValues(std::move(out));
}

Variant Chr(Interpreter&, Args a)
{
    const qint32 code = Convert::ToLong(a[0]);
    if (code < 0 || code > 255)
        throw VbError(Err::InvalidCall);
    return Variant::Str(QString(QChar(CodePageChar(code))));
}

Variant ChrW(Interpreter&, Args a)
{
    const qint32 code = Convert::ToLong(a[0]);
    if (code < -32768 || code > 65535)
        throw VbError(Err::InvalidCall);
    return Variant::Str(QString(QChar(char16_t(code < 0 ? code + 65536 : code))));
}

QChar FirstChar(const Variant& v)
{
    if (v.IsNull())
        throw VbError(Err::InvalidNull);
    const QString s = Convert::ToString(v);
    if (s.isEmpty())
        throw VbError(Err::InvalidCall);
    return s[0];
}

Variant Asc(Interpreter&, Args a)
{
    const char16_t c = FirstChar(a[0]).unicode();
    if (c < 128 || (c >= 160 && c < 256))
        return Variant::Int(qint16(c));
    for (int i = 0; i < 32; ++i)
        if (Cp1252High[i] == c)
            return Variant::Int(qint16(128 + i));
    return Variant::Int(63); // not in the code page: '?'
}

Variant AscW(Interpreter&, Args a)
{
    return Variant::Int(qint16(FirstChar(a[0]).unicode()));
}

} // namespace

void AddStringFunctions(std::vector<BuiltinInfo>& t)
{
    t.push_back({"Len", 1, 1, Len});
    t.push_back({"Left", 2, 2, Left});
    t.push_back({"Right", 2, 2, Right});
    t.push_back({"Mid", 2, 3, Mid});
    t.push_back({"InStr", 2, 4, InStr});
    t.push_back({"InStrRev", 2, 4, InStrRev});
    t.push_back({"Replace", 3, 6, Replace});
    t.push_back({"Trim", 1, 1, Trim});
    t.push_back({"LTrim", 1, 1, LTrim});
    t.push_back({"RTrim", 1, 1, RTrim});
    t.push_back({"UCase", 1, 1, UCase});
    t.push_back({"LCase", 1, 1, LCase});
    t.push_back({"Space", 1, 1, Space});
    t.push_back({"String", 2, 2, StringFn});
    t.push_back({"StrReverse", 1, 1, StrReverse});
    t.push_back({"StrComp", 2, 3, StrComp});
    t.push_back({"Split", 1, 4, Split});
    t.push_back({"Join", 1, 2, Join});
    t.push_back({"Filter", 2, 4, Filter});
    t.push_back({"Chr", 1, 1, Chr});
    t.push_back({"ChrW", 1, 1, ChrW});
    t.push_back({"Asc", 1, 1, Asc});
    t.push_back({"AscW", 1, 1, AscW});
}

} // namespace vbs::Builtins
