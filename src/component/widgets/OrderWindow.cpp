#include "component/widgets/OrderWindow.h"

#include "component/DataObject.h"
#include "component/OrderText.h"
#include "component/widgets/DialogButtons.h"
#include "component/widgets/FieldListPicker.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

OrderWindow::OrderWindow(const DataObject& data, const QString& title, const QString& currentOrder, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOrder"));
    setWindowTitle(title);

    QList<PickerField> fields;
    for (int i = 0; i < data.FieldCount(); ++i)
        if (!data.Field(i).excluded)
            fields.append({data.Field(i).name, data.Field(i).caption});
    QList<PickedField> chosen;
    for (const OrderText::Term& term : OrderText::Parse(currentOrder)) {
        PickedField picked{term.field, term.descending};
        for (const PickerField& field : fields)
            if (OrderText::Names(term, field.name, data.TableName()))
                picked.name = field.name;
        chosen.append(picked);
    }

    m_picker = new FieldListPicker(QStringLiteral("&Campi:"), QStringLiteral("&Ordina per:"), true, this);
    m_picker->SetFields(fields, chosen);

    QDialogButtonBox* buttons = OkCancelButtons(*this).box;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_picker, 1);
    layout->addWidget(buttons);
    resize(560, 340);
}

void OrderWindow::accept()
{
    QList<OrderText::Term> terms;
    for (const PickedField& picked : m_picker->Chosen())
        terms.append({picked.name, picked.descending});
    m_result = OrderText::Format(terms);
    QDialog::accept();
}
