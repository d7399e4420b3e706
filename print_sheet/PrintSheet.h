#pragma once

// The print sheet: a page with the tray inlay at its exact printed size, 151 x 117.5 mm, and what
// is needed to cut and fold it; or two pieces one above the other: two tray cards, or the tray
// card and the front cover (120 x 120 mm). All measures are millimetres from the page's top-left
// corner, x to the right and y down.
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
//
// One piece is centred on the page with the caption below it. Two pieces are centred across,
// PieceGap apart, the pair centred down the page; the caption lies in the gap between them,
// clear of every mark there, and no mark of one piece reaches the other's picture.

#include "composer/TrayCard.h"

#include <cstdint>
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
inline constexpr double FrontCoverMm = 120.0;             // the front cover's side, square
// Between two pieces: their marks (CropMarkGap + CropMarkLength each way) stay clear of the other
// piece's picture with the widest bleed, and the caption fits between them.
inline constexpr double PieceGap = 12.0;
// Every picture and mark keeps this far from the page's edges, where printers cannot print.
inline constexpr double MinPageMargin = 5.0;

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

enum class TSheetPieceKind : std::uint8_t { TrayCard, FrontCover };

// What one piece of a sheet shows: a tray card's inlay or a front cover's square picture
// (SpineWidth 0).
struct TSheetItem {
    TSheetPieceKind Kind = TSheetPieceKind::TrayCard;
    TSheetInlay Picture;
};

// One picture on the page, cut out along its crop marks.
struct TSheetPiece {
    TSheetPieceKind Kind = TSheetPieceKind::TrayCard;
    TMmRect Card;      // where the picture is cut out: 151 x 117.5, or 120 x 120 for a front cover
    TMmRect BleedArea; // Card grown by the bleed on every side; the picture is clipped to it
    // Edge pixels repeated beyond each side of the inlay for the bleed: the fewest that cover
    // BleedMm at the inlay's own scale.
    int BleedColumns = 0;
    int BleedRows = 0;
    // Where the inlay with its repeated edges is drawn: the inlay's own pixels exactly on Card,
    // the repeated ones beyond it, so that the picture is never resampled to fit the bleed.
    TMmRect PictureArea;
    std::vector<TMmLine> CropMarks; // eight: two at each corner
    std::vector<double> FoldX;      // the x of both folds; none for a front cover or an inlay
                                    // without a spine strip
    std::vector<TMmLine> FoldDashes;
};

struct TPrintSheet {
    double PageWidth = 0;
    double PageHeight = 0;
    std::vector<TSheetPiece> Pieces; // one or two, from the top
    // One piece: the card's width, below the lower marks. Two: in the gap between them, as wide
    // as the marks there allow.
    TMmRect CaptionArea;
    std::string Caption; // none drawn when empty
};

// Lays the sheet out on Paper for Items (one or two, the first on top) with a bleed of BleedMm.
// Throws Exception "No image to print" for no items or an empty picture, EPrintSheetError for a
// bleed outside 0 to MaxBleedMm or more than two items. Paper is not checked: a page too small
// gets the pieces placed all the same, overlapping the page's edges, as printing at 100 % would
// (SheetFitsPage tells).
TPrintSheet ComputePrintSheet(const TPaper& Paper, double BleedMm,
                              const std::vector<TSheetItem>& Items, std::string Caption);

// The sheet of one tray card: ComputePrintSheet with Inlay as the only item.
TPrintSheet ComputePrintSheet(const TPaper& Paper, double BleedMm, const TSheetInlay& Inlay,
                              std::string Caption);

// Whether every picture (with its bleed), every mark and the caption's box (when there is a
// caption) of Sheet lie at least MinPageMargin from the page's edges.
bool SheetFitsPage(const TPrintSheet& Sheet);

// "" when the sheet of Items with BleedMm fits Paper (SheetFitsPage); otherwise the sentence that
// refuses it, naming the page's size and the papers that fit, portrait: "The page, 148 x 210 mm,
// is too small for this sheet: print it on A4 or Letter paper, portrait". Throws what
// ComputePrintSheet throws.
std::string PageTooSmallMessage(const TPaper& Paper, double BleedMm,
                                const std::vector<TSheetItem>& Items, const std::string& Caption);
