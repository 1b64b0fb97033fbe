#include "script/Builtins.h"

#include <QHash>
#include <vector>

namespace vbs::Builtins {

namespace {
struct Table
{
    std::vector<BuiltinInfo> entries;
    QHash<QString, int> index;

    Table()
    {
        AddStringFunctions(entries);
        AddConversionFunctions(entries);
        AddMathFunctions(entries);
        AddDateFunctions(entries);
        AddFormatFunctions(entries);
        AddArrayFunctions(entries);
        AddEngineFunctions(entries);
        AddByteAndEscapeFunctions(entries);
        for (int i = 0; i < int(entries.size()); ++i)
            index.insert(QString::fromLatin1(entries[size_t(i)].name).toLower(), i);
    }
};

const Table& TheTable()
{
    static const Table table;
    return table;
}
} // namespace

int Find(const QString& lower)
{
    return TheTable().index.value(lower, -1);
}

const BuiltinInfo& Get(int index)
{
    return TheTable().entries[size_t(index)];
}

std::optional<Variant> Constant(const QString& lower)
{
    static const QHash<QString, Variant> constants = [] {
        QHash<QString, Variant> c;
        auto s = [](const char* text) { return Variant::Str(QString::fromLatin1(text)); };
        c.insert(QStringLiteral("vbcrlf"), s("\r\n"));
        c.insert(QStringLiteral("vbnewline"), s("\r\n"));
        c.insert(QStringLiteral("vbcr"), s("\r"));
        c.insert(QStringLiteral("vblf"), s("\n"));
        c.insert(QStringLiteral("vbtab"), s("\t"));
        c.insert(QStringLiteral("vbformfeed"), s("\f"));
        c.insert(QStringLiteral("vbverticaltab"), s("\v"));
        c.insert(QStringLiteral("vbnullchar"), Variant::Str(QString(QChar(0))));
        c.insert(QStringLiteral("vbnullstring"), Variant::Str(QString()));
        c.insert(QStringLiteral("vbback"), s("\b"));
        const std::pair<const char*, qint32> numbers[] = {
            {"vbtrue", -1}, {"vbfalse", 0}, {"vbusedefault", -2},
            {"vbbinarycompare", 0}, {"vbtextcompare", 1}, {"vbdatabasecompare", 2},
            {"vbgeneraldate", 0}, {"vblongdate", 1}, {"vbshortdate", 2}, {"vblongtime", 3}, {"vbshorttime", 4},
            {"vbsunday", 1}, {"vbmonday", 2}, {"vbtuesday", 3}, {"vbwednesday", 4}, {"vbthursday", 5},
            {"vbfriday", 6}, {"vbsaturday", 7}, {"vbusesystemdayofweek", 0}, {"vbfirstjan1", 1},
            {"vbfirstfourdays", 2}, {"vbfirstfullweek", 3},
            {"vbokonly", 0}, {"vbokcancel", 1}, {"vbabortretryignore", 2}, {"vbyesnocancel", 3}, {"vbyesno", 4},
            {"vbretrycancel", 5}, {"vbcritical", 16}, {"vbquestion", 32}, {"vbexclamation", 48},
            {"vbinformation", 64}, {"vbdefaultbutton1", 0}, {"vbdefaultbutton2", 256}, {"vbdefaultbutton3", 512},
            {"vbdefaultbutton4", 768}, {"vbapplicationmodal", 0}, {"vbsystemmodal", 4096},
            {"vbok", 1}, {"vbcancel", 2}, {"vbabort", 3}, {"vbretry", 4}, {"vbignore", 5}, {"vbyes", 6}, {"vbno", 7},
            {"vbempty", 0}, {"vbnull", 1}, {"vbinteger", 2}, {"vblong", 3}, {"vbsingle", 4}, {"vbdouble", 5},
            {"vbcurrency", 6}, {"vbdate", 7}, {"vbstring", 8}, {"vbobject", 9}, {"vberror", 10}, {"vbboolean", 11},
            {"vbvariant", 12}, {"vbdataobject", 13}, {"vbdecimal", 14}, {"vbbyte", 17}, {"vbarray", 8192},
            {"vbobjecterror", qint32(0x80040000u)},
            {"vbblack", 0}, {"vbred", 255}, {"vbgreen", 65280}, {"vbyellow", 65535}, {"vbblue", 16711680},
            {"vbmagenta", 16711935}, {"vbcyan", 16776960}, {"vbwhite", 16777215},
        };
        for (const auto& [name, value] : numbers)
            c.insert(QString::fromLatin1(name), Variant::FromInteger(value));
        return c;
    }();
    const auto it = constants.constFind(lower);
    if (it == constants.constEnd())
        return std::nullopt;
    return *it;
}

} // namespace vbs::Builtins
