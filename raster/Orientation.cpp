#include "raster/Orientation.h"

#include <algorithm>

namespace {

// Writes the upright picture of Source, stored with orientation 5 to 8, into Target, which is
// Source.Height() wide and Source.Width() high. Upright pixel (X, Y) comes from stored pixel:
//   5: (Y, X)   6: (Y, H - 1 - X)   7: (W - 1 - Y, H - 1 - X)   8: (W - 1 - Y, X)
// The work goes in tiles, so that the column-wise reads of the source stay in the cache.
void WriteTurned(const TBitmap32& Source, int Orientation, TBitmap32& Target) {
    constexpr int Tile = 64;
    const int W = Source.Width();
    const int H = Source.Height();
    const bool FromRight = Orientation == 7 || Orientation == 8;  // stored X from W - 1 - Y
    const bool FromBottom = Orientation == 6 || Orientation == 7; // stored Y from H - 1 - X
    TColor32* const Out = Target.PixelsForOverwrite(Target.FullArea());
    const auto OutWidth = static_cast<std::size_t>(H);
    for (int Y0 = 0; Y0 < W; Y0 += Tile)
        for (int X0 = 0; X0 < H; X0 += Tile) {
            const int Y1 = std::min(Y0 + Tile, W);
            const int X1 = std::min(X0 + Tile, H);
            for (int Y = Y0; Y < Y1; ++Y) {
                const int StoredX = FromRight ? W - 1 - Y : Y;
                TColor32* Row = Out + static_cast<std::size_t>(Y) * OutWidth;
                for (int X = X0; X < X1; ++X) {
                    const int StoredY = FromBottom ? H - 1 - X : X;
                    Row[X] = Source.ScanLine(StoredY)[StoredX];
                }
            }
        }
}

} // namespace

void OrientUpright(TBitmap32& Bitmap, int Orientation) {
    switch (Orientation) {
    case 2:
        Bitmap.MirrorHorizontal();
        return;
    case 3:
        Bitmap.BeginBatch();
        Bitmap.MirrorHorizontal();
        Bitmap.MirrorVertical();
        Bitmap.EndBatch();
        Bitmap.NotifyChanged();
        return;
    case 4:
        Bitmap.MirrorVertical();
        return;
    case 5:
    case 6:
    case 7:
    case 8:
        break;
    default:
        return;
    }
    TBitmap32 Turned;
    Turned.SetDimensions(Bitmap.Height(), Bitmap.Width());
    if (!Bitmap.IsEmpty())
        WriteTurned(Bitmap, Orientation, Turned);
    TakePixelsKeepingSettings(Bitmap, Turned);
}

void TakePixelsKeepingSettings(TBitmap32& Target, TBitmap32& Source) {
    // TakeFrom also takes the source's settings: give it the target's first.
    Source.SetDrawMode(Target.DrawMode());
    Source.SetCombineMode(Target.CombineMode());
    Source.SetWrapMode(Target.WrapMode());
    Source.SetMasterAlpha(Target.MasterAlpha());
    Source.SetOuterColor(Target.OuterColor());
    Source.SetResamplerClassName(Target.ResamplerClassName());
    Target.TakeFrom(Source);
}
