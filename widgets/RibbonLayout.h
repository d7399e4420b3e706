#pragma once

// Where the ribbon's pager puts its toolbars, kept apart from the widgets so that tests reach it.
//
// The toolbars stand side by side in their order, RibbonLeftMargin pixels from the pager's left
// edge, RibbonGroupGap pixels apart; a floating toolbar takes no place. The ribbon is as wide as
// the last toolbar's right edge plus RibbonRightMargin. When that is wider than the pager, the
// toolbars that have a compact form take it one by one, the rightmost first, until the ribbon
// fits or none is left; what is still too wide scrolls (ScrollRange):
//
//   | 3 |  File  | 3 | Format | 3 | Spine size | 3 |Info|         Info in its compact form
//   |<<|  ...scrolled...                                |>>|      arrows while it scrolls

#include <vector>

inline constexpr int RibbonLeftMargin = 3;
inline constexpr int RibbonGroupGap = 3;
inline constexpr int RibbonRightMargin = 0;

// One toolbar as the layout sees it.
struct TRibbonGroup {
    int FullWidth = 0;    // with all its controls
    int CompactWidth = 0; // in its compact form; 0: it has none
    bool Floating = false;
};

struct TRibbonLayout {
    std::vector<int> Lefts;    // each toolbar's left edge, unscrolled (a floating one's: 0)
    std::vector<bool> Compact; // whether each shows its compact form
    int ContentWidth = 0;      // the ribbon's width with those forms
    int ScrollRange = 0;       // how far it scrolls: ContentWidth - AvailableWidth, at least 0
};

// Lays out Groups, in their order, in a pager AvailableWidth pixels wide.
TRibbonLayout LayoutRibbon(const std::vector<TRibbonGroup>& Groups, int AvailableWidth);

// The scroll offset after one click on a scroll arrow (Direction -1: left, +1: right), from
// Offset, in a pager AvailableWidth wide whose ribbon scrolls by up to Range: half the pager's
// width, at least RibbonMinimumScrollStep, kept within 0 ... Range.
inline constexpr int RibbonMinimumScrollStep = 40;
int ScrolledRibbonOffset(int Offset, int Direction, int AvailableWidth, int Range);
