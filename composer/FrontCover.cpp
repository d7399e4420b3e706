#include "composer/FrontCover.h"

#include "raster/Bitmap32.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

TSquareCut MiddleSquare(const TRect& Part) {
    const auto Width = static_cast<std::int32_t>(RectWidth(Part));
    const auto Height = static_cast<std::int32_t>(RectHeight(Part));
    const std::int32_t Side = std::min(Width, Height);
    const std::int32_t Left = Part.Left + (Width - Side) / 2;
    const std::int32_t Top = Part.Top + (Height - Side) / 2;
    return TSquareCut{{Left, Top, Left + Side, Top + Side},
                      std::max(Width, Height) - Side,
                      std::max(Width, Height),
                      Width > Height};
}

TRect FrontOfCover(std::int32_t Width, std::int32_t Height, const TSpineCut& Cut) {
    const std::int32_t Left = std::max<std::int32_t>(Cut.Right, 0);
    if (Left >= Width || Height < 1)
        throw EFrontCoverError("Nothing lies right of the spine to be the front cover");
    return TRect{Left, 0, Width, Height};
}

void CopyPictureArea(const TBitmap32& Picture, const TRect& Area, TBitmap32& Square) {
    const auto Width = static_cast<int>(RectWidth(Area));
    const auto Height = static_cast<int>(RectHeight(Area));
    Square.SetDimensions(Width, Height);
    for (int Y = 0; Y < Height; ++Y)
        std::memcpy(Square.ScanLine(Y), Picture.ScanLine(Area.Top + Y) + Area.Left,
                    sizeof(TColor32) * static_cast<std::size_t>(Width));
}

std::string SquareCutNotice(const TSquareCut& Cut) {
    if (!(Cut.Share() > FrontSquareNoticeShare))
        return {};
    char Text[160];
    std::snprintf(Text, sizeof Text,
                  "not square: %d of its %d %s (%.1f %%) cut off to make the front cover square",
                  Cut.Cut, Cut.Longer, Cut.Columns ? "columns" : "rows", Cut.Share());
    return Text;
}
