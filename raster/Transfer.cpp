#include "raster/Transfer.h"

#include "raster/RowBands.h"

#include <algorithm>
#include <cstring>
#include <vector>

void TBitmap32::DrawFrom(const TRect& DstRect, const TRect& SrcRect, const TBitmap32* Source) {
    if (!Source)
        return;
    TransferRect(*this, DstRect, ClipArea(), *Source, SrcRect, Source->Resampler(),
                 Source->DrawMode(), Source->OnPixelCombine);
}

void TransferRect(TBitmap32& Dst, const TRect& DstRect, const TRect& Clip, const TBitmap32& Src,
                  const TRect& SrcRect, const TCustomResampler& Resampler, TDrawMode /*DrawMode*/,
                  const TPixelCombineEvent& /*CombineCallback*/) {
    if (Src.IsEmpty() || Dst.IsEmpty() || RectIsEmpty(SrcRect))
        return;
    if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Src.Width() ||
        SrcRect.Bottom > Src.Height())
        throw ESrcInvalidException(SrcInvalidMessage);

    const TRect Effective = IntersectRects(IntersectRects(Clip, Dst.FullArea()), DstRect);
    if (RectIsEmpty(Effective))
        return;

    // The unclipped sizes decide: clipping never turns a stretch into a copy or back.
    if (RectWidth(SrcRect) == RectWidth(DstRect) && RectHeight(SrcRect) == RectHeight(DstRect))
        BlockCopy(Dst, Effective, Src, SrcRect.Left + (Effective.Left - DstRect.Left),
                  SrcRect.Top + (Effective.Top - DstRect.Top));
    else
        Resampler.Resample(Dst, DstRect, Effective, Src, SrcRect);

    Dst.NotifyAreaChanged(DstRect, AREAINFO_RECT);
}

// Rows are moved with memmove, which costs what memcpy costs and stays defined for a bitmap
// drawn onto itself, where source and destination rows may overlap.

void BlockCopy(TBitmap32& Dst, const TRect& Area, const TBitmap32& Src, int SrcX, int SrcY) {
    Src.PixelData(); // a bitmap drawn onto itself reads what it owes zeroed
    Dst.PixelsForOverwrite(Area);
    const int Rows = Area.Bottom - Area.Top;
    const auto RowBytes = static_cast<std::size_t>(Area.Right - Area.Left) * sizeof(TColor32);
    const bool WholeRows =
        Area.Left == 0 && SrcX == 0 && Area.Right == Dst.Width() && Dst.Width() == Src.Width();
    if (WholeRows) {
        std::memmove(Dst.ScanLine(Area.Top), Src.ScanLine(SrcY),
                     RowBytes * static_cast<std::size_t>(Rows));
        return;
    }
    // A bitmap drawn onto itself keeps to one thread and to memmove: its rows may overlap.
    if (&Dst == &Src) {
        for (int Row = 0; Row < Rows; ++Row)
            std::memmove(Dst.ScanLine(Area.Top + Row) + Area.Left, Src.ScanLine(SrcY + Row) + SrcX,
                         RowBytes);
        return;
    }
    const bool Large = static_cast<std::uint64_t>(Rows) * RowBytes >= RowBandsFromBytes;
    ForRowBands(0, Rows, RowBytes, [&](int First, int End) {
        for (int Row = First; Row < End; ++Row) {
            TColor32* const Target = Dst.ScanLine(Area.Top + Row) + Area.Left;
            const TColor32* const Source = Src.ScanLine(SrcY + Row) + SrcX;
            if (Large)
                StreamingCopy(Target, Source, RowBytes);
            else
                std::memcpy(Target, Source, RowBytes);
        }
        if (Large)
            FinishStreamingCopies();
    });
}

