#include "component/widgets/TextBoxBinding.h"

#include "component/DataObject.h"
#include "component/Exception.h"
#include "component/FieldText.h"
#include "component/FieldValue.h"
#include "component/SqlDialect.h"
#include "component/widgets/DialogService.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>

TextBoxBinding::TextBoxBinding(QLineEdit* box, std::shared_ptr<DataObject> data, const QString& field)
    : QObject(box), m_line(box)
{
    connect(box, &QLineEdit::textEdited, this, &TextBoxBinding::OnTyped);
    connect(box, &QLineEdit::editingFinished, this, [this] {
        if (m_pending)
            Commit();
    });
    Bind(std::move(data), field);
}

TextBoxBinding::TextBoxBinding(QPlainTextEdit* box, std::shared_ptr<DataObject> data, const QString& field)
    : QObject(box), m_plain(box)
{
    connect(box, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_updating)
            OnTyped();
    });
    Bind(std::move(data), field);
}

TextBoxBinding::~TextBoxBinding() = default;

void TextBoxBinding::Bind(std::shared_ptr<DataObject> data, const QString& field)
{
    if (m_data)
        disconnect(m_data.get(), nullptr, this, nullptr);
    m_data = std::move(data);
    m_field = field;
    m_pending = false;
    if (m_data) {
        const FieldInfo& info = m_data->RequireField(field);
        m_type = info.type;
        m_size = info.size;
        if (m_line) {
            // No length limit in the box: a line edit would cut a pasted
            // text at its limit without a word. A text longer than the
            // column is refused by the engine, with its message.
            m_line->setMaxLength(32767);
            m_line->setReadOnly(info.readOnly);
        }
        if (m_plain)
            m_plain->setReadOnly(info.readOnly);
        Connect();
    }
    Refresh();
}

void TextBoxBinding::Connect()
{
    connect(m_data.get(), &DataObject::FieldUpdated, this, [this](const QString& name) {
        if (!m_updating && name.compare(m_field, Qt::CaseInsensitive) == 0)
            Refresh();
    });
    connect(m_data.get(), &DataObject::CurrentChanged, this, [this] {
        if (!m_updating)
            Refresh();
    });
}

bool TextBoxBinding::IsText() const
{
    return FieldType::IsText(m_type);
}

QString TextBoxBinding::BoxText() const
{
    if (m_line)
        return m_line->text();
    return m_plain ? m_plain->toPlainText() : QString();
}

void TextBoxBinding::SetBoxText(const QString& text)
{
    const QScopedValueRollback guard(m_updating, true);
    if (m_line && m_line->text() != text) {
        m_line->setText(text);
        m_line->setCursorPosition(0);
    }
    if (m_plain && m_plain->toPlainText() != text)
        m_plain->setPlainText(text);
}

void TextBoxBinding::Refresh()
{
    m_pending = false;
    QString text;
    if (m_data) {
        try {
            if (!m_data->NoCurrentRecord() || m_data->IsEditing())
                text = FieldText::EditText(m_data->GetValue(m_field), m_type);
        } catch (const Exception&) {
            // No record to show: the box stays empty.
        }
    }
    SetBoxText(text);
}

void TextBoxBinding::OnTyped()
{
    if (!m_data)
        return;
    m_pending = true;
    if (IsText())
        Commit();
}

bool TextBoxBinding::Commit()
{
    if (!m_data || m_updating)
        return true;
    m_pending = false;
    bool stored = false;
    {
        const QScopedValueRollback guard(m_updating, true);
        try {
            m_data->SetValue(m_field, FieldText::Parse(BoxText(), m_type, m_size, m_field));
            if (!IsText())
                SetBoxText(FieldText::EditText(m_data->GetValue(m_field), m_type));
            stored = true;
        } catch (const Exception& e) {
            Dialogs().MessageBox(e.Description(), MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1,
                                 QString());
        }
    }
    if (!stored) {
        // The box shows the field again (a refused paste is taken back
        // whole), the cursor at its end.
        Refresh();
        if (m_line)
            m_line->end(false);
        if (m_plain)
            m_plain->moveCursor(QTextCursor::End);
    }
    return stored;
}
