#pragma once
// The data window: the records of a data object in a grid, with a caption
// and the number of records, to look at and close. A right click on a row
// offers the records related to it ("Dati associati"), each opened in a
// data window of its own.

#include <QDialog>
#include <memory>

class DataObject;
class GridBinding;
class QLabel;
class QMenu;
class QTableView;

class DataViewWindow : public QDialog
{
    Q_OBJECT

public:
    DataViewWindow(std::shared_ptr<DataObject> data, const QString& caption, QWidget* parent = nullptr);
    ~DataViewWindow() override;

    QTableView* Grid() const { return m_grid; }
    // The related-items menu for the current row (filled anew each time).
    QMenu* RelatedMenu() const { return m_related; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowCount();
    void ShowRelated(const QPoint& globalPosition);

    std::shared_ptr<DataObject> m_data;
    QTableView* m_grid = nullptr;
    QLabel* m_count = nullptr;
    QMenu* m_related = nullptr;
    std::unique_ptr<GridBinding> m_binding;
};
