#include "compose_cli/ComposeCommand.h"
#include "compose_cli/PrintSheetHelper.h"

#include "composer/SpineFinder.h"
#include "composer/TrayCard.h"
#include "composer/TrayInlay.h"
#include "jpeg_bridge/JpegFile.h"
#include "raster/Orientation.h"
#include "raster/QuarterTurn.h"

#include "tests/compose_cli/ReportLines.h"
#include "tests/support/BitmapSamples.h"
#include "tests/support/ExifFixtures.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/MadeCovers.h"
#include "tests/support/MadeScans.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using testing::ElementsAre;
using testing::HasSubstr;

extern char** environ;

namespace {

// Runs the built trayvane-compose with Arguments.
TProgramRun RunExecutable(const std::vector<std::string>& Arguments) {
    std::vector<std::string> Argv{TRAYVANE_COMPOSE_EXECUTABLE};
    Argv.insert(Argv.end(), Arguments.begin(), Arguments.end());
    return RunProgram(Argv);
}

// Runs the built trayvane-compose with Arguments and its standard output a pipe, as in
// "trayvane-compose in.jpg /dev/stdout | ..."; gives what came through the pipe.
std::vector<std::uint8_t> RunIntoPipe(const std::vector<std::string>& Arguments, int& ExitCode) {
    std::vector<std::string> Words{TRAYVANE_COMPOSE_EXECUTABLE};
    Words.insert(Words.end(), Arguments.begin(), Arguments.end());
    std::vector<char*> Argv;
    for (auto& W : Words)
        Argv.push_back(W.data());
    Argv.push_back(nullptr);
    int Pipe[2];
    if (::pipe(Pipe) != 0)
        return {};
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_adddup2(&Actions, Pipe[1], 1);
    posix_spawn_file_actions_addclose(&Actions, Pipe[0]);
    pid_t Child = 0;
    const bool Started = posix_spawn(&Child, Argv[0], &Actions, nullptr, Argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&Actions);
    ::close(Pipe[1]);
    std::vector<std::uint8_t> Received;
    std::uint8_t Buffer[4096];
    for (ssize_t Count; (Count = ::read(Pipe[0], Buffer, sizeof Buffer)) > 0;)
        Received.insert(Received.end(), Buffer, Buffer + Count);
    ::close(Pipe[0]);
    int Status = 0;
    ExitCode = Started && ::waitpid(Child, &Status, 0) == Child && WIFEXITED(Status)
                   ? WEXITSTATUS(Status)
                   : -1;
    return Received;
}

struct TPpm {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Rgb;
};

TPpm ReadPpm(const std::string& FileName) {
    const auto Bytes = ReadFileBytes(FileName);
    std::istringstream Header(std::string(Bytes.begin(), Bytes.end()));
    std::string Magic;
    int MaxValue = 0;
    TPpm Ppm;
    Header >> Magic >> Ppm.Width >> Ppm.Height >> MaxValue;
    EXPECT_EQ(Magic, "P6");
    EXPECT_EQ(MaxValue, 255);
    const auto Start = static_cast<std::size_t>(Header.tellg()) + 1;
    Ppm.Rgb.assign(Bytes.begin() + static_cast<std::ptrdiff_t>(Start), Bytes.end());
    EXPECT_EQ(Ppm.Rgb.size(), std::size_t(Ppm.Width) * Ppm.Height * 3);
    return Ppm;
}

// The PPM file holds exactly Inlay's pixels.
void ExpectPpmIsInlay(const std::string& PpmFile, const TBitmap32& Inlay) {
    const TPpm Ppm = ReadPpm(PpmFile);
    ASSERT_EQ(Ppm.Width, Inlay.Width());
    ASSERT_EQ(Ppm.Height, Inlay.Height());
    int Wrong = 0;
    for (int Y = 0; Y < Inlay.Height(); ++Y)
        for (int X = 0; X < Inlay.Width(); ++X) {
            const std::uint8_t* P = Ppm.Rgb.data() + (std::size_t(Y) * Ppm.Width + X) * 3;
            const TColor32 Got = (TColor32(P[0]) << 16) | (TColor32(P[1]) << 8) | P[2];
            if (Got != (Inlay.Pixel(X, Y) & 0xFFFFFF) && ++Wrong <= 5)
                ADD_FAILURE() << "pixel (" << X << ", " << Y << ") is " << std::hex << Got
                              << ", expected " << (Inlay.Pixel(X, Y) & 0xFFFFFF);
        }
}

// The inlay the window would show for a file, layout and spine.
void ExpectPpmIsInlayOf(const std::string& PpmFile, const std::string& Input, bool BackAndFront,
                        int Spine) {
    TBitmap32 Picture, Inlay;
    LoadJpegFile(&Picture, Input);
    ComposeTrayInlay(Picture, BackAndFront, Spine, Inlay);
    ExpectPpmIsInlay(PpmFile, Inlay);
}

class ComposeCommandTest : public testing::Test {
protected:
    TTempFolder Dir;

