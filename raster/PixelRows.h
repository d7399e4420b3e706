#pragma once

// Conversions of one row of pixels between the bitmap layouts: 24-bit blue-green-red, 32-bit
// blue-green-red-x, and TColor32. Rows are plain byte runs without alignment; the loops handle
// four pixels per step with 64-bit loads and stores, which keeps them near memory speed.

#include "raster/Bitmap32.h"

#include <cstdint>
#include <cstring>

// Count 3-byte pixels to opaque TColor32 pixels (alpha 255).
inline void Bgr24ToColor32(const std::uint8_t* Src, TColor32* Dst, int Count) noexcept {
    constexpr std::uint64_t Opaque = 0xFF000000FF000000ull;
    int X = 0;
    for (; X + 4 <= Count; X += 4, Src += 12, Dst += 4) {
        // Twelve bytes hold four pixels: b0 g0 r0 b1 g1 r1 b2 g2 | r2 b3 g3 r3.
        std::uint64_t A;
        std::uint32_t B;
        std::memcpy(&A, Src, 8);
        std::memcpy(&B, Src + 8, 4);
        const std::uint64_t P01 = (A & 0xFFFFFFu) | (((A >> 24) & 0xFFFFFFu) << 32) | Opaque;
        const std::uint64_t P23 =
            (A >> 48) | (std::uint64_t{B & 0xFFu} << 16) | (std::uint64_t{B >> 8} << 32) | Opaque;
        std::memcpy(Dst, &P01, 8);
        std::memcpy(Dst + 2, &P23, 8);
    }
    for (; X < Count; ++X, Src += 3, ++Dst)
        *Dst = Src[0] | (std::uint32_t{Src[1]} << 8) | (std::uint32_t{Src[2]} << 16) | 0xFF000000u;
}

// Count 4-byte pixels to TColor32 pixels, the fourth byte becoming alpha.
inline void Bgra32ToColor32(const std::uint8_t* Src, TColor32* Dst, int Count) noexcept {
    std::memcpy(Dst, Src, static_cast<std::size_t>(Count) * 4);
}

// Count 4-byte pixels (TColor32 or blue-green-red-x) to 3-byte pixels; the fourth byte is
// dropped.
inline void Bgrx32ToBgr24(const std::uint8_t* Src, std::uint8_t* Dst, int Count) noexcept {
    int X = 0;
    for (; X + 4 <= Count; X += 4, Src += 16, Dst += 12) {
        std::uint64_t A, B;
        std::memcpy(&A, Src, 8);
        std::memcpy(&B, Src + 8, 8);
        // Six bytes of colour from each pair of pixels, then packed into 8 + 4 bytes.
        const std::uint64_t P01 = (A & 0xFFFFFFu) | ((A >> 8) & 0xFFFFFF000000ull);
        const std::uint64_t P23 = (B & 0xFFFFFFu) | ((B >> 8) & 0xFFFFFF000000ull);
        const std::uint64_t First = P01 | (P23 << 48);
        const auto Rest = static_cast<std::uint32_t>(P23 >> 16);
        std::memcpy(Dst, &First, 8);
        std::memcpy(Dst + 8, &Rest, 4);
    }
    for (; X < Count; ++X, Src += 4, Dst += 3) {
        Dst[0] = Src[0];
        Dst[1] = Src[1];
        Dst[2] = Src[2];
    }
}

// Count 3-byte pixels to 4-byte pixels with a fourth byte of 0.
inline void Bgr24ToBgrx32(const std::uint8_t* Src, std::uint8_t* Dst, int Count) noexcept {
    for (int X = 0; X < Count; ++X, Src += 3, Dst += 4) {
        Dst[0] = Src[0];
        Dst[1] = Src[1];
        Dst[2] = Src[2];
        Dst[3] = 0;
    }
}
