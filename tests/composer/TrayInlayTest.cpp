#include "composer/TrayInlay.h"
#include "composer/InlayLimits.h"
#include "composer/StreamedInlay.h"
#include "composer/TrayCard.h"
#include "composer/TrayInlay.h"
#include "raster/PictureLimits.h"

#include "tests/support/BitmapTestSupport.h"

#include "tests/support/TestNames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

std::string LayoutName(bool BackAndFront) {
    return BackAndFront ? "back-and-front" : "back";
}

} // namespace

struct TWorkedResult {
    bool BackAndFront;
    int W, H;
    double Position;
    int B;
    int Half; // -1 where the layout has none
    int ComposedW, ComposedH;
    int FinalW, FinalH;
};

class WorkedResultTest : public testing::TestWithParam<TWorkedResult> {};

TEST_P(WorkedResultTest, GeometryAndFinalSize) {
    const TWorkedResult& R = GetParam();
    const TInlayGeometry G = ComputeInlayGeometry(R.W, R.H, R.BackAndFront, R.Position);
    EXPECT_EQ(G.SpineWidth, R.B);
    if (R.Half >= 0) {
        EXPECT_EQ(G.BackWidth, R.Half);
    }
    EXPECT_EQ(G.ComposedWidth, R.ComposedW);
    EXPECT_EQ(G.ComposedHeight, R.ComposedH);

    TBitmap32 Input;
    FillWithCoordinates(Input, R.W, R.H);
    TBitmap32 Output;
    ComposeTrayInlay(Input, R.BackAndFront, R.Position, Output);
    EXPECT_EQ(Output.Width(), R.FinalW);
    EXPECT_EQ(Output.Height(), R.FinalH);
}

INSTANTIATE_TEST_SUITE_P(
    Published, WorkedResultTest,
    testing::Values(TWorkedResult{true, 3000, 1500, 0, 63, 1468, 1594, 1500, 1594, 1240},
                    TWorkedResult{true, 1500, 1000, -20, 25, 737, 787, 1000, 787, 612},
                    TWorkedResult{true, 1500, 1000, 20, 38, 731, 807, 1000, 807, 627},
                    // Single-precision A and P give 8.50000004 and so B = 9, not 8.
                    TWorkedResult{true, 475, 300, -15, 9, 233, 251, 300, 251, 195},
                    TWorkedResult{true, 2840, 1175, 0, 60, 1390, 1510, 1175, 1510, 1175},
                    TWorkedResult{false, 1500, 1000, 0, 60, -1, 1560, 1000, 1560, 1213},
                    TWorkedResult{false, 3000, 1500, 20, 143, -1, 3143, 1500, 3143, 2445},
                    TWorkedResult{false, 3000, 1500, -20, 95, -1, 3095, 1500, 3095, 2408},
                    TWorkedResult{false, 1452, 1175, 0, 58, -1, 1510, 1175, 1510, 1175}),
    [](const auto& Info) {
        const TWorkedResult& R = Info.param;
        return TestNameOf(LayoutName(R.BackAndFront), "_", R.W, "x", R.H, "_Spine", R.Position);
    });

// The pixel mapping of both layouts at every spine setting. The input's height is chosen so that
// no normalisation follows, so every output pixel can be traced to one input pixel.
struct TMappingCase {
    bool BackAndFront;
    double Position;
};

class PixelMappingTest : public testing::TestWithParam<TMappingCase> {};

TEST_P(PixelMappingTest, TurnedSpineBackCardAndSpine) {
    const auto [BackAndFront, Position] = GetParam();
    const int W = BackAndFront ? 613 : 331;
    const TInlayGeometry G = ComputeInlayGeometry(W, 1, BackAndFront, Position);
    const int H = static_cast<int>(G.NormalHeight);
    const int B = G.SpineWidth;
    const int SpineLeft = BackAndFront ? G.BackWidth : W - B;
    ASSERT_GT(B, 0);

    TBitmap32 Input;
    FillWithCoordinates(Input, W, H);
    TBitmap32 Output;
    ComposeTrayInlay(Input, BackAndFront, Position, Output);
    ASSERT_EQ(Output.Width(), G.ComposedWidth);
    ASSERT_EQ(Output.Height(), H);

    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < Output.Width(); ++X) {
            const TColor32 Expected =
                X < B ? CoordPixel(SpineLeft + B - 1 - X, H - 1 - Y) : CoordPixel(X - B, Y);
            ASSERT_EQ(Output.Pixel(X, Y), Expected)
                << LayoutName(BackAndFront) << " at " << Position << ", pixel " << X << ", " << Y
                << ": " << DescribePixel(Output.Pixel(X, Y));
        }
    // The turned strip's top-left is the bottom-right of the strip it was cut from.
    EXPECT_EQ(Output.Pixel(0, 0), CoordPixel(SpineLeft + B - 1, H - 1));
}

