#include "component/widgets/FieldListPicker.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace {

constexpr int kNameRole = Qt::UserRole;
constexpr int kDescendingRole = Qt::UserRole + 1;

QString DirectionText(bool descending)
{
    return descending ? QStringLiteral("Decrescente") : QStringLiteral("Crescente");
}

} // namespace

FieldListPicker::FieldListPicker(const QString& availableTitle, const QString& chosenTitle, bool withDirections,
                                 QWidget* parent)
    : QWidget(parent), m_directions(withDirections)
{
    m_available = new QListWidget(this);
    m_available->setObjectName(QStringLiteral("lstFields"));
    m_available->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_chosen = new QTreeWidget(this);
    m_chosen->setObjectName(QStringLiteral("lstChosen"));
    m_chosen->setRootIsDecorated(false);
    m_chosen->setItemsExpandable(false);
    m_chosen->setUniformRowHeights(true);
    m_chosen->setColumnCount(withDirections ? 2 : 1);
    m_chosen->setHeaderHidden(!withDirections);
    if (withDirections) {
        m_chosen->setHeaderLabels({QStringLiteral("Campo"), QStringLiteral("Direzione")});
        m_chosen->header()->setStretchLastSection(false);
        m_chosen->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        m_chosen->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    }

    auto* availableLabel = new QLabel(availableTitle, this);
    availableLabel->setBuddy(m_available);
    auto* chosenLabel = new QLabel(chosenTitle, this);
    chosenLabel->setBuddy(m_chosen);

    auto makeButton = [this](const QString& text, const char* name) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        return button;
    };
    m_add = makeButton(QStringLiteral("&Aggiungi >"), "cmdAdd");
    m_remove = makeButton(QStringLiteral("< &Togli"), "cmdRemove");
    m_up = makeButton(QStringLiteral("S&u"), "cmdUp");
    m_down = makeButton(QStringLiteral("Gi&ù"), "cmdDown");
    connect(m_add, &QPushButton::clicked, this, &FieldListPicker::AddSelected);
    connect(m_remove, &QPushButton::clicked, this, &FieldListPicker::RemoveSelected);
    connect(m_up, &QPushButton::clicked, this, &FieldListPicker::MoveUp);
    connect(m_down, &QPushButton::clicked, this, &FieldListPicker::MoveDown);
    connect(m_available, &QListWidget::itemDoubleClicked, this, &FieldListPicker::AddSelected);
    connect(m_chosen, &QTreeWidget::itemDoubleClicked, this, &FieldListPicker::RemoveSelected);
    connect(m_available, &QListWidget::itemSelectionChanged, this, &FieldListPicker::UpdateButtons);
    connect(m_chosen, &QTreeWidget::itemSelectionChanged, this, &FieldListPicker::UpdateButtons);
    connect(m_chosen, &QTreeWidget::currentItemChanged, this, &FieldListPicker::UpdateButtons);

    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(m_add);
    middle->addWidget(m_remove);
    middle->addSpacing(12);
    middle->addWidget(m_up);
    middle->addWidget(m_down);
    if (withDirections) {
        m_descending = new QCheckBox(QStringLiteral("&Decrescente"), this);
        m_descending->setObjectName(QStringLiteral("chkDescending"));
        connect(m_descending, &QCheckBox::toggled, this, &FieldListPicker::SetDirection);
        middle->addSpacing(12);
        middle->addWidget(m_descending);
    }
    middle->addStretch(1);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(chosenLabel, 0, 2);
    grid->addWidget(m_available, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(m_chosen, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, withDirections ? 3 : 2);
    UpdateButtons();
}

QString FieldListPicker::CaptionOf(const QString& name) const
{
    for (const PickerField& field : m_fields)
        if (field.name.compare(name, Qt::CaseInsensitive) == 0)
            return field.caption;
    return name;
}

QTreeWidgetItem* FieldListPicker::ChosenItem(const QString& name, const QString& caption, bool descending)
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, caption);
    item->setData(0, kNameRole, name);
    item->setData(0, kDescendingRole, descending);
    if (m_directions)
        item->setText(1, DirectionText(descending));
    return item;
}

void FieldListPicker::SetFields(const QList<PickerField>& fields, const QList<PickedField>& chosen)
{
    m_fields = fields;
    // Both lists show the longest caption whole ("Anno Fiscale a cui si
    // riferisce la numerazione"), with room for the direction and a scroll bar.
    int widest = 0;
    for (const PickerField& field : m_fields)
        widest = std::max(widest, m_available->fontMetrics().horizontalAdvance(field.caption));
    const int room = widest + 2 * m_available->frameWidth() + m_available->verticalScrollBar()->sizeHint().width() + 12;
    m_available->setMinimumWidth(room);
    m_chosen->setMinimumWidth(room + (m_directions ? m_chosen->fontMetrics().horizontalAdvance(QStringLiteral("Decrescente")) + 16 : 0));
    m_chosen->clear();
    for (const PickedField& picked : chosen)
        m_chosen->addTopLevelItem(ChosenItem(picked.name, CaptionOf(picked.name), picked.descending));
    FillAvailable();
    if (m_chosen->topLevelItemCount() > 0)
        m_chosen->setCurrentItem(m_chosen->topLevelItem(0));
    UpdateButtons();
}

