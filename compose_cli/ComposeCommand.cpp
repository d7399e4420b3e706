#include "compose_cli/ComposeCommand.h"

#include "base/ExceptionClassName.h"
#include "base/FileName.h"
#include "compose_cli/PpmFile.h"
#include "compose_cli/PrintSheetHelper.h"
#include "composer/TrayCard.h"
#include "composer/TrayInlay.h"
#include "jpeg_bridge/JpegFile.h"
#include "print_sheet/PrintSheet.h"
#include "raster/Bitmap32.h"

#include <charconv>
#include <filesystem>
#include <ostream>
#include <set>

namespace {

constexpr const char* ProgramName = "trayvane-compose";

std::optional<TInlayLayout> ParseLayout(const std::string& Value) {
    if (Value == "auto")
        return std::nullopt;
    if (Value == "back")
        return TInlayLayout::Back;
    if (Value == "back-and-front")
        return TInlayLayout::BackAndFront;
    throw EUsageError("--layout takes auto, back or back-and-front, not \"" + Value + "\"");
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

TOutputFormat ParseFormat(const std::string& Value) {
    if (Value == "jpg")
        return TOutputFormat::Jpeg;
    if (Value == "ppm")
        return TOutputFormat::Ppm;
    if (Value == "pdf")
        return TOutputFormat::Pdf;
    throw EUsageError("--format takes jpg, ppm or pdf, not \"" + Value + "\"");
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

std::string DescribeError(const std::exception& Error) {
    return ExceptionClassName(Error) + ": " + LinesOf(Error.what());
}

// The file a name stands for, to recognise one file under two names; empty when it does not
// exist.
std::string Identity(const std::string& FileName) {
    std::error_code Error;
    const auto Path = std::filesystem::canonical(FileName, Error);
    return Error ? std::string{} : Path.string();
}

} // namespace

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
        else
            throw EUsageError("unknown option " + Name);
        if (HasValue && (Name == "--help" || Name == "-h" || Name == "--version"))
            throw EUsageError(Name + " takes no value");
    }
    if (Options.ShowHelp || Options.ShowVersion)
        return Options;
    if (Options.Format && Options.OutputDir.empty())
        throw EUsageError("--format goes with --output-dir; OUTPUT's own name chooses its format");
    if (!Options.OutputDir.empty()) {
        if (Files.empty())
            throw EUsageError("no INPUT given");
        Options.Inputs = std::move(Files);
    } else {
        if (Files.size() != 2)
            throw EUsageError(Files.size() < 2 ? "INPUT and OUTPUT are needed"
                                               : "too many file names; to compose several, "
                                                 "use --output-dir");
        Options.Inputs = {Files[0]};
        Options.Output = Files[1];
    }
    return Options;
}

std::string ComposeUsageText() {
    return "Usage: trayvane-compose [--layout auto|back|back-and-front] [--spine N] INPUT OUTPUT\n"
           "       trayvane-compose [options] --output-dir DIR INPUT...\n"
           "\n"
           "Composes the tray inlay of a CD jewel case from the JPEG scan of its cover, as\n"
           "Trayvane does: the back card with a strip of the spine on each side, brought to\n"
           "the proportion 1510 : 1175.\n"
           "\n"
           "Options:\n"
           "  --layout auto|back|back-and-front\n"
           "                    what the scan shows: the back card alone (back), or back card,\n"
           "                    spine and front side by side (back-and-front); auto, the\n"
           "                    default, decides by the picture's proportions\n"
           "  --spine N         widen or narrow the spine by N per cent: -20, -15, -10, -5, 0,\n"
           "                    5, 10, 15 or 20 (default 0)\n"
           "  --output-dir DIR  write DIR/NAME-inlay.jpg for each INPUT, NAME being the input's\n"
           "                    file name without its extension\n"
           "  --format jpg|ppm|pdf\n"
           "                    with --output-dir: write NAME-inlay.jpg (the default),\n"
           "                    NAME-inlay.ppm or NAME-inlay.pdf\n"
           "  --paper a4|letter the paper of a PDF (default: Letter where the locale's\n"
           "                    territory is US or CA, A4 elsewhere)\n"
           "  --bleed MM        in a PDF, extend the picture MM millimetres beyond the cut by\n"
           "                    repeating its edge pixels: 0 to 3 (default 0)\n"
           "  --help            show this text and exit\n"
           "  --version         show the version and exit\n"
           "\n"
           "OUTPUT is written as a JPEG of quality 95 that prints 151 mm wide, as a binary PPM\n"
           "when its name ends in \".ppm\", or as a one-page PDF print sheet when it ends in\n"
           "\".pdf\": the inlay at 151 x 117.5 mm in the middle of the page, with crop marks,\n"
           "fold marks at the spine and a caption; print it at 100 %, not fitted to the page.\n"
           "An existing file is replaced only by a complete new one.\n"
           "\n"
           "Exit status: 0 when every file was composed, 1 when any file failed (the others are\n"
           "still composed), 2 for a usage error.\n";
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
    const char* Extension = Format == TOutputFormat::Pdf   ? ".pdf"
                            : Format == TOutputFormat::Ppm ? ".ppm"
                                                           : ".jpg";
    return Folder + ChangeFileExt(Name, "") + "-inlay" + Extension;
}

