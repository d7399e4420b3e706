// trayvane-print-sheet: the PDF writer of trayvane-compose (compose_cli/PrintSheetHelper.h),
// started by it for each PDF output. Draws with Qt on the offscreen platform, so it needs no
// display.

#include "base/EndWithParent.h"
#include "compose_cli/ComposeCommand.h"
#include "compose_cli/PrintSheetFile.h"
#include "compose_cli/SheetOutput.h"
#include "picture_codecs/CodecPictures.h"

#include <QGuiApplication>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Qt's notes (a missing runtime folder, say) are not for the user of a batch command; a fatal
// message still ends the writer, which trayvane-compose reports.
void DropQtMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

int main(int argc, char** argv) {
    // Started by trayvane-compose: end with it, and never write after it has gone.
    if (const char* Parent = std::getenv(PrintSheetParentVariable)) {
        if (!EndWithParent(std::atol(Parent)))
            return 1;
    }
    RegisterCodecPictures();
    try {
        const TComposeOptions Options =
            ParseComposeArguments(std::vector<std::string>(argv + 1, argv + argc));
        if (Options.Inputs.empty() || Options.Output.empty() || !Options.Paper)
            throw EUsageError("give --paper, INPUT and OUTPUT");

        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(DropQtMessages);
        // Qt sees only the program's name: it would take some file names for its own options.
        int QtArgc = 1;
        QGuiApplication Application(QtArgc, argv);
        const TSheetReport Report =
            WritePrintSheetFile(Options.Inputs, Options.Output, PrintSheetJobOf(Options));
        std::cerr << SheetReportText(Report) << std::flush;
        return SheetReportFailed(Report) ? 1 : 0;
    } catch (const std::exception& E) {
        std::cerr << SheetReportText({FailureRecord(argc > 1 ? argv[argc - 1] : "", E)})
                  << std::flush;
        return 1;
    }
}
