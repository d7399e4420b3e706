// PNG, TIFF and WebP pictures through the picture registry: every sample layout (8 and 16 bits,
// grey, palette, colour, alpha) gives the pixels of its reference, worked out without any codec;
// transparent pixels lie over white; damaged and hostile files end in a clear error and leave the
// bitmap as it was.

#include "picture_codecs/CodecPictures.h"
#include "picture_codecs/PNGImage.h"
#include "picture_codecs/TIFFImage.h"
#include "picture_codecs/WebPImage.h"

#include "base/FileStream.h"
#include "jpeg_bridge/JPEGImage.h"
#include "raster/Bitmap32.h"
#include "raster/Orientation.h"

#include "tests/support/BitmapTestSupport.h"
#include "tests/support/ExifFixtures.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/PictureFixtures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestNames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int RefWidth = 37;
constexpr int RefHeight = 23;

struct TRgb {
    int Red, Green, Blue;
};

// The reference picture: every column and row differs.
TRgb ColourAt(int X, int Y) {
    return {(7 * X + 3 * Y) % 256, (11 * Y + 5 * X) % 256, (13 * X * Y + 40) % 256};
}
int GreyAt(int X, int Y) {
    return (7 * X + 11 * Y) % 256;
}
TPaletteEntry PaletteEntry(int I) {
    return {static_cast<std::uint8_t>(I), static_cast<std::uint8_t>(255 - I),
            static_cast<std::uint8_t>((3 * I) % 256), 255};
}

TColor32 Opaque(int Red, int Green, int Blue) {
    return 0xFF000000u | static_cast<TColor32>(Red) << 16 | static_cast<TColor32>(Green) << 8 |
           static_cast<TColor32>(Blue);
}

// Samples of the reference: colour, grey, or grey as 1-bit levels; 16-bit samples are the 8-bit
// ones times 257 (so that every sane scaling gives them back); Alpha adds an opaque channel.
TSampleImage ColourSamples(int BitDepth, bool Alpha) {
    TSampleImage Image{RefWidth, RefHeight, Alpha ? 4 : 3, BitDepth, {}};
    const int Scale = BitDepth == 16 ? 257 : 1;
    for (int Y = 0; Y < RefHeight; ++Y)
        for (int X = 0; X < RefWidth; ++X) {
            const TRgb C = ColourAt(X, Y);
            for (const int V : {C.Red, C.Green, C.Blue})
                Image.Samples.push_back(static_cast<std::uint16_t>(V * Scale));
            if (Alpha)
                Image.Samples.push_back(static_cast<std::uint16_t>(255 * Scale));
        }
    return Image;
}

TSampleImage GreySamples(int BitDepth) {
    TSampleImage Image{RefWidth, RefHeight, 1, BitDepth, {}};
    for (int Y = 0; Y < RefHeight; ++Y)
        for (int X = 0; X < RefWidth; ++X)
            Image.Samples.push_back(static_cast<std::uint16_t>(
                BitDepth == 1 ? (X + Y) % 2 : GreyAt(X, Y) * (BitDepth == 16 ? 257 : 1)));
    return Image;
}

TPaletteImage PaletteSamples(int BitDepth) {
    const int Colours = BitDepth == 8 ? 200 : 16;
    TPaletteImage Image{{RefWidth, RefHeight, 1, BitDepth, {}}, {}};
    for (int I = 0; I < Colours; ++I)
        Image.Palette.push_back(PaletteEntry(I));
    for (int Y = 0; Y < RefHeight; ++Y)
        for (int X = 0; X < RefWidth; ++X)
            Image.Indices.Samples.push_back(static_cast<std::uint16_t>((X + 3 * Y) % Colours));
    return Image;
}

enum class TReference { Colour, Grey, GreyOneBit, Palette8, Palette4 };

TColor32 ReferencePixel(TReference Reference, int X, int Y) {
    switch (Reference) {
    case TReference::Colour: {
        const TRgb C = ColourAt(X, Y);
        return Opaque(C.Red, C.Green, C.Blue);
    }
    case TReference::Grey:
        return Opaque(GreyAt(X, Y), GreyAt(X, Y), GreyAt(X, Y));
    case TReference::GreyOneBit: {
        const int Level = (X + Y) % 2 * 255;
        return Opaque(Level, Level, Level);
    }
    case TReference::Palette8:
    case TReference::Palette4: {
        const TPaletteEntry E =
            PaletteEntry((X + 3 * Y) % (Reference == TReference::Palette8 ? 200 : 16));
        return Opaque(E.Red, E.Green, E.Blue);
    }
    }
    return 0;
}

