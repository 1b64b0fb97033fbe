#pragma once
// How the main window shares its width between the section tree and the
// grid, when the tree collapses, and where the title strip's pieces go. All
// sizes are twips in the window's client area below the menu bar; a pure
// function, so that the rules are tested without a window.

#include <QColor>
#include <QRect>
#include <QString>
#include <optional>

// What the layout reads of the window.
struct MainLayoutInput
{
    bool visible = true;
    bool minimized = false;
    int windowWidth = 0;      // the window's width
    int innerWidth = 0;       // its client area
    int innerHeight = 0;
    int toolbarHeight = 0;    // 0 while the toolbar is hidden
    int statusHeight = 0;     // 0 while the status bar is hidden
    int titleHeight = 0;      // the title strip above tree and grid
    int splitterWidth = 0;    // the splitter handle, also the gap below the strip
    int treeLeft = 0;
    int splitterLeft = 0;     // where the handle is now
    int hideButtonWidth = 0;
    int buttonInset = 0;      // the strip's buttons, inset from its top and bottom
    int dateSelWidth = 0;     // 0 while the date button is hidden; it gets less
                              // when the strip has not that room
    int gridSettingWidth = 0; // 0 while the grid settings button is hidden
};

// What lasts from one layout pass to the next.
struct MainLayoutState
{
    int savedTreeWidth = 0;                     // the width to restore, 0 when none
    std::optional<QColor> savedHideButtonColor; // the hide button's colour before collapsing
    bool treeShown = true;                      // the hide button shows "3"
    QColor hideButtonColor;                     // invalid: the style's own colour
};

struct MainLayoutResult
{
    bool applied = false; // false while the window is minimised or hidden
    int windowWidth = 0;  // widened when it was too narrow
    int splitterLeft = 0;
    QRect titleStrip;
    QRect title0;
    QRect title1;
    QRect hideButton;
    QRect dateSel;
    QRect gridSetting;
    QRect tree;
    QRect splitter;
    QRect grid;
    QString hideCaption;         // "3" while the tree is shown, "4" collapsed
    bool sectionChecked = true;  // mnuHideSection
};

namespace MainLayout {
inline constexpr int MinimumWindowWidth = 3000;
inline constexpr int EdgeWidth = 500;        // a drop this close to the left edge collapses the tree
inline constexpr int MinimumTreeSplit = 1500;
inline constexpr int GridRightRoom = 1000;   // the splitter stays this far from the right edge
inline constexpr int DefaultSplit = 3500;
inline constexpr int HideButtonGap = 20;
inline constexpr int TitleGap = 10;
inline constexpr int GridWidthAllowance = 220;
// The hide button's colour while the tree is collapsed (&HC0FFFF).
QColor CollapsedHideButtonColor();
} // namespace MainLayout

// Lays the window out for the splitter position x: 0 collapses the tree, -1
// restores it to the width it had, 0 < x <= 500 (a drop at the left edge)
// collapses a shown tree and restores a collapsed one, and x > 500 shows a
// tree at least 1500 wide. The splitter always leaves 1000 to its right.
MainLayoutResult LayoutMainWindow(int x, const MainLayoutInput& input, MainLayoutState& state);

// Where the splitter bar follows the pointer while it is dragged: the
// handle's left plus the pointer's x, kept 500 from either edge.
int SplitterBarLeft(int handleLeft, int pointerX, int windowWidth);
