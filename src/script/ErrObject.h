#pragma once
// The Err object: the last error caught under On Error Resume Next, and
// Err.Raise to raise one.

#include "script/ScriptObject.h"

namespace vbs {

class VbError;

class ErrObject : public ScriptObject
{
public:
    QString TypeName() const override { return QStringLiteral("ErrObject"); }
    Variant Invoke(const QString& lowerName, InvokeKind kind, Args args) override;

    void Set(const VbError& error);
    void Clear();
    qint32 Number() const { return m_number; }
    const QString& Description() const { return m_description; }

private:
    qint32 m_number = 0;
    QString m_description;
    QString m_source;
    QString m_helpFile;
    qint32 m_helpContext = 0;
};

} // namespace vbs
