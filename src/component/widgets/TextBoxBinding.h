#pragma once
// Binds a text box to a field of a data object's current record: what is
// typed sets the field (a text as it is typed, a number or a date when the
// box is left or Enter is pressed), and changes of the field or of the
// current record show up in the box. A value that does not fit the field is
// refused with the engine's message and the box shows the field again.
//
// The binding is a child of its box by default and ends with it.

#include <QObject>
#include <QPointer>
#include <memory>

class DataObject;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

class TextBoxBinding : public QObject
{
    Q_OBJECT

public:
    TextBoxBinding(QLineEdit* box, std::shared_ptr<DataObject> data, const QString& field);
    TextBoxBinding(QPlainTextEdit* box, std::shared_ptr<DataObject> data, const QString& field);
    ~TextBoxBinding() override;

    // Binds the box to another data object or field (nullptr: none; the box
    // is emptied).
    void Bind(std::shared_ptr<DataObject> data, const QString& field);
    const std::shared_ptr<DataObject>& Data() const { return m_data; }
    const QString& Field() const { return m_field; }

    // Shows the field's value in the box now.
    void Refresh();
    // Sets the field from what the box holds; false when the value was refused.
    bool Commit();

private:
    void Connect();
    QString BoxText() const;
    void SetBoxText(const QString& text);
    bool IsText() const;
    void OnTyped();

    QPointer<QLineEdit> m_line;
    QPointer<QPlainTextEdit> m_plain;
    std::shared_ptr<DataObject> m_data;
    QString m_field;
    int m_type = 0;
    int m_size = 0;
    bool m_updating = false;
    bool m_pending = false;
};
