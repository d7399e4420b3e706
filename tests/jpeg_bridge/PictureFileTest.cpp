#include "base/FileStream.h"
#include "jpeg_bridge/JPEGImage.h"
#include "raster/Bitmap32.h"
#include "raster/Picture.h"

#include "tests/support/BitmapTestSupport.h"
#include "tests/support/FailedLoadCheck.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <jerror.h>

#include <filesystem>
#include <functional>
#include <set>
#include <unistd.h>

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

// The colour of pixel (X, Y) of a decoded red-green-blue fixture as a TColor32 with alpha 255.
TColor32 ExpectedPixel(const TDecodedJpeg& Decoded, int X, int Y) {
    const std::uint8_t* S = Decoded.Samples.data() + (std::size_t(Y) * Decoded.Width + X) * 3;
    return 0xFF000000u | (TColor32(S[0]) << 16) | (TColor32(S[1]) << 8) | S[2];
}

std::string JpegError(int Code) {
    return "JPEG error #" + std::to_string(Code);
}

} // namespace

TEST(PictureRegistryTest, HoldsTheSevenKindsOldestFirst) {
    // The platform's five kinds, then JPEG as the programs register it at start; registering it
    // again adds nothing.
    RegisterJpegPictures();
    RegisterJpegPictures();
    std::vector<std::string> Entries;
    for (const auto& F : PictureRegistry().Formats())
        Entries.push_back(F.Extension + "=" + F.KindName);
    EXPECT_THAT(Entries, ElementsAre("bmp=TBitmap", "ico=TIcon", "emf=TMetafile", "wmf=TMetafile",
                                     "=TOleGraphic", "jpg=TJPEGImage", "jpeg=TJPEGImage"));
    for (const auto& F : PictureRegistry().Formats())
        EXPECT_STREQ(F.Create()->ClassName(), F.KindName.c_str());
}

TEST(PictureRegistryTest, LookupLowerCasesAndTakesTheNewestEntry) {
    TPictureRegistry Registry;
    Registry.Register("jpg", "TOld", nullptr);
    Registry.Register("png", "TPng", nullptr);
    Registry.Register("jpg", "TNew", nullptr);
    struct TCase {
        const char* FileName;
        const char* Kind; // null: no entry
    };
    const TCase Cases[] = {
        {"/a/cover.jpg", "TNew"},  {"/a/COVER.JPG", "TNew"},       {"/a/b.PnG", "TPng"},
        {"/a/b.jpg.gif", nullptr}, {"/a/pics.jpg/cover", nullptr}, {"/a/noext", nullptr},
    };
    for (const TCase& C : Cases) {
        const TPictureFileFormat* Found = Registry.FindByFileName(C.FileName);
        if (!C.Kind)
            EXPECT_EQ(Found, nullptr) << C.FileName;
        else if (!Found)
            ADD_FAILURE() << C.FileName << " found nothing";
        else
            EXPECT_EQ(Found->KindName, C.Kind) << C.FileName;
    }
    EXPECT_EQ(PictureRegistry().FindByFileName("/a/pics.jpg/cover")->KindName, "TOleGraphic")
        << "a name without extension matches the entry with the empty extension";
}

class LoadPictureFileTest : public testing::Test {
protected:
    static void SetUpTestSuite() { RegisterJpegPictures(); }

    TTempFolder Dir;

    std::string Write(const std::string& Name, const std::vector<std::uint8_t>& Data) {
        const std::string Path = Dir.File(Name);
        WriteFileBytes(Path, Data);
        return Path;
    }
};

