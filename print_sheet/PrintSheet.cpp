#include "print_sheet/PrintSheet.h"

#include "base/Exception.h"
#include "composer/TrayCard.h"
#include "print_sheet/Paper.h"
#include "print_sheet/PrintSheetError.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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

double PieceWidth(TSheetPieceKind Kind) {
    return Kind == TSheetPieceKind::FrontCover ? FrontCoverMm : TrayCardWidthMm;
}

double PieceHeight(TSheetPieceKind Kind) {
    return Kind == TSheetPieceKind::FrontCover ? FrontCoverMm : TrayCardHeightMm;
}

// A piece cut out at Card, with its bleed, crop marks and (for a card) fold marks.
TSheetPiece LayOutPiece(const TSheetItem& Item, const TMmRect& Card, double BleedMm) {
    TSheetPiece Piece;
    Piece.Kind = Item.Kind;
    Piece.Card = Card;
    const TSheetInlay& Picture = Item.Picture;

    Piece.BleedArea = {Card.Left - BleedMm, Card.Top - BleedMm, Card.Width + 2 * BleedMm,
                       Card.Height + 2 * BleedMm};
    Piece.BleedColumns = PixelsCovering(BleedMm, Picture.Width, Card.Width);
    Piece.BleedRows = PixelsCovering(BleedMm, Picture.Height, Card.Height);
    const double ExtraX = Piece.BleedColumns * Card.Width / Picture.Width;
    const double ExtraY = Piece.BleedRows * Card.Height / Picture.Height;
    Piece.PictureArea = {Card.Left - ExtraX, Card.Top - ExtraY, Card.Width + 2 * ExtraX,
                         Card.Height + 2 * ExtraY};

    const double Near = CropMarkGap, Far = CropMarkGap + CropMarkLength;
    for (const double X : {Card.Left, Card.Right()})
        for (const double Y : {Card.Top, Card.Bottom()}) {
            const double Dx = X == Card.Left ? -1 : 1;
            const double Dy = Y == Card.Top ? -1 : 1;
            Piece.CropMarks.push_back({X + Dx * Near, Y, X + Dx * Far, Y}); // along the edge
            Piece.CropMarks.push_back({X, Y + Dy * Near, X, Y + Dy * Far});
        }

    // The spine strips are the inlay's first and last SpineWidth columns.
    if (Item.Kind == TSheetPieceKind::TrayCard && Picture.SpineWidth > 0 &&
        2 * Picture.SpineWidth < Picture.Width) {
        const double Spine = Picture.SpineWidth * Card.Width / Picture.Width;
        Piece.FoldX = {Card.Left + Spine, Card.Right() - Spine};
        for (const double X : Piece.FoldX) {
            AddDashes(Piece.FoldDashes, X, Card.Top - Near, Card.Top - Far);
            AddDashes(Piece.FoldDashes, X, Card.Bottom() + Near, Card.Bottom() + Far);
        }
    }
    return Piece;
}

// The caption's box between two pieces: centred across, as wide as the narrower piece less a
// millimetre's clearance from each vertical mark that reaches into the gap.
TMmRect CaptionBetween(const TSheetPiece& Upper, const TSheetPiece& Lower, double CentreX) {
    double Half = std::min(Upper.Card.Width, Lower.Card.Width) / 2;
    const double GapTop = Upper.Card.Bottom(), GapBottom = Lower.Card.Top;
    for (const TSheetPiece* Piece : {&Upper, &Lower})
        for (const auto* Marks : {&Piece->CropMarks, &Piece->FoldDashes})
            for (const TMmLine& Mark : *Marks)
                if (Mark.X1 == Mark.X2 && std::max(Mark.Y1, Mark.Y2) > GapTop &&
                    std::min(Mark.Y1, Mark.Y2) < GapBottom)
                    Half = std::min(Half, std::abs(Mark.X1 - CentreX) - 1.0);
    const double Top = GapTop + (GapBottom - GapTop - CaptionHeight) / 2;
    return {CentreX - Half, Top, 2 * Half, CaptionHeight};
}

bool Inside(double Value, double Low, double High) {
    return Value >= Low - 1e-9 && Value <= High + 1e-9;
}

std::string Millimetres(double Value) {
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.0f", Value);
    return Text;
}

} // namespace