struct TLayoutCase {
    std::string Name;
    std::string FileName;
    std::function<std::vector<std::uint8_t>()> Encode;
    TReference Reference;
};

class CodecPicturesTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterJpegPictures();
        RegisterCodecPictures();
    }

    std::string Write(const std::string& Name, const std::vector<std::uint8_t>& Data) {
        const std::string Path = (Folder.Path() / Name).string();
        WriteFileBytes(Path, Data);
        return Path;
    }

    TTempFolder Folder;
};

class SampleLayoutTest : public CodecPicturesTest,
                         public testing::WithParamInterface<TLayoutCase> {};

TEST_P(SampleLayoutTest, GivesTheReferencePixels) {
    const TLayoutCase& C = GetParam();
    TBitmap32 Bitmap;
    Bitmap.LoadPictureFile(Write(C.FileName, C.Encode()));
    ASSERT_EQ(Bitmap.Width(), RefWidth);
    ASSERT_EQ(Bitmap.Height(), RefHeight);
    for (int Y = 0; Y < RefHeight; ++Y)
        for (int X = 0; X < RefWidth; ++X)
            ASSERT_EQ(Bitmap.Pixel(X, Y), ReferencePixel(C.Reference, X, Y))
                << "pixel " << X << ", " << Y << ": " << DescribePixel(Bitmap.Pixel(X, Y));
}

INSTANTIATE_TEST_SUITE_P(
    Files, SampleLayoutTest,
    testing::Values(
        TLayoutCase{"PngColour8", "c.png", [] { return EncodePng(ColourSamples(8, false)); },
                    TReference::Colour},
        TLayoutCase{"PngColour16", "c.PNG", [] { return EncodePng(ColourSamples(16, false)); },
                    TReference::Colour},
        TLayoutCase{"PngColourAndOpaqueAlpha8", "c.png",
                    [] { return EncodePng(ColourSamples(8, true)); }, TReference::Colour},
        TLayoutCase{"PngColourInterlaced", "c.png",
                    [] { return EncodePng(ColourSamples(8, false), true); }, TReference::Colour},
        TLayoutCase{"PngGrey8", "g.png", [] { return EncodePng(GreySamples(8)); },
                    TReference::Grey},
        TLayoutCase{"PngGrey16", "g.png", [] { return EncodePng(GreySamples(16)); },
                    TReference::Grey},
        TLayoutCase{"PngGrey1Bit", "g.png", [] { return EncodePng(GreySamples(1)); },
                    TReference::GreyOneBit},
        TLayoutCase{"PngPalette8", "p.png", [] { return EncodePalettePng(PaletteSamples(8)); },
                    TReference::Palette8},
        TLayoutCase{"PngPalette4", "p.png", [] { return EncodePalettePng(PaletteSamples(4)); },
                    TReference::Palette4},
        TLayoutCase{"TiffColour8", "c.tif", [] { return EncodeTiff(ColourSamples(8, false)); },
                    TReference::Colour},
        TLayoutCase{"TiffColour8LzwInStripsOf5", "c.TIFF",
                    [] { return EncodeTiff(ColourSamples(8, false), TTiffCompression::Lzw, 5); },
                    TReference::Colour},
        TLayoutCase{"TiffColour16Deflate", "c.tiff",
                    [] { return EncodeTiff(ColourSamples(16, false), TTiffCompression::Deflate); },
                    TReference::Colour},
        TLayoutCase{"TiffColourAndOpaqueAlpha8", "c.tif",
                    [] { return EncodeTiff(ColourSamples(8, true)); }, TReference::Colour},
        TLayoutCase{"TiffGrey8", "g.tif", [] { return EncodeTiff(GreySamples(8)); },
                    TReference::Grey},
        TLayoutCase{"TiffGrey16", "g.tif", [] { return EncodeTiff(GreySamples(16)); },
                    TReference::Grey},
        TLayoutCase{"TiffPalette8", "p.tif", [] { return EncodePaletteTiff(PaletteSamples(8)); },
                    TReference::Palette8},
        TLayoutCase{"WebPLossless", "c.webp",
                    [] { return EncodeWebP(ColourSamples(8, true), true); }, TReference::Colour},
        TLayoutCase{"WebPLosslessUpperCaseName", "c.WebP",
                    [] { return EncodeWebP(ColourSamples(8, true), true); }, TReference::Colour}),
    [](const auto& Info) { return Info.param.Name; });

