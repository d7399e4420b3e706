#pragma once

// PNG, TIFF and WebP fixtures that the tests make themselves with libpng, libtiff and libwebp:
// pictures of every sample layout the readers meet, written from plain samples, so that what a
// reader gives can be compared with pixels worked out by hand.

#include <cstdint>
#include <string>
#include <vector>

// Samples as stored, top row first: Channels per pixel (1 grey, 2 grey and alpha, 3 red, green,
// blue, 4 red, green, blue, alpha), each of BitDepth bits (1, 2, 4, 8 or 16; below 8 only for
// grey and palette indices).
struct TSampleImage {
    int Width = 0;
    int Height = 0;
    int Channels = 0;
    int BitDepth = 8;
    std::vector<std::uint16_t> Samples;

    std::uint16_t& At(int X, int Y, int Channel) {
        return Samples[(static_cast<std::size_t>(Y) * Width + X) * Channels + Channel];
    }
};

struct TPaletteEntry {
    std::uint8_t Red, Green, Blue, Alpha;
};

// A palette picture: one index per pixel into Palette (Samples with Channels 1 hold the indices).
struct TPaletteImage {
    TSampleImage Indices;
    std::vector<TPaletteEntry> Palette;
};

std::vector<std::uint8_t> EncodePng(const TSampleImage& Image, bool Interlaced = false);
std::vector<std::uint8_t> EncodePalettePng(const TPaletteImage& Image);
// The start of a colour PNG file that claims Width x Height: its header and, with FirstRow, the
// compressed data of its first row (zeros), and nothing after.
std::vector<std::uint8_t> PngStart(std::uint32_t Width, std::uint32_t Height, bool FirstRow);

enum class TTiffCompression { None, Lzw, Deflate };
// Alpha, where there is one, is stored as unassociated. RowsPerStrip 0: libtiff's default.
std::vector<std::uint8_t> EncodeTiff(const TSampleImage& Image,
                                     TTiffCompression Compression = TTiffCompression::None,
                                     int RowsPerStrip = 0);
std::vector<std::uint8_t> EncodePaletteTiff(const TPaletteImage& Image);
// A CIELab TIFF: Image holds 8-bit L* (0 to 255 for 0 to 100), a* and b* (signed, as bytes of
// two's complement) samples; the white point is D50 unless WhiteX and WhiteY name another.
std::vector<std::uint8_t> EncodeLabTiff(const TSampleImage& Image, float WhiteX = 0,
                                        float WhiteY = 0);
// A colour TIFF (8-bit red, green, blue samples) with the orientation tag Orientation.
std::vector<std::uint8_t> EncodeOrientedTiff(const TSampleImage& Image, int Orientation);
// A TIFF that claims Width x Height pixels of Channels samples of BitDepth bits in one strip,
// and holds DataBytes bytes of zeros as that strip's data.
std::vector<std::uint8_t> TiffClaim(std::uint32_t Width, std::uint32_t Height, int Channels,
                                    int BitDepth, TTiffCompression Compression,
                                    std::size_t DataBytes);

// A PNG with an eXIf chunk holding Exif (a TIFF structure), before or after the picture data.
std::vector<std::uint8_t> EncodePngWithExif(const TSampleImage& Image,
                                            const std::vector<std::uint8_t>& Exif,
                                            bool AfterData = false);
// A WebP in the extended form (a VP8X chunk) with an EXIF chunk holding Exif after the picture.
std::vector<std::uint8_t> WebPWithExif(const std::vector<std::uint8_t>& WebP,
                                       const std::vector<std::uint8_t>& Exif, int Width,
                                       int Height);
// The header of a WebP file that claims Width x Height (1 to 16384 each), lossless or lossy,
// padded with zeros to Size bytes, its sizes saying so.
std::vector<std::uint8_t> WebPClaim(int Width, int Height, bool Lossless, std::size_t Size);

// 8-bit red, green, blue, alpha samples (Channels 4), lossless or lossy at Quality.
std::vector<std::uint8_t> EncodeWebP(const TSampleImage& Image, bool Lossless, int Quality = 90);
