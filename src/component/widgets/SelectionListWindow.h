#pragma once
// The selection list: the records of a data object in a grid, optionally
// with a box that searches one field as the user types. Enter or a double
// click chooses the record under the cursor; Esc closes the list without
// choosing and puts the data object back on the record it was on.

#include <QDialog>
#include <memory>
#include <optional>

class DataObject;
class GridBinding;
class QLineEdit;
class QTableView;

class SelectionListWindow : public QDialog
{
    Q_OBJECT

public:
    SelectionListWindow(std::shared_ptr<DataObject> data, const QString& title, const QString& searchField,
                        QWidget* parent = nullptr);
    ~SelectionListWindow() override;

    // The chosen record's OID, once the list was closed by choosing.
    const std::optional<qint64>& ChosenKey() const { return m_key; }
    QTableView* Grid() const { return m_grid; }

    // Moves to the first record whose search field begins with `text`;
    // false when none does (the cursor stays where it was).
    bool Search(const QString& text);

    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::shared_ptr<DataObject> m_data;
    QString m_searchField;
    QTableView* m_grid = nullptr;
    QLineEdit* m_search = nullptr;
    std::unique_ptr<GridBinding> m_binding;
    std::optional<qint64> m_key;
    std::optional<qint64> m_startKey;
};
