#include "browser/frmSetParamStat.h"

#include "browser/ParamStatRules.h"
#include "component/widgets/DialogService.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

struct Kept
{
    QString documentType;
    QDate from;
    QDate to;
};

Kept& KeptValues()
{
    static Kept kept;
    return kept;
}

QLineEdit* DateBox(const QString& name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setInputMask(QStringLiteral("99/99/99;_"));
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) + 16);
    return box;
}

} // namespace

QString frmSetParamStat::Sel_TipoDoc() { return KeptValues().documentType; }
QDate frmSetParamStat::Sel_DaData() { return KeptValues().from; }
QDate frmSetParamStat::Sel_AData() { return KeptValues().to; }
void frmSetParamStat::ResetKept() { KeptValues() = Kept{}; }

frmSetParamStat::frmSetParamStat(const QStringList& documentTypes, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSetParamStat"));
    setWindowTitle(QStringLiteral("Impostazione criteri di ricerca"));
    cmbTipoDoc = new QComboBox(this);
    cmbTipoDoc->setObjectName(QStringLiteral("cmbTipoDoc"));
    cmbTipoDoc->setEditable(true);
    cmbTipoDoc->addItem(QString());
    cmbTipoDoc->addItems(documentTypes);
    txtDaData = DateBox(QStringLiteral("txtDaData"), this);
    txtAData = DateBox(QStringLiteral("txtAData"), this);
    cmdSearch = new QPushButton(QStringLiteral("&Ricerca"), this);
    cmdSearch->setObjectName(QStringLiteral("cmdSearch"));
    cmdSearch->setDefault(true);
    cmdClear = new QPushButton(QStringLiteral("&Pulisci"), this);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    cmdCancel = new QPushButton(QStringLiteral("&Annulla"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Tipo Documento:"), cmbTipoDoc);
    form->addRow(QStringLiteral("Da Data:"), txtDaData);
    form->addRow(QStringLiteral("A Data:"), txtAData);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSearch);
    buttons->addWidget(cmdClear);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    // Opening shows what was confirmed last.
    cmbTipoDoc->setCurrentText(KeptValues().documentType);
    txtDaData->setText(TypedDateText(KeptValues().from));
    txtAData->setText(TypedDateText(KeptValues().to));
    txtDaData->installEventFilter(this);
    txtAData->installEventFilter(this);

    connect(cmdSearch, &QPushButton::clicked, this, &frmSetParamStat::Search);
    connect(cmdClear, &QPushButton::clicked, this, &frmSetParamStat::Clear);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool frmSetParamStat::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        auto* box = qobject_cast<QLineEdit*>(watched);
        QDate ignored;
        if (box == txtAData && ParseTypedDate(txtDaData->text(), &ignored) != TypedDate::Empty)
            txtAData->setText(txtDaData->text());
        if (box)
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

void frmSetParamStat::Clear()
{
    cmbTipoDoc->setCurrentText(QString());
    txtDaData->setText(TypedDateText(QDate()));
    txtAData->setText(TypedDateText(QDate()));
}

void frmSetParamStat::Search()
{
    KeptValues().documentType = cmbTipoDoc->currentText().trimmed();
    const ParamStatCheck check = CheckParamStat(txtDaData->text(), txtAData->text());
    if (check.keepFrom)
        KeptValues().from = check.from;
    if (check.keepTo)
        KeptValues().to = check.to;
    if (!check.ok) {
        Dialogs().MessageBox(check.message, MsgButtons::Ok, check.icon, MsgDefault::Button1, QString());
        (check.focus == ParamStatCheck::Focus::To ? txtAData : txtDaData)->setFocus();
        return;
    }
    m_confirmed = true;
    accept();
}
