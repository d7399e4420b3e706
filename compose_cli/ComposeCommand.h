#pragma once

// trayvane-compose, the batch command: composes tray inlays from JPEG scans as the window does,
// for people with a stack of scans and for scripts.
//
//   trayvane-compose [--layout auto|back|back-and-front] [--spine N] INPUT OUTPUT
//   trayvane-compose [options] --output-dir DIR INPUT...
//
// Each input goes through LoadJpegFile, the layout the window would choose for its proportions
// (unless --layout names one), ComposeTrayInlay with the spine setting, and SaveJpegFile at
// quality 95; an OUTPUT ending in ".ppm" is written as binary PPM instead, one ending in ".pdf"
// as a print sheet (--paper, --bleed) by the PDF writer program (compose_cli/PrintSheetHelper.h).
// With --output-dir, INPUT "/scans/cover.jpg" gives "DIR/cover-inlay.jpg" (or .ppm, .pdf by
// --format).

#include "base/Exception.h"
#include "composer/InlayLayout.h"
#include "print_sheet/Paper.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

DECLARE_EXCEPTION_CLASS(EUsageError, Exception);

enum class TOutputFormat : std::uint8_t { Jpeg, Ppm, Pdf };

struct TComposeOptions {
    std::optional<TInlayLayout> Layout;  // none: chosen from each picture's proportions
    int Spine = 0;                       // one of SpineSettings
    std::string OutputDir;               // set: batch form, one output per input
    std::vector<std::string> Inputs;     // one in the single form
    std::string Output;                  // the single form's OUTPUT
    std::optional<TPaper> Paper;         // of PDF outputs; none: from the locale
    double Bleed = 0;                    // of PDF outputs, 0 to MaxBleedMm millimetres
    std::optional<TOutputFormat> Format; // of the batch form's outputs; none: JPEG
    bool ShowHelp = false;
    bool ShowVersion = false;
};

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFileFailed = 1;
inline constexpr int ExitUsage = 2;

// Parses the arguments after the program name. Options may come anywhere before "--", as
// "--spine 5" or "--spine=5". Throws EUsageError with a one-line reason for an unknown option,
// a missing or wrong value, or the wrong number of file names; --help and --version need none.
TComposeOptions ParseComposeArguments(const std::vector<std::string>& Arguments);

std::string ComposeUsageText();
std::string ComposeVersionText();

// DIR/NAME-inlay.jpg, NAME being Input's file name without folder and extension; .ppm or .pdf
// for those formats.
std::string BatchOutputName(const std::string& OutputDir, const std::string& Input,
                            TOutputFormat Format = TOutputFormat::Jpeg);

// What an OUTPUT name asks for: PPM for ".ppm", PDF for ".pdf" (in any case), else JPEG.
TOutputFormat OutputFormatOf(const std::string& Output);

// Loads Input, composes its inlay (in Layout, or the one its proportions give) and writes it to
// Output. Throws what the steps throw.
void ComposeFile(const std::string& Input, const std::string& Output,
                 std::optional<TInlayLayout> Layout, int Spine);

// Runs the whole command: help, version or the files, each failure reported on Err as
// "trayvane-compose: INPUT: CLASS: MESSAGE" (the message's line breaks as lines) before the
// next file. Returns ExitSuccess, ExitFileFailed when any file failed, or ExitUsage (after the
// reason and the usage text on Err).
int RunComposeCommand(const std::vector<std::string>& Arguments, std::ostream& Out,
                      std::ostream& Err);
