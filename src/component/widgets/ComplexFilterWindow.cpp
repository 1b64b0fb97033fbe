#include "component/widgets/ComplexFilterWindow.h"

#include "component/Exception.h"
#include "component/FieldText.h"
#include "component/FieldValue.h"
#include "component/SqlDialect.h"
#include "component/widgets/DialogButtons.h"
#include "component/widgets/DialogService.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

struct OperatorText
{
    const char* op;
    const char16_t* text;
};

const OperatorText kOperators[] = {
    {"=", u"= (uguale a)"},         {"<>", u"<> (diverso da)"}, {"<", u"< (minore di)"},
    {"<=", u"<= (minore o uguale)"}, {">", u"> (maggiore di)"},  {">=", u">= (maggiore o uguale)"},
    {"Like", u"Like (simile a)"},
};

QPushButton* Button(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

ComplexFilterWindow::ComplexFilterWindow(ComplexFilter& filter, const DatabaseObject& database, const QString& title,
                                         QWidget* parent)
    : QDialog(parent), m_filter(filter), m_work(filter), m_fields(FilterFieldsOf(database, filter.TableName()))
{
    setObjectName(QStringLiteral("frmComplexFilter"));
    setWindowTitle(title);

    auto* savedBox = new QGroupBox(QStringLiteral("Filtri salvati"), this);
    m_saved = new QComboBox(savedBox);
    m_saved->setObjectName(QStringLiteral("cboSaved"));
    m_saved->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_saved->setMinimumContentsLength(18);
    QPushButton* load = Button(QStringLiteral("&Carica"), "cmdLoad", savedBox);
    QPushButton* save = Button(QStringLiteral("&Salva come..."), "cmdSaveAs", savedBox);
    QPushButton* remove = Button(QStringLiteral("&Elimina"), "cmdDelete", savedBox);
    connect(load, &QPushButton::clicked, this, &ComplexFilterWindow::LoadSaved);
    connect(save, &QPushButton::clicked, this, &ComplexFilterWindow::SaveAs);
    connect(remove, &QPushButton::clicked, this, &ComplexFilterWindow::DeleteSaved);
    auto* savedRow = new QHBoxLayout(savedBox);
    savedRow->addWidget(m_saved, 1);
    savedRow->addWidget(load);
    savedRow->addWidget(save);
    savedRow->addWidget(remove);

    auto* conditionsBox = new QGroupBox(QStringLiteral("Condizioni"), this);
    m_conditions = new QTreeWidget(conditionsBox);
    m_conditions->setObjectName(QStringLiteral("lstConditions"));
    m_conditions->setRootIsDecorated(false);
    m_conditions->setUniformRowHeights(true);
    m_conditions->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_conditions->setHeaderLabels({QStringLiteral("Campo"), QStringLiteral("Confronto"), QStringLiteral("Valore")});
    m_conditions->header()->setStretchLastSection(true);

    m_field = new QComboBox(conditionsBox);
    m_field->setObjectName(QStringLiteral("cboField"));
    // A long caption ("Anno Fiscale a cui si riferisce la numerazione") must
    // not take the room of the value box: the list shows it whole.
    m_field->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_field->setMinimumContentsLength(16);
    for (const FilterField& field : m_fields)
        m_field->addItem(field.caption, field.name);
    m_field->view()->setMinimumWidth(m_field->view()->sizeHintForColumn(0) + 24);
    m_operator = new QComboBox(conditionsBox);
    m_operator->setObjectName(QStringLiteral("cboOperator"));
    for (const OperatorText& op : kOperators)
        m_operator->addItem(QString::fromUtf16(op.text), QString::fromLatin1(op.op));
    m_value = new QLineEdit(conditionsBox);
    m_value->setObjectName(QStringLiteral("txtValue"));
    m_value->setPlaceholderText(QStringLiteral("vuoto"));
    // Room for a date and time as the grid shows it.
    m_value->setMinimumWidth(m_value->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000 00:00:00")) + 16);
    QPushButton* add = Button(QStringLiteral("&Aggiungi"), "cmdAdd", conditionsBox);
    QPushButton* removeCondition = Button(QStringLiteral("&Rimuovi"), "cmdRemove", conditionsBox);
    QPushButton* clear = Button(QStringLiteral("S&vuota"), "cmdClear", conditionsBox);
    connect(add, &QPushButton::clicked, this, &ComplexFilterWindow::AddCondition);
    m_value->installEventFilter(this);
    connect(removeCondition, &QPushButton::clicked, this, &ComplexFilterWindow::RemoveSelected);
    connect(clear, &QPushButton::clicked, this, &ComplexFilterWindow::ClearConditions);

    auto* fieldLabel = new QLabel(QStringLiteral("Ca&mpo:"), conditionsBox);
    fieldLabel->setBuddy(m_field);
    auto* operatorLabel = new QLabel(QStringLiteral("C&onfronto:"), conditionsBox);
    operatorLabel->setBuddy(m_operator);
    auto* valueLabel = new QLabel(QStringLiteral("&Valore:"), conditionsBox);
    valueLabel->setBuddy(m_value);

    auto* editGrid = new QGridLayout;
    editGrid->addWidget(fieldLabel, 0, 0);
    editGrid->addWidget(operatorLabel, 0, 1);
    editGrid->addWidget(valueLabel, 0, 2);
    editGrid->addWidget(m_field, 1, 0);
    editGrid->addWidget(m_operator, 1, 1);
    editGrid->addWidget(m_value, 1, 2);
    editGrid->addWidget(add, 1, 3);
    editGrid->setColumnStretch(0, 2);
    editGrid->setColumnStretch(2, 3);

    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(removeCondition);
    listButtons->addWidget(clear);
    listButtons->addStretch(1);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(m_conditions, 1);
    listRow->addLayout(listButtons);

    auto* conditionsLayout = new QVBoxLayout(conditionsBox);
    conditionsLayout->addLayout(listRow, 1);
    conditionsLayout->addLayout(editGrid);

    QDialogButtonBox* buttons = OkCancelButtons(*this).box;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(savedBox);
    layout->addWidget(conditionsBox, 1);
    layout->addWidget(buttons);
    resize(640, 420);

    ShowSavedNames(m_work.CurrentName());
    ShowConditions();
}

const FilterField* ComplexFilterWindow::FieldNamed(const QString& name) const
{
    for (const FilterField& field : m_fields)
        if (field.name.compare(name, Qt::CaseInsensitive) == 0)
            return &field;
    return nullptr;
}

void ComplexFilterWindow::Warn(const QString& text)
{
    Dialogs().MessageBox(text, MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1, windowTitle());
}

void ComplexFilterWindow::ShowConditions()
{
    m_conditions->clear();
    for (const ComplexFilter::Condition& c : m_work.Conditions()) {
        const FilterField* field = FieldNamed(c.field);
        QString comparison = c.op;
        for (const OperatorText& op : kOperators)
            if (c.op == QLatin1String(op.op))
                comparison = QString::fromUtf16(op.text);
        QString value;
        if (FieldValue::IsNull(c.value))
            comparison = c.op == QLatin1String("<>") ? QStringLiteral("non è vuoto") : QStringLiteral("è vuoto");
        else
            value = field && !FieldType::IsText(field->type) ? FieldValue::Format(c.value, field->type) : c.value.toString();
        auto* item = new QTreeWidgetItem(m_conditions, {field ? field->caption : c.field, comparison, value});
        item->setToolTip(2, value);
    }
    const int spacing = m_conditions->fontMetrics().averageCharWidth() * 3;
    for (int column = 0; column < 2; ++column) {
        m_conditions->resizeColumnToContents(column);
        m_conditions->setColumnWidth(column, std::max(m_conditions->columnWidth(column) + spacing, 120));
    }
}

void ComplexFilterWindow::ShowSavedNames(const QString& selected)
{
    m_saved->clear();
    const QString names = m_work.SavedNames();
    if (!names.isEmpty())
        m_saved->addItems(names.split(u'|'));
    m_saved->setCurrentIndex(std::max(0, m_saved->findText(selected)));
}

bool ComplexFilterWindow::AddCondition()
{
    const FilterField* field = FieldNamed(m_field->currentData().toString());
    if (!field)
        return false;
    const QString op = m_operator->currentData().toString();
    const QString text = m_value->text();
    QVariant value;
    if (!text.trimmed().isEmpty()) {
        if (op == QLatin1String("Like") && !FieldType::IsText(field->type)) {
            Warn(QStringLiteral("Il confronto Like vale solo per i campi di testo."));
            return false;
        }
        try {
            value = FieldType::IsText(field->type) ? QVariant(text) : FieldText::Parse(text, field->type, 0, field->caption);
        } catch (const Exception& e) {
            Warn(e.Description());
            m_value->setFocus();
            return false;
        }
    } else if (op != QLatin1String("=") && op != QLatin1String("<>")) {
        Warn(QStringLiteral("Indicare il valore da confrontare."));
        m_value->setFocus();
        return false;
    }
    m_work.AddCondition(field->name, value, op);
    ShowConditions();
    m_value->clear();
    m_field->setFocus();
    return true;
}

bool ComplexFilterWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the value box adds the condition instead of closing the dialog.
    if (watched == m_value && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            AddCondition();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ComplexFilterWindow::RemoveSelected()
{
    QList<ComplexFilter::Condition> kept;
    const QList<ComplexFilter::Condition>& all = m_work.Conditions();
    for (int i = 0; i < all.size(); ++i) {
        const QTreeWidgetItem* item = m_conditions->topLevelItem(i);
        if (!item || !item->isSelected())
            kept.append(all[i]);
    }
    if (kept.size() == all.size()) {
        Dialogs().Beep();
        return;
    }
    m_work.SetConditions(kept);
    ShowConditions();
}

void ComplexFilterWindow::ClearConditions()
{
    m_work.Clear();
    ShowConditions();
}

void ComplexFilterWindow::LoadSaved()
{
    const QString name = m_saved->currentText();
    if (name.isEmpty()) {
        Dialogs().Beep();
        return;
    }
    try {
        if (!m_work.Select(name)) {
            Dialogs().MessageBox(QStringLiteral("Un filtro con questo nome non è presente!"), MsgButtons::Ok,
                                 MsgIcon::None, MsgDefault::Button1, windowTitle());
            ShowSavedNames(QString());
            return;
        }
    } catch (const Exception& e) {
        Warn(e.Description());
        return;
    }
    ShowConditions();
}

void ComplexFilterWindow::SaveAs()
{
    const QString proposal = m_work.CurrentName().isEmpty() ? m_saved->currentText() : m_work.CurrentName();
    const std::optional<QString> typed =
        Dialogs().InputBox(QStringLiteral("Nome del filtro:"), QStringLiteral("Salva filtro"), proposal);
    if (!typed)
        return;
    const QString name = typed->trimmed();
    if (name.isEmpty())
        return;
    try {
        if (m_work.Exists(name) &&
            Dialogs().MessageBox(QStringLiteral("Un filtro con questo nome esiste già.\rVuoi sostituirlo?"),
                                 MsgButtons::YesNo, MsgIcon::Question, MsgDefault::Button2,
                                 windowTitle()) != MsgResult::Yes)
            return;
        m_work.Save(name);
    } catch (const Exception& e) {
        Warn(e.Description());
        return;
    }
    ShowSavedNames(name);
}

void ComplexFilterWindow::DeleteSaved()
{
    const QString name = m_saved->currentText();
    if (name.isEmpty()) {
        Dialogs().Beep();
        return;
    }
    if (Dialogs().MessageBox(QStringLiteral("Vuoi eliminare il filtro «%1»?").arg(name), MsgButtons::YesNo,
                             MsgIcon::Question, MsgDefault::Button2, windowTitle()) != MsgResult::Yes)
        return;
    try {
        m_work.Delete(name);
    } catch (const Exception& e) {
        Warn(e.Description());
        return;
    }
    ShowSavedNames(QString());
}

void ComplexFilterWindow::accept()
{
    try {
        m_work.Render();
    } catch (const Exception& e) {
        Warn(e.Description());
        return;
    }
    m_filter = m_work;
    QDialog::accept();
}
