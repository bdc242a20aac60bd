#pragma once

namespace quilla::settings_metrics {

// Sizes of the settings window in device-independent pixels, one place for every page.
inline constexpr int windowWidth = 860;
inline constexpr int windowHeight = 560;
inline constexpr int sidebarWidth = 270;
inline constexpr int sidebarMinimumWidth = 238;
inline constexpr int pageMaximumWidth = 760;
inline constexpr int pageMargin = 24;
inline constexpr int pageBottomMargin = 32;
inline constexpr int sectionSpacing = 18;
inline constexpr int sectionTitleGap = 6;
inline constexpr int panelRadius = 12;
inline constexpr int rowMinimumHeight = 50;
inline constexpr int childRowHeight = 54;
inline constexpr int childListMinimumHeight = 164;
inline constexpr int rowPadding = 12;
inline constexpr int separatorInset = 12;
inline constexpr int titlePixelSize = 14;
inline constexpr int subtitlePixelSize = 12;
inline constexpr int sectionTitlePixelSize = 13;
inline constexpr int headerTitlePixelSize = 22;
inline constexpr int rowTileSize = 28;
inline constexpr int rowGlyphSize = 16;
inline constexpr int headerTileSize = 44;
inline constexpr int headerGlyphSize = 26;
inline constexpr int brandTileSize = 36;
inline constexpr int sidebarTileSize = 24;
inline constexpr int sidebarRowHeight = 40;
inline constexpr int switchWidth = 40;
inline constexpr int switchHeight = 22;
inline constexpr int switchKnob = 18;
inline constexpr int switchSlideMilliseconds = 150;
inline constexpr double disabledRowOpacity = 0.55;

} // namespace quilla::settings_metrics