// Transparency over white, worked by hand: c * a / 255 + 255 - a, rounded.
struct TAlphaSample {
    int Red, Green, Blue, Alpha;
    TRgb Expected;
};
const std::vector<TAlphaSample> AlphaSamples = {
    {200, 100, 0, 128, {227, 177, 127}}, {10, 20, 30, 0, {255, 255, 255}},
    {10, 20, 30, 255, {10, 20, 30}},     {255, 0, 0, 64, {255, 191, 191}},
    {0, 0, 0, 191, {64, 64, 64}},
};

TSampleImage AlphaImage(int Channels, int BitDepth) {
    TSampleImage Image{static_cast<int>(AlphaSamples.size()), 1, Channels, BitDepth, {}};
    const int Scale = BitDepth == 16 ? 257 : 1;
    for (const TAlphaSample& S : AlphaSamples) {
        const std::vector<int> Values = Channels == 2
                                            ? std::vector<int>{S.Red, S.Alpha}
                                            : std::vector<int>{S.Red, S.Green, S.Blue, S.Alpha};
        for (const int V : Values)
            Image.Samples.push_back(static_cast<std::uint16_t>(V * Scale));
    }
    return Image;
}

TPaletteImage AlphaPalette() {
    TPaletteImage Image{{static_cast<int>(AlphaSamples.size()), 1, 1, 8, {}}, {}};
    for (std::size_t I = 0; I < AlphaSamples.size(); ++I) {
        const TAlphaSample& S = AlphaSamples[I];
        Image.Palette.push_back(
            {static_cast<std::uint8_t>(S.Red), static_cast<std::uint8_t>(S.Green),
             static_cast<std::uint8_t>(S.Blue), static_cast<std::uint8_t>(S.Alpha)});
        Image.Indices.Samples.push_back(static_cast<std::uint16_t>(I));
    }
    return Image;
}

struct TAlphaCase {
    std::string Name;
    std::string FileName;
    std::function<std::vector<std::uint8_t>()> Encode;
    bool Grey; // grey and alpha: the grey level is the sample's red
};

class AlphaTest : public CodecPicturesTest, public testing::WithParamInterface<TAlphaCase> {};

