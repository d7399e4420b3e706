#include "jpeg_bridge/JpegFile.h"
#include "jpeg_bridge/IjlCodec.h"
#include "jpeg_bridge/JpegRowDecoder.h"

#include "tests/support/BitmapTestSupport.h"
#include "tests/support/FailedLoadCheck.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using testing::ElementsAre;

namespace {

// Blue, green, red, alpha of a pixel as text, for failure output.
std::string Bgra(TColor32 P) {
    return "(" + std::to_string(P & 0xFF) + ", " + std::to_string((P >> 8) & 0xFF) + ", " +
           std::to_string((P >> 16) & 0xFF) + ", " + std::to_string(P >> 24) + ")";
}

TColor32 Opaque(int R, int G, int B) {
    return 0xFF000000u | (TColor32(R) << 16) | (TColor32(G) << 8) | TColor32(B);
}

// Compares a loaded bitmap with the expected pixel for every (X, Y), naming the first few
// differences.
void ExpectPixels(const TBitmap32& Bitmap, int Width, int Height,
                  const std::function<TColor32(int, int)>& Expected) {
    ASSERT_EQ(Bitmap.Width(), Width);
    ASSERT_EQ(Bitmap.Height(), Height);
    int Wrong = 0;
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            if (Bitmap.Pixel(X, Y) != Expected(X, Y) && ++Wrong <= 5)
                ADD_FAILURE() << "pixel (" << X << ", " << Y << ") is " << Bgra(Bitmap.Pixel(X, Y))
                              << ", expected " << Bgra(Expected(X, Y));
    EXPECT_EQ(Wrong, 0) << "pixels differ";
}

int Channel(TColor32 P, int Shift) {
    return static_cast<int>((P >> Shift) & 0xFF);
}

class JpegFileTest : public testing::Test {
protected:
    TTempFolder Dir;

    std::string Write(const std::string& Name, const std::vector<std::uint8_t>& Data) {
        const std::string Path = Dir.File(Name);
        WriteFileBytes(Path, Data);
        return Path;
    }
};

} // namespace

TEST(JpegFileHelpersTest, PaddingRule) {
    struct TCase {
        int Width;
        int Channels;
        int Pad;
    };
    const TCase Cases[] = {{1, 3, 1}, {2, 3, 2}, {3, 3, 3}, {4, 3, 0}, {5, 3, 1},
                           {1, 4, 0}, {7, 4, 0}, {1, 1, 3}, {0, 3, 0}};
    for (const TCase& C : Cases)
        EXPECT_EQ(DibPadBytes(C.Width, C.Channels), C.Pad)
            << C.Width << " pixels of " << C.Channels << " bytes";
}

TEST(JpegFileHelpersTest, FourChannelConversion) {
    struct TCase {
        std::vector<int> In;  // b0, b1, b2, a as the codec delivers them: red, green, blue, opacity
        std::vector<int> Out; // blue, green, red, alpha
    };
    const TCase Cases[] = {
        {{255, 128, 0, 255}, {0, 127, 254, 255}}, // 255 at full opacity gives 254
        {{255, 128, 0, 0}, {0, 0, 0, 0}},
        {{255, 255, 255, 128}, {127, 127, 127, 128}},
        {{1, 2, 3, 1}, {0, 0, 0, 1}},
        {{0, 0, 1, 255}, {1, 0, 0, 255}}, // (1 * 255 + 1) div 256 = 1
        {{10, 20, 30, 200}, {23, 15, 7, 200}},
    };
    for (const TCase& C : Cases) {
        std::vector<std::uint8_t> Pixels(C.In.begin(), C.In.end());
        ConvertFourChannelPixels(Pixels.data(), 1);
        EXPECT_EQ(std::vector<int>(Pixels.begin(), Pixels.end()), C.Out)
            << "from " << testing::PrintToString(C.In);
    }
}

