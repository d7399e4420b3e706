// Turning pictures upright by their orientation tag: the stored picture of each of the eight tag
// values, written out by hand, becomes the one upright reference.

#include "raster/Orientation.h"

#include "tests/support/BitmapTestSupport.h"
#include "tests/support/TestNames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The upright reference, 3 wide and 2 high:   a b c
//                                             d e f
constexpr TColor32 A = 0xFF0000A1, B = 0xFF0000B2, C = 0xFF0000C3, D = 0xFF0000D4, E = 0xFF0000E5,
                   F = 0xFF0000F6;
const std::vector<std::vector<TColor32>> Upright = {{A, B, C}, {D, E, F}};

struct TOrientationCase {
    int Orientation;
    std::string Name;
    std::vector<std::vector<TColor32>> Stored; // rows, top first
};

void Fill(TBitmap32& Bitmap, const std::vector<std::vector<TColor32>>& Rows) {
    Bitmap.SetDimensions(static_cast<int>(Rows[0].size()), static_cast<int>(Rows.size()));
    for (int Y = 0; Y < Bitmap.Height(); ++Y)
        for (int X = 0; X < Bitmap.Width(); ++X)
            Bitmap.ScanLine(Y)[X] = Rows[Y][X];
}

std::vector<std::vector<TColor32>> RowsOf(const TBitmap32& Bitmap) {
    std::vector<std::vector<TColor32>> Rows(Bitmap.Height());
    for (int Y = 0; Y < Bitmap.Height(); ++Y)
        Rows[Y].assign(Bitmap.ScanLine(Y), Bitmap.ScanLine(Y) + Bitmap.Width());
    return Rows;
}

class OrientUprightTest : public testing::TestWithParam<TOrientationCase> {};

TEST_P(OrientUprightTest, TheStoredPictureBecomesTheUprightOne) {
    const TOrientationCase& Case = GetParam();
    TBitmap32 Bitmap;
    Fill(Bitmap, Case.Stored);
    TNotificationRecorder Recorder(Bitmap);
    OrientUpright(Bitmap, Case.Orientation);
    EXPECT_EQ(RowsOf(Bitmap), Upright);
    EXPECT_EQ(Recorder.Count("change"), Case.Orientation == 1 ? 0 : 1);
    EXPECT_EQ(Recorder.Count("resize"), Case.Orientation >= 5 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    AllEight, OrientUprightTest,
    testing::Values(TOrientationCase{1, "AsStored", {{A, B, C}, {D, E, F}}},
                    TOrientationCase{2, "MirroredLeftRight", {{C, B, A}, {F, E, D}}},
                    TOrientationCase{3, "Turned180", {{F, E, D}, {C, B, A}}},
                    TOrientationCase{4, "MirroredTopBottom", {{D, E, F}, {A, B, C}}},
                    TOrientationCase{5, "Transposed", {{A, D}, {B, E}, {C, F}}},
                    TOrientationCase{6, "NeedsTurning90Clockwise", {{C, F}, {B, E}, {A, D}}},
                    TOrientationCase{7, "Transversed", {{F, C}, {E, B}, {D, A}}},
                    TOrientationCase{
                        8, "NeedsTurning90CounterClockwise", {{D, A}, {E, B}, {F, C}}}),
    [](const auto& Info) { return TestNameOf(Info.param.Orientation, "_", Info.param.Name); });

TEST(OrientUprightTest, TagValuesOutsideTwoToEightLeaveThePicture) {
    for (const int Value : {0, 9, 255, -1, 65535}) {
        TBitmap32 Bitmap;
        Fill(Bitmap, {{C, B, A}, {F, E, D}});
        OrientUpright(Bitmap, Value);
        EXPECT_EQ(RowsOf(Bitmap), (std::vector<std::vector<TColor32>>{{C, B, A}, {F, E, D}}))
            << "tag " << Value;
    }
}

// Large enough for several tiles of the turning, with odd sizes so that no tile is whole.
TEST(OrientUprightTest, LargePicturesTurnInEveryTile) {
    TBitmap32 Bitmap;
    FillWithCoordinates(Bitmap, 203, 131);
    OrientUpright(Bitmap, 6);
    ASSERT_EQ(Bitmap.Width(), 131);
    ASSERT_EQ(Bitmap.Height(), 203);
    for (int Y = 0; Y < 203; ++Y)
        for (int X = 0; X < 131; ++X)
            ASSERT_EQ(Bitmap.Pixel(X, Y), CoordPixel(Y, 130 - X)) << X << ", " << Y;
}

TEST(OrientUprightTest, AnEmptyPictureStaysEmpty) {
    TBitmap32 Bitmap;
    OrientUpright(Bitmap, 6);
    EXPECT_TRUE(Bitmap.IsEmpty());
}

} // namespace
