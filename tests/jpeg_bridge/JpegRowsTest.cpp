// The batch command's row-by-row JPEG reading and writing against LoadJpegFile and SaveJpegFile:
// the same pixels for the columns asked for, the same file bytes, and failures where the full
// way fails.

#include "jpeg_bridge/JpegFile.h"
#include "jpeg_bridge/JpegRowReader.h"
#include "jpeg_bridge/JpegRowWriter.h"

#include "tests/support/JpegFixtures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <set>

namespace {

struct TReadCase {
    const char* Name;
    TFixtureColor Color;
    int Components;
    TJpegWriteOptions Options;
    int W, H;
};

// Decodes Columns of File row by row and compares each pixel with what LoadJpegFile gives.
void ExpectRowsAsLoaded(const std::string& File, int Columns, bool TwoThreads) {
    SCOPED_TRACE(std::to_string(Columns) + " columns" + (TwoThreads ? ", two threads" : ""));
    TBitmap32 Loaded;
    LoadJpegFile(Loaded, File);
    const TJpegRowReader Reader(File);
    ASSERT_EQ(Reader.Width(), Loaded.Width());
    ASSERT_EQ(Reader.Height(), Loaded.Height());
    const int Pixels = Reader.RowPixels(Columns);
    ASSERT_GE(Pixels, Columns);
    ASSERT_LE(Pixels, Reader.Width());
    std::vector<std::uint8_t> Rows(std::size_t(Pixels) * 3 * Reader.Height(), 0xEE);
    std::mutex Lock;
    std::multiset<int> Asked;
    Reader.Decode(
        Columns,
        [&](int Y) {
            const std::lock_guard Guard(Lock);
            Asked.insert(Y);
            return Rows.data() + std::size_t(Y) * Pixels * 3;
        },
        TwoThreads);
    ASSERT_EQ(Asked.size(), std::size_t(Reader.Height()));
    ASSERT_EQ(std::set<int>(Asked.begin(), Asked.end()).size(), Asked.size())
        << "a row was asked for twice";
    for (int Y = 0; Y < Reader.Height(); ++Y)
        for (int X = 0; X < Columns; ++X) {
            const std::uint8_t* P = Rows.data() + (std::size_t(Y) * Pixels + X) * 3;
            const TColor32 Got = P[0] | (TColor32(P[1]) << 8) | (TColor32(P[2]) << 16);
            ASSERT_EQ(Got, Loaded.Pixel(X, Y) & 0xFFFFFFu)
                << "pixel (" << X << ", " << Y << ") of " << Columns << " columns";
        }
}

class JpegRowReaderTest : public testing::TestWithParam<TReadCase> {};

TEST_P(JpegRowReaderTest, ColumnsAskedForHaveTheLoadedPixels) {
    const TReadCase& C = GetParam();
    TTempFolder Dir;
    const std::string File = Dir.File("scan.jpg");
    WriteFileBytes(File, EncodeJpeg(NoiseImage(C.W, C.H, C.Components, 7), C.Color, C.Options));
    // The front of a wrap-around is left out: the cut falls inside, at and beside a row group
    // boundary, and at the picture's right edge.
    for (const int Columns :
         {1, C.W / 2 + 1, C.W / 2 / 16 * 16, C.W / 2 / 16 * 16 + 1, C.W - 1, C.W})
        if (Columns >= 1)
            for (const bool TwoThreads : {false, true})
                ExpectRowsAsLoaded(File, Columns, TwoThreads);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, JpegRowReaderTest,
    testing::Values(
        TReadCase{"ColourHalfChroma", TFixtureColor::YCbCr, 3, {}, 203, 77},
        TReadCase{"ColourFullChroma", TFixtureColor::YCbCr, 3, {95, false, 0, true}, 157, 61},
        TReadCase{"Grey", TFixtureColor::Grey, 1, {}, 149, 53},
        TReadCase{"Progressive", TFixtureColor::YCbCr, 3, {90, true, 0, false}, 171, 45},
        TReadCase{"RestartMarkers", TFixtureColor::YCbCr, 3, {90, false, 3, false}, 250, 90},
        TReadCase{"OneRowGroup", TFixtureColor::YCbCr, 3, {}, 64, 9},
        // Large enough for two threads (JpegSplitMinPixels), cropped or not.
        TReadCase{"LargeTwoBands", TFixtureColor::YCbCr, 3, {90, false, 0, false}, 1603, 1311}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(JpegRowReaderTest, FilesTheFullWayReadsAlone) {
    TTempFolder Dir;
    const std::string Cmyk = Dir.File("cmyk.jpg");
    WriteFileBytes(Cmyk, EncodeJpeg(NoiseImage(40, 30, 4, 1), TFixtureColor::Cmyk));
    const TJpegRowReader Reader(Cmyk);
    EXPECT_EQ(Reader.Components(), 4);
    EXPECT_FALSE(Reader.CanDecode());
    EXPECT_THROW(Reader.Decode(
                     10, [](int) -> std::uint8_t* { return nullptr; }, false),
                 EJpegRowError);
}

// Where LoadJpegFile fails, so does the row reader: at the header, or while decoding.
TEST(JpegRowReaderTest, FailsWhereLoadingFails) {
    TTempFolder Dir;
    const auto Good = EncodeJpeg(NoiseImage(120, 80, 3, 3), TFixtureColor::YCbCr);
    const std::string Cut = Dir.File("cut.jpg");
    WriteFileBytes(Cut, std::vector<std::uint8_t>(Good.begin(), Good.begin() + Good.size() / 2));
    const std::string Empty = Dir.File("empty.jpg");
    WriteFileBytes(Empty, {});
    const std::string Text = Dir.WriteFile("text.jpg", "not a picture");
    const std::string Huge = Dir.File("huge.jpg");
    WriteFileBytes(Huge, WithFrameSize(Good, 60000, 60000));

    std::vector<std::uint8_t> Rows(120 * 3 * 80);
    const auto Target = [&](int Y) { return Rows.data() + std::size_t(Y) * 120 * 3; };
    // Cut short but ending in an end marker: LoadJpegFile loads it and tells the damage; the
    // fast way leaves it to the full way.
    const std::string CutWithEnd = Dir.File("cut-with-end.jpg");
    auto CutData = std::vector<std::uint8_t>(Good.begin(), Good.begin() + Good.size() / 2);
    CutData.insert(CutData.end(), {0xFF, 0xD9});
    WriteFileBytes(CutWithEnd, CutData);
    for (const std::string& File : {Cut, CutWithEnd}) {
        TBitmap32 Bitmap;
        if (File == Cut) {
            EXPECT_THROW(LoadJpegFile(Bitmap, File), EIJLError);
        }
        const TJpegRowReader Reader(File);
        EXPECT_THROW(Reader.Decode(60, Target, false), EJpegRowError) << File;
        EXPECT_THROW(Reader.Decode(60, Target, true), EJpegRowError) << File;
    }
    const auto OpenFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                             std::filesystem::directory_iterator{});
    };
    const auto FilesBefore = OpenFiles();
    for (const std::string& File :
         {Empty, Text, Huge, Dir.File("missing.jpg"), Dir.Path().string()}) {
        TBitmap32 Bitmap;
        EXPECT_THROW(LoadJpegFile(Bitmap, File), EIJLError);
        EXPECT_THROW(TJpegRowReader{File}, EJpegRowError) << File;
    }
    EXPECT_EQ(OpenFiles(), FilesBefore) << "a refused file stayed open";
}

// The same pixels written by rows and by SaveJpegFile: the same bytes, header included.
struct TWriteCase {
    int W, H;
    TPrintDensity Density;
    std::uint8_t Quality;
};

class JpegRowWriterTest : public testing::TestWithParam<TWriteCase> {};

TEST_P(JpegRowWriterTest, WritesTheBytesSaveJpegFileWrites) {
    const TWriteCase& C = GetParam();
    TTempFolder Dir;
    TBitmap32 Bitmap;
    Bitmap.SetDimensions(C.W, C.H);
    std::vector<std::uint8_t> Bgr(std::size_t(C.W) * C.H * 3);
    std::uint32_t Seed = 12345;
    for (int Y = 0; Y < C.H; ++Y)
        for (int X = 0; X < C.W; ++X) {
            Seed = Seed * 1103515245u + 12345u;
            // Alpha is not written: any value must give the same file.
            Bitmap.ScanLine(Y)[X] = Seed;
            std::uint8_t* P = Bgr.data() + (std::size_t(Y) * C.W + X) * 3;
            P[0] = std::uint8_t(Seed);
            P[1] = std::uint8_t(Seed >> 8);
            P[2] = std::uint8_t(Seed >> 16);
        }
    SaveJpegFile(Bitmap, Dir.File("whole.jpg"), C.Quality, C.Density);
    int Next = 0;
    SaveJpegRows(Dir.File("rows.jpg"), C.W, C.H, C.Quality, C.Density, [&](int Y) {
        EXPECT_EQ(Y, Next++) << "rows are asked for from the top, once each";
        return Bgr.data() + std::size_t(Y) * C.W * 3;
    });
    EXPECT_TRUE(ReadFileBytes(Dir.File("rows.jpg")) == ReadFileBytes(Dir.File("whole.jpg")));
    EXPECT_EQ(Dir.Entries().size(), 2u) << "no temporary file is left";
}

INSTANTIATE_TEST_SUITE_P(Sizes, JpegRowWriterTest,
                         testing::Values(TWriteCase{319, 248, TPrintDensity{319 * 254, 1510}, 95},
                                         TWriteCase{1, 1, TPrintDensity{}, 95},
                                         TWriteCase{37, 101, TPrintDensity{300, 1}, 100},
                                         TWriteCase{64, 17, TPrintDensity{72, 1}, 0}),
                         [](const auto& Info) {
                             const TWriteCase& C = Info.param;
                             return TestNameOf(C.W, "x", C.H, "_Quality", int(C.Quality),
                                               C.Density.IsSet() ? "_Density" : "");
                         });

TEST(JpegRowWriterTest, RefusesEmptyPicturesAndLeavesTheTargetOnFailure) {
    TTempFolder Dir;
    const auto Row = [](int) -> const std::uint8_t* { return nullptr; };
    try {
        SaveJpegRows(Dir.File("empty.jpg"), 0, 5, 95, {}, Row);
        ADD_FAILURE() << "an empty picture was written";
    } catch (const Exception& E) {
        EXPECT_STREQ(E.what(), NoImageToSaveMessage);
    }
    EXPECT_FALSE(std::filesystem::exists(Dir.File("empty.jpg")));
    EXPECT_THROW(SaveJpegRows(Dir.File("missing/inlay.jpg"), 4, 4, 95, {}, Row), EJpegRowError);
    EXPECT_TRUE(Dir.Entries().empty());
}

} // namespace