    std::string Scan(const std::string& Name, int Width, int Height, std::uint32_t Seed = 1) {
        const std::string Path = Dir.File(Name);
        WriteFileBytes(Path, EncodeJpeg(NoiseImage(Width, Height, 3, Seed), TFixtureColor::YCbCr));
        return Path;
    }
};

// Whether the PDF writer was built beside the batch command: builds without Qt, and the build
// of the tests that run threads, have none, and their PDF outputs fail as the README says.
bool PdfWriterBuilt() {
    return std::filesystem::exists(std::filesystem::path(TRAYVANE_COMPOSE_EXECUTABLE)
                                       .replace_filename("trayvane-print-sheet"));
}

} // namespace

TEST(ComposeArgumentsTest, AcceptedForms) {
    const TComposeOptions A = ParseComposeArguments({"in.jpg", "out.jpg"});
    EXPECT_EQ(A.Layout, std::nullopt);
    EXPECT_EQ(A.Spine, 0);
    EXPECT_THAT(A.Inputs, ElementsAre("in.jpg"));
    EXPECT_EQ(A.Output, "out.jpg");
    EXPECT_TRUE(A.OutputDir.empty());

    const TComposeOptions B = ParseComposeArguments(
        {"--layout", "back-and-front", "--spine=-15", "--output-dir", "/o", "a.jpg", "b.jpg"});
    EXPECT_EQ(B.Layout, TInlayLayout::BackAndFront);
    EXPECT_EQ(B.Spine, -15);
    EXPECT_EQ(B.OutputDir, "/o");
    EXPECT_THAT(B.Inputs, ElementsAre("a.jpg", "b.jpg"));

    const TComposeOptions C =
        ParseComposeArguments({"in.jpg", "--spine", "+20", "--layout=back", "--", "-out.ppm"});
    EXPECT_EQ(C.Layout, TInlayLayout::Back);
    EXPECT_EQ(C.Spine, 20);
    EXPECT_EQ(C.Output, "-out.ppm");

    EXPECT_FALSE(C.FindSpine);
    EXPECT_TRUE(ParseComposeArguments({"a.png", "--find-spine", "b.jpg"}).FindSpine);

    EXPECT_TRUE(ParseComposeArguments({"--help"}).ShowHelp);
    EXPECT_TRUE(ParseComposeArguments({"x", "--version"}).ShowVersion);

    EXPECT_FALSE(C.Scan.Asked());
    for (const int Degrees : {0, 90, 180, 270}) {
        const TComposeOptions R =
            ParseComposeArguments({"--rotate", std::to_string(Degrees), "a.jpg", "b.jpg"});
        EXPECT_EQ(R.Scan.Rotate, Degrees);
        EXPECT_FALSE(R.Scan.Straighten);
    }
    const TComposeOptions S = ParseComposeArguments({"a.jpg", "--straighten", "--rotate=270", "b"});
    EXPECT_TRUE(S.Scan.Straighten);
    EXPECT_EQ(S.Scan.Rotate, 270);
}

TEST(ComposeArgumentsTest, UsageErrors) {
    const std::vector<std::vector<std::string>> Cases = {
        {},
        {"in.jpg"},
        {"a.jpg", "b.jpg", "c.jpg"},
        {"--output-dir", "/o"},
        {"--output-dir"},
        {"--output-dir="},
        {"--spine", "7", "a", "b"},
        {"--spine", "25", "a", "b"},
        {"--spine", "-25", "a", "b"},
        {"--spine", "5.0", "a", "b"},
        {"--spine", "", "a", "b"},
        {"--spine"},
        {"--layout", "front", "a", "b"},
        {"--quality", "90", "a", "b"},
        {"-x", "a", "b"},
        {"--help=yes"},
        {"--find-spine=yes", "a", "b"},
        {"--rotate", "45", "a", "b"},
        {"--rotate", "-90", "a", "b"},
        {"--rotate", "360", "a", "b"},
        {"--rotate", "90.0", "a", "b"},
        {"--rotate", "", "a", "b"},
        {"--rotate"},
        {"--straighten=yes", "a", "b"},
    };
    for (const auto& Arguments : Cases)
        EXPECT_THROW(ParseComposeArguments(Arguments), EUsageError)
            << testing::PrintToString(Arguments);
}

