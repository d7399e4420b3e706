// Program start: the command line (app/CommandLine.h), then the application, titled "Trayvane",
// and its one window, which lives until it is closed. Errors inside the window's handlers go to
// the exception log beside the executable (or in the user's state folder) and the status line.

#include "app/CommandLine.h"
#include "app/DataFile.h"
#include "app/ExceptionLog.h"
#include "app/ExecutablePath.h"
#include "app/MainForm.h"
#include "app/settings/UserRegistry.h"
#include "base/FileStream.h"
#include "jpeg_bridge/JPEGImage.h"
#include "picture_codecs/CodecPictures.h"

#include <QApplication>
#include <QIcon>

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ArgumentsOf(int argc, char* argv[]) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

} // namespace

int main(int argc, char* argv[]) {
    // --help and --version are answered before the toolkit starts, so they need no screen.
    const TCommandLine Early = ParseCommandLine(ArgumentsOf(argc, argv));
    if (Early.Action == TCommandLineAction::Help) {
        std::cout << CommandLineHelpText();
        return 0;
    }
    if (Early.Action == TCommandLineAction::Version) {
        std::cout << CommandLineVersionText();
        return 0;
    }

    QApplication Application(argc, argv);
    // What is left once Qt has taken its own options (-platform, -style, ...).
    const TCommandLine CommandLine = ParseCommandLine(ArgumentsOf(argc, argv));
    if (CommandLine.Action == TCommandLineAction::UsageError) {
        std::cerr << "trayvane: " << CommandLine.Error << "\n\n" << CommandLineHelpText();
        return 2;
    }
    // Qt takes the user's locale for everything but numbers; the log's date and time need it.
    std::setlocale(LC_TIME, "");
    // The application's title. (Not its display name: Qt would add that to every window caption.)
    QApplication::setApplicationName(QStringLiteral("Trayvane"));
    QApplication::setDesktopFileName(QStringLiteral("trayvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/Trayvane.svg")));

    RegisterJpegPictures();
    RegisterCodecPictures();
    const std::string Executable = ExecutablePath();
    TMainForm MainForm(UserRegistryStore(), ExceptionLogPath(Executable),
                       DataFilePath(Executable, PlaceholderFileName));
    MainForm.show();
    if (!CommandLine.FileName.empty())
        MainForm.OpenFile(ExpandFileName(CommandLine.FileName));
    return QApplication::exec();
}
