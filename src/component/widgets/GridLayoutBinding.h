#pragma once
// A grid layout on a grid: the layout's field sequence and column widths
// shown by the grid, and the widths the user gives the columns kept in the
// layout (which the caller saves).

#include <QMetaObject>

class GridBinding;
class GridLayout;

// Shows the layout's sequence and stored widths; columns without a stored
// width keep theirs.
void ApplyGridLayout(const GridLayout& layout, GridBinding& grid);

// While alive, every column the user resizes stores its width, by field,
// in the layout. Both must outlive it.
class GridLayoutBinding
{
public:
    GridLayoutBinding(GridLayout& layout, GridBinding& grid);
    ~GridLayoutBinding();
    GridLayoutBinding(const GridLayoutBinding&) = delete;
    GridLayoutBinding& operator=(const GridLayoutBinding&) = delete;

    GridLayout& Layout() const { return m_layout; }
    void Apply() { ApplyGridLayout(m_layout, m_grid); }

private:
    GridLayout& m_layout;
    GridBinding& m_grid;
    QMetaObject::Connection m_resized;
};