TEST(ComposeArgumentsTest, BatchOutputNames) {
    EXPECT_EQ(BatchOutputName("/out", "/scans/cover.jpg"), "/out/cover-inlay.jpg");
    EXPECT_EQ(BatchOutputName("/out/", "cover.JPEG"), "/out/cover-inlay.jpg");
    EXPECT_EQ(BatchOutputName("out", "a.b/c"), "out/c-inlay.jpg");
    EXPECT_EQ(BatchOutputName("out", "x.tar.jpg"), "out/x.tar-inlay.jpg");
}

TEST_F(ComposeCommandTest, LayoutIsChosenByProportionsOrByTheOption) {
    const std::string Wrap = Scan("wrap.jpg", 600, 300);
    const std::string Back = Scan("back.jpg", 300, 240);
    struct TCase {
        std::vector<std::string> Options;
        std::string Input;
        bool BackAndFront;
        int Spine;
    };
    const TCase Cases[] = {
        {{}, Wrap, true, 0},
        {{}, Back, false, 0},
        {{"--layout", "back"}, Wrap, false, 0},
        {{"--layout=back-and-front"}, Back, true, 0},
        {{"--spine", "20"}, Wrap, true, 20},
        {{"--spine", "-20", "--layout", "auto"}, Back, false, -20},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(testing::PrintToString(C.Options) + " " + C.Input);
        std::vector<std::string> Arguments = C.Options;
        Arguments.push_back(C.Input);
        Arguments.push_back(Dir.File("inlay.PPM"));
        const TProgramRun Run = RunExecutable(Arguments);
        ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
        EXPECT_EQ(WithoutLowResolutionLines(Run.Err), "");
        ExpectPpmIsInlayOf(Dir.File("inlay.PPM"), C.Input, C.BackAndFront, C.Spine);
    }
}

// An inlay that prints below 150 dpi is written all the same, and standard error says so in the
// window's words, whichever way and whatever output it took; one of 150 dpi and more says nothing.
TEST_F(ComposeCommandTest, ALowResolutionInlayIsWrittenWithTheWindowsWarning) {
    const std::string Small = Scan("small.jpg", 600, 300);
    const std::string Sharp = Scan("sharp.jpg", 2400, 800);
    const int SmallDpi =
        TrayCardDensity(ComputeInlayGeometry(600, 300, true, 0).ComposedWidth).RoundedDotsPerInch();
    ASSERT_LT(SmallDpi, LowResolutionDotsPerInch);
    const std::string Warning = "trayvane-compose: " + Small +
                                ": Low resolution: " + std::to_string(SmallDpi) +
                                " dpi at tray-card size\n";
    for (const std::string Output : {"inlay.jpg", "inlay.ppm", "inlay.pdf"}) {
        if (Output.ends_with(".pdf") && !PdfWriterBuilt())
            continue;
        SCOPED_TRACE(Output);
        TProgramRun Run = RunExecutable({Small, Dir.File(Output)});
        EXPECT_EQ(Run.ExitCode, 0);
        EXPECT_EQ(Run.Err, Warning);
        EXPECT_TRUE(std::filesystem::exists(Dir.File(Output)));
        Run = RunExecutable({"--find-spine", Small, Dir.File(Output)}); // the full way
        EXPECT_EQ(Run.ExitCode, 0);
        EXPECT_THAT(Run.Err, HasSubstr(Warning));
        Run = RunExecutable({Sharp, Dir.File(Output)});
        EXPECT_EQ(Run.ExitCode, 0);
        EXPECT_EQ(Run.Err, "");
    }
}

