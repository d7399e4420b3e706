#include "raster/Transfer.h"

#include "tests/support/BitmapTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

namespace {

constexpr TColor32 Untouched = 0x5A5A5A5A;

// A destination filled with a sentinel, so that every pixel a transfer writes shows.
void FillWithSentinel(TBitmap32& Bitmap, int Width, int Height) {
    Bitmap.SetDimensions(Width, Height);
    Bitmap.FillAll(Untouched);
}

// The source column of each pixel in row Y of Bitmap, from columns First to Last - 1.
std::vector<int> SourceColumns(const TBitmap32& Bitmap, int Y, int First, int Last) {
    std::vector<int> Columns;
    for (int X = First; X < Last; ++X)
        Columns.push_back(CoordX(Bitmap.Pixel(X, Y)));
    return Columns;
}

std::vector<int> SourceRows(const TBitmap32& Bitmap, int X, int First, int Last) {
    std::vector<int> Rows;
    for (int Y = First; Y < Last; ++Y)
        Rows.push_back(CoordY(Bitmap.Pixel(X, Y)));
    return Rows;
}

} // namespace

// Same-size transfers: every destination pixel inside the effective clip names the right source
// pixel, every other one is untouched.
struct TBlockCase {
    const char* Name;
    int DstW, DstH;
    TRect Clip;
    TRect DstRect;
    int SrcW, SrcH;
    TRect SrcRect;
};

class BlockCopyTest : public testing::TestWithParam<TBlockCase> {};

