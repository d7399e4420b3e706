#include "compose_cli/ComposeCommand.h"

#include "base/ExceptionClassName.h"
#include "base/FileIdentity.h"
#include "base/FileName.h"
#include "compose_cli/PpmFile.h"
#include "composer/TrayCard.h"
#include "composer/TrayInlay.h"
#include "jpeg_bridge/JpegFile.h"
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

bool IsPpmName(const std::string& FileName) {
    return SameTextAscii(ExtractFileExt(FileName), ".ppm");
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
        } else
            throw EUsageError("unknown option " + Name);
        if (HasValue && (Name == "--help" || Name == "-h" || Name == "--version"))
            throw EUsageError(Name + " takes no value");
    }
    if (Options.ShowHelp || Options.ShowVersion)
        return Options;
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
           "  --help            show this text and exit\n"
           "  --version         show the version and exit\n"
           "\n"
           "OUTPUT is written as a JPEG of quality 95 that prints 151 mm wide, or as a binary\n"
           "PPM when its name ends in \".ppm\". An existing file is replaced only by a complete\n"
           "new one.\n"
           "\n"
           "Exit status: 0 when every file was composed, 1 when any file failed (the others are\n"
           "still composed), 2 for a usage error.\n";
}

std::string ComposeVersionText() {
    return std::string(ProgramName) + " " TRAYVANE_VERSION "\n";
}

std::string BatchOutputName(const std::string& OutputDir, const std::string& Input) {
    const std::string Name = Input.substr(ExtractFilePath(Input).size());
    std::string Folder = OutputDir;
    if (Folder.back() != '/')
        Folder += '/';
    return Folder + ChangeFileExt(Name, "") + "-inlay.jpg";
}

void ComposeFile(const std::string& Input, const std::string& Output,
                 std::optional<TInlayLayout> Layout, int Spine) {
    TBitmap32 Picture;
    LoadJpegFile(&Picture, Input);
    TBitmap32 Inlay;
    ComposeTrayInlay(Picture, Layout.value_or(ChooseInlayLayout(Picture)), Spine, Inlay);
    // The scan is no longer needed; giving its memory back lowers the peak while saving.
    Picture.SetDimensions(0, 0);
    if (IsPpmName(Output))
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
    // Files are told apart by identity, so a link or a second path to an input counts as it.
    std::set<TFileIdentity> Protected;
    for (const std::string& Input : Options.Inputs)
        if (const auto Id = FileIdentityOf(Input))
            Protected.insert(*Id);

    int ExitCode = ExitSuccess;
    for (const std::string& Input : Options.Inputs) {
        const std::string Output =
            Options.OutputDir.empty() ? Options.Output : BatchOutputName(Options.OutputDir, Input);
        try {
            if (const auto Id = FileIdentityOf(Output); Id && Protected.count(*Id))
                throw Exception("The output \"" + Output +
                                "\" is an input or another output of this run");
            ComposeFile(Input, Output, Options.Layout, Options.Spine);
            if (const auto Id = FileIdentityOf(Output))
                Protected.insert(*Id);
        } catch (const std::exception& E) {
            Err << ProgramName << ": " << Input << ": " << DescribeError(E) << "\n";
            ExitCode = ExitFileFailed;
        }
    }
    return ExitCode;
}
