#pragma once

// The print sheet: one page with the tray inlay at its exact printed size, 151 x 117.5 mm,
// centred, and what is needed to cut and fold it. All measures are millimetres from the page's
// top-left corner, x to the right and y down.
//
//          |   :         :   |        crop marks: hairlines CropMarkLength long, starting
//          |   :         :   |        CropMarkGap from the card, on the lines of its edges
//   ----                         ---- fold marks: dashes above and below the card at the x
//          +---+---------+---+        where each spine strip meets the back card
//          |   |         |   |
//          | S |  back   | S |        bleed: the picture extends BleedMm beyond the card by
//          |   |         |   |        repeating its edge pixels (at most MaxBleedMm, which
//          +---+---------+---+        stays inside the gap to the marks)
//   ----                         ----
//          |   :         :   |
//            caption (name, layout, spine)

#include "composer/TrayCard.h"

#include <string>
#include <vector>

struct TPaper;

// The card's size (TrayCardWidthMm, TrayCardHeightMm) is the composer's (composer/TrayCard.h).
inline constexpr double CropMarkGap = 3.0;
inline constexpr double CropMarkLength = 5.0;
inline constexpr double FoldDashLength = 1.0; // dash and gap alike
inline constexpr double MaxBleedMm = 3.0;
inline constexpr double CaptionGap = 2.0;    // between the marks' outer end and the caption
inline constexpr double CaptionHeight = 4.0; // the box the caption line is set in
inline constexpr double MarkLineWidth = 0.25 * 25.4 / 72; // a quarter point: a hairline

struct TMmRect {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;

    double Right() const noexcept { return Left + Width; }
    double Bottom() const noexcept { return Top + Height; }
    bool operator==(const TMmRect&) const = default;
};

struct TMmLine {
    double X1 = 0;
    double Y1 = 0;
    double X2 = 0;
    double Y2 = 0;

    bool operator==(const TMmLine&) const = default;
};

// The composed inlay as the sheet needs it: its size in pixels and the width of the spine strip
// at each side (the composition's spine width B).
struct TSheetInlay {
    int Width = 0;
    int Height = 0;
    int SpineWidth = 0;
};

struct TPrintSheet {
    double PageWidth = 0;
    double PageHeight = 0;
    TMmRect Card;      // where the inlay is cut out: 151 x 117.5, centred on the page
    TMmRect BleedArea; // Card grown by the bleed on every side; the picture is clipped to it
    // Edge pixels repeated beyond each side of the inlay for the bleed: the fewest that cover
    // BleedMm at the inlay's own scale.
    int BleedColumns = 0;
    int BleedRows = 0;
    // Where the inlay with its repeated edges is drawn: the inlay's own pixels exactly on Card,
    // the repeated ones beyond it, so that the picture is never resampled to fit the bleed.
    TMmRect PictureArea;
    std::vector<TMmLine> CropMarks; // eight: two at each corner
    std::vector<double> FoldX;      // the x of both folds; none when the inlay has no spine strip
    std::vector<TMmLine> FoldDashes;
    TMmRect CaptionArea; // the card's width, below the lower marks
    std::string Caption;
};

// Lays the sheet out on Paper for Inlay with a bleed of BleedMm. Throws Exception "No image to
// print" for an empty inlay, EPrintSheetError for a bleed outside 0 to MaxBleedMm. Paper is not
// checked: a page too small for the card gets the card centred all the same, overlapping the
// page's edges, as printing at 100 % would.
TPrintSheet ComputePrintSheet(const TPaper& Paper, double BleedMm, const TSheetInlay& Inlay,
                              std::string Caption);