TEST(JpegFileHelpersTest, MessageHasFourLinesSeparatedByCarriageReturns) {
    struct TCase {
        const char* Stage;
        int Code;
        const char* Expected;
    };
    const TCase Cases[] = {
        {"initialising for", IJL_INVALID_POINTER,
         "Error initialising for image:\r/x/a.jpg\rError: No properties record or no pixel buffer "
         "was given\rIJL Error number: -1"},
        {"reading parameters of", IJL_FILE_NOT_FOUND,
         "Error reading parameters of image:\r/x/a.jpg\rError: The file or its folder does not "
         "exist\rIJL Error number: -5"},
        {"reading", IJL_DATA_TRUNCATED,
         "Error reading image:\r/x/a.jpg\rError: The JPEG data ends before the picture is "
         "complete\rIJL Error number: -13"},
        {"Saving", IJL_DISK_FULL,
         "Error Saving image:\r/x/a.jpg\rError: The disk is full\rIJL Error number: -11"},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(IjlErrorMessage(C.Stage, "/x/a.jpg", C.Code), C.Expected);
}

TEST_F(JpegFileTest, ColourFilesLoadExactlyAsLibjpegDecodesThem) {
    struct TCase {
        const char* Name;
        int Width;
        int Height;
        TJpegWriteOptions Options;
    };
    TJpegWriteOptions Progressive;
    Progressive.Progressive = true;
    TJpegWriteOptions Restarts;
    Restarts.RestartInterval = 1;
    TJpegWriteOptions FullChroma;
    FullChroma.FullChroma = true;
    const TCase Cases[] = {
        {"baseline", 48, 32, {}},       {"progressive", 45, 31, Progressive},
        {"restarts", 50, 40, Restarts}, {"444", 33, 17, FullChroma},
        {"width1", 1, 9, {}},           {"width2", 2, 9, {}},
        {"width3", 3, 9, {}},           {"width5", 5, 3, {}},
        {"width17", 17, 2, {}},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const auto Data =
            EncodeJpeg(NoiseImage(C.Width, C.Height, 3, 5), TFixtureColor::YCbCr, C.Options);
        const TDecodedJpeg Decoded = DecodeJpeg(Data);
        ASSERT_TRUE(Decoded.Ok);
        TBitmap32 Bitmap;
        TNotificationRecorder Recorder(Bitmap);
        LoadJpegFile(&Bitmap, Write(std::string(C.Name) + ".jpg", Data));
        ExpectPixels(Bitmap, C.Width, C.Height, [&](int X, int Y) {
            const std::uint8_t* S = Decoded.Samples.data() + (std::size_t(Y) * C.Width + X) * 3;
            return Opaque(S[0], S[1], S[2]);
        });
        EXPECT_EQ(Recorder.Count("change"), 1);
    }
}

TEST_F(JpegFileTest, LargeFilesDecodeOnTwoThreadsExactlyAsLibjpegDoes) {
    // Odd sizes above the threshold, so the split falls inside the picture and the last row
    // group is partial; each kind of file the split path meets.
    constexpr int W = 1501, H = 1403;
    ASSERT_GE(std::uint64_t{W} * H, JpegSplitMinPixels);
    struct TCase {
        const char* Name;
        int Components;
        TFixtureColor Color;
        TJpegWriteOptions Options;
    };
    TJpegWriteOptions Restarts;
    Restarts.RestartInterval = 7;
    TJpegWriteOptions FullChroma;
    FullChroma.FullChroma = true;
    TJpegWriteOptions Progressive;
    Progressive.Progressive = true;
    const TCase Cases[] = {
        {"colour 4:2:0", 3, TFixtureColor::YCbCr, {}},
        {"colour 4:4:4", 3, TFixtureColor::YCbCr, FullChroma},
        {"restart markers", 3, TFixtureColor::YCbCr, Restarts},
        {"progressive", 3, TFixtureColor::YCbCr, Progressive},
        {"grey", 1, TFixtureColor::Grey, {}},
        {"CMYK", 4, TFixtureColor::Cmyk, {}},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const auto Data = EncodeJpeg(NoiseImage(W, H, C.Components, 4), C.Color, C.Options);
        const TDecodedJpeg Decoded = DecodeJpeg(Data);
        ASSERT_TRUE(Decoded.Ok);
        TBitmap32 Bitmap;
        LoadJpegFile(&Bitmap, Write("large.jpg", Data));
        ExpectPixels(Bitmap, W, H, [&](int X, int Y) {
            const std::uint8_t* S =
                Decoded.Samples.data() + (std::size_t(Y) * W + X) * Decoded.Components;
            if (C.Components == 1)
                return Opaque(S[0], S[0], S[0]);
            if (C.Components == 3)
                return Opaque(S[0], S[1], S[2]);
            const auto Channel = [&](int I) { return ((S[I] * S[3] + 127) / 255 * 255 + 1) / 256; };
            return Opaque(Channel(0), Channel(1), Channel(2));
        });
    }
}

// Both threads read the one file opened for the load: a file put under the name between the split
// and the decoding (the moment the test hook marks) changes nothing of the picture.
TEST_F(JpegFileTest, AFileReplacedDuringTheReadGivesThePictureOfTheFileOpened) {
    constexpr int W = 1600, H = 1400;
    const auto Original = EncodeJpeg(NoiseImage(W, H, 3, 21), TFixtureColor::YCbCr);
    const auto Other = EncodeJpeg(NoiseImage(W, H, 3, 22), TFixtureColor::YCbCr);
    const TDecodedJpeg Decoded = DecodeJpeg(Original);
    ASSERT_TRUE(Decoded.Ok);
    const std::string Path = Write("cover.jpg", Original);
    const std::string Replacement = Write("replacement.jpg", Other);
    int Splits = 0;
    SetJpegSplitHook([&] {
        ++Splits;
        std::filesystem::rename(Replacement, Path);
    });
    TBitmap32 Bitmap;
    try {
        LoadJpegFile(&Bitmap, Path);
    } catch (...) {
        SetJpegSplitHook({});
        throw;
    }
    SetJpegSplitHook({});
    if (Splits == 0)
        GTEST_SKIP() << "one core: the picture was decoded on one thread";
    ASSERT_TRUE(ReadFileBytes(Path) == Other) << "the file was not replaced";
    ExpectPixels(Bitmap, W, H, [&](int X, int Y) {
        const std::uint8_t* S = Decoded.Samples.data() + (std::size_t(Y) * W + X) * 3;
        return Opaque(S[0], S[1], S[2]);
    });
}

// A progressive file may hold a thousand scans, each a pass over the whole picture; more are
// refused before the decoder spends minutes on them.
TEST_F(JpegFileTest, MoreThanAThousandScansAreRefused) {
    TJpegWriteOptions Scans;
    Scans.Scans = 1000;
    const auto Allowed = EncodeJpeg(GradientImage(24, 16, 3), TFixtureColor::YCbCr, Scans);
    Scans.Scans = 1001;
    const auto TooMany = EncodeJpeg(GradientImage(24, 16, 3), TFixtureColor::YCbCr, Scans);
    ASSERT_EQ(CountScans(Allowed), 1000);
    ASSERT_EQ(CountScans(TooMany), 1001);

    TBitmap32 Bitmap;
    LoadJpegFile(&Bitmap, Write("1000-scans.jpg", Allowed));
    EXPECT_EQ(Bitmap.Width(), 24);
    const std::string Path = Write("1001-scans.jpg", TooMany);
    ExpectFailureLeavesBitmap([&](TBitmap32& B) { LoadJpegFile(&B, Path); }, "EIJLError",
                              IjlErrorMessage("reading", Path, IJL_DATA_DAMAGED));
}

namespace {

// The first Share of the data, then an end marker: a file cut short, as a broken copy leaves
// it, that still ends as a JPEG file ends.
std::vector<std::uint8_t> CutWithEndMarker(const std::vector<std::uint8_t>& Data, double Share) {
    std::vector<std::uint8_t> Cut(Data.begin(), Data.begin() + long(double(Data.size()) * Share));
    Cut.push_back(0xFF);
    Cut.push_back(0xD9);
    return Cut;
}

} // namespace

// Damaged data that libjpeg decodes anyway (its missing rows grey) loads as it always has, and
// the load tells the damage in libjpeg's words; sound data, and bytes before a marker as common
// cameras write them, tell none. Large files are decoded on two threads: damage in either part
// is told.
TEST_F(JpegFileTest, DamagedDataLoadsAndIsTold) {
    const auto Small = EncodeJpeg(NoiseImage(120, 80, 3, 3), TFixtureColor::YCbCr);
    const auto Large = EncodeJpeg(NoiseImage(1600, 1400, 3, 8), TFixtureColor::YCbCr);
    auto Extraneous = Small;
    Extraneous.insert(Extraneous.end() - 2, {0x00, 0x11, 0x22});
    const std::string Cut = "Corrupt JPEG data: premature end of data segment";
    struct TCase {
        const char* Name;
        std::vector<std::uint8_t> Data;
        std::string Damage;
    };
    const TCase Cases[] = {
        {"sound", Small, ""},
        {"extraneous bytes before the end marker", Extraneous, ""},
        {"cut short with an end marker", CutWithEndMarker(Small, 0.6), Cut},
        {"grey, cut short with an end marker",
         CutWithEndMarker(EncodeJpeg(NoiseImage(90, 70, 1, 4), TFixtureColor::Grey), 0.5), Cut},
        {"large, cut in the upper part", CutWithEndMarker(Large, 0.3), Cut},
        {"large, cut in the lower part", CutWithEndMarker(Large, 0.95), Cut},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const std::string Path = Write("scan.jpg", C.Data);
        TBitmap32 Told, Plain;
        std::string Damage = "left over";
        LoadJpegFile(Told, Path, Damage);
        EXPECT_EQ(Damage, C.Damage);
        LoadJpegFile(Plain, Path);
        EXPECT_TRUE(SameBitmaps(Told, Plain)) << "telling the damage changed pixels";
    }
}

TEST_F(JpegFileTest, LargeFileCutInEitherPartIsRefused) {
    constexpr int W = 1600, H = 1400;
    const auto Data = EncodeJpeg(NoiseImage(W, H, 3, 8), TFixtureColor::YCbCr);
    for (const std::size_t Keep : {Data.size() / 3, Data.size() * 9 / 10}) {
        SCOPED_TRACE("keeping " + std::to_string(Keep) + " of " + std::to_string(Data.size()));
        const std::string Path =
            Write("cut.jpg", std::vector<std::uint8_t>(Data.begin(), Data.begin() + long(Keep)));
        ExpectFailureLeavesBitmap([&](TBitmap32& B) { LoadJpegFile(&B, Path); }, "EIJLError",
                                  IjlErrorMessage("reading", Path, IJL_DATA_TRUNCATED));
    }
}

TEST_F(JpegFileTest, ColourFileKeepsItsOrientation) {
    const TFixtureImage Image =
        QuadrantImage(64, 32, 3, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}});
    TBitmap32 Bitmap;
    LoadJpegFile(Bitmap, Write("quadrants.jpg", EncodeJpeg(Image, TFixtureColor::YCbCr)));
    struct TProbe {
        int X, Y, R, G, B;
    };
    const TProbe Probes[] = {
        {8, 4, 255, 0, 0}, {56, 4, 0, 255, 0}, {8, 28, 0, 0, 255}, {56, 28, 255, 255, 255}};
    for (const TProbe& P : Probes) {
        const TColor32 Pixel = Bitmap.Pixel(P.X, P.Y);
        EXPECT_NEAR(Channel(Pixel, 16), P.R, 6) << "red at (" << P.X << ", " << P.Y << ")";
        EXPECT_NEAR(Channel(Pixel, 8), P.G, 6) << "green at (" << P.X << ", " << P.Y << ")";
        EXPECT_NEAR(Channel(Pixel, 0), P.B, 6) << "blue at (" << P.X << ", " << P.Y << ")";
        EXPECT_EQ(Pixel >> 24, 255u);
    }
}