TOutputFormat OutputFormatOf(const std::string& Output) {
    const std::string Extension = ExtractFileExt(Output);
    if (SameTextAscii(Extension, ".ppm"))
        return TOutputFormat::Ppm;
    if (SameTextAscii(Extension, ".pdf"))
        return TOutputFormat::Pdf;
    return TOutputFormat::Jpeg;
}

void ComposeFile(const std::string& Input, const std::string& Output,
                 std::optional<TInlayLayout> Layout, int Spine) {
    TBitmap32 Picture;
    LoadJpegFile(&Picture, Input);
    TBitmap32 Inlay;
    ComposeTrayInlay(Picture, Layout.value_or(ChooseInlayLayout(Picture)), Spine, Inlay);
    // The scan is no longer needed; giving its memory back lowers the peak while saving.
    Picture.SetDimensions(0, 0);
    if (OutputFormatOf(Output) == TOutputFormat::Ppm)
        SavePpmFile(Inlay, Output);
    else
        SaveJpegFile(Inlay, Output, InlaySaveQuality, TrayCardDensity(Inlay.Width()));
}

int RunComposeCommand(const std::vector<std::string>& Arguments, std::ostream& Out,
                      std::ostream& Err) {
    TComposeOptions Options;
    try {
        Options = ParseComposeArguments(Arguments);
        if (!Options.OutputDir.empty() && !std::filesystem::is_directory(Options.OutputDir))
            throw EUsageError("--output-dir: no folder \"" + Options.OutputDir + "\"");
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
    std::set<std::string> Protected;
    for (const std::string& Input : Options.Inputs)
        if (std::string Id = Identity(Input); !Id.empty())
            Protected.insert(std::move(Id));

    int ExitCode = ExitSuccess;
    const TPaper Paper = Options.Paper.value_or(PaperForLocale(PaperLocaleName()));
    for (const std::string& Input : Options.Inputs) {
        const std::string Output =
            Options.OutputDir.empty()
                ? Options.Output
                : BatchOutputName(Options.OutputDir, Input,
                                  Options.Format.value_or(TOutputFormat::Jpeg));
        try {
            if (const std::string Id = Identity(Output); !Id.empty() && Protected.count(Id))
                throw Exception("The output \"" + Output +
                                "\" is an input or another output of this run");
            if (OutputFormatOf(Output) == TOutputFormat::Pdf)
                RunPrintSheetHelper(Input, Output,
                                    {Options.Layout, Options.Spine, Paper, Options.Bleed});
            else
                ComposeFile(Input, Output, Options.Layout, Options.Spine);
            if (std::string Id = Identity(Output); !Id.empty())
                Protected.insert(std::move(Id));
        } catch (const std::exception& E) {
            Err << ProgramName << ": " << Input << ": " << DescribeError(E) << "\n";
            ExitCode = ExitFileFailed;
        }
    }
    return ExitCode;
}
