#include "widgets/RibbonLayout.h"

#include <algorithm>
#include <cstddef>

namespace {

// Sets Layout's Lefts and ContentWidth for the forms in Layout.Compact.
void Place(const std::vector<TRibbonGroup>& Groups, TRibbonLayout& Layout) {
    int X = RibbonLeftMargin;
    int Right = 0;
    for (std::size_t I = 0; I < Groups.size(); ++I) {
        if (Groups[I].Floating) {
            Layout.Lefts[I] = 0;
            continue;
        }
        Layout.Lefts[I] = X;
        Right = X + (Layout.Compact[I] ? Groups[I].CompactWidth : Groups[I].FullWidth);
        X = Right + RibbonGroupGap;
    }
    Layout.ContentWidth = Right + RibbonRightMargin;
}

} // namespace

TRibbonLayout LayoutRibbon(const std::vector<TRibbonGroup>& Groups, int AvailableWidth) {
    TRibbonLayout Layout;
    Layout.Lefts.assign(Groups.size(), 0);
    Layout.Compact.assign(Groups.size(), false);
    Place(Groups, Layout);
    for (std::size_t I = Groups.size(); I-- > 0 && Layout.ContentWidth > AvailableWidth;) {
        const TRibbonGroup& Group = Groups[I];
        if (Group.Floating || Group.CompactWidth <= 0 || Group.CompactWidth >= Group.FullWidth)
            continue;
        Layout.Compact[I] = true;
        Place(Groups, Layout);
    }
    Layout.ScrollRange = std::max(0, Layout.ContentWidth - std::max(0, AvailableWidth));
    return Layout;
}

int ScrolledRibbonOffset(int Offset, int Direction, int AvailableWidth, int Range) {
    const int Step = std::max(RibbonMinimumScrollStep, AvailableWidth / 2);
    return std::clamp(Offset + (Direction < 0 ? -Step : Step), 0, std::max(0, Range));
}
