#include "component/widgets/DialogButtons.h"


#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

DialogButtons OkCancelButtons(QDialog& window, const QString& okCaption, const QString& okName)
{
    auto* box = new QDialogButtonBox(&window);
    QPushButton* ok = box->addButton(okCaption, QDialogButtonBox::AcceptRole);
    ok->setObjectName(okName);
    ok->setDefault(true);
    QPushButton* cancel = box->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    QObject::connect(box, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    return {box, ok, cancel};
}
