// Feeds arbitrary text to the script engine: compile it, run its
// script-level code and every Function and Sub it defines, with small
// limits so that each input ends fast. Nothing may crash, leak or hang.
#include "script/ScriptEngine.h"

#include <cstddef>
#include <cstdint>

namespace {

vbs::Limits SmallLimits()
{
    vbs::Limits limits;
    limits.timeLimitMs = 200;
    limits.maxSteps = 20000;
    limits.maxStackBytes = 256 * 1024;
    limits.maxArrayElements = 20000;
    limits.maxStringLength = 100000;
    return limits;
}

void RunEverything(vbs::ScriptEngine& engine, const QString& text)
{
    engine.SetLimits(SmallLimits());
    engine.AddFunction(QStringLiteral("Echo"), [](std::span<vbs::Variant>) { return vbs::Variant(); });
    if (!engine.AddCode(text))
        return;
    for (const auto& [name, params] : engine.Functions()) {
        std::vector<vbs::Variant> args(size_t(params), vbs::Variant::Int(1));
        vbs::Variant result;
        engine.Run(name, args, &result);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        vbs::ScriptEngine engine;
        RunEverything(engine, text);
    }
    if (const auto compiled = vbs::ScriptEngine::Compile(text)) {
        vbs::ScriptEngine fresh(compiled);
        fresh.SetLimits(SmallLimits());
        for (const auto& [name, params] : fresh.Functions()) {
            std::vector<vbs::Variant> args(size_t(params), vbs::Variant::Str(QStringLiteral("1")));
            fresh.Run(name, args);
        }
    }
    return 0;
}