TEST_F(ComposeCommandTest, JpegOutputIsQuality95AndPrintsAt151Millimetres) {
    const std::string Wrap = Scan("wrap.jpg", 600, 300);
    const TProgramRun Run = RunExecutable({Wrap, Dir.File("inlay.jpg")});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    const TInlayGeometry G = ComputeInlayGeometry(600, 300, true, 0);
    const TDecodedJpeg Decoded = DecodeJpeg(ReadFileBytes(Dir.File("inlay.jpg")));
    ASSERT_TRUE(Decoded.Ok);
    EXPECT_EQ(Decoded.Width, G.ComposedWidth);
    EXPECT_EQ(Decoded.Height, G.NormalHeight);
    EXPECT_EQ(Decoded.DensityUnit, 1);
    EXPECT_EQ(Decoded.XDensity, TrayCardDensity(Decoded.Width).RoundedDotsPerInch());

    // The same inlay saved in-process at quality 95 gives the same bytes.
    TBitmap32 Picture, Inlay;
    LoadJpegFile(&Picture, Wrap);
    ComposeTrayInlay(Picture, TInlayLayout::BackAndFront, 0, Inlay);
    SaveJpegFile(Inlay, Dir.File("expected.jpg"), InlaySaveQuality, TrayCardDensity(Inlay.Width()));
    EXPECT_TRUE(ReadFileBytes(Dir.File("inlay.jpg")) == ReadFileBytes(Dir.File("expected.jpg")));
}

TEST_F(ComposeCommandTest, BadFileInTheMiddleOfABatchFailsAloneWithItsError) {
    const std::string First = Scan("first.jpg", 400, 200, 1);
    const std::string Bad = Dir.File("bad.jpg");
    WriteFileBytes(Bad, RandomBytes(3000, 9));
    const std::string Last = Scan("last.jpeg", 200, 200, 2);
    std::filesystem::create_directory(Dir.File("out"));

    const TProgramRun Run = RunExecutable({"--output-dir", Dir.File("out"), First, Bad, Last});
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_EQ(Run.Out, "");
    EXPECT_EQ(WithoutLowResolutionLines(Run.Err),
              "trayvane-compose: " + Bad + ": Error reading parameters of image:\n" + Bad +
                  "\nError: The file holds no JPEG data\nIJL Error number: -12\n");
    std::vector<std::string> Outputs;
    for (const auto& Entry : std::filesystem::directory_iterator(Dir.File("out")))
        Outputs.push_back(Entry.path().filename().string());
    std::sort(Outputs.begin(), Outputs.end());
    EXPECT_THAT(Outputs, ElementsAre("first-inlay.jpg", "last-inlay.jpg"));
    EXPECT_EQ(DecodeJpeg(ReadFileBytes(Dir.File("out/last-inlay.jpg"))).Width,
              ComputeInlayGeometry(200, 200, false, 0).ComposedWidth);
}

TEST_F(ComposeCommandTest, OutputsNeverReplaceInputsOrEachOther) {
    std::filesystem::create_directory(Dir.File("a"));
    std::filesystem::create_directory(Dir.File("b"));
    const std::string A = Scan("a/cover.jpg", 300, 200, 1);
    const std::string B = Scan("b/cover.jpg", 300, 200, 2);
    const auto Scanned = ReadFileBytes(A);

    TProgramRun Run = RunExecutable({A, Dir.File("a/../a/cover.jpg")});
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_THAT(Run.Err, HasSubstr("is an input or another output of this run"));
    EXPECT_TRUE(ReadFileBytes(A) == Scanned) << "the scan was replaced";

    Run = RunExecutable({"--output-dir", Dir.Path().string(), A, B});
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_EQ(WithoutLowResolutionLines(Run.Err),
              "trayvane-compose: " + B + ": The output \"" + Dir.Path().string() +
                  "/cover-inlay.jpg\" is an input or another output of this run\n");
    const TDecodedJpeg First = DecodeJpeg(ReadFileBytes(Dir.File("cover-inlay.jpg")));
    EXPECT_TRUE(First.Ok) << "the first output stays";
}

