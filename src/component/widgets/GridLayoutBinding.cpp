#include "component/widgets/GridLayoutBinding.h"

#include "component/GridLayout.h"
#include "component/widgets/GridBinding.h"

void ApplyGridLayout(const GridLayout& layout, GridBinding& grid)
{
    DataObjectModel& model = grid.Model();
    const QStringList sequence = layout.SequenceFields();
    if (sequence != model.FieldSequence())
        model.SetFieldSequence(sequence);
    for (int column = 0; column < model.columnCount(); ++column) {
        if (model.IsConversionColumn(column))
            continue;
        if (const int twips = layout.FieldWidth(model.FieldNameOfColumn(column)); twips > 0)
            grid.SetColumnWidthTwips(column, twips);
    }
}

GridLayoutBinding::GridLayoutBinding(GridLayout& layout, GridBinding& grid) : m_layout(layout), m_grid(grid)
{
    m_resized = QObject::connect(&grid, &GridBinding::ColumnResized, &grid, [this](int column, int twips) {
        const DataObjectModel& model = m_grid.Model();
        if (!model.IsConversionColumn(column))
            m_layout.SetFieldWidth(model.FieldNameOfColumn(column), twips);
    });
}

GridLayoutBinding::~GridLayoutBinding()
{
    QObject::disconnect(m_resized);
}