TEST_F(JpegFileTest, GreyFileLoadsWithEqualChannels) {
    const auto Data = EncodeJpeg(GradientImage(39, 23, 1), TFixtureColor::Grey);
    const TDecodedJpeg Decoded = DecodeJpeg(Data);
    ASSERT_TRUE(Decoded.Ok);
    TBitmap32 Bitmap;
    LoadJpegFile(&Bitmap, Write("grey.jpg", Data));
    ExpectPixels(Bitmap, 39, 23, [&](int X, int Y) {
        const int V = Decoded.Samples[std::size_t(Y) * 39 + X];
        return Opaque(V, V, V);
    });
}

TEST_F(JpegFileTest, FourChannelFilesLoadThroughTheConversionTable) {
    // Adobe's programs store ink inverted (255: no ink); the codec turns that into red, green,
    // blue and opacity 255, which the bridge scales by (x * 255 + 1) div 256.
    for (const TFixtureColor Color : {TFixtureColor::Cmyk, TFixtureColor::Ycck}) {
        SCOPED_TRACE(Color == TFixtureColor::Cmyk ? "CMYK" : "YCCK");
        const auto Data = EncodeJpeg(GradientImage(21, 13, 4), Color);
        const TDecodedJpeg Decoded = DecodeJpeg(Data);
        ASSERT_TRUE(Decoded.Ok);
        ASSERT_EQ(Decoded.Components, 4);
        ASSERT_TRUE(Decoded.AdobeMarker);
        TBitmap32 Bitmap;
        LoadJpegFile(&Bitmap, Write("four.jpg", Data));
        ExpectPixels(Bitmap, 21, 13, [&](int X, int Y) {
            const std::uint8_t* S = Decoded.Samples.data() + (std::size_t(Y) * 21 + X) * 4;
            const auto Ink = [&](int C) { return (S[C] * S[3] + 127) / 255; };
            const auto Scale = [](int V) { return (V * 255 + 1) / 256; };
            return Opaque(Scale(Ink(0)), Scale(Ink(1)), Scale(Ink(2)));
        });
    }
}

