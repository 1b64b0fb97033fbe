#include "component/widgets/FieldEditor.h"

#include "component/DataObject.h"
#include "component/FieldText.h"
#include "component/FieldValue.h"
#include "component/SqlDialect.h"
#include "component/TableDef.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

namespace {

// The earliest date, shown blank: a date field without a value.
const QDateTime kNoDate(QDate(1900, 1, 1), QTime(0, 0));

class LineEditor : public FieldEditor
{
public:
    LineEditor(const FieldInfo& field, int fieldIndex, QWidget* parent)
        : FieldEditor(new QLineEdit(parent), fieldIndex), m_name(field.caption), m_type(field.type), m_size(field.size)
    {
        QLineEdit* line = Line();
        // A text has no length limit in the box: a longer one (pasted, most
        // often) is refused with the engine's message and stays there to be
        // shortened, never cut.
        if (!FieldType::IsText(m_type)) {
            static const QRegularExpression number(QStringLiteral("[-+]?[0-9.,]*"));
            line->setValidator(new QRegularExpressionValidator(number, line));
            line->setAlignment(Qt::AlignRight);
        }
        connect(line, &QLineEdit::editingFinished, this, [this] {
            if (Line()->isModified()) {
                Line()->setModified(false);
                Q_EMIT Edited();
            }
        });
    }

    void Show(const QVariant& value) override
    {
        Line()->setText(FieldText::EditText(value, m_type));
        Line()->setModified(false);
        Line()->setCursorPosition(0);
    }
    QVariant Value() const override { return FieldText::Parse(Line()->text(), m_type, m_size, m_name); }
    bool IsPending() const override { return Line()->isModified(); }
    void KeepPending() override { Line()->setModified(true); }

private:
    QLineEdit* Line() const { return static_cast<QLineEdit*>(m_widget); }

    QString m_name;
    int m_type;
    int m_size;
};

class DateEditor : public FieldEditor
{
public:
    DateEditor(int fieldIndex, QWidget* parent) : FieldEditor(new QDateTimeEdit(parent), fieldIndex)
    {
        QDateTimeEdit* edit = Edit();
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy HH:mm"));
        edit->setMinimumDateTime(kNoDate);
        edit->setSpecialValueText(QStringLiteral(" "));
        connect(edit, &QDateTimeEdit::dateTimeChanged, this, [this] {
            if (!m_showing)
                Q_EMIT Edited();
        });
    }

    void Show(const QVariant& value) override
    {
        m_showing = true;
        const QDateTime date = FieldValue::IsNull(value) ? kNoDate : value.toDateTime();
        Edit()->setDateTime(date.isValid() ? date : kNoDate);
        m_showing = false;
    }
    QVariant Value() const override
    {
        const QDateTime date = Edit()->dateTime();
        return date == kNoDate ? QVariant() : QVariant(date);
    }

private:
    QDateTimeEdit* Edit() const { return static_cast<QDateTimeEdit*>(m_widget); }
    bool m_showing = false;
};

class CheckEditor : public FieldEditor
{
public:
    CheckEditor(int fieldIndex, QWidget* parent) : FieldEditor(new QCheckBox(parent), fieldIndex)
    {
        connect(Box(), &QCheckBox::toggled, this, [this] {
            if (!m_showing)
                Q_EMIT Edited();
        });
    }

    void Show(const QVariant& value) override
    {
        m_showing = true;
        Box()->setChecked(!FieldValue::IsNull(value) && value.toBool());
        m_showing = false;
    }
    QVariant Value() const override { return QVariant(Box()->isChecked()); }

private:
    QCheckBox* Box() const { return static_cast<QCheckBox*>(m_widget); }
    bool m_showing = false;
};

class ReferenceEditor : public FieldEditor
{
public:
    ReferenceEditor(DataObject& data, const FieldInfo& field, int fieldIndex, QWidget* parent)
        : FieldEditor(new QComboBox(parent), fieldIndex)
    {
        QComboBox* combo = Combo();
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(16);
        combo->addItem(QString(), QVariant());
        const ReferenceDef& reference = data.Table().lookups[field.referenceIndex];
        const auto choices = data.OpenReferencedTable(reference.name);
        const int display = choices->FieldIndex(reference.displayColumn);
        if (display >= 0)
            choices->SetSort(reference.displayColumn);
        const qint64 count = choices->RecordCount();
        for (qint64 i = 0; i < count; ++i) {
            const RowPager::Row* row = choices->RowAt(i);
            if (!row)
                break;
            const QString text = display >= 0 ? choices->DisplayText(display, row->values[display])
                                              : QString::number(row->oid);
            combo->addItem(text, QVariant(row->oid));
        }
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_showing)
                Q_EMIT Edited();
        });
    }

    void Show(const QVariant& key) override
    {
        m_showing = true;
        const int index = FieldValue::IsNull(key) ? 0 : Combo()->findData(QVariant(key.toLongLong()));
        Combo()->setCurrentIndex(std::max(index, 0));
        m_showing = false;
    }
    QVariant Value() const override { return Combo()->currentData(); }

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(m_widget); }
    bool m_showing = false;
};

} // namespace

FieldEditor::FieldEditor(QWidget* widget, int fieldIndex) : m_widget(widget), m_field(fieldIndex) {}

FieldEditor::~FieldEditor() = default;

void FieldEditor::SetReadOnly(bool readOnly)
{
    m_widget->setEnabled(!readOnly);
}

std::unique_ptr<FieldEditor> FieldEditor::Create(DataObject& data, int fieldIndex, QWidget* parent)
{
    const FieldInfo& field = data.Field(fieldIndex);
    if (field.kind == FieldInfo::Kind::Reference && field.referenceIndex >= 0)
        return std::make_unique<ReferenceEditor>(data, field, fieldIndex, parent);
    if (FieldType::IsDate(field.type))
        return std::make_unique<DateEditor>(fieldIndex, parent);
    if (field.type == FieldType::Boolean)
        return std::make_unique<CheckEditor>(fieldIndex, parent);
    return std::make_unique<LineEditor>(field, fieldIndex, parent);
}
