#include "raster/Bitmap32.h"

#include "tests/support/BitmapTestSupport.h"

#include "tests/support/TestNames.h"
#include <gmock/gmock.h>

#include <gtest/gtest.h>

using testing::ElementsAre;

TEST(MirrorTest, HorizontalReversesEachRow) {
    TBitmap32 Bitmap;
    Bitmap.SetDimensions(3, 1);
    Bitmap.ScanLine(0)[0] = 0xFF000001;
    Bitmap.ScanLine(0)[1] = 0xFF000002;
    Bitmap.ScanLine(0)[2] = 0xFF000003;
    TNotificationRecorder Recorder(Bitmap);
    Bitmap.MirrorHorizontal();
    EXPECT_THAT(std::vector<TColor32>(Bitmap.ScanLine(0), Bitmap.ScanLine(0) + 3),
                ElementsAre(0xFF000003u, 0xFF000002u, 0xFF000001u));
    EXPECT_EQ(Recorder.Count("change"), 1);
}

TEST(MirrorTest, VerticalSwapsRows) {
    TBitmap32 Bitmap;
    Bitmap.SetDimensions(1, 2);
    Bitmap.ScanLine(0)[0] = 0xFF0000AA;
    Bitmap.ScanLine(1)[0] = 0xFF0000BB;
    TNotificationRecorder Recorder(Bitmap);
    Bitmap.MirrorVertical();
    EXPECT_EQ(Bitmap.Pixel(0, 0), 0xFF0000BBu);
    EXPECT_EQ(Bitmap.Pixel(0, 1), 0xFF0000AAu);
    EXPECT_EQ(Recorder.Count("change"), 1);
}

TEST(MirrorTest, EmptyBitmapStillAnnouncesOnce) {
    TBitmap32 Bitmap;
    TNotificationRecorder Recorder(Bitmap);
    Bitmap.MirrorHorizontal();
    Bitmap.MirrorVertical();
    EXPECT_EQ(Recorder.Count("change"), 2);
}

class TurnTest : public testing::TestWithParam<std::pair<int, int>> {};

// Both mirrors turn by 180 degrees: (x, y) moves to (W - 1 - x, H - 1 - y), odd middles stay.
TEST_P(TurnTest, BothMirrorsTurnBy180Degrees) {
    const auto [W, H] = GetParam();
    TBitmap32 Bitmap;
    FillWithCoordinates(Bitmap, W, H);
    Bitmap.MirrorHorizontal();
    Bitmap.MirrorVertical();
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            ASSERT_EQ(Bitmap.Pixel(X, Y), CoordPixel(W - 1 - X, H - 1 - Y))
                << "at " << X << ", " << Y << ": " << DescribePixel(Bitmap.Pixel(X, Y));
}

INSTANTIATE_TEST_SUITE_P(Sizes, TurnTest,
                         testing::Values(std::pair{1, 1}, std::pair{2, 3}, std::pair{3, 2},
                                         std::pair{4, 4}, std::pair{5, 7}, std::pair{63, 1}),
                         [](const auto& Info) {
                             return TestNameOf(Info.param.first, "x", Info.param.second);
                         });
