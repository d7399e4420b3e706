#pragma once

// TBitmap: the device-independent bitmap through which pixels pass between a TBitmap32 and the
// JPEG codec. Its memory layout is the platform's: rows bottom row first, so row r from the top
// starts at Height - 1 - r strides into the buffer; each row padded to a multiple of 4 bytes;
// a 24-bit pixel is blue, green, red, a 32-bit pixel blue, green, red and a fourth byte.
//
// A bitmap has a pixel format (none until one is chosen, 24 or 32 bits per pixel) and a size;
// it has a buffer exactly while it has a format and both Width and Height are above 0.

#include "base/Exception.h"
#include "raster/Graphic.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>

enum class TPixelFormat : std::uint8_t { pfNone, pf24bit, pf32bit };

// Bits per pixel of a format: 0, 24 or 32.
constexpr int BitsPerPixel(TPixelFormat Format) noexcept {
    return Format == TPixelFormat::pf24bit ? 24 : Format == TPixelFormat::pf32bit ? 32 : 0;
}

// The platform refused the storage for a bitmap.
DECLARE_EXCEPTION_CLASS(EOutOfResources, Exception);
// The runtime's out-of-memory error.
DECLARE_EXCEPTION_CLASS(EOutOfMemory, Exception);

inline constexpr const char* OutOfResourcesMessage = "Out of system resources";
inline constexpr const char* OutOfMemoryMessage = "Out of memory";

// What the storage query reports: the size and the buffer's first byte (the bottom row), null
// while the bitmap has no pixel format.
struct TBitmapStorage {
    int Width;
    int Height;
    int BitsPerPixel; // 0 without a pixel format
    int Stride;       // bytes from one buffer row to the next; 0 without a pixel format
    std::uint8_t* Bits;
};

class TBitmap : public TGraphic {
public:
    TBitmap() = default;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    const char* ClassName() const noexcept override { return "TBitmap"; }
    int Width() const noexcept override { return FWidth; }
    int Height() const noexcept override { return FHeight; }

    TPixelFormat PixelFormat() const noexcept { return FPixelFormat; }
    // Chooses the pixel format. Without a buffer the format is only recorded. With one, the
    // pixels are converted into a new buffer of the same size, the picture staying upright:
    // 32 to 24 bits keeps blue, green and red and drops the fourth byte (no blending); 24 to 32
    // bits gives a fourth byte of 0; pfNone drops the buffer. Throws as SetSize when the new
    // buffer cannot be had; the bitmap is then unchanged.
    void SetPixelFormat(TPixelFormat Value);

    // Gives the bitmap a new size (negative values count as 0) and, when it has a format, a new
    // zero-filled buffer; the old pixels are gone. Nothing happens when the size is the current
    // one. Throws EOutOfResources with the system's text, or "Out of system resources", when the
    // buffer cannot be had; the bitmap is then unchanged.
    void SetSize(int NewWidth, int NewHeight);

    // The storage query: none while Width or Height is 0; otherwise the size and the buffer,
    // whose Bits are null while no pixel format is chosen.
    std::optional<TBitmapStorage> QueryStorage() noexcept;

    // Bytes per buffer row for a width and a format: ((Width * bits + 31) div 32) * 4.
    static std::int64_t StrideFor(int Width, TPixelFormat Format) noexcept;
    int Stride() const noexcept { return FStride; }

    // Row Row counted from the top. Not validated: the bitmap has a buffer and Row lies in
    // [0, Height).
    std::uint8_t* ScanLine(int Row) noexcept { return FBits.get() + RowOffset(Row); }
    const std::uint8_t* ScanLine(int Row) const noexcept { return FBits.get() + RowOffset(Row); }

    // Bitmap files are not read by this program: throws EInvalidGraphic.
    void LoadFromStream(TFileStream& Stream) override;
    // Copies the pixels upright, blue, green and red; does nothing without a buffer.
    void Draw(TBitmap32& Target) const override;

private:
    struct TFreeBuffer {
        void operator()(std::uint8_t* Bits) const noexcept { std::free(Bits); }
    };
    using TBuffer = std::unique_ptr<std::uint8_t, TFreeBuffer>;

    static TBuffer AllocateBuffer(int Width, int Height, TPixelFormat Format, int& Stride);
    std::size_t RowOffset(int Row) const noexcept {
        return static_cast<std::size_t>(FHeight - 1 - Row) * static_cast<std::size_t>(FStride);
    }

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = TPixelFormat::pfNone;
    int FStride = 0;
    TBuffer FBits;
};