TEST_F(JpegFileTest, RedFourChannelPixelEndsAsTheTableSays) {
    // Red: no cyan, full magenta and yellow, no black; stored inverted.
    const auto Data = EncodeJpeg(FlatImage(16, 16, {255, 0, 0, 255}), TFixtureColor::Cmyk,
                                 TJpegWriteOptions{100, false, 0, true});
    TBitmap32 Bitmap;
    LoadJpegFile(&Bitmap, Write("red.jpg", Data));
    EXPECT_EQ(Bitmap.Pixel(8, 8), 0xFFFE0000u) << Bgra(Bitmap.Pixel(8, 8));
}

TEST_F(JpegFileTest, FailedLoadsRaiseTheirStageAndLeaveTheBitmap) {
    const auto Colour = EncodeJpeg(NoiseImage(64, 48, 3, 1), TFixtureColor::YCbCr);
    TJpegWriteOptions Progressive;
    Progressive.Progressive = true;
    auto CutProgressive = EncodeJpeg(NoiseImage(64, 48, 3, 1), TFixtureColor::YCbCr, Progressive);
    CutProgressive.resize(CutProgressive.size() / 2);
    auto Cut = Colour;
    Cut.resize(Colour.size() / 2);
    auto CutInHeader = Colour;
    CutInHeader.resize(40);
    std::filesystem::create_directory(Dir.File("folder.jpg"));
    struct TCase {
        std::string FileName;
        const char* Stage;
        int Code;
    };
    const TCase Cases[] = {
        {Dir.File("missing.jpg"), "reading parameters of", IJL_FILE_NOT_FOUND},
        {Dir.File("no-folder/x.jpg"), "reading parameters of", IJL_FILE_NOT_FOUND},
        {Dir.File("folder.jpg"), "reading parameters of", IJL_FILE_IS_FOLDER},
        {Write("zero.jpg", {}), "reading parameters of", IJL_NOT_JPEG},
        {Write("random.jpg", RandomBytes(5000, 3)), "reading parameters of", IJL_NOT_JPEG},
        {Write("png.jpg", PngBytes()), "reading parameters of", IJL_NOT_JPEG},
        {Write("header-cut.jpg", CutInHeader), "reading parameters of", IJL_DATA_TRUNCATED},
        {Write("cut.jpg", Cut), "reading", IJL_DATA_TRUNCATED},
        {Write("cut-progressive.jpg", CutProgressive), "reading", IJL_DATA_TRUNCATED},
        {Write("no-tables.jpg", WithoutSegments(Colour, 0xDB)), "reading", IJL_DATA_DAMAGED},
        {Write("bomb.jpg", WithFrameSize(Colour, 65500, 65500)), "reading", IJL_IMAGE_TOO_LARGE},
        {Write("two.jpg", EncodeJpeg(GradientImage(8, 8, 2), TFixtureColor::TwoChannel)), "reading",
         IJL_UNSUPPORTED_CHANNELS},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.FileName);
        ExpectFailureLeavesBitmap([&](TBitmap32& B) { LoadJpegFile(&B, C.FileName); }, "EIJLError",
                                  IjlErrorMessage(C.Stage, C.FileName, C.Code));
    }
    try {
        LoadJpegFile(nullptr, Dir.File("missing.jpg"));
        ADD_FAILURE() << "no error";
    } catch (const Exception& E) {
        EXPECT_STREQ(E.ClassName(), "Exception");
        EXPECT_EQ(E.Message(), "Bitmap not initialised");
    }
}

