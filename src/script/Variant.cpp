#include "script/Variant.h"

#include "script/DeferredRelease.h"
#include "script/ScriptObject.h"

namespace vbs {

VbArray::~VbArray()
{
    ReleaseValues(data);
}

void Variant::CopyCounted(const Variant& other)
{
    switch (other.m_tag) {
    case Tag::String: new (&m_u.str) QString(other.m_u.str); break;
    case Tag::Object: new (&m_u.obj) std::shared_ptr<ScriptObject>(other.m_u.obj); break;
    default: new (&m_u.arr) std::shared_ptr<VbArray>(other.m_u.arr); break;
    }
}

void Variant::MoveCounted(Variant& other) noexcept
{
    switch (other.m_tag) {
    case Tag::String: new (&m_u.str) QString(std::move(other.m_u.str)); break;
    case Tag::Object: new (&m_u.obj) std::shared_ptr<ScriptObject>(std::move(other.m_u.obj)); break;
    default: new (&m_u.arr) std::shared_ptr<VbArray>(std::move(other.m_u.arr)); break;
    }
}

void Variant::ReleaseCounted() noexcept
{
    switch (m_tag) {
    case Tag::String: m_u.str.~QString(); break;
    case Tag::Object: m_u.obj.~shared_ptr(); break;
    default: m_u.arr.~shared_ptr(); break;
    }
}

Variant Variant::FromInteger(qint64 value)
{
    if (value >= -32768 && value <= 32767)
        return Int(qint16(value));
    if (value >= INT32_MIN && value <= INT32_MAX)
        return Long(qint32(value));
    return Double(double(value));
}

VbArray& Variant::MutableArray()
{
    if (m_u.arr.use_count() > 1)
        m_u.arr = std::make_shared<VbArray>(*m_u.arr);
    return *m_u.arr;
}

const QString& Variant::EmptyString()
{
    static const QString empty;
    return empty;
}

const std::shared_ptr<ScriptObject>& Variant::NoObject()
{
    static const std::shared_ptr<ScriptObject> none;
    return none;
}

const std::shared_ptr<VbArray>& Variant::NoArray()
{
    static const std::shared_ptr<VbArray> none;
    return none;
}

int Variant::VarTypeCode() const
{
    switch (m_tag) {
    case Tag::Empty: return 0;
    case Tag::Null: return 1;
    case Tag::Integer: return 2;
    case Tag::Long: return 3;
    case Tag::Single: return 4;
    case Tag::Double: return 5;
    case Tag::Currency: return 6;
    case Tag::Date: return 7;
    case Tag::String: return 8;
    case Tag::Object: return 9;
    case Tag::Missing: return 10;
    case Tag::Boolean: return 11;
    case Tag::Byte: return 17;
    case Tag::Array: return 8192 + 12;
    }
    return 0;
}

QString Variant::TypeName() const
{
    switch (m_tag) {
    case Tag::Empty: return QStringLiteral("Empty");
    case Tag::Null: return QStringLiteral("Null");
    case Tag::Boolean: return QStringLiteral("Boolean");
    case Tag::Byte: return QStringLiteral("Byte");
    case Tag::Integer: return QStringLiteral("Integer");
    case Tag::Long: return QStringLiteral("Long");
    case Tag::Single: return QStringLiteral("Single");
    case Tag::Double: return QStringLiteral("Double");
    case Tag::Currency: return QStringLiteral("Currency");
    case Tag::Date: return QStringLiteral("Date");
    case Tag::String: return QStringLiteral("String");
    case Tag::Object: return m_u.obj ? m_u.obj->TypeName() : QStringLiteral("Nothing");
    case Tag::Array: return QStringLiteral("Variant()");
    case Tag::Missing: return QStringLiteral("Error");
    }
    return {};
}

} // namespace vbs
