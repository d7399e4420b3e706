#pragma once

// The window program's command line:
//
//   trayvane [FILE]
//
// FILE is opened at start as if chosen in the open dialog. --help and --version print their
// text and end the program before any window exists. The parsing is done before the GUI
// toolkit starts (so that --help works without a screen) and again on what the toolkit leaves
// after taking its own options (-platform, -style, ...).

#include <string>
#include <vector>

enum class TCommandLineAction { Run, Help, Version, UsageError };

struct TCommandLine {
    TCommandLineAction Action = TCommandLineAction::Run;
    std::string FileName; // Run: the picture to open, "" for none
    std::string Error;    // UsageError: the reason, one line
};

// Parses the arguments after the program name. --help (or -h) and --version anywhere before
// "--" win over everything else, --help over --version; "--" ends the options. An unknown
// option, or more than one FILE, is a usage error.
TCommandLine ParseCommandLine(const std::vector<std::string>& Arguments);

std::string CommandLineHelpText();
std::string CommandLineVersionText();
