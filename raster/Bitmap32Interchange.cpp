#include "raster/Bitmap.h"
#include "raster/Bitmap32.h"
#include "raster/Finally.h"
#include "raster/Picture.h"

#include <algorithm>

void TBitmap32::CopyFrom(const TBitmap& Source) {
    BeginBatch();
    TryFinally(
        [&] {
            SetDimensions(Source.Width(), Source.Height());
            if (!IsEmpty())
                Source.Draw(*this);
        },
        [this] {
            EndBatch();
            NotifyChanged();
        });
}

void TBitmap32::CopyFrom(const TPicture& Source) {
    BeginBatch();
    TryFinally(
        [&] {
            SetDimensions(Source.Width(), Source.Height());
            if (IsEmpty())
                return;
            Source.Graphic()->Draw(*this);
            for (int Y = 0; Y < FHeight; ++Y) {
                TColor32* Row = ScanLine(Y);
                std::for_each(Row, Row + FWidth, [](TColor32& P) { P |= 0xFF000000u; });
            }
        },
        [this] {
            EndBatch();
            NotifyChanged();
        });
}

void TBitmap32::CopyTo(TBitmap& Target) const {
    Target.SetPixelFormat(TPixelFormat::pf32bit);
    Target.SetSize(FWidth, FHeight);
    if (IsEmpty())
        return;
    const auto RowBytes = static_cast<std::size_t>(FWidth) * sizeof(TColor32);
    for (int Y = 0; Y < FHeight; ++Y)
        std::copy_n(reinterpret_cast<const std::uint8_t*>(ScanLine(Y)), RowBytes,
                    Target.ScanLine(Y));
}

void TBitmap32::LoadPictureFile(const std::string& FileName) {
    TPicture Picture;
    Picture.LoadFromFile(FileName);
    CopyFrom(Picture);
}
