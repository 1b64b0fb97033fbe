#pragma once
// The data window: the records of a data object in a grid, with a caption
// and the number of records, to look at and close.

#include <QDialog>
#include <memory>

class DataObject;
class GridBinding;
class QLabel;
class QTableView;

class DataViewWindow : public QDialog
{
    Q_OBJECT

public:
    DataViewWindow(std::shared_ptr<DataObject> data, const QString& caption, QWidget* parent = nullptr);
    ~DataViewWindow() override;

    QTableView* Grid() const { return m_grid; }

private:
    void ShowCount();

    std::shared_ptr<DataObject> m_data;
    QTableView* m_grid = nullptr;
    QLabel* m_count = nullptr;
    std::unique_ptr<GridBinding> m_binding;
};
