#pragma once

// Conversions of one row of pixels between the bitmap layouts: 24-bit blue-green-red, 32-bit
// blue-green-red-x, and TColor32. Rows are plain byte runs without alignment; the loops handle
// four pixels per step with word loads so that they keep pace with memory.

#include "raster/Bitmap32.h"

#include <cstdint>
#include <cstring>

// Count 3-byte pixels to opaque TColor32 pixels (alpha 255).
inline void Bgr24ToColor32(const std::uint8_t* Src, TColor32* Dst, int Count) noexcept {
    constexpr std::uint32_t Opaque = 0xFF000000u;
    int X = 0;
    for (; X + 4 <= Count; X += 4, Src += 12, Dst += 4) {
        // Three little-endian words hold four pixels: b0 g0 r0 b1 | g1 r1 b2 g2 | r2 b3 g3 r3.
        std::uint32_t W[3];
        std::memcpy(W, Src, sizeof W);
        Dst[0] = (W[0] & 0x00FFFFFFu) | Opaque;
        Dst[1] = (W[0] >> 24) | ((W[1] & 0x0000FFFFu) << 8) | Opaque;
        Dst[2] = (W[1] >> 16) | ((W[2] & 0x000000FFu) << 16) | Opaque;
        Dst[3] = (W[2] >> 8) | Opaque;
    }
    for (; X < Count; ++X, Src += 3, ++Dst)
        *Dst = Src[0] | (std::uint32_t{Src[1]} << 8) | (std::uint32_t{Src[2]} << 16) | Opaque;
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
        std::uint32_t P[4];
        std::memcpy(P, Src, sizeof P);
        const std::uint32_t W[3] = {
            (P[0] & 0x00FFFFFFu) | (P[1] << 24),
            ((P[1] >> 8) & 0x0000FFFFu) | (P[2] << 16),
            ((P[2] >> 16) & 0x000000FFu) | (P[3] << 8),
        };
        std::memcpy(Dst, W, sizeof W);
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
