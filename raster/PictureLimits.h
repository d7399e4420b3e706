#pragma once

// The largest pictures the program holds. Loading refuses a picture beyond them as soon as its
// header is read, and composing refuses an inlay beyond them, each before any pixel memory is
// taken.

#include <cstdint>

// Pictures with more pixels than this are refused: 2^27 pixels, a 1200 dpi scan of a CD
// wrap-around (about 14000 by 6000) with room to spare, 512 MiB as a TBitmap32. Anything larger
// is a damaged or hostile file.
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
inline constexpr std::int64_t MaxJpegPixels = std::int64_t{1} << 27;
#else
// Fuzzing is after hostile headers and damaged data, not large pictures: a small limit keeps
// each of its runs fast.
inline constexpr std::int64_t MaxJpegPixels = std::int64_t{1} << 20;
#endif

// The widest and highest picture a JPEG file can hold.
inline constexpr int MaxJpegSide = 65500;