// An output that is no regular file is written into, never replaced: the inlay goes down the pipe.
TEST_F(ComposeCommandTest, TheInlayCanBeWrittenToStandardOutput) {
    const std::string Input = Scan("cover.jpg", 300, 200);
    for (const char* Output : {"/dev/stdout", "/dev/fd/1"}) {
        SCOPED_TRACE(Output);
        int ExitCode = -1;
        const std::vector<std::uint8_t> Piped = RunIntoPipe({Input, Output}, ExitCode);
        EXPECT_EQ(ExitCode, 0);
        const TDecodedJpeg Inlay = DecodeJpeg(Piped);
        ASSERT_TRUE(Inlay.Ok) << Piped.size() << " bytes came through the pipe";
        EXPECT_EQ(Inlay.Width, ComputeInlayGeometry(300, 200, false, 0).ComposedWidth);
    }
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

// A link to the input, or a second hard link to it, is the input under another name.
TEST_F(ComposeCommandTest, AnInputUnderAnotherNameIsNeverReplaced) {
    const std::string Input = Scan("cover.jpg", 300, 200);
    const auto Scanned = ReadFileBytes(Input);
    std::filesystem::create_hard_link(Input, Dir.File("hard.jpg"));
    std::filesystem::create_symlink("cover.jpg", Dir.File("soft.jpg"));
    for (const char* Name : {"hard.jpg", "soft.jpg"}) {
        SCOPED_TRACE(Name);
        const TProgramRun Run = RunExecutable({Input, Dir.File(Name)});
        EXPECT_EQ(Run.ExitCode, 1);
        EXPECT_THAT(Run.Err, HasSubstr("is an input or another output of this run"));
        EXPECT_TRUE(ReadFileBytes(Input) == Scanned) << "the scan was replaced";
    }
}

// A 17 KB JPEG of 65500 x 1 pixels would compose to an inlay of 6.45 GB: refused at once.
TEST_F(ComposeCommandTest, AnInlayTooBigToHoldFailsTheFile) {
    const std::string Thin = Dir.File("thin.jpg");
    WriteFileBytes(Thin, EncodeJpeg(GradientImage(65500, 1, 3), TFixtureColor::YCbCr));
    for (const char* Layout : {"auto", "back"}) {
        SCOPED_TRACE(Layout);
        const TProgramRun Run = RunExecutable({"--layout", Layout, Thin, Dir.File("inlay.jpg")});
        EXPECT_EQ(Run.ExitCode, 1);
        EXPECT_THAT(Run.Err, testing::MatchesRegex(
                                 "trayvane-compose: .*thin.jpg: The inlay would be [0-9]+ x [0-9]+ "
                                 "pixels, more than the largest picture held \\(65500 pixels a "
                                 "side, 134217728 in all\\)\n"));
        EXPECT_FALSE(std::filesystem::exists(Dir.File("inlay.jpg")));
    }
}

TEST_F(ComposeCommandTest, HelpVersionAndUsageErrors) {
    TProgramRun Run = RunExecutable({"--help"});
    EXPECT_EQ(Run.ExitCode, 0);
    EXPECT_EQ(Run.Out, ComposeUsageText());
    Run = RunExecutable({"--version"});
    EXPECT_EQ(Run.ExitCode, 0);
    EXPECT_EQ(Run.Out, "trayvane-compose 1.0.0\n");
    Run = RunExecutable({"--spine", "7", "a.jpg", "b.jpg"});
    EXPECT_EQ(Run.ExitCode, 2);
    EXPECT_EQ(Run.Out, "");
    EXPECT_THAT(Run.Err, HasSubstr("trayvane-compose: --spine takes -20, -15"));
    EXPECT_THAT(Run.Err, HasSubstr("Usage: trayvane-compose"));
    Run = RunExecutable({"--output-dir", Dir.File("nowhere"), "a.jpg"});
    EXPECT_EQ(Run.ExitCode, 2);
    EXPECT_THAT(Run.Err, HasSubstr("no folder"));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("b.jpg")));

    // A turn that is no quarter turn: nothing is written, also where a real input exists.
    TBitmap32 Cover;
    MakeCover(WiderBackCover(), Cover);
    SaveJpegFile(Cover, Dir.File("cover.jpg"), 95);
    Run = RunExecutable({"--rotate", "45", Dir.File("cover.jpg"), Dir.File("b.jpg")});
    EXPECT_EQ(Run.ExitCode, 2);
    EXPECT_THAT(Run.Err, HasSubstr("--rotate takes 0, 90, 180 or 270, not \"45\""));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("b.jpg")));
}

