#include "compose_cli/ComposeCommand.h"

#include "base/FileIdentity.h"
#include "base/FileName.h"
#include "compose_cli/FilesInFlight.h"
#include "compose_cli/PpmFile.h"
#include "compose_cli/PrintSheetHelper.h"
#include "compose_cli/RowComposition.h"
#include "compose_cli/SheetOptions.h"
#include "compose_cli/SheetOutput.h"
#include "composer/SpineCut.h"
#include "composer/TrayCard.h"
#include "jpeg_bridge/JpegFile.h"
#include "jpeg_bridge/UprightJpegFile.h"
#include "picture_codecs/CodecPictures.h"
#include "picture_codecs/LosslessInlayFile.h"
#include "print_sheet/PrintSheet.h"
#include "raster/Bitmap32.h"
#include "raster/QuarterTurn.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iterator>
#include <memory>
#include <ostream>
#include <set>
#include <sys/stat.h>
#include <thread>

namespace {

constexpr const char* ProgramName = "trayvane-compose";

std::optional<TInlayLayout> ParseLayout(const std::string& Value) {
    // Names in any case, as --paper takes them.
    if (SameTextAscii(Value, "auto"))
        return std::nullopt;
    if (SameTextAscii(Value, "back"))
        return TInlayLayout::Back;
    if (SameTextAscii(Value, "back-and-front"))
        return TInlayLayout::BackAndFront;
    if (Value == "tray-card")
        return TInlayLayout::TrayCard;
    throw EUsageError("--layout takes auto, back, back-and-front or tray-card, not \"" + Value +
                      "\"");
}

// LEFT:RIGHT, two whole numbers from 0 up, LEFT below RIGHT.
TSpineCut ParseCut(const std::string& Value) {
    const auto Number = [](const char* First, const char* Last, std::int32_t& Result) {
        const auto [End, Error] = std::from_chars(First, Last, Result);
        return First != Last && Error == std::errc{} && End == Last && Result >= 0;
    };
    const auto Colon = Value.find(':');
    TSpineCut Cut{0, 0};
    if (Colon == std::string::npos || !Number(Value.data(), Value.data() + Colon, Cut.Left) ||
        !Number(Value.data() + Colon + 1, Value.data() + Value.size(), Cut.Right) ||
        Cut.Left >= Cut.Right)
        throw EUsageError("--cut takes LEFT:RIGHT, the spine's first column and the first column "
                          "after it (LEFT below RIGHT), not \"" +
                          Value + "\"");
    return Cut;
}

// The spine settings only: -20, -15, ..., 20.
int ParseSpine(const std::string& Value) {
    const char* First = Value.data();
    const char* Last = First + Value.size();
    if (First != Last && *First == '+')
        ++First;
    int Spine = 0;
    const auto [End, Error] = std::from_chars(First, Last, Spine);
    if (First == Last || Error != std::errc{} || End != Last || !IsSpineSetting(Spine))
        throw EUsageError("--spine takes -20, -15, -10, -5, 0, 5, 10, 15 or 20, not \"" + Value +
                          "\"");
    return Spine;
}

// A number of files to compose at once: 1 or more.
int ParseJobs(const std::string& Value) {
    int Jobs = 0;
    const auto [End, Error] = std::from_chars(Value.data(), Value.data() + Value.size(), Jobs);
    if (Value.empty() || Error != std::errc{} || End != Value.data() + Value.size() || Jobs < 1)
        throw EUsageError("--jobs takes a whole number from 1 up, not \"" + Value + "\"");
    return Jobs;
}

TPaper ParsePaper(const std::string& Value) {
    if (const auto Paper = PaperByName(Value))
        return *Paper;
    throw EUsageError("--paper takes a4 or letter, not \"" + Value + "\"");
}

// Millimetres from 0 to MaxBleedMm, as a plain decimal number ("1.5").
double ParseBleed(const std::string& Value) {
    const char* First = Value.data();
    const char* Last = First + Value.size();
    double Bleed = -1;
    const auto [End, Error] = std::from_chars(First, Last, Bleed, std::chars_format::fixed);
    if (First == Last || Error != std::errc{} || End != Last ||
        !(Bleed >= 0 && Bleed <= MaxBleedMm))
        throw EUsageError("--bleed takes millimetres from 0 to 3, not \"" + Value + "\"");
    return Bleed;
}

// A clockwise quarter turn: 0, 90, 180 or 270.
int ParseRotate(const std::string& Value) {
    int Degrees = -1;
    const auto [End, Error] = std::from_chars(Value.data(), Value.data() + Value.size(), Degrees);
    if (Value.empty() || Error != std::errc{} || End != Value.data() + Value.size() ||
        !IsQuarterTurn(Degrees))
        throw EUsageError("--rotate takes 0, 90, 180 or 270, not \"" + Value + "\"");
    return Degrees;
}

TOutputFormat ParseFormat(const std::string& Value) {
    if (SameTextAscii(Value, "jpg"))
        return TOutputFormat::Jpeg;
    if (SameTextAscii(Value, "ppm"))
        return TOutputFormat::Ppm;
    if (SameTextAscii(Value, "pdf"))
        return TOutputFormat::Pdf;
    if (Value == "png")
        return TOutputFormat::Png;
    if (Value == "tif")
        return TOutputFormat::Tiff;
    throw EUsageError("--format takes jpg, ppm, pdf, png or tif, not \"" + Value + "\"");
}

// Splits "--name=value"; Value is set only when there was a "=".
bool SplitOption(const std::string& Argument, std::string& Name, std::string& Value) {
    const auto Equals = Argument.find('=');
    Name = Argument.substr(0, Equals);
    if (Equals == std::string::npos)
        return false;
    Value = Argument.substr(Equals + 1);
    return true;
}

std::string LinesOf(const std::string& Message) {
    std::string Text;
    for (std::size_t I = 0; I < Message.size(); ++I) {
        if (Message[I] == '\r') {
            Text += '\n';
            if (I + 1 < Message.size() && Message[I + 1] == '\n')
                ++I;
        } else {
            Text += Message[I];
        }
    }
    return Text;
}

// The message alone: the class names of errors mean nothing to the user of a command.
std::string DescribeError(const std::exception& Error) {
    return DescribeComposeError(Error.what());
}

// The file a name will stand for once it exists, for names of files that may not exist yet.
std::string FutureIdentity(const std::string& FileName) {
    std::error_code Error;
    const auto Path = std::filesystem::weakly_canonical(FileName, Error);
    return Error ? FileName : Path.string();
}

// Why Input, prepared as Options ask, cannot take Options.Cut (CheckExplicitCut); none when it
// can. Checked before the PDF writer starts, so that a cut refused is a usage error that writes
// nothing, as for the other outputs. A picture that does not load is left to the writer, which
// reports it in its own words.
std::optional<std::string> CutRefusedBy(const std::string& Input, const TComposeOptions& Options) {
    TBitmap32 Picture;
    try {
        PrepareCoverPicture(Input, Options.Scan, Picture);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    try {
        CheckExplicitCut(Picture.Width(), Options.Layout.value_or(ChooseInlayLayout(Picture)),
                         *Options.Cut);
    } catch (const ESpineCutError& E) {
        return std::string(E.what());
    }
    return std::nullopt;
}

} // namespace

std::string DescribeComposeError(const std::string& Message) {
    return LinesOf(Message);
}

TComposeOptions ParseComposeArguments(const std::vector<std::string>& Arguments) {
    TComposeOptions Options;
    std::vector<std::string> Files;
    bool OptionsEnded = false;
    for (std::size_t I = 0; I < Arguments.size(); ++I) {
        const std::string& Argument = Arguments[I];
        if (OptionsEnded || Argument.size() < 2 || Argument[0] != '-') {
            Files.push_back(Argument);
            continue;
        }
        if (Argument == "--") {
            OptionsEnded = true;
            continue;
        }
        std::string Name, Value;
        const bool HasValue = SplitOption(Argument, Name, Value);
        const auto TakeValue = [&]() -> std::string {
            if (HasValue)
                return Value;
            if (I + 1 >= Arguments.size())
                throw EUsageError(Name + " needs a value");
            return Arguments[++I];
        };
        if (Name == "--help" || Name == "-h")
            Options.ShowHelp = true;
        else if (Name == "--version")
            Options.ShowVersion = true;
        else if (Name == "--layout")
            Options.Layout = ParseLayout(TakeValue());
        else if (Name == "--spine")
            Options.Spine = ParseSpine(TakeValue());
        else if (Name == "--jobs")
            Options.Jobs = ParseJobs(TakeValue());
        else if (Name == "--find-spine")
            Options.FindSpine = true;
        else if (Name == "--cut")
            Options.Cut = ParseCut(TakeValue());
        else if (Name == "--rotate")
            Options.Scan.Rotate = ParseRotate(TakeValue());
        else if (Name == "--straighten")
            Options.Scan.Straighten = true;
        else if (Name == "--output-dir") {
            Options.OutputDir = TakeValue();
            if (Options.OutputDir.empty())
                throw EUsageError("--output-dir needs a folder");
        } else if (Name == "--paper")
            Options.Paper = ParsePaper(TakeValue());
        else if (Name == "--bleed")
            Options.Bleed = ParseBleed(TakeValue());
        else if (Name == "--format")
            Options.Format = ParseFormat(TakeValue());
        else if (!ParseSheetOption(Name, TakeValue, Options))
            throw EUsageError("unknown option " + Name);
        if (HasValue && (Name == "--help" || Name == "-h" || Name == "--version" ||
                         Name == "--find-spine" || Name == "--straighten" || IsSheetFlag(Name)))
            throw EUsageError(Name + " takes no value");
    }
    if (Options.ShowHelp || Options.ShowVersion)
        return Options;
    if (Options.Layout == TInlayLayout::TrayCard) {
        if (Options.Spine != 0)
            throw EUsageError("--layout tray-card keeps the card as it is: no --spine");
        if (Options.FindSpine)
            throw EUsageError("--layout tray-card keeps the card as it is: no --find-spine");
        if (Options.Cut)
            throw EUsageError("--layout tray-card keeps the card as it is: no --cut");
    }
    if (Options.Cut && Options.FindSpine)
        throw EUsageError("--cut and --find-spine exclude each other");
    if (Options.Format && Options.OutputDir.empty())
        throw EUsageError("--format goes with --output-dir; OUTPUT's own name chooses its format");
    if (!Options.OutputDir.empty()) {
        if (Files.empty())
            throw EUsageError("no INPUT given");
        Options.Inputs = std::move(Files);
    } else {
        // Several covers go into one PDF; other outputs take one each.
        const bool OnePdf = Files.size() > 2 && OutputFormatOf(Files.back()) == TOutputFormat::Pdf;
        if (Files.size() != 2 && !OnePdf)
            throw EUsageError(Files.size() < 2 ? "INPUT and OUTPUT are needed"
                                               : "too many file names; to compose several, "
                                                 "use --output-dir");
        Options.Output = Files.back();
        Files.pop_back();
        Options.Inputs = std::move(Files);
    }
    CheckSheetOptions(Options);
    return Options;
}

namespace {

// The forms of the command, one a line: help2man takes the lines after the first as more
// synopses ("  or:  ...").
constexpr const char* UsageForms[] = {
    "[OPTION]... INPUT OUTPUT",
    "[OPTION]... [PDF-OPTION]... INPUT... OUTPUT.pdf",
    "[OPTION]... --output-dir DIR INPUT...",
    "[OPTION]... --output-dir DIR --format pdf [PDF-OPTION]... INPUT...",
    "--help | --version",
};

// One option of --help: the option with its value, and what it does (wrapped by UsageText).
struct TOptionHelp {
    const char* Option;
    const char* Description;
};

// The options, one a row, in the order --help shows them.
constexpr TOptionHelp OptionHelp[] = {
    {"--layout auto|back|back-and-front|tray-card",
     "what the scan shows: the back card alone (back), back card, spine and front side by side "
     "(back-and-front), or a whole tray card with both spines, reprinted as it is (tray-card); "
     "auto, the default, decides between the first two by the picture's proportions"},
    {"--spine N",
     "widen or narrow the spine by N per cent: -20, -15, -10, -5, 0, 5, 10, 15 or 20 (default 0)"},
    {"--find-spine",
     "look for the spine's two edges in each picture and cut there (widened or narrowed by "
     "--spine around its middle); where none is found, the layout's own cut is used and a line "
     "on standard error says so"},
    {"--cut LEFT:RIGHT",
     "cut the spine at these picture columns (its first column and the first column after it), "
     "as a cut moved in the window; --spine widens or narrows it around its middle. It must lie "
     "in the picture and be a quarter to three times as wide as the layout's own spine strip"},
    {"--rotate 0|90|180|270",
     "turn each picture clockwise by that many degrees (after a photo's own orientation tag): "
     "for a scan made sideways"},
    {"--straighten",
     "cut the card out of the scanner's bed around it and level a tilted card (after --rotate); "
     "a picture without a margin of bed is left as it is. The layout, --find-spine and the cut "
     "then work on the card"},
    {"--output-dir DIR",
     "write DIR/NAME-inlay.jpg for each INPUT, NAME being the input's file name without its "
     "extension"},
    {"--format jpg|ppm|pdf|png|tif",
     "with --output-dir: write NAME-inlay.jpg (the default), NAME-inlay.ppm, .pdf, .png or .tif"},
    {"--jobs N",
     "compose N files at once (default: the number of cores, at most 4); reports still come in "
     "the order of the inputs"},
    {"--help", "show this text and exit"},
    {"--version", "show the version and exit"},
};

// The options of PDF outputs.
constexpr TOptionHelp PdfOptionHelp[] = {
    {"--paper a4|letter",
     "the paper (default: Letter where the locale's territory is US or CA, A4 elsewhere)"},
    {"--bleed MM",
     "extend the picture MM millimetres beyond the cut by repeating its edge pixels: 0 to 3 "
     "(default 0)"},
    {"--per-sheet 1|2",
     "tray cards on a page: 2 puts two one above the other (a cover left alone on the last page "
     "is printed twice)"},
    {"--front PICTURE",
     "print the front cover, 120 x 120 mm, below the tray card: a picture of any kind, cut "
     "square from its middle (a single INPUT only)"},
    {"--front-from-cover",
     "print each cover's front below its tray card: the part of a back-and-front picture right "
     "of the spine, cut square"},
    {"--no-caption", "no text on the sheets"},
};

// Text wrapped to lines of at most Width characters, each starting with Indent spaces.
std::string Wrapped(const std::string& Text, std::size_t Indent, std::size_t Width) {
    std::string Lines;
    std::string Line;
    std::size_t At = 0;
    while (At < Text.size()) {
        const std::size_t End = std::min(Text.find(' ', At), Text.size());
        const std::string Word = Text.substr(At, End - At);
        if (!Line.empty() && Indent + Line.size() + 1 + Word.size() > Width) {
            Lines += std::string(Indent, ' ') + Line + "\n";
            Line.clear();
        }
        Line += (Line.empty() ? "" : " ") + Word;
        At = End + 1;
    }
    if (!Line.empty())
        Lines += std::string(Indent, ' ') + Line + "\n";
    return Lines;
}

// Each option on a line of its own, what it does on the lines below it.
std::string OptionLines(const TOptionHelp* First, const TOptionHelp* Last) {
    std::string Text;
    for (const TOptionHelp* Row = First; Row != Last; ++Row)
        Text += std::string("  ") + Row->Option + "\n" + Wrapped(Row->Description, 8, 79);
    return Text;
}

} // namespace

std::string ComposeUsageText() {
    std::string Text;
    for (const char* Form : UsageForms)
        Text += std::string(Text.empty() ? "Usage: " : "  or:  ") + ProgramName + " " + Form + "\n";
    Text += "\n"
            "Composes the tray inlay of a CD jewel case from the scan of its cover, as\n"
            "Trayvane does: the back card with a strip of the spine on each side, brought to\n"
            "the proportion 1510 : 1175. INPUT is a JPEG, PNG, TIFF or WebP picture (by its\n"
            "extension); a JPEG photo is turned upright as its orientation tag says.\n"
            "\n"
            "Options:\n";
    Text += OptionLines(std::begin(OptionHelp), std::end(OptionHelp));
    Text += "\nPDF options:\n";
    Text += OptionLines(std::begin(PdfOptionHelp), std::end(PdfOptionHelp));
    Text += "\n"
            "OUTPUT must end in .jpg, .jpeg, .ppm, .pdf, .png, .tif or .tiff. It is written as\n"
            "a JPEG of quality 95 that prints 151 mm wide, as a binary PPM (\".ppm\"), as a\n"
            "lossless PNG or TIFF that prints 151 mm wide (\".png\", \".tif\", \".tiff\"), or as\n"
            "a one-page PDF print sheet (\".pdf\"): the inlay at 151 x 117.5 mm in the middle of\n"
            "the page, with crop marks, fold marks at the spine and a caption; print it at\n"
            "100 %, not fitted to the page. An OUTPUT that is a device or a named pipe\n"
            "(/dev/stdout) is written whatever its name, as JPEG unless its name says otherwise.\n"
            "Several INPUTs before an OUTPUT ending in \".pdf\" give one PDF, a page for each\n"
            "cover in their order (or two a page with --per-sheet 2). An existing file is\n"
            "replaced only by a complete new one. An inlay that would print below 150 dpi is\n"
            "written all the same, with a line on standard error.\n"
            "\n"
            "Exit status: 0 when every file was composed, 1 when any file failed (the others\n"
            "are still composed), 2 for a usage error.\n";
    return Text;
}

int DefaultJobs() {
    const unsigned Cores = std::thread::hardware_concurrency();
    return Cores == 0 ? 1 : static_cast<int>(std::min(Cores, 4u));
}

std::string ComposeVersionText() {
    return std::string(ProgramName) + " " TRAYVANE_VERSION "\n";
}

std::string BatchOutputName(const std::string& OutputDir, const std::string& Input,
                            TOutputFormat Format) {
    const std::string Name = Input.substr(ExtractFilePath(Input).size());
    std::string Folder = OutputDir;
    if (Folder.back() != '/')
        Folder += '/';
    const char* Extension = Format == TOutputFormat::Pdf    ? ".pdf"
                            : Format == TOutputFormat::Ppm  ? ".ppm"
                            : Format == TOutputFormat::Png  ? ".png"
                            : Format == TOutputFormat::Tiff ? ".tif"
                                                            : ".jpg";
    return Folder + ChangeFileExt(Name, "") + "-inlay" + Extension;
}

TOutputFormat OutputFormatOf(const std::string& Output) {
    const std::string Extension = ExtractFileExt(Output);
    if (SameTextAscii(Extension, ".ppm"))
        return TOutputFormat::Ppm;
    if (SameTextAscii(Extension, ".pdf"))
        return TOutputFormat::Pdf;
    if (SameTextAscii(Extension, ".png"))
        return TOutputFormat::Png;
    if (SameTextAscii(Extension, ".tif") || SameTextAscii(Extension, ".tiff"))
        return TOutputFormat::Tiff;
    return TOutputFormat::Jpeg;
}

void CheckOutputName(const std::string& Output) {
    const std::string Extension = ExtractFileExt(Output);
    for (const char* Known : {".jpg", ".jpeg", ".ppm", ".pdf", ".png", ".tif", ".tiff"})
        if (SameTextAscii(Extension, Known))
            return;
    // A device or a named pipe (or a link to one) is written as it always was, whatever its name.
    struct stat Status {};
    if (::stat(Output.c_str(), &Status) == 0 && !S_ISREG(Status.st_mode) &&
        !S_ISDIR(Status.st_mode))
        return;
    throw EUsageError("OUTPUT must end in .jpg, .jpeg, .ppm, .pdf, .png, .tif or .tiff, not \"" +
                      Output + "\"");
}

TFileOutcome ComposeFile(const std::string& Input, const std::string& Output,
                         const TCoverRequest& Request) {
    TBitmap32 Inlay;
    const TCoverComposition Composed = ComposeCover(Input, Request, Inlay);
    const TPrintDensity& Density = Composed.Composition.Density;
    switch (OutputFormatOf(Output)) {
    case TOutputFormat::Ppm:
        SavePpmFile(Inlay, Output);
        break;
    case TOutputFormat::Png:
        SavePngFile(Inlay, Output, Density);
        break;
    case TOutputFormat::Tiff:
        SaveTiffFile(Inlay, Output, Density);
        break;
    case TOutputFormat::Jpeg:
    case TOutputFormat::Pdf:
        SaveJpegFile(Inlay, Output, InlaySaveQuality, Density);
        break;
    }
    TFileOutcome Outcome{Composed.Search, Inlay.Width(), {}};
    if (!Composed.Notice.empty())
        Outcome.Notices.push_back(Composed.Notice);
    return Outcome;
}

TFileOutcome ComposeFile(const std::string& Input, const std::string& Output,
                         std::optional<TInlayLayout> Layout, int Spine, bool LookForSpine,
                         const TScanPreparation& Preparation) {
    return ComposeFile(Input, Output,
                       TCoverRequest{Layout, Spine, LookForSpine, std::nullopt, Preparation});
}

namespace {

// What TakesFastWay asks of a file before its header is read.
bool MayTakeFastWay(const TComposeOptions& Options, const std::string& Input,
                    const std::string& Output) {
    const TOutputFormat Format = OutputFormatOf(Output);
    return !Options.FindSpine && !Options.Scan.Asked() && !IsCodecPictureName(Input) &&
           (Format == TOutputFormat::Jpeg || Format == TOutputFormat::Ppm);
}

} // namespace

bool TakesFastWay(const TComposeOptions& Options, const std::string& Input,
                  const std::string& Output, const TJpegRowReader& Scan) {
    // The fast way writes JPEG and PPM files and follows layout and spine. It neither writes
    // print sheets, nor looks for the spine, nor turns photos, and it cannot do CMYK and YCCK.
    if (!MayTakeFastWay(Options, Input, Output) || !Scan.CanDecode())
        return false;
    const int Orientation = ReadJpegFileOrientation(Input);
    return Orientation < 2 || Orientation > 8;
}

TFileOutcome ComposeOneFile(const std::string& Input, const std::string& Output,
                            const TComposeOptions& Options, bool TwoThreads) {
    if (OutputFormatOf(Output) == TOutputFormat::Pdf) {
        const TSheetReport Report = RunPrintSheetHelper({Input}, Output, PrintSheetJobOf(Options));
        TFileOutcome Outcome{
            Options.FindSpine ? TSpineSearch::Found : TSpineSearch::NotAsked, 0, {}};
        for (const TSheetRecord& Record : Report)
            if (Record.Kind == TSheetRecord::TKind::Failed)
                throw EPrintSheetHelperError(Record.ClassName, Record.Text);
            else if (Record.Kind == TSheetRecord::TKind::NoSpine)
                Outcome.Search = TSpineSearch::NotFound;
            else
                Outcome.Notices.push_back(Record.Text);
        return Outcome;
    }
    if (MayTakeFastWay(Options, Input, Output)) {
        try {
            const TJpegRowReader Scan(Input);
            if (TakesFastWay(Options, Input, Output, Scan)) {
                return {TSpineSearch::NotAsked,
                        ComposeByRows(Scan, Output, Options.Layout, Options.Spine, TwoThreads,
                                      Options.Cut),
                        {}};
            }
        } catch (const std::exception&) {
            // The full way reads and writes the file again and reports what fails in its own
            // words, so every failure reads as it always has.
        }
    }
    return ComposeFile(
        Input, Output,
        TCoverRequest{Options.Layout, Options.Spine, Options.FindSpine, Options.Cut, Options.Scan});
}

int RunComposeCommand(const std::vector<std::string>& Arguments, std::ostream& Out,
                      std::ostream& Err) {
    TComposeOptions Options;
    try {
        Options = ParseComposeArguments(Arguments);
        if (!Options.OutputDir.empty() && !std::filesystem::is_directory(Options.OutputDir))
            throw EUsageError("--output-dir: no folder \"" + Options.OutputDir + "\"");
        if (!Options.ShowHelp && !Options.ShowVersion && Options.OutputDir.empty())
            CheckOutputName(Options.Output);
    } catch (const EUsageError& E) {
        Err << ProgramName << ": " << E.Message() << "\n\n" << ComposeUsageText();
        return ExitUsage;
    }
    if (Options.ShowHelp) {
        Out << ComposeUsageText();
        return ExitSuccess;
    }
    if (Options.ShowVersion) {
        Out << ComposeVersionText();
        return ExitSuccess;
    }

    // No output may replace an input of the run, nor an output written before in the same run.
    // Files are told apart by identity, so a link or a second path to an input counts as it.
    std::set<TFileIdentity> Protected;
    for (const std::string& Input : Options.Inputs)
        if (const auto Id = FileIdentityOf(Input))
            Protected.insert(*Id);
    if (const auto Id = FileIdentityOf(Options.Front); Id && !Options.Front.empty())
        Protected.insert(*Id);

    // Files are composed Jobs at a time, reported in order. A file whose input or output is the
    // output of a file still in flight waits for that one, so that the checks above and below see
    // what a run of one file after the other would.
    const int Jobs = std::min<int>(Options.Jobs > 0 ? Options.Jobs : DefaultJobs(),
                                   static_cast<int>(Options.Inputs.size()));
    TFilesInFlight Files(Jobs);
    std::multiset<std::string> OutputsInFlight;
    int ExitCode = ExitSuccess;
    // One output for each input, or one PDF for all of them.
    std::vector<std::vector<std::string>> InputsOfOutputs;
    if (Options.OutputDir.empty())
        InputsOfOutputs.push_back(Options.Inputs);
    else
        for (const std::string& Input : Options.Inputs)
            InputsOfOutputs.push_back({Input});
    for (const std::vector<std::string>& Inputs : InputsOfOutputs) {
        const std::string& Input = Inputs.front();
        const std::string Output =
            Options.OutputDir.empty()
                ? Options.Output
                : BatchOutputName(Options.OutputDir, Input,
                                  Options.Format.value_or(TOutputFormat::Jpeg));
        const std::string FutureOutput = FutureIdentity(Output);
        bool WaitForEarlier = OutputsInFlight.count(FutureOutput) > 0;
        for (const std::string& Each : Inputs)
            WaitForEarlier |= OutputsInFlight.count(FutureIdentity(Each)) > 0;
        if (WaitForEarlier)
            Files.FinishAll();
        const std::optional<TFileIdentity> Id = FileIdentityOf(Output);
        const bool Refused = Id && Protected.count(*Id) > 0;
        // What the file's work has to say, filled on its thread and printed in input order.
        struct TReport {
            std::string Text;
            bool Failed = false;
            bool Usage = false; // a --cut the picture cannot take
        };
        auto Report = std::make_shared<TReport>();
        const auto Work = [&Options, Inputs, Input, Output, Refused, Jobs, Report] {
            try {
                if (Refused)
                    throw Exception("The output \"" + Output +
                                    "\" is an input or another output of this run");
                if (OutputFormatOf(Output) == TOutputFormat::Pdf) {
                    if (Options.Cut)
                        for (const std::string& Each : Inputs)
                            if (const std::optional<std::string> Reason =
                                    CutRefusedBy(Each, Options)) {
                                Report->Text = ProgramName + std::string(": ") + Each +
                                               ": --cut: " + LinesOf(*Reason) + "\n";
                                Report->Usage = Report->Failed = true;
                                return;
                            }
                    Report->Text = PrintSheetOutput(Inputs, Output, Options, Report->Failed);
                    return;
                }
                const TFileOutcome Outcome = ComposeOneFile(Input, Output, Options, Jobs == 1);
                const std::string About = ProgramName + std::string(": ") + Input + ": ";
                if (Outcome.Search == TSpineSearch::NotFound)
                    Report->Text = About + "no spine found, the layout's own cut is used\n";
                for (const std::string& Notice : Outcome.Notices)
                    Report->Text += About + Notice + "\n";
                if (const std::string Low = LowResolutionNotice(Outcome.InlayWidth); !Low.empty())
                    Report->Text += About + Low + "\n";
            } catch (const std::exception& E) {
                // A cut the picture cannot take is the user's to mend.
                const std::string& Named = Inputs.size() == 1 ? Input : Output;
                if (dynamic_cast<const ESpineCutError*>(&E)) {
                    Report->Text = ProgramName + std::string(": ") + Named +
                                   ": --cut: " + LinesOf(E.what()) + "\n";
                    Report->Usage = true;
                } else {
                    Report->Text =
                        ProgramName + std::string(": ") + Named + ": " + DescribeError(E) + "\n";
                }
                Report->Failed = true;
            }
        };
        const auto Finish = [&, Input, Output, FutureOutput, Report] {
            OutputsInFlight.erase(OutputsInFlight.find(FutureOutput));
            Err << Report->Text;
            if (Report->Usage) {
                ExitCode = ExitUsage;
            } else if (Report->Failed) {
                ExitCode = ExitCode == ExitUsage ? ExitUsage : ExitFileFailed;
            } else if (const auto Written = FileIdentityOf(Output)) {
                Protected.insert(*Written);
            }
        };
        OutputsInFlight.insert(FutureOutput);
        Files.Start(Work, Finish);
    }
    Files.FinishAll();
    return ExitCode;
}
