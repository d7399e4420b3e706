// The batch command's whole tray card (--layout tray-card), its explicit cut (--cut), its lossless
// outputs (.png, .tif) and the check of OUTPUT's ending: the usage errors that write nothing,
// and the inlays compared with the composer's own at the same request.

#include "compose_cli/ComposeCommand.h"

#include "composer/TrayInlay.h"
#include "jpeg_bridge/JpegFile.h"
#include "picture_codecs/CodecPictures.h"
#include "raster/Bitmap32.h"

#include "tests/compose_cli/UsageErrorTable.h"
#include "tests/support/BitmapSamples.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

using testing::HasSubstr;

namespace {

TProgramRun RunCompose(const std::vector<std::string>& Arguments) {
    std::vector<std::string> Argv{TRAYVANE_COMPOSE_EXECUTABLE};
    Argv.insert(Argv.end(), Arguments.begin(), Arguments.end());
    return RunProgram(Argv);
}

// The pixels of a binary PPM as TColor32 values (alpha 0).
std::vector<TColor32> PpmPixels(const std::string& FileName, int& Width, int& Height) {
    const auto Bytes = ReadFileBytes(FileName);
    std::istringstream Header(std::string(Bytes.begin(), Bytes.end()));
    std::string Magic;
    int MaxValue = 0;
    Header >> Magic >> Width >> Height >> MaxValue;
    const auto Start = static_cast<std::size_t>(Header.tellg()) + 1;
    std::vector<TColor32> Pixels;
    for (std::size_t I = Start; I + 2 < Bytes.size(); I += 3)
        Pixels.push_back((TColor32(Bytes[I]) << 16) | (TColor32(Bytes[I + 1]) << 8) | Bytes[I + 2]);
    return Pixels;
}

// The PPM holds exactly what ComposeInlay makes of Input for Request.
void ExpectPpmIs(const std::string& PpmFile, const std::string& Input,
                 const TInlayRequest& Request) {
    TBitmap32 Picture, Inlay;
    LoadJpegFile(&Picture, Input);
    ComposeInlay(Picture, Request, Inlay);
    int Width = 0, Height = 0;
    const std::vector<TColor32> Pixels = PpmPixels(PpmFile, Width, Height);
    ASSERT_EQ(Width, Inlay.Width());
    ASSERT_EQ(Height, Inlay.Height());
    ASSERT_EQ(Pixels.size(), std::size_t(Width) * Height);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            ASSERT_EQ(Pixels[std::size_t(Y) * Width + X], Inlay.Pixel(X, Y) & 0xFFFFFF)
                << "pixel (" << X << ", " << Y << ")";
}

class TrayCardAndCutTest : public testing::Test {
protected:
    TTempFolder Dir;

    std::string Scan(const std::string& Name, int Width, int Height) {
        const std::string Path = Dir.File(Name);
        WriteFileBytes(Path, EncodeJpeg(NoiseImage(Width, Height, 3, 7), TFixtureColor::YCbCr));
        return Path;
    }
};

} // namespace

TEST(TrayCardAndCutArgumentsTest, AcceptedForms) {
    EXPECT_EQ(ParseComposeArguments({"--layout", "tray-card", "a.jpg", "b.jpg"}).Layout,
              TInlayLayout::TrayCard);
    EXPECT_EQ(ParseComposeArguments({"--layout=tray-card", "--spine", "0", "a", "b"}).Layout,
              TInlayLayout::TrayCard);
    EXPECT_EQ(ParseComposeArguments({"--cut", "1390:1450", "a.jpg", "b.jpg"}).Cut,
              (TSpineCut{1390, 1450}));
    EXPECT_EQ(ParseComposeArguments({"--cut=0:1", "--spine", "-20", "a", "b"}).Cut,
              (TSpineCut{0, 1}));
    EXPECT_EQ(ParseComposeArguments({"--format", "png", "--output-dir", "/o", "a"}).Format,
              TOutputFormat::Png);
    EXPECT_EQ(ParseComposeArguments({"--format", "tif", "--output-dir", "/o", "a"}).Format,
              TOutputFormat::Tiff);
    EXPECT_EQ(BatchOutputName("/o", "/s/cover.jpg", TOutputFormat::Png), "/o/cover-inlay.png");
    EXPECT_EQ(BatchOutputName("/o", "/s/cover.jpg", TOutputFormat::Tiff), "/o/cover-inlay.tif");
    EXPECT_EQ(OutputFormatOf("x.PNG"), TOutputFormat::Png);
    EXPECT_EQ(OutputFormatOf("x.Tiff"), TOutputFormat::Tiff);
    EXPECT_EQ(OutputFormatOf("x.tif"), TOutputFormat::Tiff);
}

