#pragma once

// The batch command's PDF writer is a program of its own, trayvane-print-sheet, because drawing
// the sheet takes Qt: loading Qt's libraries would cost every run of trayvane-compose time and
// memory, so only the outputs that are PDF files pay for them. trayvane-compose starts the
// writer once for each PDF output and waits for it; the writer loads and composes the picture
// as trayvane-compose does and writes the sheet (print_sheet/PdfSheet.h) on Qt's offscreen
// platform, without a display.
//
// The writer takes trayvane-compose's arguments for one PDF (one INPUT or several, then OUTPUT),
// with the layout, spine, paper and bleed spelt out and the sheet's other options when asked for.
// It reports what befell each file on its standard error (compose_cli/SheetReport.h) and exits
// with 0 when every input was printed, with 1 when any file failed (the others are printed; no
// PDF is written when nothing could be printed).

#include "base/Exception.h"
#include "compose_cli/CoverComposition.h"
#include "compose_cli/SheetReport.h"
#include "composer/InlayLayout.h"
#include "composer/SpineCut.h"
#include "print_sheet/Paper.h"

#include <optional>
#include <string>
#include <vector>

inline constexpr const char* PrintSheetHelperName = "trayvane-print-sheet";

// The environment variable through which trayvane-compose gives the writer its process id: the
// writer ends as soon as that process ends (base/EndWithParent.h), and at once when it has ended
// already. The writer's standard input and output are trayvane-compose's, so that an OUTPUT
// "/dev/stdout" (or a link to it) reaches the same place as any other output's bytes.
inline constexpr const char* PrintSheetParentVariable = "TRAYVANE_PRINT_SHEET_PARENT";

// What one PDF output is made with.
struct TPrintSheetJob {
    std::optional<TInlayLayout> Layout; // none: chosen from the picture's proportions
    int Spine = 0;
    TPaper Paper;
    double Bleed = 0;
    bool FindSpine = false;       // cut where FindSpine finds the spine
    std::optional<TSpineCut> Cut; // an explicit cut, its edges at position 0
    TScanPreparation Scan;        // turned and straightened before all else
    int PerSheet = 1;             // tray cards a page: 1, or 2 one above the other
    std::string Front;            // the front cover's picture, printed with the card; "" for none
    bool FrontFromCover = false;  // the front cover from each input's own picture
    bool Caption = true;
};

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
// [--cut LEFT:RIGHT] [--rotate R] [--straighten] [--per-sheet 2] [--front F | --front-from-cover]
// [--no-caption] -- INPUT... OUTPUT".
std::vector<std::string> PrintSheetHelperArguments(const std::vector<std::string>& Inputs,
                                                   const std::string& Output,
                                                   const TPrintSheetJob& Job);

// The writer's path: beside the running program (the build folder), else in the folder it is
// installed to (libexec/trayvane beside bin). Throws Exception when neither exists.
std::string FindPrintSheetHelper();

// Writes Output, the print sheets of Inputs, through the writer, and waits for it. Returns what
// the writer reported. Throws Exception when the writer cannot be found or started or ends
// without a report (a crash, say).
TSheetReport RunPrintSheetHelper(const std::vector<std::string>& Inputs, const std::string& Output,
                                 const TPrintSheetJob& Job);

// The failure record of Error about File, as the writer reports it.
TSheetRecord FailureRecord(const std::string& File, const std::exception& Error);