TPrintSheet ComputePrintSheet(const TPaper& Paper, double BleedMm,
                              const std::vector<TSheetItem>& Items, std::string Caption) {
    if (Items.empty())
        throw Exception(NoImageToPrintMessage);
    for (const TSheetItem& Item : Items)
        if (Item.Picture.Width < 1 || Item.Picture.Height < 1)
            throw Exception(NoImageToPrintMessage);
    if (!(BleedMm >= 0 && BleedMm <= MaxBleedMm))
        throw EPrintSheetError(BleedRangeMessage);
    if (Items.size() > 2)
        throw EPrintSheetError("A sheet holds at most two pieces");

    TPrintSheet Sheet;
    Sheet.PageWidth = Paper.Width;
    Sheet.PageHeight = Paper.Height;
    double Height = PieceGap * static_cast<double>(Items.size() - 1);
    for (const TSheetItem& Item : Items)
        Height += PieceHeight(Item.Kind);
    double Top = (Paper.Height - Height) / 2;
    for (const TSheetItem& Item : Items) {
        const double Width = PieceWidth(Item.Kind);
        const TMmRect Card{(Paper.Width - Width) / 2, Top, Width, PieceHeight(Item.Kind)};
        Sheet.Pieces.push_back(LayOutPiece(Item, Card, BleedMm));
        Top = Card.Bottom() + PieceGap;
    }

    if (Sheet.Pieces.size() == 1) {
        const TMmRect& Card = Sheet.Pieces.front().Card;
        Sheet.CaptionArea = {Card.Left, Card.Bottom() + CropMarkGap + CropMarkLength + CaptionGap,
                             Card.Width, CaptionHeight};
    } else {
        Sheet.CaptionArea = CaptionBetween(Sheet.Pieces[0], Sheet.Pieces[1], Paper.Width / 2);
    }
    Sheet.Caption = std::move(Caption);
    return Sheet;
}

TPrintSheet ComputePrintSheet(const TPaper& Paper, double BleedMm, const TSheetInlay& Inlay,
                              std::string Caption) {
    return ComputePrintSheet(Paper, BleedMm, {TSheetItem{TSheetPieceKind::TrayCard, Inlay}},
                             std::move(Caption));
}

bool SheetFitsPage(const TPrintSheet& Sheet) {
    const double Right = Sheet.PageWidth - MinPageMargin, Bottom = Sheet.PageHeight - MinPageMargin;
    const auto Fits = [&](double X, double Y) {
        return Inside(X, MinPageMargin, Right) && Inside(Y, MinPageMargin, Bottom);
    };
    for (const TSheetPiece& Piece : Sheet.Pieces) {
        const TMmRect& Bleed = Piece.BleedArea;
        if (!Fits(Bleed.Left, Bleed.Top) || !Fits(Bleed.Right(), Bleed.Bottom()))
            return false;
        for (const auto* Marks : {&Piece.CropMarks, &Piece.FoldDashes})
            for (const TMmLine& Mark : *Marks)
                if (!Fits(Mark.X1, Mark.Y1) || !Fits(Mark.X2, Mark.Y2))
                    return false;
    }
    const TMmRect& Caption = Sheet.CaptionArea;
    return Sheet.Caption.empty() ||
           (Caption.Width > 0 && Fits(Caption.Left, Caption.Top) &&
            Fits(Caption.Right(), Caption.Bottom()));
}

std::string PageTooSmallMessage(const TPaper& Paper, double BleedMm,
                                const std::vector<TSheetItem>& Items, const std::string& Caption) {
    if (SheetFitsPage(ComputePrintSheet(Paper, BleedMm, Items, Caption)))
        return {};
    std::string Papers;
    for (const TPaper& Candidate : {A4Paper(), LetterPaper()})
        if (SheetFitsPage(ComputePrintSheet(Candidate, BleedMm, Items, Caption)))
            Papers += (Papers.empty() ? "" : " or ") + Candidate.Name;
    const std::string Page = "The page, " + Millimetres(Paper.Width) + " \u00D7 " +
                             Millimetres(Paper.Height) + " mm, is too small for this sheet";
    if (Papers.empty())
        return Page;
    return Page + ": print it on " + Papers + " paper, portrait";
}
