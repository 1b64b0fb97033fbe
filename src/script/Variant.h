#pragma once
// The script value: a tagged union of the script subtypes. Strings are
// implicitly shared QStrings; arrays have value semantics through
// copy-on-write; objects are reference counted.

#include <QString>
#include <QtGlobal>
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

    Variant() = default;
    Variant(const Variant&) = default;
    Variant(Variant&&) noexcept = default;
    ~Variant() = default;
    // The old value is released only after the new one is in place: releasing
    // it may run script code (Class_Terminate) that touches this variable.
    Variant& operator=(const Variant& other)
    {
        if (this != &other) {
            Variant copy(other);
            Swap(copy);
        }
        return *this;
    }
    Variant& operator=(Variant&& other) noexcept
    {
        if (this != &other) {
            Variant moved(std::move(other));
            Swap(moved);
        }
        return *this;
    }
    void Swap(Variant& other) noexcept
    {
        std::swap(m_tag, other.m_tag);
        std::swap(m_i64, other.m_i64);
        m_str.swap(other.m_str);
        m_obj.swap(other.m_obj);
        m_arr.swap(other.m_arr);
    }
    static Variant Null() { Variant v; v.m_tag = Tag::Null; return v; }
    static Variant Missing() { Variant v; v.m_tag = Tag::Missing; return v; }
    static Variant Bool(bool b) { Variant v; v.m_tag = Tag::Boolean; v.m_i64 = b ? -1 : 0; return v; }
    static Variant Byte(quint8 b) { Variant v; v.m_tag = Tag::Byte; v.m_i64 = b; return v; }
    static Variant Int(qint16 i) { Variant v; v.m_tag = Tag::Integer; v.m_i64 = i; return v; }
    static Variant Long(qint32 l) { Variant v; v.m_tag = Tag::Long; v.m_i64 = l; return v; }
    static Variant Single(float f) { Variant v; v.m_tag = Tag::Single; v.m_dbl = f; return v; }
    static Variant Double(double d) { Variant v; v.m_tag = Tag::Double; v.m_dbl = d; return v; }
    static Variant CurrencyUnits(qint64 units) { Variant v; v.m_tag = Tag::Currency; v.m_i64 = units; return v; }
    static Variant Date(double serial) { Variant v; v.m_tag = Tag::Date; v.m_dbl = serial; return v; }
    static Variant Str(QString s) { Variant v; v.m_tag = Tag::String; v.m_str = std::move(s); return v; }
    static Variant Object(std::shared_ptr<ScriptObject> o) { Variant v; v.m_tag = Tag::Object; v.m_obj = std::move(o); return v; }
    static Variant Nothing() { return Object(nullptr); }
    static Variant Array(std::shared_ptr<VbArray> a) { Variant v; v.m_tag = Tag::Array; v.m_arr = std::move(a); return v; }
    // The smallest integer subtype that holds the value, then Double.
    static Variant FromInteger(qint64 value);

    Tag GetTag() const { return m_tag; }
    bool IsEmpty() const { return m_tag == Tag::Empty; }
    bool IsNull() const { return m_tag == Tag::Null; }
    bool IsMissing() const { return m_tag == Tag::Missing; }
    bool IsString() const { return m_tag == Tag::String; }
    bool IsObject() const { return m_tag == Tag::Object; }
    bool IsNothing() const { return m_tag == Tag::Object && !m_obj; }
    bool IsArray() const { return m_tag == Tag::Array; }
    bool IsNumeric() const { return m_tag >= Tag::Boolean && m_tag <= Tag::Date; }
    bool IsIntegral() const { return m_tag >= Tag::Boolean && m_tag <= Tag::Long; }

    // Raw access; the caller knows the tag.
    qint64 IntValue() const { return m_i64; }
    double DblValue() const { return m_dbl; }
    bool BoolValue() const { return m_i64 != 0; }
    const QString& StrValue() const { return m_str; }
    QString& StrRef() { return m_str; }
    const std::shared_ptr<ScriptObject>& ObjValue() const { return m_obj; }
    const std::shared_ptr<VbArray>& ArrValue() const { return m_arr; }
    // The array for writing: copies it first when another variable shares it.
    VbArray& MutableArray();

    void Clear() { *this = Variant(); }
    int VarTypeCode() const;
    QString TypeName() const;

private:
    Tag m_tag = Tag::Empty;
    union {
        qint64 m_i64 = 0;
        double m_dbl;
    };
    QString m_str;
    std::shared_ptr<ScriptObject> m_obj;
    std::shared_ptr<VbArray> m_arr;
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