TEST_F(LoadPictureFileTest, FailuresBeforeDecodingLeaveTheBitmapUntouched) {
    const auto Colour = EncodeJpeg(GradientImage(40, 30, 3), TFixtureColor::YCbCr);
    std::filesystem::create_directory(Dir.File("folder.jpg"));
    std::filesystem::create_directory(Dir.File("pics.d"));
    struct TCase {
        std::string FileName;
        std::string Class;
        std::string Message;
    };
    const TCase Cases[] = {
        {Write("cover.png", Colour), "EInvalidGraphic", "Unknown picture file extension (.png)"},
        {Write("cover.PnG", Colour), "EInvalidGraphic", "Unknown picture file extension (.PnG)"},
        {Dir.File("missing.gif"), "EInvalidGraphic", "Unknown picture file extension (.gif)"},
        {Dir.File("missing.jpg"), "EFOpenError",
         "Cannot open file \"" + Dir.File("missing.jpg") + "\". No such file or directory"},
        {Dir.File("folder.jpg"), "EFOpenError",
         "Cannot open file \"" + Dir.File("folder.jpg") + "\". Is a directory"},
        {Write("text.jpg", {'h', 'e', 'l', 'l', 'o'}), "EJPEG", JpegError(JERR_NO_SOI)},
        {Write("png.jpg", PngBytes()), "EJPEG", JpegError(JERR_NO_SOI)},
        {Write("random.jpeg", RandomBytes(4096, 7)), "EJPEG", JpegError(JERR_NO_SOI)},
        {Write("bomb.jpg", WithFrameSize(Colour, 65500, 65500)), "EJPEG",
         JpegError(JERR_IMAGE_TOO_BIG)},
        {Write("picture.bmp", Colour), "EInvalidGraphic", "Bitmap files are not supported"},
        {Write("picture.ico", Colour), "EInvalidGraphic", "TIcon pictures are not supported"},
        {Write("pics.d/cover", Colour), "EInvalidGraphic",
         "TOleGraphic pictures are not supported"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.FileName);
        ExpectFailureLeavesBitmap([&](TBitmap32& B) { B.LoadPictureFile(C.FileName); }, C.Class,
                                  C.Message);
    }
}

TEST_F(LoadPictureFileTest, OpenErrorNamesTheAbsolutePath) {
    const auto Saved = std::filesystem::current_path();
    std::filesystem::create_directory(Dir.File("sub"));
    std::filesystem::current_path(Dir.File("sub"));
    ExpectFailureLeavesBitmap(
        [](TBitmap32& B) { B.LoadPictureFile("../sub/./gone.jpg"); }, "EFOpenError",
        "Cannot open file \"" + Dir.File("sub/gone.jpg") + "\". No such file or directory");
    std::filesystem::current_path(Saved);
}

TEST_F(LoadPictureFileTest, ZeroByteFileGivesAnEmptyBitmapAnnouncedOnce) {
    const std::string Path = Write("empty.jpg", {});
    TBitmap32 Bitmap;
    FillWithCoordinates(Bitmap, 3, 3);
    TNotificationRecorder Recorder(Bitmap);
    Bitmap.LoadPictureFile(Path);
    EXPECT_TRUE(Bitmap.IsEmpty());
    EXPECT_EQ(Bitmap.Width(), 0);
    EXPECT_EQ(Bitmap.Height(), 0);
    EXPECT_EQ(Recorder.Count("change"), 1);
}

TEST_F(LoadPictureFileTest, ColourPictureArrivesUprightAndOpaque) {
    // Progressive with restart markers and an odd width: every path of the decoder at once.
    for (const bool Progressive : {false, true}) {
        SCOPED_TRACE(Progressive ? "progressive" : "baseline");
        TJpegWriteOptions Options;
        Options.Progressive = Progressive;
        Options.RestartInterval = Progressive ? 0 : 2;
        const auto Data = EncodeJpeg(NoiseImage(37, 21, 3, 11), TFixtureColor::YCbCr, Options);
        const TDecodedJpeg Expected = DecodeJpeg(Data);
        ASSERT_TRUE(Expected.Ok);
        TBitmap32 Bitmap;
        TNotificationRecorder Recorder(Bitmap);
        Bitmap.LoadPictureFile(Write("colour.JPG", Data));
        ASSERT_EQ(Bitmap.Width(), 37);
        ASSERT_EQ(Bitmap.Height(), 21);
        int Wrong = 0;
        for (int Y = 0; Y < 21; ++Y)
            for (int X = 0; X < 37; ++X)
                if (Bitmap.Pixel(X, Y) != ExpectedPixel(Expected, X, Y) && ++Wrong <= 5)
                    ADD_FAILURE() << "pixel (" << X << ", " << Y << ") is " << std::hex
                                  << Bitmap.Pixel(X, Y) << ", expected "
                                  << ExpectedPixel(Expected, X, Y);
        EXPECT_EQ(Recorder.Count("change"), 1);
    }
}

