#pragma once
// The editor of one field of a record, chosen by the field's type: a line
// for texts (refused when longer than the column) and numbers typed the Italian
// way, a date and time box, a check box for yes/no, and a list of the
// referenced table's display values for a reference. An editor only shows
// and reads values; the window that holds it decides when to set them.

#include <QObject>
#include <QVariant>
#include <memory>

class DataObject;
class QWidget;

class FieldEditor : public QObject
{
    Q_OBJECT

public:
    // The editor for field `fieldIndex` of `data`; a reference's list is read
    // from the records the reference may point to.
    static std::unique_ptr<FieldEditor> Create(DataObject& data, int fieldIndex, QWidget* parent);
    ~FieldEditor() override;

    QWidget* Widget() const { return m_widget; }
    int FieldIndex() const { return m_field; }
    // A read-only field's editor is shown disabled.
    void SetReadOnly(bool readOnly);

    // Shows a value (a reference's key for a reference) without signalling
    // an edit.
    virtual void Show(const QVariant& value) = 0;
    // The value entered. Throws Exception when the text does not fit the field.
    virtual QVariant Value() const = 0;
    // True while a typed change has not been signalled yet (a line signals
    // when it loses the focus or Enter is pressed).
    virtual bool IsPending() const { return false; }
    // What was typed and refused stays in the editor to be corrected, and
    // counts as not applied yet.
    virtual void KeepPending() {}

Q_SIGNALS:
    // The user changed the value.
    void Edited();

protected:
    FieldEditor(QWidget* widget, int fieldIndex);

    QWidget* m_widget; // owned by its parent widget
    int m_field;
};
