#pragma once
// The field-sequence dialog: which fields a grid of a data object shows and
// in which sequence, starting from the current sequence (or the default
// fields). "&Predefinita" puts the default fields back.

#include "component/widgets/FieldListPicker.h"

#include <QDialog>
#include <QStringList>
#include <optional>

class DataObject;

class FieldSequenceWindow : public QDialog
{
    Q_OBJECT

public:
    FieldSequenceWindow(const DataObject& data, const QString& title, const QString& currentSequence,
                        QWidget* parent = nullptr);

    FieldListPicker* Picker() const { return m_picker; }
    // The sequence chosen (empty when it is the default one), once confirmed.
    const std::optional<QString>& Result() const { return m_result; }

    void accept() override;

private:
    void ShowDefaults();

    FieldListPicker* m_picker = nullptr;
    QList<PickerField> m_fields;
    QStringList m_defaults;
    std::optional<QString> m_result;
};
