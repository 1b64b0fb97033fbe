#include "component/widgets/ValueEditorWindow.h"

#include "component/ComponentGlobal.h"
#include "component/DataObject.h"
#include "component/Exception.h"
#include "component/RecordEditSession.h"
#include "component/widgets/DialogButtons.h"
#include "component/widgets/DialogService.h"
#include "component/widgets/EditorNames.h"
#include "component/widgets/FieldEditor.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ValueEditorWindow::ValueEditorWindow(std::shared_ptr<DataObject> data, const QString& field, const QString& title,
                                     QWidget* parent)
    : QDialog(parent), m_data(std::move(data))
{
    setObjectName(QStringLiteral("frmValueEditor"));
    m_data->RequireField(field);
    m_field = m_data->FieldIndex(field);
    const FieldInfo& info = m_data->Field(m_field);
    setWindowTitle(title.isEmpty() ? info.caption : title);
    m_readOnly = info.readOnly || !RecordEditSession::IsEditable(*m_data, m_field);

    auto* rows = new QFormLayout;
    rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_editor = FieldEditor::Create(*m_data, m_field, this);
    QWidget* widget = m_editor->Widget();
    widget->setObjectName(EditorObjectName(*widget, info.name));
    m_editor->Show(RecordEditSession::EditorValue(*m_data, m_field));
    m_editor->SetReadOnly(m_readOnly);
    auto* label = new QLabel(info.caption + u':', this);
    label->setObjectName(QStringLiteral("lblField"));
    label->setBuddy(widget);
    rows->addRow(label, widget);

    QDialogButtonBox* buttons = OkCancelButtons(*this).box;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addStretch(1);
    layout->addWidget(buttons);
    setMinimumWidth(360);
    widget->setFocus();
}

ValueEditorWindow::~ValueEditorWindow() = default;

void ValueEditorWindow::accept()
{
    if (!m_readOnly) {
        try {
            const QVariant value = m_editor->Value();
            if (!ComponentGlobal::ValuesEqual(value, RecordEditSession::EditorValue(*m_data, m_field))) {
                m_data->SetValue(m_data->Field(m_field).name, value);
                m_changed = true;
            }
        } catch (const Exception& e) {
            Dialogs().MessageBox(e.Description(), MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1,
                                 windowTitle());
            m_editor->Widget()->setFocus();
            return;
        }
    }
    QDialog::accept();
}