TEST_F(JpegFileTest, MissingEndMarkerAfterACompletePictureIsAccepted) {
    auto Data = EncodeJpeg(GradientImage(32, 32, 3), TFixtureColor::YCbCr);
    ASSERT_EQ(Data[Data.size() - 2], 0xFF);
    Data.resize(Data.size() - 2);
    TBitmap32 Bitmap;
    LoadJpegFile(&Bitmap, Write("no-eoi.jpg", Data));
    EXPECT_EQ(Bitmap.Width(), 32);
}

TEST_F(JpegFileTest, SavedFileKeepsTheOrientationAndCarriesThePrintDensityAsked) {
    TBitmap32 Bitmap;
    Bitmap.SetDimensions(64, 48);
    for (int Y = 0; Y < 48; ++Y)
        for (int X = 0; X < 64; ++X)
            Bitmap.ScanLine(Y)[X] = Y < 24 ? (X < 32 ? Opaque(255, 0, 0) : Opaque(0, 255, 0))
                                           : (X < 32 ? Opaque(0, 0, 255) : Opaque(255, 255, 0));
    const std::string Path = Dir.File("out.jpg");
    // 536.4 dots per inch, rounded to 536 in the JFIF header.
    SaveJpegFile(Bitmap, Path, 95, TPrintDensity{2682, 5});

    const TDecodedJpeg Decoded = DecodeJpeg(ReadFileBytes(Path));
    ASSERT_TRUE(Decoded.Ok);
    EXPECT_EQ(Decoded.Width, 64);
    EXPECT_EQ(Decoded.Height, 48);
    EXPECT_EQ(Decoded.Components, 3);
    EXPECT_FALSE(Decoded.Progressive);
    EXPECT_EQ(Decoded.DensityUnit, 1) << "dots per inch";
    EXPECT_EQ(Decoded.XDensity, 536);
    EXPECT_EQ(Decoded.YDensity, 536);
    struct TProbe {
        int X, Y, R, G, B;
    };
    const TProbe Probes[] = {
        {8, 4, 255, 0, 0}, {56, 4, 0, 255, 0}, {8, 44, 0, 0, 255}, {56, 44, 255, 255, 0}};
    for (const TProbe& P : Probes) {
        const std::uint8_t* S = Decoded.Samples.data() + (std::size_t(P.Y) * 64 + P.X) * 3;
        EXPECT_NEAR(S[0], P.R, 6) << "red at (" << P.X << ", " << P.Y << ")";
        EXPECT_NEAR(S[1], P.G, 6) << "green at (" << P.X << ", " << P.Y << ")";
        EXPECT_NEAR(S[2], P.B, 6) << "blue at (" << P.X << ", " << P.Y << ")";
    }

    // And back: the file's top row is row 0 again.
    TBitmap32 Loaded;
    LoadJpegFile(&Loaded, Path);
    ExpectPixels(Loaded, 64, 48, [&](int X, int Y) {
        const std::uint8_t* S = Decoded.Samples.data() + (std::size_t(Y) * 64 + X) * 3;
        return Opaque(S[0], S[1], S[2]);
    });
}

