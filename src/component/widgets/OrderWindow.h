#pragma once
// The combined order dialog: the fields of a data object that can order
// it, and the chosen order with a direction per field, starting from the
// current order. "OK" gives the order string.

#include <QDialog>
#include <optional>

class DataObject;
class FieldListPicker;

class OrderWindow : public QDialog
{
    Q_OBJECT

public:
    OrderWindow(const DataObject& data, const QString& title, const QString& currentOrder, QWidget* parent = nullptr);

    FieldListPicker* Picker() const { return m_picker; }
    // The order chosen, once the dialog was confirmed.
    const std::optional<QString>& Result() const { return m_result; }

    void accept() override;

private:
    FieldListPicker* m_picker = nullptr;
    std::optional<QString> m_result;
};
