#include "script/ConsoleRunner.h"

#include "script/Convert.h"
#include "script/ScriptEngine.h"

#include <QStringDecoder>

namespace vbs {

namespace {
QString EchoText(const Variant& v)
{
    if (v.IsNull())
        return QStringLiteral("Null");
    return Convert::ToString(v);
}

// The engine ends before the result is handed back, since objects released
// at its end may still write.
void RunInEngine(ConsoleResult& result, const QString& source, const Limits& limits)
{
    ScriptEngine engine;
    engine.SetLimits(limits);
    engine.AddFunction(QStringLiteral("Echo"), [&result](std::span<Variant> args) {
        QString line;
        for (size_t i = 0; i < args.size(); ++i) {
            if (i)
                line += QLatin1Char(' ');
            if (!args[i].IsMissing())
                line += EchoText(args[i]);
        }
        result.output += line + QLatin1Char('\n');
        return Variant();
    });
    engine.AddFunction(QStringLiteral("ok"), [&result](std::span<Variant> args) {
        bool passed = false;
        try {
            passed = !args.empty() && !args[0].IsNull() && !args[0].IsEmpty() && Convert::ToBool(args[0]);
        } catch (const VbError&) {
            passed = false;
        }
        if (!passed) {
            QString message;
            if (args.size() > 1 && !args[1].IsNull() && !args[1].IsMissing())
                message = Convert::ToString(args[1]);
            result.output += QStringLiteral("FAIL: ") + message + QLatin1Char('\n');
            result.exitCode = 2;
        }
        return Variant();
    });
    ScriptError error;
    if (!engine.AddCode(source, &error)) {
        result.output += QStringLiteral("ERROR line=%1 number=%2: %3\n")
                             .arg(error.line)
                             .arg(error.number)
                             .arg(error.description);
        result.exitCode = 1;
    }
}
} // namespace

ConsoleResult RunConsoleScript(const QString& source, const Limits& limits)
{
    ConsoleResult result;
    RunInEngine(result, source, limits);
    return result;
}

QString DecodeScriptFile(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return decoder(bytes.mid(2));
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows("windows-1252");
    if (windows.isValid())
        return windows(bytes);
    return QString::fromLatin1(bytes);
}

} // namespace vbs
