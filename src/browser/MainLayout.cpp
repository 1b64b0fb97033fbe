#include "browser/MainLayout.h"

#include <algorithm>

namespace MainLayout {

QColor CollapsedHideButtonColor()
{
    return QColor(0xFF, 0xFF, 0xC0);
}

} // namespace MainLayout

using namespace MainLayout;

namespace {

// The width to restore; a tree collapsed before any width was known comes
// back at the first-run width rather than staying collapsed.
int TakeSavedWidth(MainLayoutState& state)
{
    const int width = state.savedTreeWidth > 0 ? state.savedTreeWidth : DefaultSplit;
    state.savedTreeWidth = 0;
    return width;
}

} // namespace

MainLayoutResult LayoutMainWindow(int x, const MainLayoutInput& given, MainLayoutState& state)
{
    MainLayoutResult result;
    if (given.minimized || !given.visible)
        return result;

    MainLayoutInput in = given;
    if (in.windowWidth < MinimumWindowWidth) {
        in.innerWidth += MinimumWindowWidth - in.windowWidth;
        in.windowWidth = MinimumWindowWidth;
    }

    if (x == -1) {
        x = TakeSavedWidth(state);
    } else if (x > 0 && x <= EdgeWidth) {
        if (state.treeShown)
            return LayoutMainWindow(0, in, state);
        x = TakeSavedWidth(state);
    } else if (x > EdgeWidth) {
        x = std::max(x, MinimumTreeSplit);
    } else if (x < 0) {
        x = 0;
    }

    if (x != 0) {
        state.treeShown = true;
        result.hideCaption = QStringLiteral("3");
        result.sectionChecked = true;
        if (state.savedHideButtonColor)
            state.hideButtonColor = *state.savedHideButtonColor;
    } else {
        if (state.savedTreeWidth == 0)
            state.savedTreeWidth = in.splitterLeft;
        state.treeShown = false;
        result.hideCaption = QStringLiteral("4");
        result.sectionChecked = false;
        if (!state.savedHideButtonColor)
            state.savedHideButtonColor = state.hideButtonColor;
        state.hideButtonColor = CollapsedHideButtonColor();
    }

    x = std::min(x, in.windowWidth - GridRightRoom);

    const int treeWidth = x == 0 ? 0 : std::max(0, x - in.treeLeft);
    const int gridLeft = x + in.splitterWidth;
    const int gridWidth = std::max(0, in.innerWidth - (treeWidth + GridWidthAllowance));
    const int gridRight = gridLeft + gridWidth;

    const int stripTop = in.toolbarHeight;
    const int buttonTop = stripTop + in.buttonInset;
    const int buttonHeight = std::max(0, in.titleHeight - 2 * in.buttonInset);
    result.titleStrip = QRect(0, stripTop, in.innerWidth, in.titleHeight);
    result.title0 = QRect(in.treeLeft, stripTop, treeWidth, in.titleHeight);
    result.hideButton = QRect(gridLeft + HideButtonGap, buttonTop, in.hideButtonWidth, buttonHeight);
    const int title1Left = result.hideButton.x() + in.hideButtonWidth + TitleGap;
    result.gridSetting = QRect(gridRight - in.gridSettingWidth, buttonTop, in.gridSettingWidth, buttonHeight);
    // The date button never reaches left of the title it follows.
    const int dateSelWidth = std::min(in.dateSelWidth, std::max(0, result.gridSetting.x() - title1Left));
    result.dateSel = QRect(result.gridSetting.x() - dateSelWidth, buttonTop, dateSelWidth, buttonHeight);
    result.title1 = QRect(title1Left, stripTop, std::max(0, result.dateSel.x() - title1Left), in.titleHeight);

    const int gap = in.splitterWidth;
    const int top = in.toolbarHeight + in.titleHeight + gap;
    const int height = std::max(0, in.innerHeight - (stripTop + in.titleHeight + in.statusHeight) - gap);
    result.tree = QRect(in.treeLeft, top, treeWidth, height);
    result.splitter = QRect(x, top, in.splitterWidth, height);
    result.grid = QRect(gridLeft, top, gridWidth, height);

    result.splitterLeft = x;
    result.windowWidth = in.windowWidth;
    result.applied = true;
    return result;
}

int SplitterBarLeft(int handleLeft, int pointerX, int windowWidth)
{
    const int left = handleLeft + pointerX;
    return std::max(EdgeWidth, std::min(left, windowWidth - EdgeWidth));
}
