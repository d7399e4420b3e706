// The saved JPEG's exact print size: an EXIF block after the JFIF block, whose XResolution and
// YResolution an independent reader (exiftool) reads back as the tray card's density, so that the
// inlay prints 151.0 mm wide; and nothing else in the file changes for it.

#include "composer/TrayCard.h"
#include "jpeg_bridge/IjlCodec.h"
#include "jpeg_bridge/JpegEncoding.h"
#include "jpeg_bridge/JpegFile.h"
#include "raster/Bitmap32.h"

#include "tests/support/JpegFixtures.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace {

struct TSegment {
    int Marker;         // 0xE0 for APP0, 0xE1 for APP1, ...
    std::size_t Offset; // of the segment's 0xFF
    std::size_t Length; // of the whole segment, marker included
};

// The segments between the start of the file and the first scan.
std::vector<TSegment> HeaderSegments(const std::vector<std::uint8_t>& Jpeg) {
    std::vector<TSegment> Segments;
    std::size_t At = 2; // after SOI
    while (At + 4 <= Jpeg.size() && Jpeg[At] == 0xFF && Jpeg[At + 1] != 0xDA) {
        const std::size_t Length = 2 + (std::size_t{Jpeg[At + 2]} << 8 | Jpeg[At + 3]);
        Segments.push_back({Jpeg[At + 1], At, Length});
        At += Length;
    }
    return Segments;
}

std::uint32_t Little32(const std::uint8_t* Bytes) {
    return std::uint32_t{Bytes[0]} | std::uint32_t{Bytes[1]} << 8 | std::uint32_t{Bytes[2]} << 16 |
           std::uint32_t{Bytes[3]} << 24;
}

// A record for ijlWrite of an 8 x 8 picture with a JFIF density of 268 dots per inch.
struct TWriteRecord {
    JPEG_CORE_PROPERTIES Props;
    std::vector<std::uint8_t> Pixels = std::vector<std::uint8_t>(8 * 8 * 3);
    explicit TWriteRecord(const std::string& Path) {
        std::memset(&Props, 0, sizeof Props);
        ijlInit(&Props);
        for (std::size_t I = 0; I < Pixels.size(); ++I)
            Pixels[I] = static_cast<std::uint8_t>(I * 37);
        Props.JPGFile = Path.c_str();
        Props.JPGWidth = Props.DIBWidth = 8;
        Props.JPGHeight = 8;
        Props.DIBHeight = -8;
        Props.DIBBytes = Pixels.data();
        Props.jquality = 95;
        Props.JPGDensityUnit = 1;
        Props.JPGXDensity = Props.JPGYDensity = 268;
    }
    ~TWriteRecord() { ijlFree(&Props); }
};

class ExifResolutionTest : public testing::TestWithParam<int> {};

// Widths of inlays: composed from the worked examples, the exact card, and the widest JPEG
// libjpeg writes.
TEST_P(ExifResolutionTest, ExiftoolReadsTheExactDensityAndTheInlayPrints151Millimetres) {
    const int Width = GetParam();
    TTempFolder Dir;
    const std::string Path = Dir.File("inlay.jpg");
    TBitmap32 Inlay;
    Inlay.SetDimensions(Width, 3);
    const TPrintDensity Density = TrayCardDensity(Width);
    SaveJpegFile(Inlay, Path, InlaySaveQuality, Density);

    const std::vector<std::uint8_t> Jpeg = ReadFileBytes(Path);
    const std::vector<TSegment> Segments = HeaderSegments(Jpeg);
    ASSERT_GE(Segments.size(), 2u);
    EXPECT_EQ(Segments[0].Marker, 0xE0) << "the JFIF block comes first";
    ASSERT_EQ(Segments[1].Marker, 0xE1) << "the EXIF block follows it";
    const std::uint8_t* Rational = Jpeg.data() + Segments[1].Offset + 4 + 6 + 8 + 2 + 36 + 4;
    EXPECT_EQ(Little32(Rational), Density.Numerator);
    EXPECT_EQ(Little32(Rational + 4), Density.Denominator);

    const TProgramRun Run =
        RunProgram({"exiftool", "-n", "-s3", "-EXIF:XResolution", "-EXIF:YResolution",
                    "-EXIF:ResolutionUnit", "-JFIF:XResolution", "-JFIF:ResolutionUnit", Path});
    ASSERT_EQ(Run.ExitCode, 0) << "exiftool (Debian's libimage-exiftool-perl): " << Run.Err;
    std::istringstream Values(Run.Out);
    double XResolution = 0, YResolution = 0;
    int Unit = 0, JfifDensity = 0, JfifUnit = 0;
    Values >> XResolution >> YResolution >> Unit >> JfifDensity >> JfifUnit;
    ASSERT_TRUE(Values) << Run.Out;
    EXPECT_EQ(Unit, 2) << "inches";
    EXPECT_NEAR(Width / XResolution * 25.4, 151.0, 1e-6);
    EXPECT_EQ(XResolution, YResolution);
    EXPECT_EQ(JfifUnit, 1) << "the JFIF block keeps its density in dots per inch";
    EXPECT_EQ(JfifDensity, Density.RoundedDotsPerInch());
}

