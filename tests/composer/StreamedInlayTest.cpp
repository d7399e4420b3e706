// The streamed composition of the batch command against the window's: the same pixels for both
// layouts, every spine setting, odd sizes that stretch and squeeze, and tiny inputs.

#include "composer/StreamedInlay.h"
#include "composer/TrayCard.h"
#include "composer/TrayInlay.h"

#include "tests/support/BitmapTestSupport.h"
#include "tests/support/TestNames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

struct TStreamCase {
    bool BackAndFront;
    int W, H;
    int ExtraRowPixels; // what a decoder delivers beyond the columns asked for
};

// Feeds Input into a streamed inlay of PixelBytes-byte pixels (the low bytes of each TColor32),
// the rows in the order Order gives, and compares every final row with Expected.
void ExpectStreamedEqualsComposed(const TBitmap32& Input, const TStreamCase& C, double Position,
                                  int PixelBytes, bool BottomUp) {
    SCOPED_TRACE("spine " + std::to_string(static_cast<int>(Position)) + ", " +
                 std::to_string(PixelBytes) + "-byte pixels");
    const TInlayLayout Layout = C.BackAndFront ? TInlayLayout::BackAndFront : TInlayLayout::Back;
    TBitmap32 Expected;
    ComposeTrayInlay(Input, Layout, Position, Expected);

    const TInlayGeometry G = ComputeInlayGeometry(C.W, C.H, Layout, Position);
    const std::int32_t Columns = InlayInputColumns(G);
    TStreamedInlay Inlay(C.W, C.H, Layout, Position, PixelBytes, Columns + C.ExtraRowPixels);
    ASSERT_EQ(Inlay.InputColumns(), Columns);
    for (int I = 0; I < C.H; ++I) {
        const int Y = BottomUp ? C.H - 1 - I : I;
        std::uint8_t* Row = Inlay.InputRow(Y);
        // Columns past the used ones carry a marker that must never reach the inlay.
        for (int X = 0; X < Columns + C.ExtraRowPixels; ++X) {
            const TColor32 P = X < C.W ? Input.Pixel(X, Y) : 0x5A5A5A5Au;
            std::memcpy(Row + std::size_t(X) * PixelBytes, &P, std::size_t(PixelBytes));
        }
    }

    ASSERT_EQ(Inlay.InlayWidth(), Expected.Width());
    ASSERT_EQ(Inlay.InlayHeight(), Expected.IsEmpty() ? 0 : Expected.Height());
    const TColor32 Mask = PixelBytes == 4 ? 0xFFFFFFFFu : 0x00FFFFFFu;
    for (int Y = 0; Y < Inlay.InlayHeight(); ++Y) {
        const std::uint8_t* Row = Inlay.InlayRow(Y);
        for (int X = 0; X < Inlay.InlayWidth(); ++X) {
            TColor32 Got = 0;
            std::memcpy(&Got, Row + std::size_t(X) * PixelBytes, std::size_t(PixelBytes));
            const TColor32 Want = Expected.Pixel(X, Y) & Mask;
            ASSERT_EQ(Got, Want) << "final pixel (" << X << ", " << Y << ") is "
                                 << DescribePixel(Got) << ", the window's is "
                                 << DescribePixel(Want);
        }
    }
}

class StreamedInlayTest : public testing::TestWithParam<TStreamCase> {};

TEST_P(StreamedInlayTest, SamePixelsAsTheWindowsCompositionAtEverySpineSetting) {
    const TStreamCase& C = GetParam();
    TBitmap32 Input;
    FillWithCoordinates(Input, C.W, C.H);
    for (const int Position : SpineSettings) {
        ExpectStreamedEqualsComposed(Input, C, Position, 4, false);
        ExpectStreamedEqualsComposed(Input, C, Position, 3, Position % 10 == 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, StreamedInlayTest,
    testing::Values(
        // Squeezed (a wrap-around is wide and low) and stretched (a back card is nearly square).
        TStreamCase{true, 601, 293, 0}, TStreamCase{true, 1001, 149, 17},
        TStreamCase{true, 2840, 1175, 0}, // composes to 1510 x 1175: no normalisation
        TStreamCase{false, 331, 251, 5}, TStreamCase{false, 157, 401, 0},
        TStreamCase{false, 1452, 1175, 3},
        // Tiny: no spine, one final row, or no final row at all.
        TStreamCase{true, 3, 40, 0}, TStreamCase{true, 23, 9, 1}, TStreamCase{false, 1, 40, 0},
        TStreamCase{false, 2, 9, 0}, TStreamCase{false, 13, 7, 2}, TStreamCase{true, 31, 1, 0},
        TStreamCase{false, 17, 1, 0}),
    [](const auto& Info) {
        const TStreamCase& C = Info.param;
        return TestNameOf(C.BackAndFront ? "BackAndFront" : "Back", "_", C.W, "x", C.H,
                          C.ExtraRowPixels ? "_WiderRows" : "");
    });

TEST(StreamedInlayTest, TooWideAnInlayIsRefusedBeforeMemoryIsTaken) {
    try {
        TStreamedInlay Inlay(2147483647, 1, TInlayLayout::Back, 20, 3, 2147483647);
        ADD_FAILURE() << "the inlay was not refused";
    } catch (const Exception& E) {
        EXPECT_THAT(E.Message(), testing::StartsWith("The inlay would be "));
    }
    // Rows that cannot be had are refused the same way.
    EXPECT_THROW(TStreamedInlay(2000000000, 2000000000, TInlayLayout::Back, 0, 4, 2000000000),
                 Exception);
}

} // namespace