namespace {

// Source index for destination index Index (counted from the start of the destination
// rectangle): Index * Scale + SrcStart, formed in double precision, where the product of an
// integer below 2^24 and a single-precision factor is exact, and truncated. Larger bitmaps can
// round up past the source's end, so the result is kept inside [SrcStart, SrcEnd).
int NearestIndex(std::int64_t Index, float Scale, int SrcStart, int SrcEnd) {
    const double Exact = static_cast<double>(Index) * static_cast<double>(Scale) + SrcStart;
    return std::clamp(static_cast<int>(std::min(Exact, static_cast<double>(SrcEnd - 1))), SrcStart,
                      SrcEnd - 1);
}

// The middle of [Start, End): the left one of two middles.
int MiddleIndex(int Start, int End) {
    return static_cast<int>((std::int64_t{Start} + End - 1) / 2);
}

// The source column of each destination column of Clip, computed once per stretch.
std::vector<int> BuildColumnMap(const TRect& DstRect, const TRect& Clip, const TRect& SrcRect) {
    const std::int64_t DstW = RectWidth(DstRect);
    std::vector<int> ColumnMap(static_cast<std::size_t>(Clip.Right - Clip.Left));
    if (DstW == 1) {
        ColumnMap[0] = MiddleIndex(SrcRect.Left, SrcRect.Right);
        return ColumnMap;
    }
    const float ScaleX =
        static_cast<float>(static_cast<double>(RectWidth(SrcRect)) / static_cast<double>(DstW));
    const std::int64_t First = std::int64_t{Clip.Left} - DstRect.Left;
    for (std::size_t I = 0; I < ColumnMap.size(); ++I)
        ColumnMap[I] =
            NearestIndex(First + static_cast<std::int64_t>(I), ScaleX, SrcRect.Left, SrcRect.Right);
    return ColumnMap;
}

// The single-precision factor from destination to source indices; 0 for a destination of one.
float AxisScale(std::int64_t SrcLength, std::int64_t DstLength) {
    return DstLength > 1
               ? static_cast<float>(static_cast<double>(SrcLength) / static_cast<double>(DstLength))
               : 0.0f;
}

// The source row for destination row Index, with the axis's factor computed once by the caller.
int RowIndex(std::int64_t Index, std::int64_t DstLength, float Scale, const TRect& SrcRect) {
    return DstLength == 1 ? MiddleIndex(SrcRect.Top, SrcRect.Bottom)
                          : NearestIndex(Index, Scale, SrcRect.Top, SrcRect.Bottom);
}

bool IsContiguous(const std::vector<int>& ColumnMap) {
    for (std::size_t I = 1; I < ColumnMap.size(); ++I)
        if (ColumnMap[I] != ColumnMap[I - 1] + 1)
            return false;
    return true;
}

} // namespace

void NearestStretch(TBitmap32& Dst, const TRect& DstRect, const TRect& Clip, const TBitmap32& Src,
                    const TRect& SrcRect) {
    Src.PixelData();
    Dst.PixelsForOverwrite(Clip);
    const std::vector<int> ColumnMap = BuildColumnMap(DstRect, Clip, SrcRect);
    // An unscaled axis maps columns one to one; such rows are copied, not gathered.
    const bool CopyRows = IsContiguous(ColumnMap);
    const std::size_t ClipW = ColumnMap.size();
    const std::int64_t DstH = RectHeight(DstRect);
    const float ScaleY = AxisScale(RectHeight(SrcRect), DstH);

    const std::size_t RowBytes = ClipW * sizeof(TColor32);
    const bool Large =
        &Dst != &Src &&
        static_cast<std::uint64_t>(Clip.Bottom - Clip.Top) * RowBytes >= RowBandsFromBytes;
    const auto StretchRows = [&](int First, int End) {
        int PreviousRow = -1;
        for (int Y = First; Y < End; ++Y) {
            const int SrcRow = RowIndex(std::int64_t{Y} - DstRect.Top, DstH, ScaleY, SrcRect);
            TColor32* const Target = Dst.ScanLine(Y) + Clip.Left;
            const TColor32* const Source = Src.ScanLine(SrcRow);
            if (CopyRows && Large) {
                // A repeated source row is copied from the source again: it is still in the
                // cache, where the row above, written past the cache, is not.
                StreamingCopy(Target, Source + ColumnMap[0], RowBytes);
                continue;
            }
            if (SrcRow == PreviousRow) {
                std::memmove(Target, Target - Dst.Width(), RowBytes);
                continue;
            }
            if (CopyRows) {
                std::memmove(Target, Source + ColumnMap[0], RowBytes);
            } else {
                for (std::size_t I = 0; I < ClipW; ++I)
                    Target[I] = Source[ColumnMap[I]];
            }
            PreviousRow = SrcRow;
        }
        if (Large)
            FinishStreamingCopies();
    };
    // A bitmap stretched onto itself keeps to one thread: a row may be read after it was
    // written.
    if (&Dst == &Src)
        StretchRows(Clip.Top, Clip.Bottom);
    else
        ForRowBands(Clip.Top, Clip.Bottom, ClipW * sizeof(TColor32), StretchRows);
}

int NearestSourceIndex(std::int64_t Index, std::int64_t DstLength, int SrcStart, int SrcEnd) {
    return RowIndex(Index, DstLength, AxisScale(SrcEnd - SrcStart, DstLength),
                    TRect{0, SrcStart, 1, SrcEnd});
}
