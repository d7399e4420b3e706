#pragma once

// JPEG fixtures that the tests make themselves with libjpeg: pictures in every colour kind the
// readers meet, damaged copies, and an independent decoder to check what was written.

#include <cstdint>
#include <string>
#include <vector>

// Interleaved samples, top row first: 1 (grey), 2, 3 (red, green, blue) or 4 (C, M, Y, K)
// per pixel.
struct TFixtureImage {
    int Width = 0;
    int Height = 0;
    int Components = 0;
    std::vector<std::uint8_t> Samples;

    std::uint8_t* At(int X, int Y) {
        return Samples.data() + (static_cast<std::size_t>(Y) * Width + X) * Components;
    }
    const std::uint8_t* At(int X, int Y) const {
        return Samples.data() + (static_cast<std::size_t>(Y) * Width + X) * Components;
    }
};

// How the samples are stored in the file.
enum class TFixtureColor {
    Grey,       // 1 component
    YCbCr,      // 3 components, given as red, green, blue
    Cmyk,       // 4 components with an Adobe marker, stored as given
    Ycck,       // 4 components with an Adobe marker, given as CMYK, stored as YCCK
    TwoChannel, // 2 components of no colour space
};

struct TJpegWriteOptions {
    int Quality = 95;
    bool Progressive = false;
    int RestartInterval = 0; // MCUs between restart markers, 0 for none
    bool FullChroma = false; // no chroma subsampling
    // Progressive with exactly this many scans, 190 to 2080 (colour pictures only); 0 for
    // libjpeg's own scans.
    int Scans = 0;
};

std::vector<std::uint8_t> EncodeJpeg(const TFixtureImage& Image, TFixtureColor Color,
                                     const TJpegWriteOptions& Options = {});

struct TDecodedJpeg {
    bool Ok = false;
    int ErrorCode = 0; // libjpeg's message code when not Ok
    int Width = 0;
    int Height = 0;
    int Components = 0; // 1 for grey, 3 (red, green, blue) for colour, 4 (raw CMYK)
    int DensityUnit = 0;
    int XDensity = 0;
    int YDensity = 0;
    bool Progressive = false;
    bool AdobeMarker = false;
    std::vector<std::uint8_t> Samples;
};

// Decodes with libjpeg's defaults: grey stays grey, colour becomes red, green, blue, CMYK and
// YCCK files give their CMYK samples.
TDecodedJpeg DecodeJpeg(const std::vector<std::uint8_t>& Data);

// The number of scans in the JPEG data (its start-of-scan markers).
int CountScans(const std::vector<std::uint8_t>& Jpeg);

// Pictures.
TFixtureImage FlatImage(int Width, int Height, std::vector<std::uint8_t> Sample);
// Four flat quadrants, each Width / 2 by Height / 2: top-left, top-right, bottom-left,
// bottom-right.
TFixtureImage QuadrantImage(int Width, int Height, int Components,
                            const std::vector<std::vector<std::uint8_t>>& Samples);
// A smooth pattern in which every column and every row differs: shears and flips show.
TFixtureImage GradientImage(int Width, int Height, int Components);
// Seeded noise, the hardest content for a codec.
TFixtureImage NoiseImage(int Width, int Height, int Components, std::uint32_t Seed);

// Damage.
// The data with the frame header's size replaced (the header claims another size).
std::vector<std::uint8_t> WithFrameSize(std::vector<std::uint8_t> Jpeg, int Width, int Height);
// The data without every marker segment of the given kind (0xDB drops the quantization tables).
std::vector<std::uint8_t> WithoutSegments(const std::vector<std::uint8_t>& Jpeg,
                                          std::uint8_t Marker);
// The start of a PNG file: signature and header chunk of a 16 by 16 picture.
std::vector<std::uint8_t> PngBytes();
std::vector<std::uint8_t> RandomBytes(std::size_t Count, std::uint32_t Seed);

std::vector<std::uint8_t> ReadFileBytes(const std::string& FileName);
void WriteFileBytes(const std::string& FileName, const std::vector<std::uint8_t>& Data);
