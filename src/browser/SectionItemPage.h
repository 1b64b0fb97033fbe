#pragma once
// The page of large buttons shown in the grid's place while a group node of
// the section tree is selected: a header, then one button per section of the
// group, in columns when the window is too short for one.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

class QTreeWidgetItem;

// Where the page's buttons go, in twips of the window's client area.
struct SectionItemGeometry
{
    QRect header;      // empty when the group has no sections
    QList<QRect> items;
};

// Lays out the header and `count` buttons of the template's size, in twips:
// from 400 right of the splitter and 150 below the tree's top, 150 apart.
// The header reaches 800 short of the client area's right edge; where that
// leaves it narrower than a button, it is as wide as a button but ends 150
// short of the right edge (its words wrap then). It is half a button high,
// or what headerHeight asks for its width when that is more (the lines of
// its wrapped caption). A button that would reach the client height less
// 150 starts a new column, 400 to the right, below the header; a column
// never stays empty.
SectionItemGeometry LayoutSectionItems(int splitterLeft, int treeTop, int innerWidth, int innerHeight,
                                       QSize templateSize, int count,
                                       const std::function<int(int width)>& headerHeight = {});

// The sections of a group shown on its page: its children with a text.
QList<const QTreeWidgetItem*> PageSections(const QTreeWidgetItem& group);

// The header's caption for a group's text.
QString SectionItemHeader(const QString& groupText);
// A section button's tooltip.
QString SectionItemTooltip(const QString& sectionText);

class SectionItemPage : public QObject
{
    Q_OBJECT

public:
    // The buttons are children of `area`; element 0 (acmdSectionItem(0)) is
    // the hidden template whose size and font the others take.
    SectionItemPage(QWidget* area, QSize templateSize);

    // Removes the page's buttons, the last first.
    void Clear();
    // Builds the page of a group node: the header and one button per child
    // with a text, placed at the geometry's twips turned into pixels of
    // `area` by toPixels.
    void Show(const QTreeWidgetItem& group, const SectionItemGeometry& geometry,
              const std::function<QRect(const QRect&)>& toPixels);

    // The height in pixels that the header of a group needs at a width in
    // pixels: its caption's words wrapped into lines, never cut.
    int HeaderHeight(const QString& groupText, int width) const;

    // The buttons on screen: element 1 is the header.
    int Count() const { return int(m_items.size()); }
    QPushButton* Item(int index) const; // 0 is the template
    QSize TemplateSize() const { return m_templateSize; }

Q_SIGNALS:
    // A section button was clicked: its tag is the section's key, or its
    // index as text for a section without a key.
    void Clicked(const QString& tag);

private:
    QPointer<QWidget> m_area;
    QSize m_templateSize;
    // The buttons belong to the area; a removed button is deleted once
    // control returns to the event loop, since its own click may be what
    // rebuilds the page.
    QPointer<QPushButton> m_template;
    std::vector<QPointer<QPushButton>> m_items;
};