TEST_F(JpegFileTest, WithoutADensityTheFileHoldsOnlyTheAspectRatio) {
    TBitmap32 Bitmap;
    FillWithCoordinates(Bitmap, 33, 17);
    SaveJpegFile(Bitmap, Dir.File("plain.jpg"), 95);
    const TDecodedJpeg Decoded = DecodeJpeg(ReadFileBytes(Dir.File("plain.jpg")));
    ASSERT_TRUE(Decoded.Ok);
    EXPECT_EQ(Decoded.DensityUnit, 0);
    EXPECT_EQ(Decoded.XDensity, 1);
    EXPECT_EQ(Decoded.YDensity, 1);
}

TEST_F(JpegFileTest, SavingIgnoresAlpha) {
    TBitmap32 A;
    TBitmap32 B;
    FillWithCoordinates(A, 33, 17);
    FillWithCoordinates(B, 33, 17);
    for (int Y = 0; Y < 17; ++Y)
        for (int X = 0; X < 33; ++X)
            B.ScanLine(Y)[X] = (B.Pixel(X, Y) & 0x00FFFFFFu) | (TColor32(X * 7 + Y) << 24);
    SaveJpegFile(A, Dir.File("a.jpg"), 95);
    SaveJpegFile(B, Dir.File("b.jpg"), 95);
    EXPECT_TRUE(ReadFileBytes(Dir.File("a.jpg")) == ReadFileBytes(Dir.File("b.jpg")));
}

