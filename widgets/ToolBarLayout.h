#pragma once

// Where a ribbon toolbar puts its controls, kept apart from the widget so that tests reach it.
//
// The controls stand side by side, left to right in the order given, without gaps, the first
// ToolBarLeftMargin pixels from the toolbar's left edge. Each is centred vertically in the band
// above the caption strip (the bottom ToolBarCaptionHeight pixels). A self-sizing toolbar is
// ToolBarLeftMargin + the controls' widths + ToolBarRightMargin wide, and never narrower than
// its caption text plus ToolBarCaptionPadding on each side:
//
//   +---+---------+---------+---+
//   | 3 | control | control | 3 |   controls centred in the band above the caption strip
//   |   +---------+---------+   |
//   |          Caption          |   ToolBarCaptionHeight high, text centred
//   +---------------------------+

#include <QPoint>
#include <QSize>

#include <vector>

inline constexpr int ToolBarLeftMargin = 3;
inline constexpr int ToolBarRightMargin = 3;
inline constexpr int ToolBarCaptionHeight = 16;
inline constexpr int ToolBarCaptionPadding = 8;
// The height of a toolbar on the ribbon page.
inline constexpr int ToolBarDefaultHeight = 90;

// The compact form: the toolbar shrunk to its caption and a CompactPictureSize picture, the
// picture centred above the caption strip, as wide as the picture with CompactPicturePadding on
// each side, or as its caption, whichever is wider.
inline constexpr int CompactPictureSize = 64;
inline constexpr int CompactPicturePadding = 6;

struct TToolBarLayout {
    std::vector<QPoint> Positions; // top-left corner of each control, in the order given
    int Width = 0;                 // the width a self-sizing toolbar takes
};

// Lays out controls of the given sizes in a toolbar Height pixels high whose caption text is
// CaptionTextWidth pixels wide.
TToolBarLayout LayoutToolBar(const std::vector<QSize>& ControlSizes, int CaptionTextWidth,
                             int Height);

// The width of a toolbar in its compact form with a caption CaptionTextWidth pixels wide.
int CompactToolBarWidth(int CaptionTextWidth);
