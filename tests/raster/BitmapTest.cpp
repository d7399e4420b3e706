#include "raster/Bitmap.h"
#include "raster/Bitmap32.h"

#include "tests/support/BitmapTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

// Writes pixel (X, Y) of a 24- or 32-bit TBitmap, counted from the top.
void PutPixel(TBitmap& Bitmap, int X, int Y, std::uint8_t B, std::uint8_t G, std::uint8_t R,
              std::uint8_t Fourth = 0) {
    const int Size = BitsPerPixel(Bitmap.PixelFormat()) / 8;
    std::uint8_t* P = Bitmap.ScanLine(Y) + X * Size;
    P[0] = B;
    P[1] = G;
    P[2] = R;
    if (Size == 4)
        P[3] = Fourth;
}

} // namespace

TEST(BitmapTest, StrideIsTheRowRoundedUpToFourBytes) {
    struct TCase {
        int Width;
        TPixelFormat Format;
        std::int64_t Stride;
    };
    const TCase Cases[] = {
        {0, TPixelFormat::pf24bit, 0},  {1, TPixelFormat::pf24bit, 4},
        {2, TPixelFormat::pf24bit, 8},  {3, TPixelFormat::pf24bit, 12},
        {4, TPixelFormat::pf24bit, 12}, {5, TPixelFormat::pf24bit, 16},
        {5, TPixelFormat::pf32bit, 20}, {7, TPixelFormat::pf32bit, 28},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(TBitmap::StrideFor(C.Width, C.Format), C.Stride)
            << "width " << C.Width << ", " << BitsPerPixel(C.Format) << " bits";
}

TEST(BitmapTest, RowsAreStoredBottomRowFirst) {
    TBitmap Bitmap;
    Bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    Bitmap.SetSize(3, 2);
    const auto Storage = Bitmap.QueryStorage();
    ASSERT_TRUE(Storage.has_value());
    EXPECT_EQ(Storage->Width, 3);
    EXPECT_EQ(Storage->Height, 2);
    EXPECT_EQ(Storage->BitsPerPixel, 24);
    EXPECT_EQ(Storage->Stride, 12);
    ASSERT_NE(Storage->Bits, nullptr);
    EXPECT_EQ(Bitmap.ScanLine(1), Storage->Bits) << "the bottom row comes first";
    EXPECT_EQ(Bitmap.ScanLine(0), Storage->Bits + 12);
}

TEST(BitmapTest, StorageQueryWithoutFormatOrWithoutSize) {
    TBitmap Bitmap;
    EXPECT_FALSE(Bitmap.QueryStorage().has_value()) << "a 0 by 0 bitmap has no storage";

    Bitmap.SetSize(4, 3);
    auto Storage = Bitmap.QueryStorage();
    ASSERT_TRUE(Storage.has_value());
    EXPECT_EQ(Storage->Width, 4);
    EXPECT_EQ(Storage->Height, 3);
    EXPECT_EQ(Storage->Bits, nullptr) << "no pixel format, no buffer";

    Bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    Storage = Bitmap.QueryStorage();
    ASSERT_TRUE(Storage.has_value());
    EXPECT_NE(Storage->Bits, nullptr) << "the buffer comes with the format";
    EXPECT_EQ(Storage->Stride, 16);

    Bitmap.SetSize(0, 3);
    EXPECT_FALSE(Bitmap.QueryStorage().has_value());
    Bitmap.SetSize(-4, 3);
    EXPECT_EQ(Bitmap.Width(), 0) << "negative sizes count as 0";
}

TEST(BitmapTest, UnaddressableSizeIsRefusedAndLeavesTheBitmap) {
    TBitmap Bitmap;
    Bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    Bitmap.SetSize(2, 2);
    PutPixel(Bitmap, 1, 1, 1, 2, 3, 4);
    try {
        Bitmap.SetSize(INT_MAX, INT_MAX);
        FAIL() << "no error";
    } catch (const EOutOfResources& E) {
        EXPECT_STREQ(E.what(), "Out of system resources");
    }
    EXPECT_EQ(Bitmap.Width(), 2);
    EXPECT_EQ(Bitmap.ScanLine(1)[4], 1);
}

TEST(BitmapTest, From32To24KeepsColoursAndOrientation) {
    TBitmap Bitmap;
    Bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    Bitmap.SetSize(5, 3);
    for (int Y = 0; Y < 3; ++Y)
        for (int X = 0; X < 5; ++X)
            PutPixel(Bitmap, X, Y, std::uint8_t(X), std::uint8_t(Y), std::uint8_t(10 * X + Y),
                     0x77);
    Bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    ASSERT_EQ(Bitmap.Stride(), 16);
    for (int Y = 0; Y < 3; ++Y)
        for (int X = 0; X < 5; ++X) {
            const std::uint8_t* P = Bitmap.ScanLine(Y) + 3 * X;
            EXPECT_EQ(P[0], X) << "blue at (" << X << ", " << Y << ")";
            EXPECT_EQ(P[1], Y) << "green at (" << X << ", " << Y << ")";
            EXPECT_EQ(P[2], 10 * X + Y) << "red at (" << X << ", " << Y << ")";
        }

    Bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    const std::uint8_t* P = Bitmap.ScanLine(2) + 4 * 4;
    EXPECT_THAT(std::vector<int>(P, P + 4), ElementsAre(4, 2, 42, 0))
        << "24 to 32 bits gives a fourth byte of 0";
}

TEST(BitmapTest, CopyFrom24BitKeepsOrientationAndMakesAlphaOpaque) {
    TBitmap Source;
    Source.SetPixelFormat(TPixelFormat::pf24bit);
    Source.SetSize(3, 2);
    for (int Y = 0; Y < 2; ++Y)
        for (int X = 0; X < 3; ++X)
            PutPixel(Source, X, Y, std::uint8_t(X), std::uint8_t(Y), 0x55);

    TBitmap32 Bitmap;
    TNotificationRecorder Recorder(Bitmap);
    Bitmap.CopyFrom(Source);
    ASSERT_EQ(Bitmap.Width(), 3);
    ASSERT_EQ(Bitmap.Height(), 2);
    for (int Y = 0; Y < 2; ++Y)
        for (int X = 0; X < 3; ++X)
            EXPECT_EQ(Bitmap.Pixel(X, Y), 0xFF550000u | (TColor32(Y) << 8) | TColor32(X))
                << "pixel (" << X << ", " << Y << ") is " << std::hex << Bitmap.Pixel(X, Y);
    EXPECT_EQ(Recorder.Count("change"), 1);
    EXPECT_EQ(Recorder.Events.back(), "change");
}

TEST(BitmapTest, CopyFrom32BitTakesTheFourthByteAsAlpha) {
    TBitmap Source;
    Source.SetPixelFormat(TPixelFormat::pf32bit);
    Source.SetSize(2, 2);
    PutPixel(Source, 0, 0, 1, 2, 3, 128);
    PutPixel(Source, 1, 0, 4, 5, 6, 128);
    PutPixel(Source, 0, 1, 7, 8, 9, 128);
    PutPixel(Source, 1, 1, 10, 11, 12, 128);
    TBitmap32 Bitmap;
    Bitmap.CopyFrom(Source);
    EXPECT_EQ(Bitmap.Pixel(0, 0), 0x80030201u);
    EXPECT_EQ(Bitmap.Pixel(1, 0), 0x80060504u);
    EXPECT_EQ(Bitmap.Pixel(0, 1), 0x80090807u);
    EXPECT_EQ(Bitmap.Pixel(1, 1), 0x800C0B0Au);
}

TEST(BitmapTest, CopyFromAnEmptySourceEmptiesAndAnnouncesOnce) {
    TBitmap Source;
    Source.SetPixelFormat(TPixelFormat::pf24bit);
    Source.SetSize(0, 7);
    TBitmap32 Bitmap;
    FillWithCoordinates(Bitmap, 4, 4);
    TNotificationRecorder Recorder(Bitmap);
    Bitmap.CopyFrom(Source);
    EXPECT_TRUE(Bitmap.IsEmpty());
    EXPECT_EQ(Bitmap.Width(), 0);
    EXPECT_EQ(Bitmap.Height(), 7);
    EXPECT_EQ(Recorder.Count("change"), 1);
}

TEST(BitmapTest, CopyToThenTo24BitGivesBlueGreenRedUpright) {
    TBitmap32 Bitmap;
    Bitmap.SetDimensions(5, 2);
    Bitmap.FillAll(0x331E140Au); // alpha 0x33, red 30, green 20, blue 10
    Bitmap.ScanLine(0)[4] = 0x00030201u;
    TNotificationRecorder Recorder(Bitmap);

    TBitmap Target;
    Bitmap.CopyTo(Target);
    EXPECT_EQ(Target.PixelFormat(), TPixelFormat::pf32bit);
    Target.SetPixelFormat(TPixelFormat::pf24bit);
    const auto Storage = Target.QueryStorage();
    ASSERT_TRUE(Storage.has_value());
    EXPECT_EQ(Storage->Width, 5);
    EXPECT_EQ(Storage->Height, 2);
    EXPECT_EQ(Storage->Stride, 16) << "15 bytes of pixels and 1 byte of fill";
    // The buffer's last row is the bitmap's top row.
    const std::uint8_t* Top = Storage->Bits + 16;
    const std::uint8_t* Bottom = Storage->Bits;
    EXPECT_THAT(std::vector<int>(Top, Top + 15),
                ElementsAre(10, 20, 30, 10, 20, 30, 10, 20, 30, 10, 20, 30, 1, 2, 3));
    EXPECT_THAT(std::vector<int>(Bottom, Bottom + 15),
                ElementsAre(10, 20, 30, 10, 20, 30, 10, 20, 30, 10, 20, 30, 10, 20, 30));
    EXPECT_THAT(Recorder.Events, IsEmpty()) << "CopyTo leaves its bitmap alone";
    EXPECT_EQ(Bitmap.Pixel(4, 0), 0x00030201u);
}

TEST(BitmapTest, CopyToStraightTo24BitEqualsCopyThenConversion) {
    TBitmap32 Bitmap;
    FillWithCoordinates(Bitmap, 7, 3);
    TBitmap TwoSteps, OneStep;
    Bitmap.CopyTo(TwoSteps);
    TwoSteps.SetPixelFormat(TPixelFormat::pf24bit);
    OneStep.SetPixelFormat(TPixelFormat::pf32bit);
    OneStep.SetSize(1, 1);
    Bitmap.CopyTo(OneStep, TPixelFormat::pf24bit);
    ASSERT_EQ(OneStep.PixelFormat(), TPixelFormat::pf24bit);
    ASSERT_EQ(OneStep.Width(), 7);
    ASSERT_EQ(OneStep.Height(), 3);
    for (int Y = 0; Y < 3; ++Y)
        EXPECT_EQ(std::vector<int>(OneStep.ScanLine(Y), OneStep.ScanLine(Y) + 21),
                  std::vector<int>(TwoSteps.ScanLine(Y), TwoSteps.ScanLine(Y) + 21))
            << "row " << Y;
}

TEST(BitmapTest, CopyToFromAnEmptyBitmapGivesAnEmptyTarget) {
    TBitmap32 Bitmap;
    TBitmap Target;
    Target.SetPixelFormat(TPixelFormat::pf24bit);
    Target.SetSize(3, 3);
    Bitmap.CopyTo(Target);
    EXPECT_EQ(Target.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_FALSE(Target.QueryStorage().has_value());
}