TEST_F(LoadPictureFileTest, GreyPictureStaysGreyWithAtMost236Levels) {
    const auto Data = EncodeJpeg(GradientImage(300, 40, 1), TFixtureColor::Grey);
    TBitmap32 Bitmap;
    Bitmap.LoadPictureFile(Write("grey.jpg", Data));
    ASSERT_EQ(Bitmap.Width(), 300);
    ASSERT_EQ(Bitmap.Height(), 40);
    std::set<TColor32> Levels;
    for (int Y = 0; Y < 40; ++Y)
        for (int X = 0; X < 300; ++X) {
            const TColor32 P = Bitmap.Pixel(X, Y);
            Levels.insert(P);
            const TColor32 B = P & 0xFF;
            ASSERT_EQ(P, 0xFF000000u | (B << 16) | (B << 8) | B)
                << "pixel (" << X << ", " << Y << ") is " << std::hex << P;
        }
    EXPECT_LE(Levels.size(), 236u);
    EXPECT_GT(Levels.size(), 100u) << "a gradient keeps many of its levels";
    EXPECT_LT(Bitmap.Pixel(0, 20) & 0xFF, 8u) << "dark on the left";
    EXPECT_GT(Bitmap.Pixel(299, 20) & 0xFF, 247u) << "light on the right";
}

TEST_F(LoadPictureFileTest, TruncatedPictureLoadsWithWhatIsThere) {
    auto Data = EncodeJpeg(GradientImage(64, 64, 3), TFixtureColor::YCbCr);
    Data.resize(Data.size() / 2);
    TBitmap32 Bitmap;
    Bitmap.LoadPictureFile(Write("cut.jpg", Data));
    EXPECT_EQ(Bitmap.Width(), 64);
    EXPECT_EQ(Bitmap.Height(), 64);
    EXPECT_EQ(Bitmap.Pixel(0, 0) >> 24, 0xFFu);
}

// A picture that cannot be decoded leaves the bitmap as it was: no size taken, no change
// announced.
TEST_F(LoadPictureFileTest, DecodingErrorsLeaveTheBitmapUntouched) {
    TJpegWriteOptions Scans;
    Scans.Scans = 1001;
    struct TCase {
        const char* Name;
        std::vector<std::uint8_t> Data;
        int Code;
    };
    const TCase Cases[] = {
        {"no-tables.jpg",
         WithoutSegments(EncodeJpeg(GradientImage(20, 10, 3), TFixtureColor::YCbCr), 0xDB),
         JERR_NO_QUANT_TABLE},
        {"cmyk.jpg", EncodeJpeg(GradientImage(20, 10, 4), TFixtureColor::Cmyk),
         JERR_CONVERSION_NOTIMPL},
        {"1001-scans.jpg", EncodeJpeg(GradientImage(20, 10, 3), TFixtureColor::YCbCr, Scans),
         JERR_BAD_SCAN_SCRIPT},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const std::string Path = Write(C.Name, C.Data);
        ExpectFailureLeavesBitmap([&](TBitmap32& B) { B.LoadPictureFile(Path); }, "EJPEG",
                                  JpegError(C.Code));
    }
}

TEST_F(LoadPictureFileTest, AThousandScansAreRead) {
    TJpegWriteOptions Scans;
    Scans.Scans = 1000;
    TBitmap32 Bitmap;
    Bitmap.LoadPictureFile(
        Write("1000-scans.jpg", EncodeJpeg(GradientImage(20, 10, 3), TFixtureColor::YCbCr, Scans)));
    EXPECT_EQ(Bitmap.Width(), 20);
    EXPECT_EQ(Bitmap.Height(), 10);
}