std::vector<TMappingCase> AllLayoutsAndPositions() {
    std::vector<TMappingCase> Cases;
    for (const bool BackAndFront : {true, false})
        for (const int Position : SpineSettings)
            Cases.push_back({BackAndFront, static_cast<double>(Position)});
    return Cases;
}

INSTANTIATE_TEST_SUITE_P(AllSettings, PixelMappingTest, testing::ValuesIn(AllLayoutsAndPositions()),
                         [](const auto& Info) {
                             return TestNameOf(LayoutName(Info.param.BackAndFront), "_Spine",
                                               Info.param.Position);
                         });

// The widest inputs that still give no spine, and the next wider ones that give one pixel.
struct TNoSpineCase {
    bool BackAndFront;
    double Position;
    int WidestWithout;
};

class NoSpineTest : public testing::TestWithParam<TNoSpineCase> {};

TEST_P(NoSpineTest, SmallInputsHaveNoSpineStrip) {
    const TNoSpineCase& C = GetParam();
    EXPECT_EQ(ComputeInlayGeometry(C.WidestWithout, 1, C.BackAndFront, C.Position).SpineWidth, 0);
    EXPECT_EQ(ComputeInlayGeometry(C.WidestWithout + 1, 1, C.BackAndFront, C.Position).SpineWidth,
              1);

    // Without a spine, the output is the back card alone: the left half of a wrap-around, the
    // whole of a back card. A height that matches the proportion keeps it unstretched.
    const int W = C.WidestWithout;
    const TInlayGeometry G = ComputeInlayGeometry(W, 1, C.BackAndFront, C.Position);
    const int H = static_cast<int>(G.NormalHeight);
    TBitmap32 Input;
    FillWithCoordinates(Input, W, H);
    TBitmap32 Output;
    ComposeTrayInlay(Input, C.BackAndFront, C.Position, Output);
    ASSERT_EQ(Output.Width(), C.BackAndFront ? W / 2 : W);
    ASSERT_EQ(Output.Height(), H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < Output.Width(); ++X)
            ASSERT_EQ(Output.Pixel(X, Y), CoordPixel(X, Y)) << X << ", " << Y;
}

INSTANTIATE_TEST_SUITE_P(Edges, NoSpineTest,
                         testing::Values(TNoSpineCase{true, 0, 23}, TNoSpineCase{true, -20, 29},
                                         TNoSpineCase{true, 20, 19}, TNoSpineCase{false, 0, 12},
                                         TNoSpineCase{false, -20, 15}, TNoSpineCase{false, 20, 10}),
                         [](const auto& Info) {
                             return TestNameOf(LayoutName(Info.param.BackAndFront), "_Spine",
                                               Info.param.Position);
                         });

struct TTinyCase {
    const char* Name;
    bool BackAndFront;
    int W, H;
    int FinalW, FinalH;
};

class TinyInputTest : public testing::TestWithParam<TTinyCase> {};