INSTANTIATE_TEST_SUITE_P(
    TrayCardAndCut, UsageErrorTest,
    testing::Values(
        TUsageCase{
            "TrayCardWithSpine", {"--layout", "tray-card", "--spine", "5", "a", "b"}, "no --spine"},
        TUsageCase{"TrayCardWithFindSpine",
                   {"--find-spine", "--layout", "tray-card", "a", "b"},
                   "no --find-spine"},
        TUsageCase{
            "TrayCardWithCut", {"--layout", "tray-card", "--cut", "1:9", "a", "b"}, "no --cut"},
        TUsageCase{
            "CutWithFindSpine", {"--cut", "1:9", "--find-spine", "a", "b"}, "exclude each other"},
        TUsageCase{"CutWithoutColon", {"--cut", "19", "a", "b"}, "--cut takes LEFT:RIGHT"},
        TUsageCase{"CutEmptyRight", {"--cut", "5:", "a", "b"}, "--cut takes LEFT:RIGHT"},
        TUsageCase{"CutNegative", {"--cut", "-1:5", "a", "b"}, "--cut takes LEFT:RIGHT"},
        TUsageCase{"CutOfNoWidth", {"--cut", "5:5", "a", "b"}, "--cut takes LEFT:RIGHT"},
        TUsageCase{"CutBackwards", {"--cut", "9:5", "a", "b"}, "--cut takes LEFT:RIGHT"},
        TUsageCase{"CutNotNumbers", {"--cut", "a:b", "a", "b"}, "--cut takes LEFT:RIGHT"},
        TUsageCase{"CutMissing", {"a", "b", "--cut"}, "--cut needs a value"},
        TUsageCase{"UnknownFormat",
                   {"--format", "gif", "--output-dir", "/o", "a"},
                   "--format takes jpg, ppm, pdf, png or tif"},
        TUsageCase{"UnknownLayout", {"--layout", "card", "a", "b"}, "tray-card"}),
    [](const auto& Info) { return Info.param.Name; });

// OUTPUT's ending, checked before anything is read or written.
TEST_F(TrayCardAndCutTest, AnOutputOfAnotherEndingIsAUsageErrorAndWritesNothing) {
    const std::string Input = Scan("back.jpg", 300, 240);
    for (const std::string Name : {"inlay.gif", "inlay", "inlay.jpg.txt", "inlay."}) {
        const std::string Output = Dir.File(Name);
        const TProgramRun Run = RunCompose({Input, Output});
        EXPECT_EQ(Run.ExitCode, ExitUsage) << Name;
        EXPECT_THAT(Run.Err, HasSubstr("OUTPUT must end in .jpg, .jpeg, .ppm, .pdf, .png, .tif "
                                       "or .tiff"))
            << Name;
        EXPECT_FALSE(std::filesystem::exists(Output)) << Name;
    }
    // Every ending named, in any case, is taken.
    for (const std::string Name : {"a.JPG", "a.Jpeg", "a.PPM", "a.Png", "a.TIF", "a.tiff"}) {
        const TProgramRun Run = RunCompose({Input, Dir.File(Name)});
        EXPECT_EQ(Run.ExitCode, ExitSuccess) << Name << ": " << Run.Err;
    }
    // A device is written whatever its name, as before.
    EXPECT_EQ(RunCompose({Input, "/dev/null"}).ExitCode, ExitSuccess);
}

