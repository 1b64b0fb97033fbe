#pragma once
// Sizes of the main window's pieces, in twips.

#include <QSize>

namespace FrameSizes {
inline constexpr int TitleHeight = 360;       // the title strip
inline constexpr int SplitterWidth = 60;      // the splitter handle
inline constexpr int TreeLeft = 80;
inline constexpr int HideButtonWidth = 330;
inline constexpr int ButtonInset = 30;        // the strip's buttons from its edges
inline constexpr int DateSelWidth = 2700;
inline constexpr int GridSettingWidth = 330;
inline constexpr int SplitterBarShorter = 20; // the dragged bar against the handle
inline constexpr QSize SectionItem(3300, 690); // a section item button
} // namespace FrameSizes
