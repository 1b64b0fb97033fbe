#pragma once
// The dictionary object of CreateObject("Scripting.Dictionary"): keys in
// the order they were added, compared as binary or as text.

#include "script/ScriptObject.h"

#include <QHash>
#include <vector>

namespace vbs {

class Dictionary : public ScriptObject
{
public:
    ~Dictionary() override;
    QString TypeName() const override { return QStringLiteral("Dictionary"); }
    Variant Invoke(const QString& lowerName, InvokeKind kind, Args args) override;
    bool Enumerate(std::vector<Variant>& items) override;
    void ReleaseReferences() override;

    int Count() const { return int(m_keys.size()); }

private:
    QString KeyOf(const Variant& key) const;
    int Find(const Variant& key) const;
    void Add(const Variant& key, const Variant& value);
    void RemoveAt(int index);
    void Reindex();

    std::vector<Variant> m_keys;
    std::vector<Variant> m_items;
    QHash<QString, int> m_index;
    int m_compareMode = 0;
};

} // namespace vbs
