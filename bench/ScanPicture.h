#pragma once

// The scans the benchmarks work on: seeded pictures with the character of a printed cover
// (smooth colour fields, edges, and the fine grain of a scanner), so that the codec has the work
// a real scan gives it, written as JPEG files with libjpeg-turbo's defaults.

#include <cstdint>
#include <string>
#include <vector>

// Top-down rows of red, green, blue.
struct TRgbPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Samples;
};

TRgbPicture MakeScanPicture(int Width, int Height, std::uint32_t Seed = 20240611);

// Writes the top-left Width x Height of Picture as a JPEG file of Quality (4:2:0, no density).
// Returns 0, or libjpeg's message code (-1 when the file cannot be created).
int WriteJpegPicture(const std::string& FileName, const TRgbPicture& Picture, int Width, int Height,
                     int Quality) noexcept;

class TBitmap32;

// A flatbed scan of A4 (210 x 297 mm) at DotsPerInch: a back card of 151 x 118 mm with its spine,
// made by MakeCover, turned clockwise by TiltDegrees in the middle of a white lid, its edge
// blurred, with grain. Made once per resolution and tilt and kept.
const TBitmap32& FlatbedScan(int DotsPerInch, double TiltDegrees);
