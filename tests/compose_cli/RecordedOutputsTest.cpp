// What the batch command writes and says for a table of scans, held against what it wrote and said
// when the table was recorded: every output file byte for byte (a PDF without its creation time),
// the exit status and every line on standard error. A change in decoding, composing or writing
// that alters one byte of any output fails here. The loads of the window (LoadCoverPicture) and
// of the picture registry (LoadPictureFile) are held to their recorded pixels the same way.
//
// The scans are made by the fixtures with libjpeg, so the records hold for the libjpeg-turbo the
// project builds with; where a row fails, its message gives the new record to compare.

#include "jpeg_bridge/JPEGImage.h"
#include "picture_codecs/CoverPicture.h"
#include "raster/Bitmap32.h"

#include "tests/compose_cli/ReportLines.h"
#include "tests/support/ExifFixtures.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/MadeCovers.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <regex>

namespace {

// FNV-1a, 64 bits, as 16 hexadecimal digits.
std::string HashOf(const std::uint8_t* Data, std::size_t Size) {
    std::uint64_t Hash = 14695981039346656037ull;
    for (std::size_t I = 0; I < Size; ++I)
        Hash = (Hash ^ Data[I]) * 1099511628211ull;
    char Text[17];
    std::snprintf(Text, sizeof Text, "%016llx", static_cast<unsigned long long>(Hash));
    return Text;
}

std::string HashOfFile(const std::string& File) {
    if (!std::filesystem::exists(File))
        return "none";
    std::vector<std::uint8_t> Data = ReadFileBytes(File);
    // A PDF carries the time it was made; everything else in it must stay.
    if (File.size() > 4 && File.substr(File.size() - 4) == ".pdf") {
        std::string Text(Data.begin(), Data.end());
        Text = std::regex_replace(Text, std::regex(R"(/CreationDate \(D:[0-9Z+'-]*\))"),
                                  "/CreationDate ()");
        Data.assign(Text.begin(), Text.end());
    }
    return HashOf(Data.data(), Data.size());
}

std::vector<std::uint8_t> Jpeg(const TFixtureImage& Image, TFixtureColor Color,
                               const TJpegWriteOptions& Options = {}) {
    return EncodeJpeg(Image, Color, Options);
}

// The made wrap-around with a spine to find, grain on it, as red, green, blue samples.
TFixtureImage CoverImage() {
    TCoverDesign Design = WiderBackCover();
    Design.Noise = 6;
    TBitmap32 Cover;
    MakeCover(Design, Cover);
    TFixtureImage Image{Cover.Width(), Cover.Height(), 3, {}};
    Image.Samples.resize(std::size_t(Image.Width) * Image.Height * 3);
    for (int Y = 0; Y < Image.Height; ++Y)
        for (int X = 0; X < Image.Width; ++X) {
            const TColor32 P = Cover.Pixel(X, Y);
            std::uint8_t* S = Image.At(X, Y);
            S[0] = std::uint8_t(P >> 16);
            S[1] = std::uint8_t(P >> 8);
            S[2] = std::uint8_t(P);
        }
    return Image;
}

// Every scan of the table, by name; written once for all the rows.
std::map<std::string, std::vector<std::uint8_t>> MakeScans() {
    std::map<std::string, std::vector<std::uint8_t>> Scans;
    Scans["back"] = Jpeg(NoiseImage(333, 301, 3, 12), TFixtureColor::YCbCr, {92});
    Scans["wrap"] = Jpeg(NoiseImage(611, 297, 3, 11), TFixtureColor::YCbCr, {92});
    Scans["grey"] = Jpeg(NoiseImage(405, 203, 1, 13), TFixtureColor::Grey);
    Scans["progressive"] =
        Jpeg(NoiseImage(517, 250, 3, 14), TFixtureColor::YCbCr, {85, true, 0, false});
    Scans["restart"] = Jpeg(NoiseImage(640, 211, 3, 17), TFixtureColor::YCbCr, {90, false, 5});
    Scans["fullchroma"] =
        Jpeg(NoiseImage(299, 287, 3, 18), TFixtureColor::YCbCr, {95, false, 0, true});
    Scans["cmyk"] = Jpeg(NoiseImage(300, 150, 4, 15), TFixtureColor::Cmyk);
    Scans["ycck"] = Jpeg(GradientImage(280, 140, 4), TFixtureColor::Ycck);
    const auto Photo = Jpeg(GradientImage(240, 160, 3), TFixtureColor::YCbCr);
    for (int Orientation = 2; Orientation <= 8; ++Orientation)
        Scans["photo" + std::to_string(Orientation)] = WithExifOrientation(Photo, Orientation);
    // Over 2^21 pixels: decoded on two threads where the machine has two cores.
    Scans["large"] = Jpeg(NoiseImage(2100, 1050, 3, 16), TFixtureColor::YCbCr, {90});
    Scans["cover"] = Jpeg(CoverImage(), TFixtureColor::YCbCr, {90});

    const auto& Wrap = Scans["wrap"];
    Scans["cut"] = std::vector<std::uint8_t>(Wrap.begin(), Wrap.begin() + Wrap.size() / 2);
    auto CutWithEnd = std::vector<std::uint8_t>(Wrap.begin(), Wrap.begin() + Wrap.size() * 3 / 5);
    CutWithEnd.push_back(0xFF);
    CutWithEnd.push_back(0xD9);
    Scans["cutwithend"] = CutWithEnd;
    // Bytes before the end marker, as some cameras write: a warning, not damage.
    auto Extraneous = Wrap;
    Extraneous.insert(Extraneous.end() - 2, {0x00, 0x11, 0x22});
    Scans["extraneous"] = Extraneous;
    Scans["empty"] = {};
    const std::string Text = "not a picture";
    Scans["text"] = std::vector<std::uint8_t>(Text.begin(), Text.end());
    Scans["huge"] = WithFrameSize(Wrap, 60000, 60000);
    Scans["twochannel"] = Jpeg(NoiseImage(90, 40, 2, 19), TFixtureColor::TwoChannel);
    Scans["notables"] = WithoutSegments(Wrap, 0xDB);
    return Scans;
}

// The folder of the scans, made for the first test that needs it and kept for the others.
const TTempFolder& ScanFolder() {
    static const std::unique_ptr<TTempFolder> Folder = [] {
        auto Made = std::make_unique<TTempFolder>();
        for (const auto& [Name, Data] : MakeScans())
            WriteFileBytes(Made->File(Name + ".jpg"), Data);
        return Made;
    }();
    return *Folder;
}

struct TRecordedRun {
    const char* Name;
    // Arguments: "@name" is the scan name.jpg, ">name" an output name in a fresh folder, whose
    // bytes are recorded, "%" that fresh folder itself; "=name" is no argument but an output
    // the command names itself in that folder.
    std::vector<std::string> Arguments;
    const char* Recorded; // "exit N", then "NAME HASH" for each output, then the error lines
};

// Runs a row and describes what came of it in the form of its record. Folder names in the
// messages are given as SCANS/ and OUT/.
std::string RunRecorded(const TRecordedRun& Row) {
    const TTempFolder Out;
    std::vector<std::string> Argv{TRAYVANE_COMPOSE_EXECUTABLE};
    std::vector<std::string> Outputs;
    for (const std::string& A : Row.Arguments) {
        if (A[0] == '@') {
            Argv.push_back(ScanFolder().File(A.substr(1) + ".jpg"));
        } else if (A[0] == '>') {
            Argv.push_back(Out.File(A.substr(1)));
            Outputs.push_back(A.substr(1));
        } else if (A[0] == '=') {
            Outputs.push_back(A.substr(1));
        } else if (A == "%") {
            Argv.push_back(Out.Path().string());
        } else {
            Argv.push_back(A);
        }
    }
    const TProgramRun Run = RunProgram(Argv);
    std::string Result = "exit " + std::to_string(Run.ExitCode);
    for (const std::string& Name : Outputs)
        Result += " | " + Name + " " + HashOfFile(Out.File(Name));
    // The low-resolution warning of the small scans is told apart from the records.
    std::string Err = WithoutLowResolutionLines(Run.Err);
    for (const auto& [Folder, Mark] : {std::pair{ScanFolder().Path().string() + "/", "SCANS/"},
                                       std::pair{Out.Path().string() + "/", "OUT/"}})
        for (std::size_t At; (At = Err.find(Folder)) != std::string::npos;)
            Err.replace(At, Folder.size(), Mark);
    // Lines end in "|".
    std::replace(Err.begin(), Err.end(), '\n', '|');
    if (!Err.empty())
        Result += " | " + Err;
    return Result;
}

class RecordedOutputsTest : public testing::TestWithParam<TRecordedRun> {};

TEST_P(RecordedOutputsTest, AreAsRecorded) {
    const TRecordedRun& Row = GetParam();
    const std::string Got = RunRecorded(Row);
    EXPECT_EQ(Got, Row.Recorded) << "new record: \"" << Got << "\"";
}

// clang-format off
const TRecordedRun RecordedRuns[] = {
    {"BackCardJpeg", {"@back", ">o.jpg"},
     "exit 0 | o.jpg 5f22f43d11fb0563"},
    {"BackCardPpm", {"@back", ">o.ppm"},
     "exit 0 | o.ppm cf03270d38ecfe04"},
    {"WrapAroundJpeg", {"@wrap", ">o.jpg"},
     "exit 0 | o.jpg a6e20130870bd955"},
    {"WrapAroundNarrowSpinePpm", {"--spine", "-15", "@wrap", ">o.ppm"},
     "exit 0 | o.ppm 0be7dbe2c886a3da"},
    {"WrapAroundAsBackWideSpine", {"--layout", "back", "--spine", "20", "@wrap", ">o.jpg"},
     "exit 0 | o.jpg cbe847e57ec3c9d0"},
    {"Grey", {"@grey", ">o.jpg"},
     "exit 0 | o.jpg 2db35f0bf7b13bc2"},
    {"GreyPpm", {"@grey", ">o.ppm"},
     "exit 0 | o.ppm d389cc4985df502b"},
    {"Progressive", {"@progressive", ">o.jpg"},
     "exit 0 | o.jpg 3072a9fc5f095d72"},
    {"RestartMarkers", {"@restart", ">o.jpg"},
     "exit 0 | o.jpg efec972f80bcd79b"},
    {"FullChroma", {"@fullchroma", ">o.jpg"},
     "exit 0 | o.jpg 4132f5180f1ee5ee"},
    {"Cmyk", {"@cmyk", ">o.jpg"},
     "exit 0 | o.jpg 79208f08f7df7e52"},
    {"YcckPpm", {"@ycck", ">o.ppm"},
     "exit 0 | o.ppm cafd3b482cc47daa"},
    {"Orientation2", {"@photo2", ">o.ppm"},
     "exit 0 | o.ppm 59445127da04c8cf"},
    {"Orientation3", {"@photo3", ">o.ppm"},
     "exit 0 | o.ppm 66f83c6f91faf560"},
    {"Orientation4", {"@photo4", ">o.ppm"},
     "exit 0 | o.ppm 52ed34b8c79d97dd"},
    {"Orientation5", {"@photo5", ">o.ppm"},
     "exit 0 | o.ppm 0555b772f187d1f7"},
    {"Orientation6", {"@photo6", ">o.ppm"},
     "exit 0 | o.ppm d388f333bebc7596"},
    {"Orientation7", {"@photo7", ">o.ppm"},
     "exit 0 | o.ppm 1c9454d0cff8a332"},
    {"Orientation8", {"@photo8", ">o.ppm"},
     "exit 0 | o.ppm 051a629011b41018"},
    {"Orientation6Jpeg", {"@photo6", ">o.jpg"},
     "exit 0 | o.jpg 4c3002b4e7a16b4a"},
    {"LargeFastWay", {"@large", ">o.jpg"},
     "exit 0 | o.jpg bd4cdd19a9007af5"},
    {"LargeFullWay", {"--find-spine", "@large", ">o.jpg"},
     "exit 0 | o.jpg bd4cdd19a9007af5 | trayvane-compose: SCANS/large.jpg: no spine found, the layout's own cut is used|"},
    {"FindSpine", {"--find-spine", "@cover", ">o.jpg"},
     "exit 0 | o.jpg aad4ac7c65b6e7b8"},
    {"FindSpineNarrowPpm", {"--find-spine", "--spine", "-10", "@cover", ">o.ppm"},
     "exit 0 | o.ppm 80922e232540a2d5"},
    {"BatchTwoJobs", {"--jobs", "2", "--output-dir", "%", "@back", "@wrap", "@grey", "@cmyk",
                      "@photo6", "=back-inlay.jpg", "=wrap-inlay.jpg", "=grey-inlay.jpg",
                      "=cmyk-inlay.jpg", "=photo6-inlay.jpg"},
     "exit 0 | back-inlay.jpg 5f22f43d11fb0563 | wrap-inlay.jpg a6e20130870bd955 | grey-inlay.jpg 2db35f0bf7b13bc2 | cmyk-inlay.jpg 79208f08f7df7e52 | photo6-inlay.jpg 4c3002b4e7a16b4a"},
    {"BatchOneJobPpm", {"--jobs", "1", "--format", "ppm", "--output-dir", "%", "@large",
                        "@progressive", "=large-inlay.ppm", "=progressive-inlay.ppm"},
     "exit 0 | large-inlay.ppm c044a8dac2b750c5 | progressive-inlay.ppm 525c5bb599e24ea3"},
#ifdef TRAYVANE_PDF_OUTPUTS
    {"PrintSheet", {"--paper", "a4", "@wrap", ">o.pdf"},
     "exit 0 | o.pdf 4f799a3111cf30bc"},
    {"PrintSheetTurnedWithBleed", {"--paper", "letter", "--bleed", "2", "@photo3", ">o.pdf"},
     "exit 0 | o.pdf 1ccd0f6c20cfbed1"},
    {"CutShortWithEndMarkerPrintSheet", {"@cutwithend", ">o.pdf"},
     "exit 1 | o.pdf none | trayvane-compose: SCANS/cutwithend.jpg: Corrupt JPEG data: premature end of data segment|"},
    {"CutShortWithEndMarkerAsFrontCover", {"--front", "@cutwithend", "@wrap", ">o.pdf"},
     "exit 1 | o.pdf none | trayvane-compose: SCANS/cutwithend.jpg: Corrupt JPEG data: premature end of data segment|"},
#endif
    {"CutShort", {"@cut", ">o.jpg"},
     "exit 1 | o.jpg none | trayvane-compose: SCANS/cut.jpg: Error reading image:|SCANS/cut.jpg|Error: The JPEG data ends before the picture is complete|IJL Error number: -13|"},
    // Composed into a grey inlay (exit 0, o.jpg 37d1e75cc4d80a34) before damaged data was refused.
    {"CutShortWithEndMarker", {"@cutwithend", ">o.jpg"},
     "exit 1 | o.jpg none | trayvane-compose: SCANS/cutwithend.jpg: Corrupt JPEG data: premature end of data segment|"},
    {"CutShortWithEndMarkerFullWay", {"--find-spine", "@cutwithend", ">o.ppm"},
     "exit 1 | o.ppm none | trayvane-compose: SCANS/cutwithend.jpg: Corrupt JPEG data: premature end of data segment|"},
    {"CutShortWithEndMarkerInABatch", {"--jobs", "2", "--output-dir", "%", "@back",
                                       "@cutwithend", "@grey", "=back-inlay.jpg",
                                       "=cutwithend-inlay.jpg", "=grey-inlay.jpg"},
     "exit 1 | back-inlay.jpg 5f22f43d11fb0563 | cutwithend-inlay.jpg none | grey-inlay.jpg 2db35f0bf7b13bc2 | trayvane-compose: SCANS/cutwithend.jpg: Corrupt JPEG data: premature end of data segment|"},
    {"ExtraneousBytes", {"@extraneous", ">o.jpg"},
     "exit 0 | o.jpg a6e20130870bd955"},
    {"Empty", {"@empty", ">o.jpg"},
     "exit 1 | o.jpg none | trayvane-compose: SCANS/empty.jpg: Error reading parameters of image:|SCANS/empty.jpg|Error: The file holds no JPEG data|IJL Error number: -12|"},
    {"Text", {"@text", ">o.jpg"},
     "exit 1 | o.jpg none | trayvane-compose: SCANS/text.jpg: Error reading parameters of image:|SCANS/text.jpg|Error: The file holds no JPEG data|IJL Error number: -12|"},
    {"HugeFrame", {"@huge", ">o.jpg"},
     "exit 1 | o.jpg none | trayvane-compose: SCANS/huge.jpg: Error reading image:|SCANS/huge.jpg|Error: The picture has more pixels than can be held|IJL Error number: -18|"},
    {"TwoChannels", {"@twochannel", ">o.jpg"},
     "exit 1 | o.jpg none | trayvane-compose: SCANS/twochannel.jpg: Error reading image:|SCANS/twochannel.jpg|Error: Pictures with this number of channels are not supported|IJL Error number: -15|"},
    {"NoQuantizationTables", {"@notables", ">o.jpg"},
     "exit 1 | o.jpg none | trayvane-compose: SCANS/notables.jpg: Error reading image:|SCANS/notables.jpg|Error: The JPEG data is damaged or of an unsupported kind|IJL Error number: -14|"},
    {"Missing", {"@missing", ">o.jpg"},
     "exit 1 | o.jpg none | trayvane-compose: SCANS/missing.jpg: Error reading parameters of image:|SCANS/missing.jpg|Error: The file or its folder does not exist|IJL Error number: -5|"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Runs, RecordedOutputsTest, testing::ValuesIn(RecordedRuns),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// The pixels of every scan as the window loads it and as the picture registry loads it.
struct TRecordedLoad {
    const char* Scan;
    const char* Cover;    // LoadCoverPicture: the pixels' hash, or the error
    const char* Registry; // LoadPictureFile
};

std::string LoadedAs(const std::function<void(TBitmap32&)>& Load) {
    TBitmap32 Bitmap;
    try {
        Load(Bitmap);
    } catch (const std::exception& E) {
        std::string Text = E.what();
        const std::string Folder = ScanFolder().Path().string() + "/";
        for (std::size_t At; (At = Text.find(Folder)) != std::string::npos;)
            Text.replace(At, Folder.size(), "SCANS/");
        for (char& C : Text)
            if (C == '\r')
                C = '|';
        return Text;
    }
    return std::to_string(Bitmap.Width()) + "x" + std::to_string(Bitmap.Height()) + " " +
           HashOf(reinterpret_cast<const std::uint8_t*>(Bitmap.PixelData()),
                  std::size_t(Bitmap.Width()) * Bitmap.Height() * 4);
}

class RecordedLoadsTest : public testing::TestWithParam<TRecordedLoad> {};

TEST_P(RecordedLoadsTest, GiveTheRecordedPixels) {
    RegisterJpegPictures();
    const TRecordedLoad& Row = GetParam();
    const std::string File = ScanFolder().File(std::string(Row.Scan) + ".jpg");
    const std::string Cover = LoadedAs([&](TBitmap32& B) { LoadCoverPicture(B, File); });
    const std::string Registry = LoadedAs([&](TBitmap32& B) { B.LoadPictureFile(File); });
    EXPECT_EQ(Cover, Row.Cover) << "new record: \"" << Cover << "\"";
    EXPECT_EQ(Registry, Row.Registry) << "new record: \"" << Registry << "\"";
}

// clang-format off
const TRecordedLoad RecordedLoads[] = {
    {"back",
     "333x301 c94221a13f03a3ce",
     "333x301 c94221a13f03a3ce"},
    {"grey",
     "405x203 3d639df20a9e3adc",
     "405x203 a706074d0b1baf7f"},
    {"progressive",
     "517x250 7330725e6a4bf1ca",
     "517x250 7330725e6a4bf1ca"},
    {"restart",
     "640x211 05747ded6a2c0ed8",
     "640x211 05747ded6a2c0ed8"},
    {"fullchroma",
     "299x287 ce4945e36e34cf1d",
     "299x287 ce4945e36e34cf1d"},
    {"cmyk",
     "300x150 81d32667aa36c9ae",
     "JPEG error #27"},
    {"ycck",
     "280x140 6ce2015cec684c94",
     "JPEG error #27"},
    {"photo5",
     "160x240 e61ff40cac4ab21a",
     "240x160 7cfbd679412dba42"},
    {"large",
     "2100x1050 c76d06a70860a675",
     "2100x1050 c76d06a70860a675"},
    {"cut",
     "Error reading image:|SCANS/cut.jpg|Error: The JPEG data ends before the picture is complete|IJL Error number: -13",
     "611x297 bfdacb41d6bbab31"},
    {"cutwithend",
     "611x297 daab18d9118c52f2",
     "611x297 daab18d9118c52f2"},
    {"extraneous",
     "611x297 17a28b99af18565c",
     "611x297 17a28b99af18565c"},
    {"empty",
     "Error reading parameters of image:|SCANS/empty.jpg|Error: The file holds no JPEG data|IJL Error number: -12",
     "0x0 cbf29ce484222325"},
    {"text",
     "Error reading parameters of image:|SCANS/text.jpg|Error: The file holds no JPEG data|IJL Error number: -12",
     "JPEG error #53"},
    {"huge",
     "Error reading image:|SCANS/huge.jpg|Error: The picture has more pixels than can be held|IJL Error number: -18",
     "JPEG error #41"},
    {"twochannel",
     "Error reading image:|SCANS/twochannel.jpg|Error: Pictures with this number of channels are not supported|IJL Error number: -15",
     "JPEG error #27"},
    {"notables",
     "Error reading image:|SCANS/notables.jpg|Error: The JPEG data is damaged or of an unsupported kind|IJL Error number: -14",
     "JPEG error #52"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Scans, RecordedLoadsTest, testing::ValuesIn(RecordedLoads),
                         [](const auto& Info) { return std::string(Info.param.Scan); });

} // namespace