// Done when: a wrap-around scanned sideways and tilted on a white lid gives, with --rotate 90 and
// --straighten, the inlay of the card itself: the layout, the spine search and the cut work on the
// turned and straightened card. The PDF writer is handed both options.
TEST_F(ComposeCommandTest, RotateAndStraightenWorkBeforeEverythingElse) {
    TBitmap32 Cover, Sideways, Scan;
    MakeCover(WiderBackCover(), Cover);
    Sideways.CopyFrom(&Cover);
    TurnClockwise(Sideways, 270);
    TScanSetup Setup;
    Setup.TiltDegrees = -1.5;
    MakeScan(Sideways, Setup, Scan);
    const std::string Input = Dir.File("scan.png");
    WriteFileBytes(Input, EncodePng(RgbSamplesOf(Scan)));

    // In the program as in the library: the same pixels.
    TBitmap32 Prepared, Expected;
    Prepared.CopyFrom(&Scan);
    const TCardFinding Finding = PrepareScan(Prepared, TScanPreparation{90, true});
    ASSERT_TRUE(Finding.HasBorder);
    EXPECT_NEAR(Finding.TiltDegrees, -1.5, 0.1);
    const std::optional<TSpineFinding> Found = FindSpine(Prepared, TInlayLayout::BackAndFront);
    ASSERT_TRUE(Found);
    ComposeInlay(Prepared, TInlayRequest{TInlayLayout::Back, 0, Found->Cut}, Expected);
    TProgramRun Run = RunExecutable(
        {"--rotate", "90", "--straighten", "--find-spine", Input, Dir.File("card.ppm")});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_EQ(WithoutLowResolutionLines(Run.Err), "");
    ExpectPpmIsInlay(Dir.File("card.ppm"), Expected);
    // The card's inlay, at the spine found in the card itself.
    TBitmap32 Straight;
    const std::optional<TSpineFinding> InCard = FindSpine(Cover, TInlayLayout::BackAndFront);
    ASSERT_TRUE(InCard);
    ComposeInlay(Cover, TInlayRequest{TInlayLayout::Back, 0, InCard->Cut}, Straight);
    const TPpm Card = ReadPpm(Dir.File("card.ppm"));
    EXPECT_NEAR(Card.Width, Straight.Width(), 0.01 * Straight.Width());
    EXPECT_NEAR(Card.Height, Straight.Height(), 0.01 * Straight.Height());

    // Without the options, the sideways scan composes as it always did: squashed, as a back card.
    Run = RunExecutable({Input, Dir.File("plain.ppm")});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    TBitmap32 Plain;
    ComposeTrayInlay(Scan, TInlayLayout::Back, 0, Plain);
    ExpectPpmIsInlay(Dir.File("plain.ppm"), Plain);

    TPrintSheetJob Job;
    Job.Paper = A4Paper();
    Job.Scan = TScanPreparation{270, true};
    EXPECT_THAT(PrintSheetHelperArguments({"in.png"}, "out.pdf", Job),
                ElementsAre("--layout", "auto", "--spine", "0", "--paper", "a4", "--bleed", "0",
                            "--rotate", "270", "--straighten", "--", "in.png", "out.pdf"));
}

// A card whose design ends in a white frame, on a white lid: its own edge cannot be told from the
// lid, so --straighten cuts at what differs from the lid, and says so on standard error, for the
// JPEG outputs as for the PDF writer's sheet.
TEST_F(ComposeCommandTest, StraighteningSaysWhenTheCardsEdgeCannotBeToldFromTheLid) {
    TBitmap32 Design, Framed, Scan;
    MakeCover(WiderBackCover(), Design);
    constexpr int Frame = 24;
    Framed.SetDimensions(Design.Width() + 2 * Frame, Design.Height() + 2 * Frame);
    Framed.FillAll(0xFFF8F8F8);
    Framed.DrawFrom(TRect{Frame, Frame, Frame + Design.Width(), Frame + Design.Height()},
                    Design.FullArea(), &Design);
    TScanSetup Setup;
    Setup.TiltDegrees = 1;
    MakeScan(Framed, Setup, Scan);
    const std::string Input = Dir.File("framed.png");
    WriteFileBytes(Input, EncodePng(RgbSamplesOf(Scan)));
    const std::string Notice = "trayvane-compose: " + Input +
                               ": the card's edge could not be told from the scanner's lid, so the "
                               "cut follows what differs from the lid\n";
    for (const std::string Output : {"framed.jpg", "framed.pdf"}) {
        if (Output.ends_with(".pdf") && !PdfWriterBuilt())
            continue;
        SCOPED_TRACE(Output);
        const TProgramRun Run = RunExecutable({"--straighten", Input, Dir.File(Output)});
        ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
        EXPECT_EQ(WithoutLowResolutionLines(Run.Err), Notice);
        EXPECT_TRUE(std::filesystem::exists(Dir.File(Output)));
    }
}

