#pragma once
// The script value: a tagged union of the script subtypes. Strings are
// implicitly shared QStrings; arrays have value semantics through
// copy-on-write; objects are reference counted.

#include <QString>
#include <QtGlobal>
#include <cstring>
#include <memory>
#include <vector>

namespace vbs {

class ScriptObject;
struct VbArray;

class Variant
{
public:
    enum class Tag : quint8 {
        Empty, Null, Boolean, Byte, Integer, Long, Single, Double, Currency, Date, String, Object, Array,
        Missing, // an argument left out of a call
    };

    Variant() { m_u.i64 = 0; }
    Variant(const Variant& other) { CopyFrom(other); }
    Variant(Variant&& other) noexcept { MoveFrom(other); }
    ~Variant() { Destroy(); }
    // The old value is released only after the new one is in place: releasing
    // it may run script code (Class_Terminate) that touches this variable.
    Variant& operator=(const Variant& other)
    {
        if (this == &other)
            return *this;
        if (m_tag == Tag::Object || m_tag == Tag::Array) {
            Variant old(std::move(*this));
            CopyFrom(other);
        } else {
            Variant copy(other); // `other` may live inside what this variant holds
            Destroy();
            MoveFrom(copy);
        }
        return *this;
    }
    Variant& operator=(Variant&& other) noexcept
    {
        if (this == &other)
            return *this;
        if (m_tag == Tag::Object || m_tag == Tag::Array) {
            Variant old(std::move(*this));
            MoveFrom(other);
        } else {
            Destroy();
            MoveFrom(other);
        }
        return *this;
    }
    void Swap(Variant& other) noexcept
    {
        Variant temp(std::move(other));
        other.MoveFrom(*this);
        MoveFrom(temp);
    }

    static Variant Null() { Variant v; v.m_tag = Tag::Null; return v; }
    static Variant Missing() { Variant v; v.m_tag = Tag::Missing; return v; }
    static Variant Bool(bool b) { return Integral(Tag::Boolean, b ? -1 : 0); }
    static Variant Byte(quint8 b) { return Integral(Tag::Byte, b); }
    static Variant Int(qint16 i) { return Integral(Tag::Integer, i); }
    static Variant Long(qint32 l) { return Integral(Tag::Long, l); }
    static Variant Single(float f) { return Floating(Tag::Single, f); }
    static Variant Double(double d) { return Floating(Tag::Double, d); }
    static Variant CurrencyUnits(qint64 units) { return Integral(Tag::Currency, units); }
    static Variant Date(double serial) { return Floating(Tag::Date, serial); }
    static Variant Str(QString s)
    {
        Variant v;
        new (&v.m_u.str) QString(std::move(s));
        v.m_tag = Tag::String;
        return v;
    }
    static Variant Object(std::shared_ptr<ScriptObject> o)
    {
        Variant v;
        new (&v.m_u.obj) std::shared_ptr<ScriptObject>(std::move(o));
        v.m_tag = Tag::Object;
        return v;
    }
    static Variant Nothing() { return Object(nullptr); }
    static Variant Array(std::shared_ptr<VbArray> a)
    {
        Variant v;
        new (&v.m_u.arr) std::shared_ptr<VbArray>(std::move(a));
        v.m_tag = Tag::Array;
        return v;
    }
    // The smallest integer subtype that holds the value, then Double.
    static Variant FromInteger(qint64 value);

    Tag GetTag() const { return m_tag; }
    bool IsEmpty() const { return m_tag == Tag::Empty; }
    bool IsNull() const { return m_tag == Tag::Null; }
    bool IsMissing() const { return m_tag == Tag::Missing; }
    bool IsString() const { return m_tag == Tag::String; }
    bool IsObject() const { return m_tag == Tag::Object; }
    bool IsNothing() const { return m_tag == Tag::Object && !m_u.obj; }
    bool IsArray() const { return m_tag == Tag::Array; }
    bool IsNumeric() const { return m_tag >= Tag::Boolean && m_tag <= Tag::Date; }
    bool IsIntegral() const { return m_tag >= Tag::Boolean && m_tag <= Tag::Long; }

    // Raw access; the caller knows the tag.
    qint64 IntValue() const { return m_u.i64; }
    double DblValue() const { return m_u.dbl; }
    bool BoolValue() const { return m_u.i64 != 0; }
    const QString& StrValue() const { return m_tag == Tag::String ? m_u.str : EmptyString(); }
    QString& StrRef() { return m_u.str; } // only for a String
    const std::shared_ptr<ScriptObject>& ObjValue() const { return m_tag == Tag::Object ? m_u.obj : NoObject(); }
    const std::shared_ptr<VbArray>& ArrValue() const { return m_tag == Tag::Array ? m_u.arr : NoArray(); }
    // The array for writing: copies it first when another variable shares it.
    VbArray& MutableArray();

    void Clear() { *this = Variant(); }
    int VarTypeCode() const;
    QString TypeName() const;

private:
    static Variant Integral(Tag tag, qint64 value)
    {
        Variant v;
        v.m_tag = tag;
        v.m_u.i64 = value;
        return v;
    }
    static Variant Floating(Tag tag, double value)
    {
        Variant v;
        v.m_tag = tag;
        v.m_u.dbl = value;
        return v;
    }
    static const QString& EmptyString();
    static const std::shared_ptr<ScriptObject>& NoObject();
    static const std::shared_ptr<VbArray>& NoArray();

    // Strings, objects and arrays hold references; the other subtypes are plain bits.
    static bool Counted(Tag tag) { return unsigned(quint8(tag)) - unsigned(quint8(Tag::String)) <= 2u; }

    // Both expect this variant to hold nothing that needs releasing.
    void CopyFrom(const Variant& other)
    {
        if (Counted(other.m_tag))
            CopyCounted(other);
        else
            std::memcpy(&m_u.i64, &other.m_u.i64, sizeof(qint64));
        m_tag = other.m_tag;
    }
    void MoveFrom(Variant& other) noexcept
    {
        if (Counted(other.m_tag)) {
            MoveCounted(other);
            m_tag = other.m_tag;
            other.Destroy();
            return;
        }
        std::memcpy(&m_u.i64, &other.m_u.i64, sizeof(qint64));
        m_tag = other.m_tag;
        other.m_tag = Tag::Empty;
    }
    void Destroy() noexcept
    {
        if (Counted(m_tag))
            ReleaseCounted();
        m_tag = Tag::Empty;
    }
    void CopyCounted(const Variant& other);
    void MoveCounted(Variant& other) noexcept;
    void ReleaseCounted() noexcept;

    union Storage {
        Storage() {}
        ~Storage() {}
        qint64 i64;
        double dbl;
        QString str;
        std::shared_ptr<ScriptObject> obj;
        std::shared_ptr<VbArray> arr;
    } m_u;
    Tag m_tag = Tag::Empty;
};

// Arrays are zero-based; data is stored with the first index varying fastest,
// so that ReDim Preserve of the last dimension keeps every element in place.
struct VbArray
{
    std::vector<qint32> upper; // upper bound of each dimension; empty when not dimensioned
    std::vector<Variant> data;
    bool fixedSize = false;     // declared with Dim a(n): cannot be ReDim'ed
    int locks = 0;              // For Each in progress

    VbArray() = default;
    VbArray(const VbArray& other) : upper(other.upper), data(other.data), fixedSize(other.fixedSize) {}
    ~VbArray();
    int Dimensions() const { return int(upper.size()); }
};

} // namespace vbs
