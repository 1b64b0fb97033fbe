#pragma once
// The evaluated arguments of one call: pointers to the caller's variables
// where an argument is a plain variable and by-reference passing is wanted,
// temporaries otherwise. Small argument lists stay on the machine stack.

#include "script/ScriptObject.h"
#include "script/Variant.h"

#include <span>
#include <vector>

namespace vbs {

class ArgList
{
public:
    explicit ArgList(size_t count) : m_count(count)
    {
        if (count > Inline) {
            m_heapValues.resize(count);
            m_heapPointers.resize(count + 1);
            m_values = m_heapValues.data();
            m_pointers = m_heapPointers.data();
        }
        for (size_t i = 0; i < count; ++i)
            m_pointers[i] = &m_values[i];
    }
    ArgList(const ArgList&) = delete;
    ArgList& operator=(const ArgList&) = delete;

    Variant& Value(size_t i) { return m_values[i]; }
    void Point(size_t i, Variant* variable) { m_pointers[i] = variable; }
    // Adds the assigned value of a Let or Set after the arguments.
    void Append(const Variant* value)
    {
        m_pointers[m_count] = const_cast<Variant*>(value);
        m_extra = 1;
    }
    Args Pointers() const { return Args(m_pointers, m_count + m_extra); }
    std::span<Variant> Values() { return std::span<Variant>(m_values, m_count); }
    size_t Count() const { return m_count; }

private:
    static constexpr size_t Inline = 6;
    size_t m_count;
    size_t m_extra = 0;
    Variant m_inlineValues[Inline];
    Variant* m_inlinePointers[Inline + 1] = {};
    std::vector<Variant> m_heapValues;
    std::vector<Variant*> m_heapPointers;
    Variant* m_values = m_inlineValues;
    Variant** m_pointers = m_inlinePointers;
};

} // namespace vbs
