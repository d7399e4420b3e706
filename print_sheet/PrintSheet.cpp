#include "print_sheet/PrintSheet.h"

#include "base/Exception.h"
#include "composer/TrayCard.h"
#include "print_sheet/Paper.h"
#include "print_sheet/PrintSheetError.h"

#include <cmath>

namespace {

// The fewest pixels that cover Length millimetres at Pixels pixels per Size millimetres. The
// small allowance keeps an exact fit (3 mm of a 1510-pixel inlay: 30 columns) from rounding up
// through the division's last bit.
int PixelsCovering(double Length, int Pixels, double Size) {
    return static_cast<int>(std::ceil(Length * Pixels / Size - 1e-9));
}

// Dashes of FoldDashLength from Y1 towards Y2, beginning at Y1.
void AddDashes(std::vector<TMmLine>& Dashes, double X, double Y1, double Y2) {
    const double Direction = Y2 > Y1 ? 1.0 : -1.0;
    const double Length = std::abs(Y2 - Y1);
    for (double At = 0; At < Length; At += 2 * FoldDashLength) {
        const double End = std::min(At + FoldDashLength, Length);
        Dashes.push_back({X, Y1 + Direction * At, X, Y1 + Direction * End});
    }
}

} // namespace

TPrintSheet ComputePrintSheet(const TPaper& Paper, double BleedMm, const TSheetInlay& Inlay,
                              std::string Caption) {
    if (Inlay.Width < 1 || Inlay.Height < 1)
        throw Exception(NoImageToPrintMessage);
    if (!(BleedMm >= 0 && BleedMm <= MaxBleedMm))
        throw EPrintSheetError(BleedRangeMessage);

    TPrintSheet Sheet;
    Sheet.PageWidth = Paper.Width;
    Sheet.PageHeight = Paper.Height;
    const double CardWidth = TrayCardWidthMm;
    Sheet.Card = {(Paper.Width - CardWidth) / 2, (Paper.Height - TrayCardHeightMm) / 2, CardWidth,
                  TrayCardHeightMm};
    const TMmRect& Card = Sheet.Card;

    Sheet.BleedArea = {Card.Left - BleedMm, Card.Top - BleedMm, Card.Width + 2 * BleedMm,
                       Card.Height + 2 * BleedMm};
    Sheet.BleedColumns = PixelsCovering(BleedMm, Inlay.Width, Card.Width);
    Sheet.BleedRows = PixelsCovering(BleedMm, Inlay.Height, Card.Height);
    const double ExtraX = Sheet.BleedColumns * Card.Width / Inlay.Width;
    const double ExtraY = Sheet.BleedRows * Card.Height / Inlay.Height;
    Sheet.PictureArea = {Card.Left - ExtraX, Card.Top - ExtraY, Card.Width + 2 * ExtraX,
                         Card.Height + 2 * ExtraY};

    const double Near = CropMarkGap, Far = CropMarkGap + CropMarkLength;
    for (const double X : {Card.Left, Card.Right()})
        for (const double Y : {Card.Top, Card.Bottom()}) {
            const double Dx = X == Card.Left ? -1 : 1;
            const double Dy = Y == Card.Top ? -1 : 1;
            Sheet.CropMarks.push_back({X + Dx * Near, Y, X + Dx * Far, Y}); // along the edge
            Sheet.CropMarks.push_back({X, Y + Dy * Near, X, Y + Dy * Far});
        }

    // The spine strips are the inlay's first and last SpineWidth columns.
    if (Inlay.SpineWidth > 0 && 2 * Inlay.SpineWidth < Inlay.Width) {
        const double Spine = Inlay.SpineWidth * Card.Width / Inlay.Width;
        Sheet.FoldX = {Card.Left + Spine, Card.Right() - Spine};
        for (const double X : Sheet.FoldX) {
            AddDashes(Sheet.FoldDashes, X, Card.Top - Near, Card.Top - Far);
            AddDashes(Sheet.FoldDashes, X, Card.Bottom() + Near, Card.Bottom() + Far);
        }
    }

    Sheet.CaptionArea = {Card.Left, Card.Bottom() + Far + CaptionGap, Card.Width, CaptionHeight};
    Sheet.Caption = std::move(Caption);
    return Sheet;
}
