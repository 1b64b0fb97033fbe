#pragma once
// The global names of a script: variables (by slot), procedures, classes
// and the application's functions. A compiled text is one immutable layer;
// an engine adds its own layer on top for code and objects added later.

#include "script/Ast.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace vbs {

struct GlobalSymbol
{
    enum class Kind : quint8 { Variable, Proc, Class, HostFunction };
    Kind kind = Kind::Variable;
    int slot = -1; // variable slot or host function number
    const ProcDef* proc = nullptr;
    const ClassDef* cls = nullptr;
};

struct Program
{
    QHash<QString, GlobalSymbol> symbols;
    QHash<QString, Variant> constants;
    std::vector<QString> variableNames; // slot firstSlot + i
    int firstSlot = 0;
    std::vector<std::unique_ptr<Unit>> units;

    int SlotCount() const { return firstSlot + int(variableNames.size()); }
};

// The two layers seen together while compiling and running.
class GlobalScope
{
public:
    GlobalScope(const Program* base, Program* own) : m_base(base), m_own(own) {}

    const GlobalSymbol* Find(const QString& lower) const
    {
        if (m_base) {
            const auto it = m_base->symbols.constFind(lower);
            if (it != m_base->symbols.constEnd())
                return &*it;
        }
        const auto it = m_own->symbols.constFind(lower);
        return it != m_own->symbols.constEnd() ? &*it : nullptr;
    }
    const Variant* FindConstant(const QString& lower) const
    {
        if (m_base) {
            const auto it = m_base->constants.constFind(lower);
            if (it != m_base->constants.constEnd())
                return &*it;
        }
        const auto it = m_own->constants.constFind(lower);
        return it != m_own->constants.constEnd() ? &*it : nullptr;
    }
    // A new script-level variable; returns its slot.
    int AddVariable(const QString& lower)
    {
        GlobalSymbol symbol;
        symbol.kind = GlobalSymbol::Kind::Variable;
        symbol.slot = m_own->SlotCount();
        m_own->variableNames.push_back(lower);
        m_own->symbols.insert(lower, symbol);
        return symbol.slot;
    }
    void Add(const QString& lower, const GlobalSymbol& symbol) { m_own->symbols.insert(lower, symbol); }
    void AddConstant(const QString& lower, const Variant& value) { m_own->constants.insert(lower, value); }
    int SlotCount() const { return m_own->SlotCount(); }
    Program& Own() { return *m_own; }

private:
    const Program* m_base;
    Program* m_own;
};

} // namespace vbs
