#include "component/widgets/RecordEditorWindow.h"

#include "component/DataObject.h"
#include "component/Exception.h"
#include "component/TableDef.h"
#include "component/widgets/DialogButtons.h"
#include "component/widgets/DialogService.h"
#include "component/widgets/EditorNames.h"
#include "component/widgets/FieldEditor.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

RecordEditorWindow::RecordEditorWindow(std::shared_ptr<DataObject> data, EditMode mode, RecordEditorOptions options,
                                       QWidget* parent)
    : QDialog(parent), m_session(std::move(data), mode, options)
{
    setObjectName(QStringLiteral("frmRecordEditor"));
    const QString caption = m_session.Data().Table().DisplayCaption();
    setWindowTitle(caption + (m_session.IsNewRecord() ? QStringLiteral(" - Nuovo") : QStringLiteral(" - Modifica")));
    BuildForm();
    connect(&m_session.Data(), &DataObject::FieldUpdated, this, &RecordEditorWindow::Refresh);
}

RecordEditorWindow::~RecordEditorWindow() = default;

void RecordEditorWindow::BuildForm()
{
    auto* form = new QWidget;
    auto* rows = new QFormLayout(form);
    rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    rows->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    DataObject& data = m_session.Data();
    for (int index : m_session.Fields()) {
        const FieldInfo& field = data.Field(index);
        auto editor = FieldEditor::Create(data, index, form);
        QWidget* widget = editor->Widget();
        widget->setObjectName(EditorObjectName(*widget, field.name));
        if (!field.description.isEmpty() && field.description != field.caption)
            widget->setToolTip(field.description);
        editor->Show(m_session.Value(index));
        editor->SetReadOnly(m_session.IsReadOnly(index));
        auto* label = new QLabel(field.caption + u':', form);
        label->setObjectName(QStringLiteral("lbl") + field.name);
        label->setBuddy(widget);
        rows->addRow(label, widget);
        FieldEditor* raw = editor.get();
        connect(raw, &FieldEditor::Edited, this, [this, raw] { Apply(*raw); });
        m_editors.push_back(std::move(editor));
    }

    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("scrFields"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(form);

    const DialogButtons row = OkCancelButtons(*this);
    QDialogButtonBox* buttons = row.box;
    m_cancel = row.cancel;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(buttons);

    // As tall as the fields need, up to two thirds of the screen; beyond
    // that the fields scroll.
    const int screenHeight = screen() ? screen()->availableGeometry().height() : 768;
    const QSize formSize = form->sizeHint();
    scroll->setMinimumHeight(std::min(formSize.height(), screenHeight * 2 / 3));
    setMinimumWidth(std::max(440, formSize.width() + 40));
}

bool RecordEditorWindow::Apply(FieldEditor& editor)
{
    if (m_applying || !m_session.IsOpen())
        return false;
    const QScopedValueRollback guard(m_applying, true);
    const int index = editor.FieldIndex();
    try {
        m_session.SetValue(index, editor.Value());
        editor.Show(m_session.Value(index));
        return true;
    } catch (const Exception& e) {
        // Leaving a field for "Annulla" drops what was typed without a word.
        if (QApplication::focusWidget() == m_cancel) {
            editor.Show(m_session.Value(index));
            return false;
        }
        Dialogs().MessageBox(e.Description(), MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1,
                             windowTitle());
        // What was typed stays, to be corrected; the record keeps its value.
        editor.KeepPending();
        editor.Widget()->setFocus();
        return false;
    }
}

void RecordEditorWindow::Refresh(const QString& field)
{
    DataObject& data = m_session.Data();
    for (const auto& editor : m_editors) {
        if (editor->IsPending() || data.Field(editor->FieldIndex()).name.compare(field, Qt::CaseInsensitive) != 0)
            continue;
        try {
            editor->Show(m_session.Value(editor->FieldIndex()));
        } catch (const Exception&) {
            // The record is gone from under the editor: what it shows stays.
        }
    }
}

void RecordEditorWindow::accept()
{
    for (const auto& editor : m_editors)
        if (editor->IsPending() && !Apply(*editor))
            return;
    try {
        m_key = m_session.Save();
    } catch (const Exception& e) {
        Dialogs().MessageBox(e.Description(), MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1,
                             windowTitle());
        return;
    }
    QDialog::accept();
}

void RecordEditorWindow::reject()
{
    if (m_session.IsOpen())
        m_session.Cancel();
    QDialog::reject();
}
