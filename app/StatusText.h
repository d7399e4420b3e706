#pragma once

// What the window's status line says after each thing that happens: a pure function from what
// happened to one line of plain text, so that every sentence can be checked without a window.
//
//   loaded   "night-trains.jpg, 2850 × 1200: back and front"
//   damaged  "cut.jpg, 611 × 297: back and front — cut.jpg is damaged: premature end of data
//            segment" (in the warning colour, behind a load whose data libjpeg found damaged)
//   loaded   "night-trains.jpg, 2850 × 1200: back and front", then after " — " what the picture
//            suggests: "This looks like a whole tray card: TRAY CARD reprints it as it is", or
//            "The spine lies 2.4 mm right of the cut: Find spine (Ctrl+F) cuts there"
//   saved    "Saved night-trains-inlay.jpg: 151 × 117.5 mm at 255 dpi"
//   low      "Low resolution: 96 dpi at tray-card size" (alone after a recomposition, after
//            " — " behind a load or a save)
//   error    "Couldn't read NAME: REASON. Details in ~/.local/state/trayvane/trayvane.log"
//   dropped  "No picture among the dropped files", "Couldn't read NAME: REASON"
//   spine    "Spine found: 6.4 mm wide at 138.0 mm"
//   printed  "Printed to night-trains-inlay.pdf: 151 × 117.5 mm at 255 dpi",
//            "Sent to printer Office: 151 × 117.5 mm at 255 dpi"
//
// File names are shown without their folder. Texts are UTF-8.

#include "composer/InlayLayout.h"
#include "composer/TrayCard.h"

#include <optional>
#include <string>
#include <variant>

// A picture was loaded: its file, its size and the layout chosen for it; the composed inlay
// prints at InlayDotsPerInch (0: nothing was composed).
struct TLoadedStatus {
    std::string FileName;
    int Width = 0;
    int Height = 0;
    TInlayLayout Layout = TInlayLayout::Back;
    int InlayDotsPerInch = 0;
    // libjpeg's words for damage in the data ("Corrupt JPEG data: premature end of data
    // segment"); empty for sound data.
    std::string Damage;
    bool LooksLikeTrayCard = false; // suggest the tray-card layout
    // Where the spine finder found the spine, in millimetres at tray-card size right (above 0) or
    // left (below 0) of the layout's own cut; none: nothing to say.
    std::optional<double> SpineOffsetMm = std::nullopt;
    std::string FindSpineKey = "Ctrl+F"; // the key named in the spine hint
};

// A spine found farther than this from the layout's own cut is worth a hint.
inline constexpr double SpineHintMm = 1.0;

// The inlay was composed again (a layout click, a spine change).
struct TComposedStatus {
    int InlayDotsPerInch = 0;
};

// The inlay was saved to FileName with DotsPerInch in its header.
struct TSavedStatus {
    std::string FileName;
    int DotsPerInch = 0;
};

// What was being done to a file when an error came.
enum class TFileAction { None, Read, Save };

// An error was logged. Action and FileName say what was being done (None: nothing with a
// file); Message is the error's message; LogPath is where its record went ("" for standard
// error), already shortened for showing.
struct TErrorStatus {
    TFileAction Action = TFileAction::None;
    std::string FileName;
    std::string Message;
    std::string LogPath;
};

// A drop was ignored: none of its files was a picture (FailedFileName ""), or the picture
// FailedFileName could not be read, Message being the error's message.
struct TDropIgnoredStatus {
    std::string FailedFileName;
    std::string Message;
};

// Find spine found the spine and the inlay was composed at it: the strip is picture columns Left
// to Right - 1 as composed (at the slider's setting). Said in millimetres of the printed tray
// card, whose 151 mm take the back card (every column left of the strip) and the strip twice:
// how wide each spine strip prints, and where the strip begins, measured from the picture's left
// edge at that scale (the width the back card prints).
struct TSpineFoundStatus {
    int Left = 0;
    int Right = 0;
    int InlayDotsPerInch = 0;
};

// The print sheet went to a printer (ToFile false: Target is its name) or into a PDF file
// (Target), the inlay at DotsPerInch.
struct TPrintedStatus {
    std::string Target;
    bool ToFile = false;
    int DotsPerInch = 0;
};

using TStatusEvent = std::variant<TLoadedStatus, TComposedStatus, TSavedStatus, TErrorStatus,
                                  TDropIgnoredStatus, TSpineFoundStatus, TPrintedStatus>;

// One line for the status line; Warning asks for the warning colour. An empty Text clears it.
struct TStatusText {
    std::string Text;
    bool Warning = false;

    bool operator==(const TStatusText&) const = default;
};

TStatusText StatusText(const TStatusEvent& Event);

// The reason an error message gives: for the JPEG bridge's messages ("...\rError: TEXT\r...")
// the TEXT after "Error: " on its line; for any other message the whole of it with every line
// break (CR, LF or CR LF) turned into one space and spaces at either end removed.
std::string ErrorReason(const std::string& Message);

// Path as shown to a person: with Home's folder at its start written "~" ("/home/ann/x" and
// "/home/ann" give "~/x"). Path unchanged when Home is empty or "/" or does not start it.
std::string AbbreviateHome(const std::string& Path, const std::string& Home);