// Done when: a wrap-around whose back is wider than its front gets its spine on both sides with
// --find-spine; where none is found, the layout's own cut and a line on standard error.
TEST_F(ComposeCommandTest, FindSpineCutsAtTheSpineOrSaysItFoundNone) {
    TBitmap32 Cover;
    MakeCover(WiderBackCover(), Cover);
    const std::string Input = Dir.File("wrap.png");
    WriteFileBytes(Input, EncodePng(RgbSamplesOf(Cover)));
    const std::optional<TSpineFinding> Found = FindSpine(Cover, TInlayLayout::BackAndFront);
    ASSERT_TRUE(Found);

    TProgramRun Run =
        RunExecutable({"--find-spine", "--spine", "10", Input, Dir.File("inlay.ppm")});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_EQ(WithoutLowResolutionLines(Run.Err), "");
    TBitmap32 Inlay;
    ComposeInlay(Cover, TInlayRequest{TInlayLayout::Back, 10, Found->Cut}, Inlay);
    ExpectPpmIsInlay(Dir.File("inlay.ppm"), Inlay);
    // The spine's dark blue on both sides of the inlay, below the lettering.
    const int B = ScaledSpineCut(Found->Cut, 10, Cover.Width()).Width();
    EXPECT_EQ(Inlay.Pixel(B / 2, Inlay.Height() / 10), 0xFF1E2A44u);
    EXPECT_EQ(Inlay.Pixel(Inlay.Width() - 1 - B / 2, Inlay.Height() * 9 / 10), 0xFF1E2A44u);

    TCoverDesign Plain = WiderBackCover();
    Plain.Spine = Plain.Back;
    Plain.Front = Plain.Back;
    MakeCover(Plain, Cover);
    const std::string Blank = Dir.File("blank.png");
    WriteFileBytes(Blank, EncodePng(RgbSamplesOf(Cover)));
    Run = RunExecutable({"--find-spine", Blank, Dir.File("blank.ppm")});
    EXPECT_EQ(Run.ExitCode, 0);
    EXPECT_EQ(WithoutLowResolutionLines(Run.Err),
              "trayvane-compose: " + Blank + ": no spine found, the layout's own cut is used\n");
    ComposeTrayInlay(Cover, TInlayLayout::BackAndFront, 0, Inlay);
    ExpectPpmIsInlay(Dir.File("blank.ppm"), Inlay);
}

// PNG, TIFF and WebP scans compose as JPEG ones do; a sideways JPEG photo is turned upright first.
TEST_F(ComposeCommandTest, ScansOfEveryKindCompose) {
    TBitmap32 Cover;
    MakeCover(WiderBackCover(), Cover);
    TBitmap32 Expected;
    ComposeTrayInlay(Cover, TInlayLayout::BackAndFront, 0, Expected);
    const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> Files = {
        {"cover.TIFF", EncodeTiff(RgbSamplesOf(Cover), TTiffCompression::Deflate)},
        {"cover.webp", EncodeWebP(RgbSamplesOf(Cover, true), true)},
    };
    for (const auto& [Name, Data] : Files) {
        SCOPED_TRACE(Name);
        WriteFileBytes(Dir.File(Name), Data);
        const TProgramRun Run = RunExecutable({Dir.File(Name), Dir.File("inlay.ppm")});
        ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
        ExpectPpmIsInlay(Dir.File("inlay.ppm"), Expected);
    }

    // Stored turned by 90 degrees clockwise with the tag 8: composed as the upright cover, in the
    // back-and-front layout its upright proportions give.
    TBitmap32 Stored;
    Stored.CopyFrom(&Cover);
    OrientUpright(Stored, 6);
    SaveJpegFile(Stored, Dir.File("sideways.jpg"), 95);
    WriteFileBytes(Dir.File("sideways.jpg"),
                   WithExifOrientation(ReadFileBytes(Dir.File("sideways.jpg")), 8));
    const TProgramRun Run = RunExecutable({Dir.File("sideways.jpg"), Dir.File("photo.ppm")});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    const TPpm Photo = ReadPpm(Dir.File("photo.ppm"));
    EXPECT_EQ(Photo.Width, Expected.Width());
    EXPECT_EQ(Photo.Height, Expected.Height());

    WriteFileBytes(Dir.File("cut.png"), RandomBytes(100, 3));
    const TProgramRun Damaged = RunExecutable({Dir.File("cut.png"), Dir.File("cut.ppm")});
    EXPECT_EQ(Damaged.ExitCode, 1);
    EXPECT_EQ(WithoutLowResolutionLines(Damaged.Err),
              "trayvane-compose: " + Dir.File("cut.png") + ": PNG error: not a PNG file\n");
}

