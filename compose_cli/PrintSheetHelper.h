#pragma once

// The batch command's PDF writer is a program of its own, trayvane-print-sheet, because drawing
// the sheet takes Qt: loading Qt's libraries would cost every run of trayvane-compose time and
// memory, so only the outputs that are PDF files pay for them. trayvane-compose starts the
// writer once for each PDF output and waits for it; the writer loads and composes the picture
// as trayvane-compose does and writes the sheet (print_sheet/PdfSheet.h) on Qt's offscreen
// platform, without a display.
//
// The writer takes the single form of trayvane-compose's arguments, with the layout, spine, paper
// and bleed spelt out (and --find-spine or --cut when asked for). It exits with 0 when the PDF was
// written (PrintSheetNoSpineExit when it was written at the layout's own cut because no spine was
// found); with 1 after a failure, which it reports on its standard error as the error's class name,
// a line break, and the message.

#include "base/Exception.h"
#include "compose_cli/CoverComposition.h"
#include "composer/InlayLayout.h"
#include "composer/SpineCut.h"
#include "print_sheet/Paper.h"

#include <optional>
#include <string>
#include <vector>

inline constexpr const char* PrintSheetHelperName = "trayvane-print-sheet";

// What one PDF output is made with.
struct TPrintSheetJob {
    std::optional<TInlayLayout> Layout; // none: chosen from the picture's proportions
    int Spine = 0;
    TPaper Paper;
    double Bleed = 0;
    bool FindSpine = false;       // cut where FindSpine finds the spine
    std::optional<TSpineCut> Cut; // an explicit cut, its edges at position 0
    TScanPreparation Scan;        // turned and straightened before all else
};

// The writer's exit status after a sheet written at the layout's own cut because the spine
// finder, asked for, found no spine (0 after any other sheet written).
inline constexpr int PrintSheetNoSpineExit = 3;

// A failure the writer reported: its message, under the class name the writer gave it, so that
// it reads as the same failure would in trayvane-compose itself.
class EPrintSheetHelperError : public Exception {
public:
    EPrintSheetHelperError(std::string ClassName, std::string Message)
        : Exception(std::move(Message)), FClassName(std::move(ClassName)) {}
    const char* ClassName() const noexcept override { return FClassName.c_str(); }

private:
    std::string FClassName;
};

// The writer's arguments for a job: "--layout L --spine N --paper P --bleed B [--find-spine]
// [--cut LEFT:RIGHT] [--rotate R] [--straighten] -- INPUT OUTPUT".
std::vector<std::string> PrintSheetHelperArguments(const std::string& Input,
                                                   const std::string& Output,
                                                   const TPrintSheetJob& Job);

// The writer's path: beside the running program (the build folder), else in the folder it is
// installed to (libexec/trayvane beside bin). Throws Exception when neither exists.
std::string FindPrintSheetHelper();

// Writes Output, the print sheet of Input, through the writer, and waits for it. Returns what
// became of the spine search. Throws EPrintSheetHelperError with what the writer reported, or
// Exception when the writer cannot be found or started or ends without a report (a crash, say).
TSpineSearch RunPrintSheetHelper(const std::string& Input, const std::string& Output,
                                 const TPrintSheetJob& Job);

// How the writer reports Error on its standard error: the class name, "\n", the message.
std::string PrintSheetHelperReport(const std::exception& Error);
