// Photos upright: the EXIF orientation tag read from JPEG data (sound, damaged and hostile
// blocks), and the eight tag values of one cover loaded into the same upright picture.

#include "jpeg_bridge/ExifOrientation.h"
#include "jpeg_bridge/JpegFile.h"
#include "jpeg_bridge/UprightJpegFile.h"

#include "tests/support/ExifFixtures.h"
#include "tests/support/FailedLoadCheck.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes SmallJpeg() {
    return EncodeJpeg(GradientImage(16, 8, 3), TFixtureColor::YCbCr);
}

// The EXIF block with one byte of its TIFF structure changed.
TBytes ExifWithByte(std::size_t Offset, std::uint8_t Value) {
    TBytes Tiff = ExifTiff(6);
    Tiff[Offset] = Value;
    return WithSegment(SmallJpeg(), App1Segment(Tiff));
}

struct TTagCase {
    std::string Name;
    std::function<TBytes()> Data;
    int Expected;
};

class ExifOrientationTest : public testing::TestWithParam<TTagCase> {};

TEST_P(ExifOrientationTest, ReadsTheTagOrTakesThePictureAsStored) {
    const TBytes Data = GetParam().Data();
    EXPECT_EQ(ExifOrientationOf(Data.data(), Data.size()), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, ExifOrientationTest,
    testing::Values(
        TTagCase{"LittleEndian6", [] { return WithExifOrientation(SmallJpeg(), 6); }, 6},
        TTagCase{"BigEndian8", [] { return WithExifOrientation(SmallJpeg(), 8, true); }, 8},
        TTagCase{"BigEndian3", [] { return WithExifOrientation(SmallJpeg(), 3, true); }, 3},
        // After a JFIF segment and an XMP block (another APP1).
        TTagCase{"AfterOtherSegments",
                 [] {
                     const TBytes Xmp =
                         App1Segment({'<', 'x', '/', '>'}, "http://ns.adobe.com/xap/1.0/");
                     return WithSegment(WithExifOrientation(SmallJpeg(), 5), Xmp);
                 },
                 5},
        TTagCase{"NoExifBlock", [] { return SmallJpeg(); }, 1},
        TTagCase{"ValueZero", [] { return WithExifOrientation(SmallJpeg(), 0); }, 1},
        TTagCase{"ValueNine", [] { return WithExifOrientation(SmallJpeg(), 9); }, 1},
        TTagCase{"ValueOfAnotherType", [] { return ExifWithByte(10 + 12 + 2, 4); }, 1},
        TTagCase{"NoByteOrderMark", [] { return ExifWithByte(0, 'X'); }, 1},
        TTagCase{"Not42", [] { return ExifWithByte(2, 43); }, 1},
        TTagCase{"DirectoryBeyondTheBlock", [] { return ExifWithByte(4, 0xF0); }, 1},
        // 255 entries claimed: the block ends in the third, after the tag was read.
        TTagCase{"MoreEntriesThanTheBlockHolds", [] { return ExifWithByte(8, 0xFF); }, 6},
        TTagCase{"TagEntryCutOffByTheBlocksEnd",
                 [] {
                     TBytes Tiff = ExifTiff(6);
                     Tiff.resize(8 + 2 + 12 + 9);
                     return WithSegment(SmallJpeg(), App1Segment(Tiff));
                 },
                 1},
        TTagCase{"BlockLongerThanTheFile",
                 [] {
                     TBytes Data = WithExifOrientation(SmallJpeg(), 6);
                     Data.resize(12);
                     return Data;
                 },
                 1},
        TTagCase{"SegmentLengthBelowTwo",
                 [] {
                     TBytes Data = WithExifOrientation(SmallJpeg(), 6);
                     Data[4] = 0;
                     Data[5] = 1;
                     return Data;
                 },
                 1},
        TTagCase{"NotAJpeg", [] { return PngBytes(); }, 1},
        TTagCase{"Empty", [] { return TBytes{}; }, 1},
        TTagCase{"OnlyTheStartMarker",
                 [] {
                     return TBytes{0xFF, 0xD8};
                 },
                 1}),
    [](const auto& Info) { return Info.param.Name; });

// The cover upright, 48 x 32, in four flat quadrants: red, green / blue, yellow.
const std::vector<std::uint8_t> Red = {220, 30, 30}, Green = {30, 200, 60}, Blue = {40, 60, 210},
                                Yellow = {230, 220, 40};

struct TStoredCase {
    int Orientation;
    std::vector<std::vector<std::uint8_t>> Quadrants; // as stored: top-left, top-right, ...
};

class UprightPhotoTest : public testing::TestWithParam<TStoredCase> {
protected:
    TTempFolder Folder;
};

// The stored quadrants of each tag value, written out by hand: what a camera held sideways or
// mirrored stores for the upright cover.
TEST_P(UprightPhotoTest, EveryTagValueGivesTheUprightCover) {
    const TStoredCase& C = GetParam();
    const bool Turned = C.Orientation >= 5;
    const TBytes Stored = EncodeJpeg(
        QuadrantImage(Turned ? 32 : 48, Turned ? 48 : 32, 3, C.Quadrants), TFixtureColor::YCbCr);
    const std::string Path = (Folder.Path() / "photo.jpg").string();
    WriteFileBytes(Path, WithExifOrientation(Stored, C.Orientation, C.Orientation % 2 == 0));
    EXPECT_EQ(ReadJpegFileOrientation(Path), C.Orientation);

    TBitmap32 Bitmap;
    LoadUprightJpegFile(Bitmap, Path);
    ASSERT_EQ(Bitmap.Width(), 48);
    ASSERT_EQ(Bitmap.Height(), 32);
    const auto Near = [](TColor32 P, const std::vector<std::uint8_t>& RGB) {
        return std::abs(static_cast<int>((P >> 16) & 0xFF) - RGB[0]) < 16 &&
               std::abs(static_cast<int>((P >> 8) & 0xFF) - RGB[1]) < 16 &&
               std::abs(static_cast<int>(P & 0xFF) - RGB[2]) < 16;
    };
    EXPECT_TRUE(Near(Bitmap.Pixel(12, 8), Red)) << DescribePixel(Bitmap.Pixel(12, 8));
    EXPECT_TRUE(Near(Bitmap.Pixel(36, 8), Green)) << DescribePixel(Bitmap.Pixel(36, 8));
    EXPECT_TRUE(Near(Bitmap.Pixel(12, 24), Blue)) << DescribePixel(Bitmap.Pixel(12, 24));
    EXPECT_TRUE(Near(Bitmap.Pixel(36, 24), Yellow)) << DescribePixel(Bitmap.Pixel(36, 24));
}

INSTANTIATE_TEST_SUITE_P(AllEight, UprightPhotoTest,
                         testing::Values(TStoredCase{1, {Red, Green, Blue, Yellow}},
                                         TStoredCase{2, {Green, Red, Yellow, Blue}},
                                         TStoredCase{3, {Yellow, Blue, Green, Red}},
                                         TStoredCase{4, {Blue, Yellow, Red, Green}},
                                         TStoredCase{5, {Red, Blue, Green, Yellow}},
                                         TStoredCase{6, {Green, Yellow, Red, Blue}},
                                         TStoredCase{7, {Yellow, Green, Blue, Red}},
                                         TStoredCase{8, {Blue, Red, Yellow, Green}}),
                         [](const auto& Info) {
                             return TestNameOf("Tag", Info.param.Orientation);
                         });

TEST(UprightJpegFileTest, AFailedLoadOfATurnedPhotoLeavesTheBitmap) {
    TTempFolder Folder;
    const std::string Path = (Folder.Path() / "cut.jpg").string();
    TBytes Data =
        WithExifOrientation(EncodeJpeg(GradientImage(64, 48, 3), TFixtureColor::YCbCr), 6);
    Data.resize(Data.size() * 2 / 3);
    WriteFileBytes(Path, Data);
    ASSERT_EQ(ReadJpegFileOrientation(Path), 6);
    TBitmap32 Expected;
    // The message is exactly the one LoadJpegFile gives for the file.
    std::string Message;
    try {
        LoadJpegFile(&Expected, Path);
    } catch (const EIJLError& E) {
        Message = E.Message();
    }
    ASSERT_FALSE(Message.empty());
    ExpectFailureLeavesBitmap([&](TBitmap32& Bitmap) { LoadUprightJpegFile(Bitmap, Path); },
                              "EIJLError", Message);
}

TEST(UprightJpegFileTest, FilesThatCannotBeReadCountAsStored) {
    TTempFolder Folder;
    EXPECT_EQ(ReadJpegFileOrientation((Folder.Path() / "missing.jpg").string()), 1);
    EXPECT_EQ(ReadJpegFileOrientation(Folder.Path().string()), 1);
}

} // namespace
