#pragma once

// Large pixel transfers share their rows between the calling thread and a second one: a copy
// of tens of megabytes is bound by memory traffic, and one core cannot keep the memory busy
// alone. Each row is written by exactly one thread; small transfers stay on the calling thread.

#include "base/ForkJoin.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Transfers that move at least this many bytes share their rows.
inline constexpr std::uint64_t RowBandsFromBytes = std::uint64_t{8} << 20;

// Runs Work(First, End) for the rows [First, End): in two halves on two threads
// (base/ForkJoin.h) when the rows move at least RowBandsFromBytes (BytesPerRow each) and the
// machine has a second core, otherwise at once on the calling thread. The bitmaps Work touches
// must have their stores settled on the calling thread first (PixelData or PixelsForOverwrite,
// raster/Bitmap32.h); Work must not throw and may run on either thread.
template <class TWork>
void ForRowBands(int First, int End, std::size_t BytesPerRow, const TWork& Work) {
    const auto Bytes = static_cast<std::uint64_t>(End - First) * BytesPerRow;
    if (End - First < 2 || Bytes < RowBandsFromBytes || !HasSecondCore()) {
        Work(First, End);
        return;
    }
    ForkJoin(First, First + (End - First) / 2, End, Work);
}

// Copies Bytes from Source to Target (which do not overlap) past the caches: the rows of a large
// transfer are not read again soon, and stores that bypass the cache save reading every target
// line into it first, a third of the memory traffic. Call FinishStreamingCopies before the rows
// are handed to another thread.
inline void StreamingCopy(void* Target, const void* Source, std::size_t Bytes) noexcept {
#if defined(__SSE2__)
    auto* To = static_cast<std::uint8_t*>(Target);
    const auto* From = static_cast<const std::uint8_t*>(Source);
    const std::size_t Head = (16 - reinterpret_cast<std::uintptr_t>(To) % 16) % 16;
    if (Bytes < Head + 64) {
        std::memcpy(To, From, Bytes);
        return;
    }
    std::memcpy(To, From, Head);
    To += Head;
    From += Head;
    Bytes -= Head;
    for (; Bytes >= 64; Bytes -= 64, To += 64, From += 64) {
        const __m128i A = _mm_loadu_si128(reinterpret_cast<const __m128i*>(From));
        const __m128i B = _mm_loadu_si128(reinterpret_cast<const __m128i*>(From + 16));
        const __m128i C = _mm_loadu_si128(reinterpret_cast<const __m128i*>(From + 32));
        const __m128i D = _mm_loadu_si128(reinterpret_cast<const __m128i*>(From + 48));
        _mm_stream_si128(reinterpret_cast<__m128i*>(To), A);
        _mm_stream_si128(reinterpret_cast<__m128i*>(To + 16), B);
        _mm_stream_si128(reinterpret_cast<__m128i*>(To + 32), C);
        _mm_stream_si128(reinterpret_cast<__m128i*>(To + 48), D);
    }
    std::memcpy(To, From, Bytes);
#else
    std::memcpy(Target, Source, Bytes);
#endif
}

// Orders the streaming stores of this thread before what follows.
inline void FinishStreamingCopies() noexcept {
#if defined(__SSE2__)
    _mm_sfence();
#endif
}