TEST_F(TrayCardAndCutTest, TrayCardKeepsEveryColumnAndOnlyNormalises) {
    // 1208 x 1000: 1208 * 1175 / 1510 = 940 rows, every column of the picture kept.
    const std::string Input = Scan("card.jpg", 1208, 1000);
    for (const std::string Extension : {".ppm", ".jpg"}) {
        const std::string Output = Dir.File("card-inlay" + Extension);
        const TProgramRun Run = RunCompose({"--layout", "tray-card", Input, Output});
        ASSERT_EQ(Run.ExitCode, ExitSuccess) << Run.Err;
    }
    ExpectPpmIs(Dir.File("card-inlay.ppm"), Input, TInlayRequest{TInlayLayout::TrayCard, 0, {}});
    int Width = 0, Height = 0;
    PpmPixels(Dir.File("card-inlay.ppm"), Width, Height);
    EXPECT_EQ(Width, 1208);
    EXPECT_EQ(Height, 940);
}

// --cut composes as a cut moved in the window: the fast way (a JPEG to PPM) and the full way
// (to TIFF, read back here through the picture registry) alike, --spine scaling the strip.
TEST_F(TrayCardAndCutTest, CutComposesAsAMovedCut) {
    RegisterCodecPictures();
    const std::string Input = Scan("wrap.jpg", 1425, 600); // A = 5, own strip 30 wide at 697
    const TSpineCut Cut{720, 750};
    for (const int Spine : {0, 20, -15}) {
        const std::string Ppm = Dir.File("cut" + std::to_string(Spine) + ".ppm");
        const TProgramRun Run =
            RunCompose({"--cut", "720:750", "--spine", std::to_string(Spine), Input, Ppm});
        ASSERT_EQ(Run.ExitCode, ExitSuccess) << Run.Err;
        ExpectPpmIs(Ppm, Input, TInlayRequest{TInlayLayout::BackAndFront, double(Spine), Cut});
    }
    const std::string Tiff = Dir.File("cut.tif");
    ASSERT_EQ(RunCompose({"--cut", "720:750", "--spine", "20", Input, Tiff}).ExitCode, 0);
    TBitmap32 Read;
    Read.LoadPictureFile(Tiff);
    int Width = 0, Height = 0;
    const std::vector<TColor32> Pixels = PpmPixels(Dir.File("cut20.ppm"), Width, Height);
    ASSERT_EQ(Read.Width(), Width);
    ASSERT_EQ(Read.Height(), Height);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            ASSERT_EQ(Read.Pixel(X, Y) & 0xFFFFFF, Pixels[std::size_t(Y) * Width + X])
                << "pixel (" << X << ", " << Y << ")";
}

// A cut the picture cannot take is a usage error of that file: exit 2, a reason, nothing written.
TEST_F(TrayCardAndCutTest, ACutThePictureCannotTakeWritesNothing) {
    const std::string Input = Scan("wrap.jpg", 1425, 600); // own strip 30: 8 to 90 columns
    struct TCase {
        const char* Cut;
        const char* Reason;
    };
    for (const TCase C : {TCase{"1400:1430", "lies outside the picture, which is 1425 columns"},
                          TCase{"700:707", "is 7 columns wide; a spine of this picture is 8 to "
                                           "90 columns wide"},
                          TCase{"600:691", "is 91 columns wide"}}) {
        // A PDF's cut is checked before its writer starts: refused the same, without a writer.
        for (const std::string Extension : {".jpg", ".png", ".pdf"}) {
            const std::string Output = Dir.File(std::string("refused") + Extension);
            const TProgramRun Run = RunCompose({"--cut", C.Cut, Input, Output});
            EXPECT_EQ(Run.ExitCode, ExitUsage) << C.Cut << Extension;
            EXPECT_THAT(Run.Err, HasSubstr(std::string("--cut: The cut ") + C.Cut)) << Extension;
            EXPECT_THAT(Run.Err, HasSubstr(C.Reason)) << Extension;
            EXPECT_FALSE(std::filesystem::exists(Output)) << C.Cut << Extension;
        }
    }
    // The widest and narrowest cuts allowed are taken.
    EXPECT_EQ(RunCompose({"--cut", "700:708", Input, Dir.File("narrow.jpg")}).ExitCode, 0);
    EXPECT_EQ(RunCompose({"--cut", "600:690", Input, Dir.File("wide.jpg")}).ExitCode, 0);
}