TEST_P(BlockCopyTest, WritesExactlyTheClippedRectangle) {
    const TBlockCase& C = GetParam();
    TBitmap32 Src;
    FillWithCoordinates(Src, C.SrcW, C.SrcH);
    TBitmap32 Dst;
    FillWithSentinel(Dst, C.DstW, C.DstH);
    Dst.SetClipArea(C.Clip);
    TNotificationRecorder Recorder(Dst);

    Dst.DrawFrom(C.DstRect, C.SrcRect, &Src);

    const TRect Effective = IntersectRects(Dst.ClipArea(), C.DstRect);
    for (int Y = 0; Y < C.DstH; ++Y)
        for (int X = 0; X < C.DstW; ++X) {
            const bool Inside = X >= Effective.Left && X < Effective.Right && Y >= Effective.Top &&
                                Y < Effective.Bottom;
            const TColor32 Expected = Inside ? CoordPixel(X - C.DstRect.Left + C.SrcRect.Left,
                                                          Y - C.DstRect.Top + C.SrcRect.Top)
                                             : Untouched;
            ASSERT_EQ(Dst.Pixel(X, Y), Expected)
                << "at " << X << ", " << Y << ": " << DescribePixel(Dst.Pixel(X, Y));
        }
    EXPECT_THAT(Recorder.Events, ElementsAre("area " + RectText(C.DstRect), "change"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlockCopyTest,
    testing::Values(
        TBlockCase{
            "CutAtTheRightEdge", 12, 10, {0, 0, 12, 10}, {5, 0, 15, 10}, 10, 10, {0, 0, 10, 10}},
        TBlockCase{"WholeRowsInOneBlock", 8, 6, {0, 0, 8, 6}, {0, 1, 8, 5}, 8, 9, {0, 3, 8, 7}},
        TBlockCase{
            "FromTheMiddleOfTheSource", 9, 9, {0, 0, 9, 9}, {2, 3, 6, 8}, 20, 20, {11, 4, 15, 9}},
        TBlockCase{"ReachingOutTopLeft", 5, 5, {0, 0, 5, 5}, {-3, -2, 4, 3}, 7, 5, {0, 0, 7, 5}},
        TBlockCase{
            "InsideTheClipAreaOnly", 10, 10, {2, 3, 7, 6}, {0, 0, 10, 10}, 10, 10, {0, 0, 10, 10}},
        // Over 8 MB: the rows are shared between two threads (raster/RowBands.h).
        TBlockCase{"LargeEnoughToShareItsRows",
                   2100,
                   1100,
                   {0, 1, 2100, 1100},
                   {7, 5, 2100, 1100},
                   2101,
                   1103,
                   {1, 2, 2094, 1097}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// Transfers that must write and announce nothing.
struct TNothingCase {
    const char* Name;
    int SrcW, SrcH;
    int DstW, DstH;
    TRect DstRect;
    TRect SrcRect;
};

class TransferNothingTest : public testing::TestWithParam<TNothingCase> {};

TEST_P(TransferNothingTest, WritesAndAnnouncesNothing) {
    const TNothingCase& C = GetParam();
    TBitmap32 Src;
    FillWithCoordinates(Src, C.SrcW, C.SrcH);
    TBitmap32 Dst;
    FillWithSentinel(Dst, C.DstW, C.DstH);
    TNotificationRecorder Recorder(Dst);
    Dst.DrawFrom(C.DstRect, C.SrcRect, &Src);
    EXPECT_THAT(Recorder.Events, IsEmpty());
    for (int Y = 0; Y < C.DstH; ++Y)
        for (int X = 0; X < C.DstW; ++X)
            ASSERT_EQ(Dst.Pixel(X, Y), Untouched) << X << ", " << Y;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TransferNothingTest,
    testing::Values(
        TNothingCase{"ZeroWidthSource", 10, 10, 5, 5, {0, 0, 5, 5}, {3, 0, 3, 10}},
        TNothingCase{"EmptySourceBitmap", 0, 0, 5, 5, {0, 0, 5, 5}, {0, 0, 5, 5}},
        TNothingCase{"EmptyDestination", 5, 5, 0, 3, {0, 0, 5, 5}, {0, 0, 5, 5}},
        TNothingCase{"DestinationWhollyOutside", 5, 5, 5, 5, {5, 0, 10, 5}, {0, 0, 5, 5}},
        TNothingCase{"InvertedDestination", 5, 5, 5, 5, {4, 0, 0, 5}, {0, 0, 4, 5}},
        // An invalid source rectangle is not checked when the source is empty.
        TNothingCase{"OutsideButEmptySource", 0, 0, 5, 5, {0, 0, 5, 5}, {0, 0, 11, 10}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(TransferTest, NoSourceDoesNothing) {
    TBitmap32 Dst;
    FillWithSentinel(Dst, 3, 3);
    TNotificationRecorder Recorder(Dst);
    Dst.DrawFrom(TRect{0, 0, 3, 3}, TRect{0, 0, 3, 3}, nullptr);
    EXPECT_THAT(Recorder.Events, IsEmpty());
}

struct TInvalidSourceCase {
    const char* Name;
    TRect SrcRect;
    TRect DstRect;
};

class InvalidSourceTest : public testing::TestWithParam<TInvalidSourceCase> {};

TEST_P(InvalidSourceTest, RaisesBeforeClippingAndChangesNothing) {
    TBitmap32 Src;
    FillWithCoordinates(Src, 10, 10);
    TBitmap32 Dst;
    FillWithSentinel(Dst, 10, 10);
    TNotificationRecorder Recorder(Dst);
    try {
        Dst.DrawFrom(GetParam().DstRect, GetParam().SrcRect, &Src);
        FAIL() << "no exception";
    } catch (const ESrcInvalidException& E) {
        EXPECT_STREQ(E.what(), "Source rectangle is invalid");
        EXPECT_STREQ(E.ClassName(), "ESrcInvalidException");
    }
    EXPECT_THAT(Recorder.Events, IsEmpty());
    EXPECT_EQ(Dst.Pixel(0, 0), Untouched);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InvalidSourceTest,
    testing::Values(TInvalidSourceCase{"OneColumnTooWide", {0, 0, 11, 10}, {0, 0, 11, 10}},
                    TInvalidSourceCase{
                        "DestinationWhollyOutside", {0, 0, 11, 10}, {50, 50, 61, 60}},
                    TInvalidSourceCase{"NegativeLeft", {-1, 0, 5, 5}, {0, 0, 6, 5}},
                    TInvalidSourceCase{"NegativeTop", {0, -1, 5, 5}, {0, 0, 5, 6}},
                    TInvalidSourceCase{"TooTallForAStretch", {0, 0, 10, 11}, {0, 0, 3, 3}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// Nearest-neighbour stretching: the column maps, read back from the destination's pixels.
struct TColumnMapCase {
    const char* Name;
    int SrcW;
    int DstW;
    std::vector<int> Expected;
};

class ColumnMapTest : public testing::TestWithParam<TColumnMapCase> {};

TEST_P(ColumnMapTest, MapsEachDestinationColumnToItsSourceColumn) {
    const TColumnMapCase& C = GetParam();
    TBitmap32 Src;
    FillWithCoordinates(Src, C.SrcW, 3);
    TBitmap32 Dst;
    FillWithSentinel(Dst, C.DstW, 3);
    Dst.DrawFrom(TRect{0, 0, C.DstW, 3}, TRect{0, 0, C.SrcW, 3}, &Src);
    EXPECT_THAT(SourceColumns(Dst, 1, 0, C.DstW), ElementsAreArray(C.Expected));
    EXPECT_EQ(CoordY(Dst.Pixel(0, 2)), 2);
}

std::vector<int> Repeated(std::initializer_list<std::pair<int, int>> Runs) {
    std::vector<int> Result;
    for (const auto& [Value, Count] : Runs)
        Result.insert(Result.end(), static_cast<std::size_t>(Count), Value);
    return Result;
}

INSTANTIATE_TEST_SUITE_P(
    Published, ColumnMapTest,
    testing::Values(TColumnMapCase{"Enlarge4To6", 4, 6, {0, 0, 1, 2, 2, 3}},
                    TColumnMapCase{"Shrink6To4", 6, 4, {0, 1, 3, 4}},
                    // ScaleX is the single 0.0399999991, not 0.04: 26 columns of 0.
                    TColumnMapCase{"Enlarge2To50", 2, 50, Repeated({{0, 26}, {1, 24}})},
                    TColumnMapCase{"OneColumnOfFive", 5, 1, {2}},
                    TColumnMapCase{"OneColumnOfFour", 4, 1, {1}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(StretchTest, ClippingDoesNotMoveTheMapping) {
    TBitmap32 Src;
    FillWithCoordinates(Src, 4, 1);
    TBitmap32 Dst;
    FillWithSentinel(Dst, 3, 1);
    Dst.DrawFrom(TRect{-2, 0, 4, 1}, TRect{0, 0, 4, 1}, &Src);
    EXPECT_THAT(SourceColumns(Dst, 0, 0, 3), ElementsAre(1, 2, 2));
}

TEST(StretchTest, SourceRectangleOffsetIsAdded) {
    TBitmap32 Src;
    FillWithCoordinates(Src, 10, 10);
    TBitmap32 Dst;
    FillWithSentinel(Dst, 6, 2);
    Dst.DrawFrom(TRect{0, 0, 6, 2}, TRect{5, 7, 9, 8}, &Src);
    EXPECT_THAT(SourceColumns(Dst, 0, 0, 6), ElementsAre(5, 5, 6, 7, 7, 8));
    EXPECT_THAT(SourceRows(Dst, 0, 0, 2), ElementsAre(7, 7));
}

struct TRowMapCase {
    const char* Name;
    int SrcH;
    int DstH;
    std::vector<int> FirstRows;
    int LastRow;
};

class RowMapTest : public testing::TestWithParam<TRowMapCase> {};

TEST_P(RowMapTest, MapsEachDestinationRowToItsSourceRow) {
    const TRowMapCase& C = GetParam();
    TBitmap32 Src;
    FillWithCoordinates(Src, 3, C.SrcH);
    TBitmap32 Dst;
    FillWithSentinel(Dst, 3, C.DstH);
    TNotificationRecorder Recorder(Dst);
    Dst.DrawFrom(TRect{0, 0, 3, C.DstH}, TRect{0, 0, 3, C.SrcH}, &Src);
    const int First = static_cast<int>(C.FirstRows.size());
    EXPECT_THAT(SourceRows(Dst, 2, 0, First), ElementsAreArray(C.FirstRows));
    EXPECT_EQ(CoordY(Dst.Pixel(2, C.DstH - 1)), C.LastRow);
    // Equal widths keep every column where it was.
    EXPECT_THAT(SourceColumns(Dst, C.DstH - 1, 0, 3), ElementsAre(0, 1, 2));
    EXPECT_EQ(Recorder.Count("change"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Published, RowMapTest,
    testing::Values(
        // The inlay's normalisation: 1000 rows stretched to 1213 with s = 0.824402332...
        TRowMapCase{"Stretch1000To1213", 1000, 1213, {0, 0, 1, 2, 3, 4, 4, 5}, 999},
        // ... and 1500 squeezed to 1240 with s = 1.20967746; row 1499 is not used.
        TRowMapCase{"Squeeze1500To1240", 1500, 1240, {0, 1, 2, 3, 4, 6, 7, 8}, 1498},
        TRowMapCase{"OneRowOfFive", 5, 1, {2}, 2}, TRowMapCase{"OneRowOfFour", 4, 1, {1}, 1}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(StretchTest, WritesOnlyInsideTheClipArea) {
    TBitmap32 Src;
    FillWithCoordinates(Src, 4, 4);
    TBitmap32 Dst;
    FillWithSentinel(Dst, 8, 8);
    Dst.SetClipArea(TRect{2, 3, 5, 7});
    Dst.DrawFrom(TRect{0, 0, 8, 8}, TRect{0, 0, 4, 4}, &Src);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X) {
            const bool Inside = X >= 2 && X < 5 && Y >= 3 && Y < 7;
            const TColor32 Expected = Inside ? CoordPixel(X / 2, Y / 2) : Untouched;
            ASSERT_EQ(Dst.Pixel(X, Y), Expected) << "at " << X << ", " << Y;
        }
}

TEST(StretchTest, ShrinkingAndStretchingBothAxesAtOnce) {
    TBitmap32 Src;
    FillWithCoordinates(Src, 9, 4);
    TBitmap32 Dst;
    FillWithSentinel(Dst, 3, 8);
    Dst.DrawFrom(TRect{0, 0, 3, 8}, TRect{0, 0, 9, 4}, &Src);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 3; ++X)
            ASSERT_EQ(Dst.Pixel(X, Y), CoordPixel(X * 3, Y / 2)) << "at " << X << ", " << Y;
}

// Over 8 MB, a stretch shares its rows between two threads (raster/RowBands.h); every row must
// still come from the row a narrow stretch of the same heights, done on one thread, takes.
TEST(StretchTest, RowsSharedBetweenThreadsMapAsOnOneThread) {
    for (const auto& [SrcH, DstH] : {std::pair{1500, 1240}, std::pair{1000, 1213}}) {
        TBitmap32 NarrowSrc, Narrow, Src, Dst;
        FillWithCoordinates(NarrowSrc, 1, SrcH);
        FillWithSentinel(Narrow, 1, DstH);
        Narrow.DrawFrom(TRect{0, 0, 1, DstH}, TRect{0, 0, 1, SrcH}, &NarrowSrc);
        FillWithCoordinates(Src, 2000, SrcH);
        FillWithSentinel(Dst, 2000, DstH);
        Dst.DrawFrom(TRect{0, 0, 2000, DstH}, TRect{0, 0, 2000, SrcH}, &Src);
        for (int Y = 0; Y < DstH; ++Y) {
            const int Row = CoordY(Narrow.Pixel(0, Y));
            ASSERT_EQ(Row, NearestSourceIndex(Y, DstH, 0, SrcH)) << "row " << Y;
            for (int X = 0; X < 2000; ++X)
                ASSERT_EQ(Dst.Pixel(X, Y), CoordPixel(X, Row))
                    << SrcH << " to " << DstH << " rows, at " << X << ", " << Y;
        }
    }
}
