#include "script/ErrObject.h"

#include "script/Builtins.h"
#include "script/Convert.h"
#include "script/ScriptError.h"

namespace vbs {

namespace {
QString DefaultSource()
{
    return QStringLiteral("Errore di run-time dello script");
}
} // namespace

void ErrObject::Set(const VbError& error)
{
    m_number = error.Number();
    m_description = error.Description();
    m_source = error.Source().isEmpty() ? DefaultSource() : error.Source();
    m_helpFile = error.HelpFile();
    m_helpContext = error.HelpContext();
}

void ErrObject::Clear()
{
    m_number = 0;
    m_description.clear();
    m_source.clear();
    m_helpFile.clear();
    m_helpContext = 0;
}

Variant ErrObject::Invoke(const QString& name, InvokeKind kind, Args args)
{
    const bool assign = kind == InvokeKind::Let;
    auto value = [&]() -> const Variant& { return *args.back(); };
    if (name.isEmpty() || name == QLatin1String("number")) {
        if (assign) {
            m_number = Convert::ToLong(value());
            return {};
        }
        return Variant::Long(m_number);
    }
    if (name == QLatin1String("description")) {
        if (assign) {
            m_description = Convert::ToString(value());
            return {};
        }
        return Variant::Str(m_description);
    }
    if (name == QLatin1String("source")) {
        if (assign) {
            m_source = Convert::ToString(value());
            return {};
        }
        return Variant::Str(m_source);
    }
    if (name == QLatin1String("helpfile")) {
        if (assign) {
            m_helpFile = Convert::ToString(value());
            return {};
        }
        return Variant::Str(m_helpFile);
    }
    if (name == QLatin1String("helpcontext")) {
        if (assign) {
            m_helpContext = Convert::ToLong(value());
            return {};
        }
        return Variant::Long(m_helpContext);
    }
    if (name == QLatin1String("clear") && !assign) {
        Clear();
        return {};
    }
    if (name == QLatin1String("raise") && !assign) {
        if (args.empty() || args.size() > 5 || args[0]->IsMissing())
            throw VbError(Err::WrongArgCount);
        const qint32 number = Convert::ToLong(*args[0]);
        if (number == 0)
            throw VbError(Err::InvalidCall);
        QString source = args.size() > 1 && !args[1]->IsMissing() ? Convert::ToString(*args[1]) : QString();
        QString description = args.size() > 2 && !args[2]->IsMissing() ? Convert::ToString(*args[2])
                                                                        : Err::Description(number);
        VbError error(number, std::move(description), std::move(source));
        const QString helpFile = args.size() > 3 && !args[3]->IsMissing() ? Convert::ToString(*args[3]) : QString();
        const qint32 helpContext = args.size() > 4 && !args[4]->IsMissing() ? Convert::ToLong(*args[4]) : 0;
        error.SetHelp(helpFile, helpContext);
        throw error;
    }
    throw VbError(Err::NoSuchMember);
}

} // namespace vbs
