#pragma once
// The complex filter dialog: the conditions of a filter (field, comparison,
// value), added and removed one by one, and the filters saved for the
// table, which can be loaded, saved under a name and deleted. The dialog
// works on a copy: "OK" hands the conditions to the filter, "Annulla"
// leaves it as it was.

#include "component/ComplexFilter.h"
#include "component/FilterFields.h"

#include <QDialog>

class DatabaseObject;
class QComboBox;
class QLineEdit;
class QTreeWidget;

class ComplexFilterWindow : public QDialog
{
    Q_OBJECT

public:
    ComplexFilterWindow(ComplexFilter& filter, const DatabaseObject& database, const QString& title,
                        QWidget* parent = nullptr);

    // The conditions as edited so far.
    const ComplexFilter& Working() const { return m_work; }

    // Adds the condition of the field, comparison and value boxes; false
    // (after a message) when the value does not suit the field.
    bool AddCondition();
    void RemoveSelected();
    void ClearConditions();
    void LoadSaved();
    void SaveAs();
    void DeleteSaved();

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowConditions();
    void ShowSavedNames(const QString& selected);
    const FilterField* FieldNamed(const QString& name) const;
    void Warn(const QString& text);

    ComplexFilter& m_filter;
    ComplexFilter m_work;
    QList<FilterField> m_fields;
    QComboBox* m_saved = nullptr;
    QTreeWidget* m_conditions = nullptr;
    QComboBox* m_field = nullptr;
    QComboBox* m_operator = nullptr;
    QLineEdit* m_value = nullptr;
};
