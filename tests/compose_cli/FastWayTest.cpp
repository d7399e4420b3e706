// The batch command's fast way against its full way (LoadJpegFile, ComposeTrayInlay, save): the
// same output files byte for byte, the same failure reports, and the same run however many files
// are in flight.

#include "compose_cli/ComposeCommand.h"
#include "compose_cli/RowComposition.h"
#include "tests/compose_cli/ReportLines.h"

#include "composer/TrayCard.h"
#include "jpeg_bridge/JpegRowDecoder.h"

#include "tests/support/ExifFixtures.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestNames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using testing::ElementsAre;

namespace {

std::vector<std::string> SortedEntries(const std::string& Folder) {
    std::vector<std::string> Names;
    for (const auto& Entry : std::filesystem::directory_iterator(Folder))
        Names.push_back(Entry.path().filename().string());
    std::sort(Names.begin(), Names.end());
    return Names;
}

struct TScanCase {
    const char* Name;
    TFixtureColor Color;
    int Components;
    TJpegWriteOptions Options;
    int W, H;
};

const TScanCase ScanCases[] = {
    {"WrapAround", TFixtureColor::YCbCr, 3, {92, false, 0, false}, 611, 297},
    {"BackCard", TFixtureColor::YCbCr, 3, {92, false, 0, false}, 333, 301},
    {"Grey", TFixtureColor::Grey, 1, {}, 405, 203},
    {"Progressive", TFixtureColor::YCbCr, 3, {85, true, 0, false}, 517, 250},
    {"FullChroma", TFixtureColor::YCbCr, 3, {95, false, 0, true}, 299, 287},
    {"RestartMarkers", TFixtureColor::YCbCr, 3, {90, false, 5, false}, 640, 211},
    // A scan just large enough for the fast way to decode it on two threads (JpegSplitMinPixels).
    {"LargeWrapAround", TFixtureColor::YCbCr, 3, {90, false, 0, false}, 2100, 1050},
    // Left to the full way.
    {"Cmyk", TFixtureColor::Cmyk, 4, {}, 300, 150},
};
static_assert(std::uint64_t{2100} * 1050 >= JpegSplitMinPixels, "LargeWrapAround is split");

std::string WriteScan(const TTempFolder& Dir, const TScanCase& C) {
    const std::string File = Dir.File(std::string(C.Name) + ".jpg");
    WriteFileBytes(File, EncodeJpeg(NoiseImage(C.W, C.H, C.Components, 11), C.Color, C.Options));
    return File;
}

class FastWayTest : public testing::TestWithParam<TScanCase> {};

TEST_P(FastWayTest, WritesTheFullWaysBytes) {
    const TScanCase& C = GetParam();
    TTempFolder Dir;
    const std::string Scan = WriteScan(Dir, C);
    struct TSetting {
        std::optional<TInlayLayout> Layout;
        int Spine;
        const char* Extension;
    };
    const TSetting Settings[] = {{std::nullopt, 0, ".jpg"},
                                 {std::nullopt, -15, ".ppm"},
                                 {TInlayLayout::Back, 20, ".jpg"},
                                 {TInlayLayout::BackAndFront, 5, ".ppm"}};
    for (const TSetting& S : Settings) {
        SCOPED_TRACE(std::string("spine ") + std::to_string(S.Spine) + ", " + S.Extension +
                     (S.Layout ? *S.Layout == TInlayLayout::Back ? ", back" : ", back and front"
                               : ", auto"));
        const std::string Full = Dir.File(std::string("full") + S.Extension);
        const std::string Fast = Dir.File(std::string("fast") + S.Extension);
        ComposeFile(Scan, Full, S.Layout, S.Spine);
        const TJpegRowReader Reader(Scan);
        if (Reader.CanDecode()) {
            for (const bool TwoThreads : {false, true}) {
                ComposeByRows(Reader, Fast, S.Layout, S.Spine, TwoThreads);
                ASSERT_TRUE(ReadFileBytes(Fast) == ReadFileBytes(Full))
                    << (TwoThreads ? "two threads" : "one thread");
            }
        }
        TComposeOptions Options;
        Options.Layout = S.Layout;
        Options.Spine = S.Spine;
        ComposeOneFile(Scan, Fast, Options, true);
        ASSERT_TRUE(ReadFileBytes(Fast) == ReadFileBytes(Full)) << "as the command composes it";
    }
}

INSTANTIATE_TEST_SUITE_P(Scans, FastWayTest, testing::ValuesIn(ScanCases),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(FastWayTest, TakenForGreyAndColourScansOnly) {
    TTempFolder Dir;
    for (const TScanCase& C : ScanCases) {
        const TJpegRowReader Reader(WriteScan(Dir, C));
        EXPECT_EQ(TakesFastWay({}, Dir.File("in.jpg"), Dir.File("out.jpg"), Reader),
                  C.Components != 4)
            << C.Name;
    }
}

TEST(FastWayTest, LeavesTurningFindingAndOtherFormatsToTheFullWay) {
    // A colour scan the fast way could decode, under the names and options that only the full
    // way handles: a photo to be turned, a spine to be found, a name that says PNG, TIFF or WebP.
    TTempFolder Dir;
    const std::vector<std::uint8_t> Jpeg =
        EncodeJpeg(NoiseImage(300, 150, 3, 11), TFixtureColor::YCbCr, {});
    struct TCase {
        const char* Name;
        std::vector<std::uint8_t> Data;
        bool FindSpine;
        bool Fast;
        TScanPreparation Scan = {};
    };
    const TCase Cases[] = {
        {"plain.jpg", Jpeg, false, true},
        {"upright.jpg", WithExifOrientation(Jpeg, 1), false, true},
        {"sideways.jpg", WithExifOrientation(Jpeg, 6), false, false},
        {"mirrored.jpg", WithExifOrientation(Jpeg, 2), false, false},
        {"spine.jpg", Jpeg, true, false},
        {"rotated.jpg", Jpeg, false, false, TScanPreparation{90, false}},
        {"straightened.jpg", Jpeg, false, false, TScanPreparation{0, true}},
        {"not-rotated.jpg", Jpeg, false, true, TScanPreparation{0, false}},
        {"named.png", Jpeg, false, false},
        {"named.TIFF", Jpeg, false, false},
        {"named.webp", Jpeg, false, false},
    };
    for (const TCase& C : Cases) {
        const std::string Input = Dir.File(C.Name);
        WriteFileBytes(Input, C.Data);
        TComposeOptions Options;
        Options.FindSpine = C.FindSpine;
        Options.Scan = C.Scan;
        const TJpegRowReader Reader(Input);
        EXPECT_EQ(TakesFastWay(Options, Input, Dir.File("out.jpg"), Reader), C.Fast) << C.Name;
    }
}

// The report the full way gives for a file: what a run of the command printed before the fast
// way existed.
std::string FullWayReport(const std::string& Input, const std::string& Output) {
    try {
        ComposeFile(Input, Output, std::nullopt, 0);
        return "";
    } catch (const std::exception& E) {
        std::string Message = E.what();
        for (std::size_t At = Message.find('\r'); At != std::string::npos;
             At = Message.find('\r', At))
            Message[At] = '\n';
        return "trayvane-compose: " + Input + ": " + Message + "\n";
    }
}

struct TBadCase {
    const char* Name;
    std::function<std::string(const TTempFolder&)> MakeInput; // gives the input's name
    bool OutputFolderMissing;
};

std::vector<std::uint8_t> GoodScan() {
    return EncodeJpeg(NoiseImage(300, 150, 3, 5), TFixtureColor::YCbCr);
}

std::string Write(const TTempFolder& Dir, const std::string& Name, std::vector<std::uint8_t> B) {
    WriteFileBytes(Dir.File(Name), B);
    return Dir.File(Name);
}

class FastWayFailureTest : public testing::TestWithParam<TBadCase> {};

TEST_P(FastWayFailureTest, ReportedAsTheFullWayReportsItAndTheOutputStays) {
    const TBadCase& C = GetParam();
    TTempFolder Dir;
    const std::string Input = C.MakeInput(Dir);
    const std::string Output = C.OutputFolderMissing ? Dir.File("missing/inlay.jpg")
                                                     : Dir.WriteFile("inlay.jpg", "old inlay");
    const std::string Expected = FullWayReport(Input, Output);
    ASSERT_NE(Expected, "") << "the full way fails too";
    if (!C.OutputFolderMissing)
        Dir.WriteFile("inlay.jpg", "old inlay");

    std::ostringstream Out, Err;
    EXPECT_EQ(RunComposeCommand({Input, Output}, Out, Err), ExitFileFailed);
    EXPECT_EQ(Err.str(), Expected);
    if (!C.OutputFolderMissing) {
        const auto Bytes = ReadFileBytes(Output);
        EXPECT_EQ(std::string(Bytes.begin(), Bytes.end()), "old inlay");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FastWayFailureTest,
    testing::Values(
        TBadCase{"Missing", [](const TTempFolder& D) { return D.File("missing.jpg"); }, false},
        TBadCase{"Folder", [](const TTempFolder& D) { return D.Path().string(); }, false},
        TBadCase{"Empty", [](const TTempFolder& D) { return Write(D, "empty.jpg", {}); }, false},
        TBadCase{"Text", [](const TTempFolder& D) { return D.WriteFile("t.jpg", "text"); }, false},
        TBadCase{"CutShort",
                 [](const TTempFolder& D) {
                     auto Bytes = GoodScan();
                     Bytes.resize(Bytes.size() * 2 / 3);
                     return Write(D, "cut.jpg", Bytes);
                 },
                 false},
        TBadCase{"HeaderClaimsAHugePicture",
                 [](const TTempFolder& D) {
                     return Write(D, "huge.jpg", WithFrameSize(GoodScan(), 65000, 65000));
                 },
                 false},
        TBadCase{"NoQuantizationTables",
                 [](const TTempFolder& D) {
                     return Write(D, "noqt.jpg", WithoutSegments(GoodScan(), 0xDB));
                 },
                 false},
        // A composed width of 1 leaves no rows: "No image to save".
        TBadCase{"OneColumn",
                 [](const TTempFolder& D) {
                     return Write(D, "one.jpg",
                                  EncodeJpeg(NoiseImage(1, 40, 3, 1), TFixtureColor::YCbCr));
                 },
                 false},
        TBadCase{"OutputFolderMissing",
                 [](const TTempFolder& D) { return Write(D, "good.jpg", GoodScan()); }, true},
        TBadCase{"CutShortAndOutputFolderMissing",
                 [](const TTempFolder& D) {
                     auto Bytes = GoodScan();
                     Bytes.resize(Bytes.size() / 2);
                     return Write(D, "cut.jpg", Bytes);
                 },
                 true}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(ComposeJobsTest, ReportsAndOutputsDoNotDependOnTheFilesInFlight) {
    TTempFolder Dir;
    std::filesystem::create_directories(Dir.File("a"));
    std::filesystem::create_directories(Dir.File("b"));
    std::filesystem::create_directories(Dir.File("out"));
    std::vector<std::string> Inputs;
    for (int I = 0; I < 4; ++I)
        Inputs.push_back(
            Write(Dir, "scan" + std::to_string(I) + ".jpg",
                  EncodeJpeg(NoiseImage(200 + 37 * I, 120, 3, I), TFixtureColor::YCbCr)));
    Inputs.insert(Inputs.begin() + 1, Dir.WriteFile("bad.jpg", "not a scan"));
    // Two inputs of one name: the second's output would replace the first's.
    Inputs.push_back(Write(Dir, "a/cover.jpg", GoodScan()));
    Inputs.push_back(Write(Dir, "b/cover.jpg", GoodScan()));
    // An input that is the output of an earlier one.
    Inputs.push_back(Dir.File("out/scan0-inlay.jpg"));
    Inputs.push_back(Dir.File("missing.jpg"));

    std::string FirstErr;
    std::vector<std::vector<std::uint8_t>> FirstOutputs;
    for (const char* Jobs : {"1", "3", "8"}) {
        SCOPED_TRACE(std::string("--jobs ") + Jobs);
        std::filesystem::remove_all(Dir.File("out"));
        std::filesystem::create_directories(Dir.File("out"));
        std::vector<std::string> Arguments{"--jobs", Jobs, "--output-dir", Dir.File("out")};
        Arguments.insert(Arguments.end(), Inputs.begin(), Inputs.end());
        std::ostringstream Out, Err;
        EXPECT_EQ(RunComposeCommand(Arguments, Out, Err), ExitFileFailed);
        std::vector<std::vector<std::uint8_t>> Outputs;
        for (const std::string& Name : SortedEntries(Dir.File("out")))
            Outputs.push_back(ReadFileBytes(Dir.File("out/" + Name)));
        if (FirstOutputs.empty()) {
            FirstErr = WithoutLowResolutionLines(Err.str());
            FirstOutputs = Outputs;
            EXPECT_THAT(SortedEntries(Dir.File("out")),
                        ElementsAre("cover-inlay.jpg", "scan0-inlay-inlay.jpg", "scan0-inlay.jpg",
                                    "scan1-inlay.jpg", "scan2-inlay.jpg", "scan3-inlay.jpg"));
            // The bad file (four lines), the second cover and the missing file (four lines), in
            // the order given.
            EXPECT_EQ(std::count(FirstErr.begin(), FirstErr.end(), '\n'), 4 + 1 + 4) << FirstErr;
            EXPECT_LT(FirstErr.find("bad.jpg"), FirstErr.find("b/cover.jpg"));
            EXPECT_LT(FirstErr.find("b/cover.jpg"), FirstErr.find("missing.jpg"));
        } else {
            EXPECT_EQ(WithoutLowResolutionLines(Err.str()), FirstErr);
            EXPECT_TRUE(Outputs == FirstOutputs);
        }
    }
}

TEST(ComposeJobsTest, JobsOption) {
    EXPECT_EQ(ParseComposeArguments({"a", "b"}).Jobs, 0);
    EXPECT_EQ(ParseComposeArguments({"--jobs", "3", "a", "b"}).Jobs, 3);
    EXPECT_EQ(ParseComposeArguments({"--jobs=1", "--output-dir", "o", "a"}).Jobs, 1);
    for (const char* Bad : {"0", "-2", "two", "", "3x"})
        EXPECT_THROW(ParseComposeArguments({"--jobs", Bad, "a", "b"}), EUsageError) << Bad;
    EXPECT_GE(DefaultJobs(), 1);
    EXPECT_LE(DefaultJobs(), 4);
}

} // namespace