TEST_F(JpegFileTest, EmptyBitmapIsNotSavedAndNoFileIsTouched) {
    for (const auto& [W, H] : {std::pair{0, 10}, std::pair{10, 0}, std::pair{0, 0}}) {
        TBitmap32 Bitmap;
        Bitmap.SetDimensions(W, H);
        try {
            SaveJpegFile(Bitmap, Dir.File("none.jpg"), 95);
            ADD_FAILURE() << "no error for " << W << " by " << H;
        } catch (const Exception& E) {
            EXPECT_STREQ(E.ClassName(), "Exception");
            EXPECT_EQ(E.Message(), "No image to save");
        }
    }
    EXPECT_TRUE(Dir.Entries().empty());
}

TEST_F(JpegFileTest, FailedSaveLeavesAnExistingFileAndNoTemporaryFile) {
    const std::vector<std::uint8_t> Good =
        EncodeJpeg(GradientImage(20, 20, 3), TFixtureColor::YCbCr);
    const std::string Existing = Write("good.jpg", Good);
    std::filesystem::create_directory(Dir.File("folder.jpg"));
    TBitmap32 Small;
    FillWithCoordinates(Small, 10, 10);
    // Wider than JPEG allows: the encoder fails after the temporary file was made.
    TBitmap32 TooWide;
    TooWide.SetDimensions(65501, 1);
    struct TCase {
        const TBitmap32* Bitmap;
        std::string FileName;
        int Code;
    };
    const TCase Cases[] = {
        {&TooWide, Existing, IJL_IMAGE_TOO_LARGE},
        {&Small, Dir.File("folder.jpg"), IJL_FILE_IS_FOLDER},
        {&Small, Dir.File("no-folder/x.jpg"), IJL_FILE_NOT_FOUND},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.FileName);
        try {
            SaveJpegFile(*C.Bitmap, C.FileName, 95);
            ADD_FAILURE() << "no error";
        } catch (const Exception& E) {
            EXPECT_STREQ(E.ClassName(), "EIJLError");
            EXPECT_EQ(E.Message(), IjlErrorMessage("Saving", C.FileName, C.Code));
        }
        EXPECT_TRUE(ReadFileBytes(Existing) == Good) << "the existing file changed";
        EXPECT_THAT(Dir.Entries(), ElementsAre("folder.jpg", "good.jpg"));
        EXPECT_TRUE(std::filesystem::is_empty(Dir.File("folder.jpg")));
    }

    // A good save replaces the file.
    SaveJpegFile(Small, Existing, 95);
    EXPECT_EQ(DecodeJpeg(ReadFileBytes(Existing)).Width, 10);
    EXPECT_THAT(Dir.Entries(), ElementsAre("folder.jpg", "good.jpg"));
}
