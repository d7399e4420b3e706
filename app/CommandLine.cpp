#include "app/CommandLine.h"

TCommandLine ParseCommandLine(const std::vector<std::string>& Arguments) {
    TCommandLine Result;
    bool Help = false;
    bool Version = false;
    bool OptionsEnded = false;
    std::vector<std::string> Files;
    for (const std::string& Argument : Arguments) {
        if (OptionsEnded || Argument.size() < 2 || Argument[0] != '-') {
            Files.push_back(Argument);
        } else if (Argument == "--") {
            OptionsEnded = true;
        } else if (Argument == "--help" || Argument == "-h") {
            Help = true;
        } else if (Argument == "--version") {
            Version = true;
        } else if (Result.Error.empty()) {
            Result.Error = "unknown option " + Argument;
        }
    }
    if (Help || Version) {
        Result.Action = Help ? TCommandLineAction::Help : TCommandLineAction::Version;
        Result.Error.clear();
        return Result;
    }
    if (Result.Error.empty() && Files.size() > 1)
        Result.Error = "one FILE at a time, not " + std::to_string(Files.size());
    if (!Result.Error.empty()) {
        Result.Action = TCommandLineAction::UsageError;
        return Result;
    }
    if (!Files.empty())
        Result.FileName = Files.front();
    return Result;
}

std::string CommandLineHelpText() {
    return "Usage: trayvane [FILE]\n"
           "  or:  trayvane --help | --version\n"
           "\n"
           "Turns the picture of a CD cover into the inlay for the tray of a jewel case: the\n"
           "back card with a strip of the spine on each side, brought to the proportion\n"
           "1510 : 1175 of a real tray card, saved as a JPEG that prints 151 mm wide.\n"
           "\n"
           "FILE, a scan of the back card alone or of the whole wrap-around cover (JPEG, PNG,\n"
           "TIFF or WebP), is opened at start as the Open button would open it.\n"
           "\n"
           "In the window, F1 shows the user guide.\n"
           "\n"
           "Options:\n"
           "  -h, --help     show this text and exit\n"
           "  --version      show the version and exit\n"
           "\n"
           "The window shows no error messages. The status line below the pictures says what\n"
           "went wrong, and the details are appended to trayvane.log beside the program or,\n"
           "where that cannot be written, to $XDG_STATE_HOME/trayvane/trayvane.log\n"
           "(~/.local/state/trayvane/trayvane.log when XDG_STATE_HOME is not set).\n"
           "\n"
           "Exit status: 0, or 2 for a usage error.\n";
}

std::string CommandLineVersionText() {
    return "trayvane " TRAYVANE_VERSION "\n";
}
