#include "raster/Bitmap.h"
#include "raster/Bitmap32.h"
#include "raster/Picture.h"
#include "raster/PixelRows.h"

#include <algorithm>

void TBitmap32::CopyFrom(const TBitmap& Source) {
    InOneChange([&] {
        SetDimensions(Source.Width(), Source.Height());
        if (IsEmpty())
            return;
        // A source with pixels overwrites every pixel, so a reused store need not be
        // cleared first.
        if (Source.PixelFormat() != TPixelFormat::pfNone)
            PixelsForOverwrite(FullArea());
        Source.Draw(*this);
    });
}

void TBitmap32::CopyFrom(const TPicture& Source) {
    InOneChange([&] {
        SetDimensions(Source.Width(), Source.Height());
        if (IsEmpty())
            return;
        Source.Graphic()->Draw(*this);
        for (int Y = 0; Y < FHeight; ++Y) {
            TColor32* Row = ScanLine(Y);
            std::for_each(Row, Row + FWidth, [](TColor32& P) { P |= 0xFF000000u; });
        }
    });
}

void TBitmap32::CopyTo(TBitmap& Target) const {
    CopyTo(Target, TPixelFormat::pf32bit);
}

void TBitmap32::CopyTo(TBitmap& Target, TPixelFormat Format) const {
    // Converting while copying gives what the 32-bit copy and its conversion give, with one
    // pass and one buffer fewer; that is what saving uses.
    const bool Direct = Format == TPixelFormat::pf24bit;
    Target.SetPixelFormat(Direct ? Format : TPixelFormat::pf32bit);
    Target.SetSize(FWidth, FHeight);
    if (!IsEmpty()) {
        const auto RowBytes = static_cast<std::size_t>(FWidth) * sizeof(TColor32);
        for (int Y = 0; Y < FHeight; ++Y) {
            const auto* Row = reinterpret_cast<const std::uint8_t*>(ScanLine(Y));
            if (Direct)
                Bgrx32ToBgr24(Row, Target.ScanLine(Y), FWidth);
            else
                std::copy_n(Row, RowBytes, Target.ScanLine(Y));
        }
    }
    Target.SetPixelFormat(Format);
}

void TBitmap32::LoadPictureFile(const std::string& FileName) {
    TPicture Picture;
    Picture.LoadFromFile(FileName);
    // The picture is drawn into a bitmap of its own first, so that whatever fails on the way
    // (a picture of any kind that cannot be decoded, memory that cannot be had) leaves this one
    // as it was; only the finished picture is taken over.
    TBitmap32 Loaded;
    Loaded.CopySettingsFrom(*this);
    Loaded.CopyFrom(Picture);
    TakeFrom(Loaded);
}
