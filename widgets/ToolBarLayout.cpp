#include "widgets/ToolBarLayout.h"

#include <algorithm>

TToolBarLayout LayoutToolBar(const std::vector<QSize>& ControlSizes, int CaptionTextWidth,
                             int Height) {
    TToolBarLayout Layout;
    const int BandHeight = std::max(0, Height - ToolBarCaptionHeight);
    int X = ToolBarLeftMargin;
    for (const QSize& Size : ControlSizes) {
        Layout.Positions.emplace_back(X, std::max(0, (BandHeight - Size.height()) / 2));
        X += Size.width();
    }
    Layout.Width = X + ToolBarRightMargin;
    if (CaptionTextWidth > 0)
        Layout.Width = std::max(Layout.Width, CaptionTextWidth + 2 * ToolBarCaptionPadding);
    return Layout;
}

int CompactToolBarWidth(int CaptionTextWidth) {
    return std::max(ToolBarLeftMargin + CompactPictureSize + 2 * CompactPicturePadding +
                        ToolBarRightMargin,
                    CaptionTextWidth + 2 * ToolBarCaptionPadding);
}