TEST_P(TinyInputTest, ComposesWithoutErrorToTheExpectedSize) {
    const TTinyCase& C = GetParam();
    TBitmap32 Input;
    FillWithCoordinates(Input, C.W, C.H);
    TBitmap32 Output;
    FillWithCoordinates(Output, 5, 5);
    ComposeTrayInlay(Input, C.BackAndFront, 0, Output);
    EXPECT_EQ(Output.Width(), C.FinalW);
    EXPECT_EQ(Output.Height(), C.FinalH);
    EXPECT_EQ(Output.IsEmpty(), C.FinalW == 0 || C.FinalH == 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, TinyInputTest,
                         testing::Values(TTinyCase{"EmptyBack", false, 0, 0, 0, 0},
                                         TTinyCase{"EmptyBackAndFront", true, 0, 0, 0, 0},
                                         TTinyCase{"NoColumnsButRows", false, 0, 10, 0, 0},
                                         // A composed width of 1 gives a normal height of 0.
                                         TTinyCase{"OneColumnBack", false, 1, 40, 1, 0},
                                         TTinyCase{"TwoColumnsBackAndFront", true, 2, 40, 1, 0},
                                         TTinyCase{"ThreeColumnsBackAndFront", true, 3, 40, 1, 0}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(TrayInlayTest, ComposedWidthOfTwoKeepsTheMiddleRow) {
    TBitmap32 Input;
    FillWithCoordinates(Input, 2, 9);
    TBitmap32 Output;
    ComposeTrayInlay(Input, false, 0, Output);
    ASSERT_EQ(Output.Width(), 2);
    ASSERT_EQ(Output.Height(), 1);
    EXPECT_EQ(Output.Pixel(0, 0), CoordPixel(0, 4));
    EXPECT_EQ(Output.Pixel(1, 0), CoordPixel(1, 4));
}

struct TNormalisationCase {
    const char* Name;
    bool BackAndFront;
    int W, H;
    std::vector<int> FirstRows;
    int LastRow;
};

class NormalisationTest : public testing::TestWithParam<TNormalisationCase> {};

TEST_P(NormalisationTest, RowsComeFromTheComposedRowsOfTheNearestNeighbour) {
    const TNormalisationCase& C = GetParam();
    TBitmap32 Input;
    FillWithCoordinates(Input, C.W, C.H);
    TBitmap32 Output;
    ComposeTrayInlay(Input, C.BackAndFront, 0, Output);
    const int Column = Output.Width() - 1; // right spine strip: input rows unturned
    std::vector<int> Rows;
    for (int Y = 0; Y < static_cast<int>(C.FirstRows.size()); ++Y)
        Rows.push_back(CoordY(Output.Pixel(Column, Y)));
    EXPECT_THAT(Rows, ElementsAreArray(C.FirstRows));
    EXPECT_EQ(CoordY(Output.Pixel(Column, Output.Height() - 1)), C.LastRow);
}

INSTANTIATE_TEST_SUITE_P(
    Published, NormalisationTest,
    testing::Values(
        TNormalisationCase{"BackStretched", false, 1500, 1000, {0, 0, 1, 2, 3, 4, 4, 5}, 999},
        TNormalisationCase{
            "BackAndFrontSqueezed", true, 3000, 1500, {0, 1, 2, 3, 4, 6, 7, 8}, 1498}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(TrayInlayTest, AlphaIsCarriedAndTwoCompositionsAreIdentical) {
    TBitmap32 Input;
    FillWithCoordinates(Input, 400, 333);
    TBitmap32 First;
    TBitmap32 Second;
    ComposeTrayInlay(Input, true, 5, First);
    ComposeTrayInlay(Input, true, 5, Second);
    ComposeTrayInlay(Input, true, 5, Second);
    ASSERT_EQ(First.Width(), Second.Width());
    ASSERT_EQ(First.Height(), Second.Height());
    for (int Y = 0; Y < First.Height(); ++Y)
        for (int X = 0; X < First.Width(); ++X) {
            ASSERT_EQ(First.Pixel(X, Y), Second.Pixel(X, Y)) << X << ", " << Y;
            ASSERT_EQ(First.Pixel(X, Y) >> 24, 0xABu) << X << ", " << Y;
        }
}

// What the output view relies on: each step that changes the output announces it.
struct TNotificationCase {
    const char* Name;
    int W, H;
    bool Repeat; // compose twice, count the second time
    int Changes;
    int Resizes;
};

class CompositionNotificationTest : public testing::TestWithParam<TNotificationCase> {};

TEST_P(CompositionNotificationTest, EachStepIsAnnounced) {
    const TNotificationCase& C = GetParam();
    TBitmap32 Input;
    FillWithCoordinates(Input, C.W, C.H);
    TBitmap32 Output;
    if (C.Repeat)
        ComposeTrayInlay(Input, false, 0, Output);
    TNotificationRecorder Recorder(Output);
    ComposeTrayInlay(Input, false, 0, Output);
    EXPECT_EQ(Recorder.Count("change"), C.Changes);
    EXPECT_EQ(Recorder.Count("resize"), C.Resizes);
    EXPECT_EQ(Output.BatchDepth(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompositionNotificationTest,
    testing::Values(
        // Resize, main copy, spine copy, normalising replacement.
        TNotificationCase{"StretchedFromFresh", 1500, 1000, false, 4, 2},
        TNotificationCase{"StretchedAgain", 1500, 1000, true, 4, 2},
        // 1452 x 1175 composes to exactly 1510 x 1175: no normalisation.
        TNotificationCase{"UnstretchedFromFresh", 1452, 1175, false, 3, 1},
        // The size is already right: only the two copies are announced.
        TNotificationCase{"UnstretchedAgain", 1452, 1175, true, 2, 0},
        // No spine: resize and main copy; the normalising replacement empties it.
        TNotificationCase{"OneColumn", 1, 40, false, 3, 2}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(TrayInlayTest, InlayWiderThanABitmapCanBeIsRefused) {
    // A back card of 2^31 - 1 columns composes wider than any bitmap: the geometry says so
    // without overflowing, and the composition refuses it before it takes any memory. The input's
    // store is 8 GiB of address space that is never touched.
    const TInlayGeometry G = ComputeInlayGeometry(2147483647, 1, TInlayLayout::Back, 20);
    EXPECT_GT(G.ComposedWidth, 2147483647);
    EXPECT_EQ(G.NormalHeight, G.ComposedWidth * 1175 / 1510);

    TBitmap32 Input;
    try {
        Input.SetDimensions(2147483647, 1);
    } catch (const Exception&) {
        GTEST_SKIP() << "this machine does not give 8 GiB of address space";
    }
    TBitmap32 Output;
    Output.SetDimensions(3, 2);
    try {
        ComposeTrayInlay(Input, TInlayLayout::Back, 20, Output);
        ADD_FAILURE() << "the composition was not refused";
    } catch (const Exception& E) {
        EXPECT_THAT(E.Message(), testing::StartsWith("The inlay would be "));
    }
    EXPECT_EQ(Output.Width(), 3) << "the output keeps what it had";
    EXPECT_EQ(Output.Height(), 2);
}

namespace {

struct TInlaySizeCase {
    const char* Name;
    std::int64_t Width, Height;
    bool Refused;
};

class InlaySizeTest : public testing::TestWithParam<TInlaySizeCase> {};

} // namespace

TEST_P(InlaySizeTest, AnInlayBeyondWhatLoadingAcceptsIsRefused) {
    const TInlaySizeCase& C = GetParam();
    try {
        CheckInlaySize(C.Width, C.Height);
        EXPECT_FALSE(C.Refused) << "not refused";
    } catch (const Exception& E) {
        EXPECT_TRUE(C.Refused) << "refused";
        EXPECT_STREQ(E.ClassName(), "EInlayTooLarge");
        EXPECT_EQ(E.Message(), InlayTooLargeMessage(C.Width, C.Height));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, InlaySizeTest,
    testing::Values(TInlaySizeCase{"Widest", MaxJpegSide, 1, false},
                    TInlaySizeCase{"TooWide", MaxJpegSide + 1, 1, true},
                    TInlaySizeCase{"Highest", 1, MaxJpegSide, false},
                    TInlaySizeCase{"TooHigh", 1, MaxJpegSide + 1, true},
                    TInlaySizeCase{"AllPixels", 16384, MaxJpegPixels / 16384, false},
                    TInlaySizeCase{"OnePixelRowTooMany", 16384, MaxJpegPixels / 16384 + 1, true},
                    TInlaySizeCase{"WiderThan32Bits", std::int64_t{1} << 40, 1, true},
                    TInlaySizeCase{"Empty", 0, 0, false},
                    TInlaySizeCase{"NoRows", 70000, 0, false}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// A JPEG of 65500 x 1 pixels (17 KB) would compose to 34818 x 27093 (6.45 GB) in the
// back-and-front layout, and to a width beyond what a JPEG holds in the back layout: refused
// before the output or any memory is touched.
TEST(TrayInlayTest, AThinPictureWhoseInlayCannotBeHeldIsRefusedBeforeAnythingIsTaken) {
    TBitmap32 Input;
    Input.SetDimensions(65500, 1);
    for (const bool BackAndFront : {true, false}) {
        SCOPED_TRACE(LayoutName(BackAndFront));
        const TInlayGeometry G = ComputeInlayGeometry(65500, 1, BackAndFront, 0);
        EXPECT_GT(G.ComposedWidth * G.NormalHeight, MaxJpegPixels);
        TBitmap32 Output;
        FillWithCoordinates(Output, 3, 2);
        TNotificationRecorder Recorder(Output);
        try {
            ComposeTrayInlay(Input, BackAndFront, 0, Output);
            ADD_FAILURE() << "the composition was not refused";
        } catch (const Exception& E) {
            EXPECT_THAT(E.Message(), testing::StartsWith("The inlay would be "));
        }
        EXPECT_EQ(Output.Width(), 3) << "the output keeps what it had";
        EXPECT_EQ(Output.Pixel(2, 1), CoordPixel(2, 1));
        EXPECT_THAT(Recorder.Events, testing::IsEmpty());
    }
}

// Every other composition refuses the same inlays: the one at an explicit cut and the one the
// batch command streams its rows into.
TEST(TrayInlayTest, EveryCompositionRefusesAnInlayThatCannotBeHeld) {
    TBitmap32 Input;
    Input.SetDimensions(65500, 1);
    for (const TInlayLayout Layout : {TInlayLayout::Back, TInlayLayout::BackAndFront}) {
        const TSpineCut Cut = DescribedSpineCut(65500, Layout, 0);
        TBitmap32 Output;
        FillWithCoordinates(Output, 3, 2);
        EXPECT_THROW(ComposeInlay(Input, TInlayRequest{TInlayLayout::Back, 0, Cut}, Output),
                     Exception);
        EXPECT_EQ(Output.Width(), 3) << "the output keeps what it had";
        EXPECT_THROW(TStreamedInlay(65500, 1, Layout, 0, 3, 65500), Exception);
    }
}