void FieldListPicker::FillAvailable()
{
    const QSignalBlocker blocker(m_available);
    m_available->clear();
    for (const PickerField& field : m_fields) {
        bool taken = false;
        for (int i = 0; i < m_chosen->topLevelItemCount() && !taken; ++i)
            taken = m_chosen->topLevelItem(i)->data(0, kNameRole).toString().compare(field.name, Qt::CaseInsensitive) == 0;
        if (taken)
            continue;
        auto* item = new QListWidgetItem(field.caption, m_available);
        item->setData(kNameRole, field.name);
    }
}

QList<PickedField> FieldListPicker::Chosen() const
{
    QList<PickedField> chosen;
    for (int i = 0; i < m_chosen->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_chosen->topLevelItem(i);
        chosen.append({item->data(0, kNameRole).toString(), item->data(0, kDescendingRole).toBool()});
    }
    return chosen;
}

void FieldListPicker::AddSelected()
{
    const QList<QListWidgetItem*> selected = m_available->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* last = nullptr;
    for (int row = 0; row < m_available->count(); ++row) {
        const QListWidgetItem* item = m_available->item(row);
        if (!item->isSelected())
            continue;
        last = ChosenItem(item->data(kNameRole).toString(), item->text(), false);
        m_chosen->addTopLevelItem(last);
    }
    const int next = m_available->row(selected.first());
    FillAvailable();
    if (m_available->count() > 0)
        m_available->setCurrentRow(std::min(next, m_available->count() - 1));
    m_chosen->setCurrentItem(last);
    UpdateButtons();
    Q_EMIT Changed();
}

void FieldListPicker::RemoveSelected()
{
    const QList<QTreeWidgetItem*> selected = m_chosen->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = m_chosen->indexOfTopLevelItem(selected.first());
    for (QTreeWidgetItem* item : selected)
        std::unique_ptr<QTreeWidgetItem>(m_chosen->takeTopLevelItem(m_chosen->indexOfTopLevelItem(item)));
    FillAvailable();
    if (m_chosen->topLevelItemCount() > 0)
        m_chosen->setCurrentItem(m_chosen->topLevelItem(std::min(row, m_chosen->topLevelItemCount() - 1)));
    UpdateButtons();
    Q_EMIT Changed();
}

void FieldListPicker::MoveUp()
{
    QTreeWidgetItem* item = m_chosen->currentItem();
    const int row = item ? m_chosen->indexOfTopLevelItem(item) : -1;
    if (row <= 0)
        return;
    m_chosen->insertTopLevelItem(row - 1, m_chosen->takeTopLevelItem(row));
    m_chosen->setCurrentItem(item);
    UpdateButtons();
    Q_EMIT Changed();
}

void FieldListPicker::MoveDown()
{
    QTreeWidgetItem* item = m_chosen->currentItem();
    const int row = item ? m_chosen->indexOfTopLevelItem(item) : -1;
    if (row < 0 || row + 1 >= m_chosen->topLevelItemCount())
        return;
    m_chosen->insertTopLevelItem(row + 1, m_chosen->takeTopLevelItem(row));
    m_chosen->setCurrentItem(item);
    UpdateButtons();
    Q_EMIT Changed();
}

void FieldListPicker::SetDirection(bool descending)
{
    QTreeWidgetItem* item = m_chosen->currentItem();
    if (!item || item->data(0, kDescendingRole).toBool() == descending)
        return;
    item->setData(0, kDescendingRole, descending);
    item->setText(1, DirectionText(descending));
    Q_EMIT Changed();
}

void FieldListPicker::UpdateButtons()
{
    QTreeWidgetItem* current = m_chosen->currentItem();
    const int row = current ? m_chosen->indexOfTopLevelItem(current) : -1;
    m_add->setEnabled(!m_available->selectedItems().isEmpty());
    m_remove->setEnabled(!m_chosen->selectedItems().isEmpty());
    m_up->setEnabled(row > 0);
    m_down->setEnabled(row >= 0 && row + 1 < m_chosen->topLevelItemCount());
    if (m_descending) {
        const QSignalBlocker blocker(m_descending);
        m_descending->setEnabled(current != nullptr);
        m_descending->setChecked(current && current->data(0, kDescendingRole).toBool());
    }
}
