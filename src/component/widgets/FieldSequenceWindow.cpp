#include "component/widgets/FieldSequenceWindow.h"

#include "component/DataObject.h"
#include "component/GridLayout.h"
#include "component/widgets/DialogButtons.h"
#include "component/widgets/DialogService.h"
#include "component/widgets/FieldListPicker.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

bool CanBeShown(FieldInfo::Kind kind)
{
    return kind == FieldInfo::Kind::Column || kind == FieldInfo::Kind::Reference || kind == FieldInfo::Kind::Foreign;
}

QList<PickedField> Picked(const QStringList& names)
{
    QList<PickedField> picked;
    for (const QString& name : names)
        picked.append({name, false});
    return picked;
}

} // namespace

FieldSequenceWindow::FieldSequenceWindow(const DataObject& data, const QString& title, const QString& currentSequence,
                                         QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFieldSequence"));
    setWindowTitle(title);
    for (int i = 0; i < data.FieldCount(); ++i) {
        const FieldInfo& field = data.Field(i);
        if (!CanBeShown(field.kind))
            continue;
        m_fields.append({field.name, field.caption});
        if (field.visible)
            m_defaults.append(field.name);
    }
    QStringList current;
    for (const QString& name : GridLayout::SplitSequence(currentSequence)) {
        const int index = data.FieldIndex(name);
        if (index >= 0 && CanBeShown(data.Field(index).kind))
            current.append(data.Field(index).name);
    }

    m_picker = new FieldListPicker(QStringLiteral("&Campi nascosti:"), QStringLiteral("Campi &visualizzati:"), false,
                                   this);
    m_picker->SetFields(m_fields, Picked(current.isEmpty() ? m_defaults : current));

    QDialogButtonBox* buttons = OkCancelButtons(*this).box;
    QPushButton* defaults = buttons->addButton(QStringLiteral("&Predefinita"), QDialogButtonBox::ResetRole);
    defaults->setObjectName(QStringLiteral("cmdDefault"));
    defaults->setAutoDefault(false);
    connect(defaults, &QPushButton::clicked, this, &FieldSequenceWindow::ShowDefaults);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_picker, 1);
    layout->addWidget(buttons);
    resize(520, 360);
}

void FieldSequenceWindow::ShowDefaults()
{
    m_picker->SetFields(m_fields, Picked(m_defaults));
}

void FieldSequenceWindow::accept()
{
    QStringList names;
    for (const PickedField& picked : m_picker->Chosen())
        names.append(picked.name);
    if (names.isEmpty()) {
        Dialogs().MessageBox(QStringLiteral("Scegliere almeno un campo da visualizzare."), MsgButtons::Ok,
                             MsgIcon::Exclamation, MsgDefault::Button1, windowTitle());
        return;
    }
    m_result = names == m_defaults ? QString() : GridLayout::JoinSequence(names);
    QDialog::accept();
}