TEST_P(AlphaTest, TransparentPixelsLieOverWhite) {
    const TAlphaCase& C = GetParam();
    TBitmap32 Bitmap;
    Bitmap.LoadPictureFile(Write(C.FileName, C.Encode()));
    ASSERT_EQ(Bitmap.Width(), static_cast<int>(AlphaSamples.size()));
    for (std::size_t I = 0; I < AlphaSamples.size(); ++I) {
        const TRgb E = AlphaSamples[I].Expected;
        const TColor32 Expected =
            C.Grey ? Opaque(E.Red, E.Red, E.Red) : Opaque(E.Red, E.Green, E.Blue);
        EXPECT_EQ(Bitmap.Pixel(static_cast<int>(I), 0), Expected)
            << "sample " << I << ": " << DescribePixel(Bitmap.Pixel(static_cast<int>(I), 0));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, AlphaTest,
    testing::Values(
        TAlphaCase{"PngColourAlpha8", "a.png", [] { return EncodePng(AlphaImage(4, 8)); }, false},
        TAlphaCase{"PngColourAlpha16", "a.png", [] { return EncodePng(AlphaImage(4, 16)); }, false},
        TAlphaCase{"PngGreyAlpha8", "a.png", [] { return EncodePng(AlphaImage(2, 8)); }, true},
        TAlphaCase{"PngPaletteTransparency", "a.png",
                   [] { return EncodePalettePng(AlphaPalette()); }, false},
        TAlphaCase{"TiffColourAlpha8", "a.tif", [] { return EncodeTiff(AlphaImage(4, 8)); }, false},
        TAlphaCase{"TiffColourAlpha16", "a.tif", [] { return EncodeTiff(AlphaImage(4, 16)); },
                   false},
        TAlphaCase{"WebPLosslessAlpha", "a.webp", [] { return EncodeWebP(AlphaImage(4, 8), true); },
                   false}),
    [](const auto& Info) { return Info.param.Name; });

TEST_F(CodecPicturesTest, LossyWebPComesCloseToItsReference) {
    TSampleImage Smooth{64, 48, 4, 8, {}};
    for (int Y = 0; Y < 48; ++Y)
        for (int X = 0; X < 64; ++X)
            for (const int V : {4 * X, 5 * Y, 128, 255})
                Smooth.Samples.push_back(static_cast<std::uint16_t>(V));
    TBitmap32 Bitmap;
    Bitmap.LoadPictureFile(Write("smooth.webp", EncodeWebP(Smooth, false, 95)));
    ASSERT_EQ(Bitmap.Width(), 64);
    ASSERT_EQ(Bitmap.Height(), 48);
    long Error = 0;
    for (int Y = 0; Y < 48; ++Y)
        for (int X = 0; X < 64; ++X) {
            const TColor32 P = Bitmap.Pixel(X, Y);
            EXPECT_EQ(P >> 24, 0xFFu);
            Error += std::abs(static_cast<int>((P >> 16) & 0xFF) - 4 * X) +
                     std::abs(static_cast<int>((P >> 8) & 0xFF) - 5 * Y) +
                     std::abs(static_cast<int>(P & 0xFF) - 128);
        }
    EXPECT_LT(static_cast<double>(Error) / (64 * 48 * 3), 4.0);
}

// Damaged and hostile files: a clear error of the format's class, and the bitmap as it was.
struct TDamageCase {
    std::string Name;
    std::string FileName;
    std::function<std::vector<std::uint8_t>()> Content;
    std::string Class;
    std::string Message; // the message, or its beginning when it ends in "..."
};

class DamagedFileTest : public CodecPicturesTest,
                        public testing::WithParamInterface<TDamageCase> {};

TEST_P(DamagedFileTest, FailsClearlyAndLeavesTheBitmap) {
    const TDamageCase& C = GetParam();
    const std::string Path = Write(C.FileName, C.Content());
    TBitmap32 Bitmap;
    FillWithCoordinates(Bitmap, 7, 5);
    TNotificationRecorder Recorder(Bitmap);
    try {
        Bitmap.LoadPictureFile(Path);
        ADD_FAILURE() << "no error";
    } catch (const Exception& E) {
        EXPECT_EQ(E.ClassName(), C.Class) << E.Message();
        const bool Prefix = C.Message.size() > 3 && C.Message.ends_with("...");
        if (Prefix)
            EXPECT_THAT(E.Message(),
                        testing::StartsWith(C.Message.substr(0, C.Message.size() - 3)));
        else
            EXPECT_EQ(E.Message(), C.Message);
    }
    EXPECT_EQ(Bitmap.Width(), 7);
    EXPECT_EQ(Bitmap.Height(), 5);
    EXPECT_EQ(Bitmap.Pixel(6, 4), CoordPixel(6, 4));
    EXPECT_THAT(Recorder.Events, testing::IsEmpty());
}

std::vector<std::uint8_t> FirstHalf(std::vector<std::uint8_t> Data) {
    Data.resize(Data.size() / 2);
    return Data;
}

std::vector<std::uint8_t> Text() {
    const std::string Words = "no picture at all, just words";
    return {Words.begin(), Words.end()};
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFileTest,
    testing::Values(
        TDamageCase{"PngEmpty", "e.png", [] { return std::vector<std::uint8_t>{}; }, "EPNGError",
                    "PNG error: not a PNG file"},
        TDamageCase{"PngText", "t.png", Text, "EPNGError", "PNG error: not a PNG file"},
        TDamageCase{"PngCutShort", "h.png",
                    [] { return FirstHalf(EncodePng(ColourSamples(8, false))); }, "EPNGError",
                    "PNG error: ..."},
        TDamageCase{"PngHugeHeader", "b.png", [] { return PngStart(100000, 100000, true); },
                    "EPNGError",
                    "PNG error: the picture is too large or empty (100000 x 100000 pixels)"},
        TDamageCase{"PngHeaderWithoutData", "n.png", [] { return PngStart(16, 16, false); },
                    "EPNGError", "PNG error: ..."},
        TDamageCase{"PngAsJpegName", "p.jpg", [] { return EncodePng(ColourSamples(8, false)); },
                    "EJPEG", "JPEG error #..."},
        TDamageCase{"TiffEmpty", "e.tif", [] { return std::vector<std::uint8_t>{}; }, "ETIFFError",
                    "TIFF error: ..."},
        TDamageCase{"TiffText", "t.tiff", Text, "ETIFFError", "TIFF error: ..."},
        TDamageCase{"TiffCutShort", "h.tif",
                    [] { return FirstHalf(EncodeTiff(ColourSamples(8, false))); }, "ETIFFError",
                    "TIFF error: ..."},
        TDamageCase{"TiffRandom", "r.tif", [] { return RandomBytes(3000, 7); }, "ETIFFError",
                    "TIFF error: ..."},
        TDamageCase{"WebPEmpty", "e.webp", [] { return std::vector<std::uint8_t>{}; }, "EWebPError",
                    "WebP error: not a WebP file, or its header is damaged"},
        TDamageCase{"WebPCutShort", "h.webp",
                    [] { return FirstHalf(EncodeWebP(ColourSamples(8, true), true)); },
                    "EWebPError", "WebP error: ..."},
        TDamageCase{"PngAsWebPName", "p.webp", [] { return EncodePng(ColourSamples(8, false)); },
                    "EWebPError", "WebP error: not a WebP file, or its header is damaged"}),
    [](const auto& Info) { return Info.param.Name; });

TEST_F(CodecPicturesTest, AMissingFileCannotBeOpened) {
    TBitmap32 Bitmap;
    EXPECT_THROW(Bitmap.LoadPictureFile((Folder.Path() / "missing.png").string()), EFOpenError);
}

struct TNameCase {
    std::string FileName;
    bool Codec;
};

class CodecNameTest : public testing::TestWithParam<TNameCase> {};

TEST_P(CodecNameTest, KnowsTheExtensionsInAnyCase) {
    EXPECT_EQ(IsCodecPictureName(GetParam().FileName), GetParam().Codec);
}

INSTANTIATE_TEST_SUITE_P(
    Names, CodecNameTest,
    testing::Values(TNameCase{"/scans/cover.png", true}, TNameCase{"/scans/cover.PNG", true},
                    TNameCase{"cover.Tif", true}, TNameCase{"cover.tiff", true},
                    TNameCase{"cover.WEBP", true}, TNameCase{"cover.jpg", false},
                    TNameCase{"cover.jpeg", false}, TNameCase{"cover.png.txt", false},
                    TNameCase{"pics.png/cover", false}, TNameCase{"cover", false},
                    TNameCase{"cover.gif", false}),
    [](const auto& Info) { return AsTestName(Info.param.FileName); });

TEST(CodecRegistryTest, AddsItsKindsBesideTheJpegOnesOnce) {
    TPictureRegistry Registry;
    RegisterJpegPictures(Registry);
    RegisterCodecPictures(Registry);
    RegisterCodecPictures(Registry);
    EXPECT_EQ(Registry.Formats().size(), 6u);
    EXPECT_EQ(Registry.FindByFileName("a.TIF")->KindName, "TTIFFImage");
    EXPECT_EQ(Registry.FindByFileName("a.png")->KindName, "TPNGImage");
    EXPECT_EQ(Registry.FindByFileName("a.webp")->KindName, "TWebPImage");
    EXPECT_EQ(Registry.FindByFileName("a.jpg")->KindName, "TJPEGImage");
}

} // namespace

