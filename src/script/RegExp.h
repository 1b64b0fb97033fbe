#pragma once
// The RegExp object of `New RegExp`: Pattern, IgnoreCase, Global, Multiline,
// Test, Replace and Execute, whose matches form a collection of Match
// objects (Value, FirstIndex, Length, SubMatches).

#include "script/ScriptObject.h"

#include <QRegularExpression>

namespace vbs {

class RegExpObject : public ScriptObject
{
public:
    QString TypeName() const override { return QStringLiteral("IRegExp2"); }
    Variant Invoke(const QString& lowerName, InvokeKind kind, Args args) override;

private:
    QRegularExpression Compiled() const;
    Variant Execute(const QString& text) const;
    QString Replace(const QString& text, const QString& replacement) const;

    QString m_pattern;
    bool m_ignoreCase = false;
    bool m_global = false;
    bool m_multiline = false;
};

} // namespace vbs
