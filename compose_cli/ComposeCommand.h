#pragma once

// trayvane-compose, the batch command: composes tray inlays from JPEG, PNG, TIFF and WebP scans
// as the window does, for people with a stack of scans and for scripts.
//
//   trayvane-compose [--layout auto|back|back-and-front|tray-card] [--spine N]
//                    [--find-spine | --cut LEFT:RIGHT] [--rotate 0|90|180|270] [--straighten]
//                    INPUT OUTPUT
//   trayvane-compose [options] --output-dir DIR INPUT...
//
// Each input is loaded as the window loads it (PNG, TIFF and WebP files through the picture
// registry, any other through LoadUprightJpegFile), gets the layout the window would choose for
// its proportions (unless --layout names one), is composed with the spine setting (at the spine
// the finder finds, with --find-spine) and written with SaveJpegFile at quality 95; an OUTPUT
// ending in ".ppm" is written as binary PPM instead, ".png" or ".tif"/".tiff" losslessly
// (picture_codecs/LosslessInlayFile.h), one ending in ".pdf" as a print sheet (--paper, --bleed)
// by the PDF writer program (compose_cli/PrintSheetHelper.h). With --output-dir, INPUT
// "/scans/cover.jpg" gives "DIR/cover-inlay.jpg" (or .ppm, .pdf, .png, .tif by --format), and
// --jobs files are composed at once. The programs register the codec pictures
// (RegisterCodecPictures) at start.
//
// Plain JPEG scans go a faster way to the same bytes (TakesFastWay, compose_cli/RowComposition.h).

#include "base/Exception.h"
#include "compose_cli/CoverComposition.h"
#include "composer/InlayLayout.h"
#include "jpeg_bridge/JpegRowReader.h"
#include "print_sheet/Paper.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

DECLARE_EXCEPTION_CLASS(EUsageError, Exception);

enum class TOutputFormat : std::uint8_t { Jpeg, Ppm, Pdf, Png, Tiff };

struct TComposeOptions {
    std::optional<TInlayLayout> Layout;  // none: chosen from each picture's proportions
    int Spine = 0;                       // one of SpineSettings
    std::string OutputDir;               // set: batch form, one output per input
    std::vector<std::string> Inputs;     // one in the single form
    std::string Output;                  // the single form's OUTPUT
    std::optional<TPaper> Paper;         // of PDF outputs; none: from the locale
    double Bleed = 0;                    // of PDF outputs, 0 to MaxBleedMm millimetres
    std::optional<TOutputFormat> Format; // of the batch form's outputs; none: JPEG
    int Jobs = 0;                        // files composed at once; 0: DefaultJobs()
    bool FindSpine = false;              // cut where FindSpine finds the spine
    std::optional<TSpineCut> Cut;        // --cut: an explicit cut, its edges at position 0
    std::optional<int> PerSheet;         // tray cards a PDF page: 1 or 2; none: 1
    std::string Front;                   // the front cover's picture for a PDF; "": none
    bool FrontFromCover = false;         // the front cover from each input's own picture
    bool NoCaption = false;              // no caption on a PDF's sheets
    TScanPreparation Scan;               // --rotate and --straighten, before all else
    bool ShowHelp = false;
    bool ShowVersion = false;
};

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFileFailed = 1;
inline constexpr int ExitUsage = 2;

// Parses the arguments after the program name. Options may come anywhere before "--", as
// "--spine 5" or "--spine=5". Several INPUTs before an OUTPUT ending in ".pdf" go into that one
// PDF. Throws EUsageError with a one-line reason for an unknown option, a missing or wrong value,
// the wrong number of file names, or options that do not go together (compose_cli/SheetOptions.h;
// --layout tray-card with a --spine other than 0, --find-spine or --cut; --cut with
// --find-spine); --help and --version need none.
TComposeOptions ParseComposeArguments(const std::vector<std::string>& Arguments);

// The number of files composed at once unless --jobs says: the number of cores, at most 4.
int DefaultJobs();

std::string ComposeUsageText();
std::string ComposeVersionText();

// DIR/NAME-inlay.jpg, NAME being Input's file name without folder and extension; .ppm, .pdf, .png
// or .tif for those formats.
std::string BatchOutputName(const std::string& OutputDir, const std::string& Input,
                            TOutputFormat Format = TOutputFormat::Jpeg);

// What an OUTPUT name asks for: PPM for ".ppm", PDF for ".pdf", PNG for ".png", TIFF for ".tif"
// and ".tiff" (in any case), else JPEG.
TOutputFormat OutputFormatOf(const std::string& Output);

// Throws EUsageError naming the endings when the single form's OUTPUT does not end in .jpg,
// .jpeg, .ppm, .pdf, .png, .tif or .tiff (in any case), unless it already exists as a device or a
// named pipe, or is a link to one (/dev/stdout), which is written whatever its name.
void CheckOutputName(const std::string& Output);

// Loads Input, composes its inlay (ComposeCover) and writes it to Output in the format its name
// asks for. Throws what the steps throw.
TFileOutcome ComposeFile(const std::string& Input, const std::string& Output,
                         const TCoverRequest& Request);
// The same in Layout, or the one its proportions give; with LookForSpine at the spine FindSpine
// finds, else, and when it finds none, at the layout's own cut.
TFileOutcome ComposeFile(const std::string& Input, const std::string& Output,
                         std::optional<TInlayLayout> Layout, int Spine, bool LookForSpine = false,
                         const TScanPreparation& Preparation = {});

// Whether a file goes the fast way (compose_cli/RowComposition.h) rather than the full one
// above: only where that way gives the same file, that is for a JPEG scan of grey or colour (Scan
// has read its header) that needs no turning (no orientation tag of 2 to 8) and is not named as a
// PNG, TIFF or WebP picture, whose inlay is written as JPEG or PPM, with nothing asked for beyond
// layout and spine (no --find-spine, --rotate or --straighten). Everything else goes the full
// way.
bool TakesFastWay(const TComposeOptions& Options, const std::string& Input,
                  const std::string& Output, const TJpegRowReader& Scan);

// Composes Input into Output as ComposeFile does, the fast way where TakesFastWay allows it. A
// file that fails on the fast way is composed again the full way, which reports the failure in
// its own words (and succeeds where only the fast way failed). TwoThreads lets the fast way
// decode a large scan on two threads. Returns what ComposeFile returns; throws what it throws.
TFileOutcome ComposeOneFile(const std::string& Input, const std::string& Output,
                            const TComposeOptions& Options, bool TwoThreads);

// The message, its line breaks as lines: how a failed file is reported.
std::string DescribeComposeError(const std::string& Message);

// Runs the whole command: help, version or the files, each failure reported on Err as
// "trayvane-compose: INPUT: MESSAGE" (the message's line breaks as lines) before the
// next file; with several files in flight the reports still come in the order of the inputs.
// With --find-spine each file without a spine found is reported as "trayvane-compose: INPUT: no
// spine found, the layout's own cut is used" (not a failure), and a file whose inlay prints below
// LowResolutionDotsPerInch as "trayvane-compose: INPUT: Low resolution: 72 dpi at tray-card
// size", as the window warns (not a failure either). A --cut that a picture cannot take is a
// usage error of that file: "trayvane-compose: INPUT: --cut: REASON", nothing written (for a
// PDF checked before its writer starts). Returns ExitSuccess, ExitFileFailed when any file
// failed, or ExitUsage (after the reason and the usage text on Err, or after a --cut that a
// picture could not take).
int RunComposeCommand(const std::vector<std::string>& Arguments, std::ostream& Out,
                      std::ostream& Err);
