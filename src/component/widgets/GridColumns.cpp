#include "component/widgets/GridColumns.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>

int FitColumnsToContents(QTableView& view, int sampleRows)
{
    const QAbstractItemModel* model = view.model();
    if (!model)
        return 0;
    const QFontMetrics text = view.fontMetrics();
    const QFontMetrics header = view.horizontalHeader()->fontMetrics();
    const int rows = std::min(model->rowCount(), sampleRows);
    const int padding = 2 * view.style()->pixelMetric(QStyle::PM_HeaderMargin) + 16;
    int total = 0;
    for (int column = 0; column < model->columnCount(); ++column) {
        int width = header.horizontalAdvance(model->headerData(column, Qt::Horizontal).toString());
        for (int row = 0; row < rows; ++row) {
            const QModelIndex index = model->index(row, column);
            width = std::max(width, text.horizontalAdvance(model->data(index).toString()));
            if (model->data(index, Qt::CheckStateRole).isValid())
                width = std::max(width, view.style()->pixelMetric(QStyle::PM_IndicatorWidth));
        }
        width = std::clamp(width + padding, 60, 320);
        view.setColumnWidth(column, width);
        total += width;
    }
    return total;
}