// Orientation tags of every kind: a picture stored turned comes out as OrientUpright turns the
// stored pixels, for all eight values.
struct TOrientedCase {
    std::string Name;
    std::string FileName;
    std::function<std::vector<std::uint8_t>(const TSampleImage&, int)> Encode;
};

class OrientedFileTest : public CodecPicturesTest,
                         public testing::WithParamInterface<std::tuple<TOrientedCase, int>> {};

TEST_P(OrientedFileTest, ComesOutUpright) {
    const auto& [C, Orientation] = GetParam();
    const TSampleImage Stored = ColourSamples(8, false);
    TBitmap32 Expected;
    Expected.LoadPictureFile(Write("stored.png", EncodePng(Stored)));
    OrientUpright(Expected, Orientation);
    TBitmap32 Bitmap;
    Bitmap.LoadPictureFile(Write(C.FileName, C.Encode(Stored, Orientation)));
    ASSERT_EQ(Bitmap.Width(), Expected.Width());
    ASSERT_EQ(Bitmap.Height(), Expected.Height());
    for (int Y = 0; Y < Bitmap.Height(); ++Y)
        for (int X = 0; X < Bitmap.Width(); ++X)
            ASSERT_EQ(Bitmap.Pixel(X, Y), Expected.Pixel(X, Y)) << "at " << X << ", " << Y;
}

