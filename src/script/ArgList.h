#pragma once
// The evaluated arguments of one call: pointers to the caller's variables
// where an argument is a plain variable and by-reference passing is wanted,
// temporaries otherwise. Small argument lists stay on the machine stack.

#include "script/ScriptObject.h"
#include "script/Variant.h"

#include <memory>
#include <span>
#include <vector>

namespace vbs {

class ArgList
{
public:
    explicit ArgList(size_t count) : m_count(count)
    {
        if (count > Inline) {
            m_heapValues = std::make_unique<Variant[]>(count);
            m_heapPointers = std::make_unique<Variant*[]>(count + 1);
            m_values = m_heapValues.get();
            m_pointers = m_heapPointers.get();
        } else {
            m_values = reinterpret_cast<Variant*>(m_inlineValues);
            for (size_t i = 0; i < count; ++i)
                new (&m_values[i]) Variant();
        }
        for (size_t i = 0; i < count; ++i)
            m_pointers[i] = &m_values[i];
    }
    ~ArgList()
    {
        if (!m_heapValues)
            for (size_t i = 0; i < m_count; ++i)
                m_values[i].~Variant();
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

    // An array element passed by reference: its value goes back into the
    // array after the call (the array itself may be resized meanwhile).
    void AddElement(size_t arg, Variant* array, std::vector<Variant> indexes)
    {
        m_elements.push_back(Element{arg, array, std::move(indexes)});
    }
    void WriteBackElements();
    std::span<Variant> Values() { return std::span<Variant>(m_values, m_count); }
    size_t Count() const { return m_count; }

private:
    static constexpr size_t Inline = 6;
    size_t m_count;
    size_t m_extra = 0;
    alignas(Variant) unsigned char m_inlineValues[Inline * sizeof(Variant)];
    Variant* m_inlinePointers[Inline + 1];
    std::unique_ptr<Variant[]> m_heapValues;
    std::unique_ptr<Variant*[]> m_heapPointers;
    Variant* m_values = nullptr;
    Variant** m_pointers = m_inlinePointers;
    struct Element
    {
        size_t arg;
        Variant* array;
        std::vector<Variant> indexes;
    };
    std::vector<Element> m_elements;
};

} // namespace vbs
