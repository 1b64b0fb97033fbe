#pragma once
// Two lists side by side: the fields still available and the fields chosen,
// in order. Buttons (or double clicks) move fields across and up and down;
// with directions, each chosen field is also ascending or descending. The
// order and field-sequence dialogs are built on it.

#include <QList>
#include <QString>
#include <QWidget>

class QCheckBox;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

struct PickerField
{
    QString name;
    QString caption;
};

struct PickedField
{
    QString name;
    bool descending = false;
};

class FieldListPicker : public QWidget
{
    Q_OBJECT

public:
    FieldListPicker(const QString& availableTitle, const QString& chosenTitle, bool withDirections,
                    QWidget* parent = nullptr);

    // Every field that can be chosen, in field order, and those chosen now
    // (a chosen name that is not among them is kept, shown as it is).
    void SetFields(const QList<PickerField>& fields, const QList<PickedField>& chosen);
    QList<PickedField> Chosen() const;

    void AddSelected();
    void RemoveSelected();
    void MoveUp();
    void MoveDown();

Q_SIGNALS:
    void Changed();

private:
    QTreeWidgetItem* ChosenItem(const QString& name, const QString& caption, bool descending);
    void FillAvailable();
    void UpdateButtons();
    void SetDirection(bool descending);
    QString CaptionOf(const QString& name) const;

    bool m_directions;
    QList<PickerField> m_fields;
    QListWidget* m_available = nullptr;
    QTreeWidget* m_chosen = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    QCheckBox* m_descending = nullptr;
};