INSTANTIATE_TEST_SUITE_P(Widths, ExifResolutionTest,
                         testing::Values(251, 787, 1510, 1560, 1594, 3143, 65500),
                         [](const testing::TestParamInfo<int>& Info) {
                             return TestNameOf("Width", Info.param);
                         });

TEST(ExifResolutionBlockTest, TheExifBlockIsTheOnlyDifference) {
    TTempFolder Dir;
    const std::string Plain = Dir.File("plain.jpg"), Exact = Dir.File("exact.jpg");
    TWriteRecord Without(Plain);
    ASSERT_EQ(ijlWrite(&Without.Props, IJL_JFILE_WRITEWHOLEIMAGE), IJL_OK);
    TWriteRecord With(Exact);
    With.Props.JPGDensityNumerator = 101854; // 1594 * 254 / 1510 in lowest terms
    With.Props.JPGDensityDenominator = 379;
    ASSERT_EQ(ijlWrite(&With.Props, IJL_JFILE_WRITEWHOLEIMAGE), IJL_OK);

    const std::vector<std::uint8_t> PlainBytes = ReadFileBytes(Plain);
    std::vector<std::uint8_t> ExactBytes = ReadFileBytes(Exact);
    for (const TSegment& Segment : HeaderSegments(PlainBytes))
        EXPECT_NE(Segment.Marker, 0xE1) << "no EXIF block without an exact density";
    const std::vector<TSegment> Segments = HeaderSegments(ExactBytes);
    ASSERT_GE(Segments.size(), 2u);
    ASSERT_EQ(Segments[1].Marker, 0xE1);
    EXPECT_EQ(Segments[1].Length, 4 + ExifResolutionBlockSize);
    const auto First = ExactBytes.begin() + static_cast<std::ptrdiff_t>(Segments[1].Offset);
    ExactBytes.erase(First, First + static_cast<std::ptrdiff_t>(Segments[1].Length));
    EXPECT_TRUE(ExactBytes == PlainBytes) << "the files differ beyond the EXIF block";
}

TEST(ExifResolutionBlockTest, TermsBeyond32BitsAreHalvedUntilTheyFit) {
    const std::int64_t BigNumerator = (std::int64_t{1} << 40) + 7;
    const std::int64_t BigDenominator = (std::int64_t{1} << 33) + 1;
    const auto Block = ExifResolutionBlock(TPrintDensity{BigNumerator, BigDenominator});
    const std::uint8_t* Rational = Block.data() + 6 + 8 + 2 + 36 + 4;
    const std::uint32_t Numerator = Little32(Rational), Denominator = Little32(Rational + 4);
    EXPECT_GT(Numerator, std::uint32_t{1} << 30) << "no more halving than needed";
    EXPECT_NEAR(double(Numerator) / Denominator, double(BigNumerator) / double(BigDenominator),
                1e-4);
    EXPECT_EQ(Little32(Rational + 8), Numerator) << "YResolution as XResolution";
}

} // namespace