TEST(ComposeArgumentsTest, PrintSheetOptions) {
    const TComposeOptions A = ParseComposeArguments({"in.jpg", "card.pdf"});
    EXPECT_EQ(A.Paper, std::nullopt) << "from the locale";
    EXPECT_EQ(A.Bleed, 0.0);
    EXPECT_EQ(A.Format, std::nullopt);

    const TComposeOptions B = ParseComposeArguments(
        {"--paper", "letter", "--bleed=1.5", "--format", "pdf", "--output-dir", "/o", "a.jpg"});
    EXPECT_EQ(B.Paper, LetterPaper());
    EXPECT_EQ(B.Bleed, 1.5);
    EXPECT_EQ(B.Format, TOutputFormat::Pdf);
    EXPECT_EQ(ParseComposeArguments({"--paper=A4", "--bleed", "3", "a", "b.pdf"}).Paper, A4Paper());

    const std::vector<std::vector<std::string>> Errors = {
        {"--paper", "legal", "a", "b.pdf"},
        {"--paper"},
        {"--bleed", "3.01", "a", "b.pdf"},
        {"--bleed", "-0.5", "a", "b.pdf"},
        {"--bleed", "2mm", "a", "b.pdf"},
        {"--bleed", "nan", "a", "b.pdf"},
        {"--format", "gif", "--output-dir", "/o", "a"},
        {"--format", "pdf", "a", "b.pdf"}, // a single OUTPUT's name chooses its format
    };
    for (const auto& Arguments : Errors)
        EXPECT_THROW(ParseComposeArguments(Arguments), EUsageError)
            << testing::PrintToString(Arguments);
}

TEST(ComposeArgumentsTest, OutputFormatsAndBatchNames) {
    EXPECT_EQ(OutputFormatOf("card.pdf"), TOutputFormat::Pdf);
    EXPECT_EQ(OutputFormatOf("CARD.PDF"), TOutputFormat::Pdf);
    EXPECT_EQ(OutputFormatOf("inlay.PPM"), TOutputFormat::Ppm);
    EXPECT_EQ(OutputFormatOf("inlay.jpg"), TOutputFormat::Jpeg);
    EXPECT_EQ(OutputFormatOf("pdf.d/inlay"), TOutputFormat::Jpeg);
    EXPECT_EQ(BatchOutputName("/out", "/scans/cover.jpg", TOutputFormat::Pdf),
              "/out/cover-inlay.pdf");
    EXPECT_EQ(BatchOutputName("/out", "/scans/cover.jpg", TOutputFormat::Ppm),
              "/out/cover-inlay.ppm");
}

// The names an option takes are taken in any case, as --paper takes A4.
TEST(ComposeArgumentsTest, NamesAreTakenInAnyCase) {
    const TComposeOptions Batch = ParseComposeArguments(
        {"--format", "PDF", "--layout", "BACK", "--paper", "A4", "--output-dir", "/o", "a"});
    EXPECT_EQ(Batch.Format, TOutputFormat::Pdf);
    EXPECT_EQ(Batch.Layout, TInlayLayout::Back);
    EXPECT_EQ(ParseComposeArguments({"--layout", "Back-And-Front", "a", "b"}).Layout,
              TInlayLayout::BackAndFront);
    EXPECT_EQ(ParseComposeArguments({"--layout", "Auto", "a", "b"}).Layout, std::nullopt);
    EXPECT_EQ(ParseComposeArguments({"--format", "Ppm", "--output-dir", "/o", "a"}).Format,
              TOutputFormat::Ppm);
}