std::vector<std::uint8_t> LosslessWebPWithExif(const TSampleImage& Image, int Orientation) {
    TSampleImage Rgba{Image.Width, Image.Height, 4, 8, {}};
    for (std::size_t I = 0; I < Image.Samples.size(); I += 3)
        for (const int C : {0, 1, 2, 3})
            Rgba.Samples.push_back(C == 3 ? 255 : Image.Samples[I + static_cast<std::size_t>(C)]);
    return WebPWithExif(EncodeWebP(Rgba, true), ExifTiff(Orientation, Orientation % 2 == 0),
                        Image.Width, Image.Height);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, OrientedFileTest,
    testing::Combine(testing::Values(TOrientedCase{"Tiff", "o.tif",
                                                   [](const TSampleImage& I, int O) {
                                                       return EncodeOrientedTiff(I, O);
                                                   }},
                                     TOrientedCase{"PngExifBeforeData", "o.png",
                                                   [](const TSampleImage& I, int O) {
                                                       return EncodePngWithExif(
                                                           I, ExifTiff(O, O % 2 == 1));
                                                   }},
                                     TOrientedCase{"PngExifAfterData", "o.png",
                                                   [](const TSampleImage& I, int O) {
                                                       return EncodePngWithExif(I, ExifTiff(O),
                                                                                true);
                                                   }},
                                     TOrientedCase{"WebPExif", "o.webp", LosslessWebPWithExif}),
                     testing::Range(1, 9)),
    [](const auto& Info) {
        return std::get<0>(Info.param).Name + std::to_string(std::get<1>(Info.param));
    });

// CIELab TIFFs come out in the sRGB colours of their L*a*b* values (white point D50, adapted to
// sRGB's D65 with the Bradford transform), within the rounding of 8-bit samples (libtiff's own
// conversion was up to 30 levels off).
struct TLabCase {
    const char* Name;
    int L, A, B;          // as stored: L* * 255 / 100, a*, b*
    int Red, Green, Blue; // sRGB
};

class LabTiffTest : public CodecPicturesTest, public testing::WithParamInterface<TLabCase> {};

TEST_P(LabTiffTest, GivesTheSrgbColour) {
    const TLabCase& C = GetParam();
    TSampleImage Lab{2, 1, 3, 8, {}};
    for (int X = 0; X < 2; ++X)
        for (const int V : {C.L, C.A & 0xFF, C.B & 0xFF})
            Lab.Samples.push_back(static_cast<std::uint16_t>(V));
    TBitmap32 Bitmap;
    Bitmap.LoadPictureFile(Write("lab.tif", EncodeLabTiff(Lab)));
    const TColor32 P = Bitmap.Pixel(1, 0);
    EXPECT_NEAR(static_cast<int>((P >> 16) & 0xFF), C.Red, 3);
    EXPECT_NEAR(static_cast<int>((P >> 8) & 0xFF), C.Green, 3);
    EXPECT_NEAR(static_cast<int>(P & 0xFF), C.Blue, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, LabTiffTest,
    testing::Values(TLabCase{"White", 255, 0, 0, 255, 255, 255},
                    TLabCase{"Black", 0, 0, 0, 0, 0, 0},
                    TLabCase{"MiddleGrey", 128, 0, 0, 119, 119, 119}, // L* 50.2
                    TLabCase{"Red", 138, 81, 70, 255, 0, 0},          // L* 54.1
                    // sRGB colours taken to L*a*b* (D50) with the published sRGB-to-XYZ (D50)
                    // matrix, then rounded to the stored samples.
                    TLabCase{"Ochre", 149, 28, 46, 200, 120, 60},
                    TLabCase{"SkyBlue", 153, -7, -37, 90, 150, 210},
                    TLabCase{"Olive", 135, -9, 46, 130, 130, 40},
                    TLabCase{"Leaf", 150, -42, 28, 60, 160, 90}),
    [](const auto& Info) { return std::string(Info.param.Name); });
