// The print sheet's layout in millimetres, as a table over paper, bleed, inlay sizes and spine
// widths; the paper for a locale; the caption; the bleed picture's repeated edges.

#include "print_sheet/PrintSheet.h"
#include "print_sheet/BleedPicture.h"
#include "print_sheet/Paper.h"
#include "print_sheet/PrintSheetError.h"
#include "print_sheet/SheetCaption.h"
#include "raster/Bitmap32.h"

#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr double Tolerance = 1e-9;

struct TSheetCase {
    std::string Name;
    TPaper Paper;
    double Bleed;
    TSheetInlay Inlay;
    // Expected:
    double CardLeft, CardTop;
    int BleedColumns, BleedRows;
    TMmRect PictureArea;
    std::vector<double> FoldX;
};

// A PDF page measures whole points: A4 there is 595 x 842 points.
const TPaper PdfA4{"", 595 * 25.4 / 72, 842 * 25.4 / 72};

class PrintSheetTest : public testing::TestWithParam<TSheetCase> {};

TEST_P(PrintSheetTest, CardMarksFoldsAndBleedLieWhereTheyShould) {
    const TSheetCase& C = GetParam();
    const TPrintSheet Sheet = ComputePrintSheet(C.Paper, C.Bleed, C.Inlay, "caption");
    ASSERT_EQ(Sheet.Pieces.size(), 1u);
    const TSheetPiece& Piece = Sheet.Pieces.front();
    const TMmRect& Card = Piece.Card;

    // The card: exactly 151 x 117.5, centred on the page.
    EXPECT_NEAR(Card.Left, C.CardLeft, Tolerance);
    EXPECT_NEAR(Card.Top, C.CardTop, Tolerance);
    EXPECT_NEAR(Card.Width, 151.0, Tolerance);
    EXPECT_NEAR(Card.Height, 117.5, Tolerance);
    EXPECT_NEAR(Card.Left, C.Paper.Width - Card.Right(), Tolerance);
    EXPECT_NEAR(Card.Top, C.Paper.Height - Card.Bottom(), Tolerance);

    // The bleed: the card grown by the bleed; the picture with its repeated edges covers it, the
    // inlay's own pixels exactly on the card.
    EXPECT_NEAR(Piece.BleedArea.Left, Card.Left - C.Bleed, Tolerance);
    EXPECT_NEAR(Piece.BleedArea.Top, Card.Top - C.Bleed, Tolerance);
    EXPECT_NEAR(Piece.BleedArea.Width, 151 + 2 * C.Bleed, Tolerance);
    EXPECT_NEAR(Piece.BleedArea.Height, 117.5 + 2 * C.Bleed, Tolerance);
    EXPECT_EQ(Piece.BleedColumns, C.BleedColumns);
    EXPECT_EQ(Piece.BleedRows, C.BleedRows);
    EXPECT_NEAR(Piece.PictureArea.Left, C.PictureArea.Left, Tolerance);
    EXPECT_NEAR(Piece.PictureArea.Top, C.PictureArea.Top, Tolerance);
    EXPECT_NEAR(Piece.PictureArea.Width, C.PictureArea.Width, Tolerance);
    EXPECT_NEAR(Piece.PictureArea.Height, C.PictureArea.Height, Tolerance);
    EXPECT_LE(Piece.PictureArea.Left, Piece.BleedArea.Left + Tolerance);
    EXPECT_GE(Piece.PictureArea.Bottom(), Piece.BleedArea.Bottom() - Tolerance);

    // Crop marks: at each corner one along each edge line, 5 mm long, from 3 mm off the card.
    ASSERT_EQ(Piece.CropMarks.size(), 8u);
    for (const double X : {Card.Left, Card.Right()})
        for (const double Y : {Card.Top, Card.Bottom()}) {
            const double Dx = X == Card.Left ? -1 : 1, Dy = Y == Card.Top ? -1 : 1;
            const TMmLine Horizontal{X + 3 * Dx, Y, X + 8 * Dx, Y};
            const TMmLine Vertical{X, Y + 3 * Dy, X, Y + 8 * Dy};
            int Found = 0;
            for (const TMmLine& Mark : Piece.CropMarks)
                if (Mark == Horizontal || Mark == Vertical)
                    ++Found;
            EXPECT_EQ(Found, 2) << "corner (" << X << ", " << Y << ")";
        }

    // Fold marks: dashes of 1 mm at the x of each fold, 3 to 8 mm above and below the card.
    ASSERT_EQ(Piece.FoldX.size(), C.FoldX.size());
    for (std::size_t I = 0; I < C.FoldX.size(); ++I)
        EXPECT_NEAR(Piece.FoldX[I], C.FoldX[I], Tolerance) << "fold " << I;
    EXPECT_EQ(Piece.FoldDashes.size(), C.FoldX.size() * 2 * 3);
    for (const TMmLine& Dash : Piece.FoldDashes) {
        EXPECT_EQ(Dash.X1, Dash.X2);
        EXPECT_NEAR(std::abs(Dash.Y2 - Dash.Y1), 1.0, Tolerance);
        const bool Above = Dash.Y1 < Card.Top;
        const double Near = Above ? Card.Top - std::max(Dash.Y1, Dash.Y2)
                                  : std::min(Dash.Y1, Dash.Y2) - Card.Bottom();
        EXPECT_GE(Near, 3 - Tolerance);
        EXPECT_LE(Near, 7 + Tolerance);
    }

    // The caption below the lower marks, across the card's width.
    EXPECT_GT(Sheet.CaptionArea.Top, Card.Bottom() + 8);
    EXPECT_EQ(Sheet.CaptionArea.Left, Card.Left);
    EXPECT_EQ(Sheet.CaptionArea.Width, Card.Width);
    EXPECT_EQ(Sheet.Caption, "caption");
}

INSTANTIATE_TEST_SUITE_P(
    Table, PrintSheetTest,
    testing::Values(TSheetCase{"A4_WrapAround3000x1500_NoBleed",
                               A4Paper(),
                               0,
                               {1594, 1240, 63},
                               29.5,
                               89.75,
                               0,
                               0,
                               {29.5, 89.75, 151, 117.5},
                               {35.46800501882058, 174.53199498117942}},
                    TSheetCase{"Letter_ExactCard_Bleed3_WholePixels",
                               LetterPaper(),
                               3,
                               {1510, 1175, 60},
                               32.45,
                               80.95,
                               30,
                               30,
                               {29.45, 77.95, 157, 123.5},
                               {38.45, 177.45}},
                    TSheetCase{"A4_Small_Bleed1_5_RoundsUpToWholePixels",
                               A4Paper(),
                               1.5,
                               {787, 612, 25},
                               29.5,
                               89.75,
                               8,
                               8,
                               {27.965057179161374, 88.2140522875817, 154.06988564167725,
                                120.5718954248366},
                               {34.29669631512071, 175.7033036848793}},
                    TSheetCase{"A4_TinyInlayWithoutSpine_NoFolds",
                               A4Paper(),
                               0,
                               {11, 8, 0},
                               29.5,
                               89.75,
                               0,
                               0,
                               {29.5, 89.75, 151, 117.5},
                               {}},
                    TSheetCase{"PdfA4InWholePoints_BackCard1500x1000",
                               PdfA4,
                               0,
                               {1560, 1213, 60},
                               29.451388888888886,
                               89.76944444444445,
                               0,
                               0,
                               {29.451388888888886, 89.76944444444445, 151, 117.5},
                               {35.25908119658119, 174.64369658119656}}),
    [](const testing::TestParamInfo<TSheetCase>& Info) { return AsTestName(Info.param.Name); });

TEST(PrintSheetErrorsTest, EmptyInlayAndBleedOutsideItsRange) {
    try {
        ComputePrintSheet(A4Paper(), 0, {0, 0, 0}, "");
        ADD_FAILURE() << "an empty inlay was laid out";
    } catch (const EPrintSheetError&) {
        ADD_FAILURE() << "an empty inlay is no bleed error";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "No image to print");
    }
    for (const double Bleed : {-0.001, 3.001, std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity()})
        EXPECT_THROW(ComputePrintSheet(A4Paper(), Bleed, {10, 10, 1}, ""), EPrintSheetError)
            << Bleed;
    EXPECT_NO_THROW(ComputePrintSheet(A4Paper(), 3.0, {10, 10, 1}, ""));
}

struct TLocaleCase {
    std::string Locale;
    bool Letter;
};

class PaperForLocaleTest : public testing::TestWithParam<TLocaleCase> {};

TEST_P(PaperForLocaleTest, LetterInTheUnitedStatesAndCanadaA4Elsewhere) {
    const TLocaleCase& C = GetParam();
    EXPECT_EQ(PaperForLocale(C.Locale), C.Letter ? LetterPaper() : A4Paper());
}

INSTANTIATE_TEST_SUITE_P(
    Table, PaperForLocaleTest,
    testing::Values(TLocaleCase{"en_US.UTF-8", true}, TLocaleCase{"en_US", true},
                    TLocaleCase{"es_US", true}, TLocaleCase{"fr_CA.UTF-8", true},
                    TLocaleCase{"en_CA@euro", true}, TLocaleCase{"en_GB.UTF-8", false},
                    TLocaleCase{"de_DE@euro", false}, TLocaleCase{"en_USA", false},
                    TLocaleCase{"C", false}, TLocaleCase{"C.UTF-8", false},
                    TLocaleCase{"POSIX", false}, TLocaleCase{"", false}),
    [](const testing::TestParamInfo<TLocaleCase>& Info) { return AsTestName(Info.param.Locale); });

TEST(PaperTest, NamesAndSizes) {
    EXPECT_EQ(PaperByName("a4"), A4Paper());
    EXPECT_EQ(PaperByName("Letter"), LetterPaper());
    EXPECT_EQ(PaperByName("legal"), std::nullopt);
    EXPECT_EQ(A4Paper().Width, 210.0);
    EXPECT_EQ(A4Paper().Height, 297.0);
    EXPECT_NEAR(LetterPaper().Width, 8.5 * 25.4, Tolerance);
    EXPECT_NEAR(LetterPaper().Height, 11 * 25.4, Tolerance);
}

TEST(SheetCaptionTest, NameLayoutAndSpine) {
    EXPECT_EQ(SheetCaption("/scans/Blue Train.jpg", TInlayLayout::BackAndFront, 5),
              "Blue Train.jpg \u00B7 back and front \u00B7 spine +5 %");
    EXPECT_EQ(SheetCaption("back.JPG", TInlayLayout::Back, 0),
              "back.JPG \u00B7 back card \u00B7 spine 0 %");
    EXPECT_EQ(SheetCaption("a/b/c.jpeg", TInlayLayout::Back, -20),
              "c.jpeg \u00B7 back card \u00B7 spine -20 %");
    // A whole tray card has no spine setting to tell.
    EXPECT_EQ(SheetCaption("/s/card.png", TInlayLayout::TrayCard, 10), "card.png \u00B7 tray card");
}

// Every pixel of the extended picture is the inlay's pixel at the nearest place inside it; the
// inlay's pixels encode their own coordinates.
TEST(BleedPictureTest, EdgePixelsRepeatOutwardAndTheInlayStaysInTheMiddle) {
    TBitmap32 Inlay;
    Inlay.SetDimensions(5, 3);
    for (int Y = 0; Y < 3; ++Y)
        for (int X = 0; X < 5; ++X)
            Inlay.ScanLine(Y)[X] = 0xFF000000u | static_cast<TColor32>(X << 16 | Y << 8);
    for (const auto& [Columns, Rows] : {std::pair{0, 0}, std::pair{2, 1}, std::pair{0, 4}}) {
        TBitmap32 Extended;
        ExtendByEdgePixels(Inlay, Columns, Rows, Extended);
        ASSERT_EQ(Extended.Width(), 5 + 2 * Columns);
        ASSERT_EQ(Extended.Height(), 3 + 2 * Rows);
        for (int Y = 0; Y < Extended.Height(); ++Y)
            for (int X = 0; X < Extended.Width(); ++X) {
                const int SourceX = std::clamp(X - Columns, 0, 4);
                const int SourceY = std::clamp(Y - Rows, 0, 2);
                EXPECT_EQ(Extended.Pixel(X, Y), Inlay.Pixel(SourceX, SourceY))
                    << "(" << X << ", " << Y << ") with " << Columns << " columns, " << Rows
                    << " rows";
            }
    }
}

} // namespace

namespace {

// Sheets of two pieces, worked by hand: the pair centred down the page PieceGap apart, each piece
// centred across, the caption in the gap, clear of the marks that reach into it.
struct TTwoPieceCase {
    std::string Name;
    TPaper Paper;
    double Bleed;
    std::vector<TSheetItem> Items;
    // Expected:
    std::vector<TMmRect> Cards;
    TMmRect CaptionArea;
};

// A wrap-around's inlay whose spine strips are 63 of 1594 columns: folds 5.968 mm in.
constexpr TSheetInlay WrapInlay{1594, 1240, 63};
constexpr TSheetItem Card{TSheetPieceKind::TrayCard, WrapInlay};
constexpr TSheetItem Front{TSheetPieceKind::FrontCover, {1400, 1400, 0}};
constexpr double FoldIn = 63 * 151.0 / 1594;

bool Crosses(const TMmLine& Line, const TMmRect& Rect) {
    const double Left = std::min(Line.X1, Line.X2), Right = std::max(Line.X1, Line.X2);
    const double Top = std::min(Line.Y1, Line.Y2), Bottom = std::max(Line.Y1, Line.Y2);
    return Right >= Rect.Left && Left <= Rect.Right() && Bottom >= Rect.Top && Top <= Rect.Bottom();
}

class TwoPieceSheetTest : public testing::TestWithParam<TTwoPieceCase> {};

TEST_P(TwoPieceSheetTest, PiecesCaptionAndMarksLieWhereTheyShouldAndClearOfEachOther) {
    const TTwoPieceCase& C = GetParam();
    const TPrintSheet Sheet = ComputePrintSheet(C.Paper, C.Bleed, C.Items, "caption");
    ASSERT_EQ(Sheet.Pieces.size(), 2u);
    for (std::size_t I = 0; I < 2; ++I) {
        SCOPED_TRACE("piece " + std::to_string(I));
        const TSheetPiece& Piece = Sheet.Pieces[I];
        EXPECT_EQ(Piece.Kind, C.Items[I].Kind);
        EXPECT_NEAR(Piece.Card.Left, C.Cards[I].Left, Tolerance);
        EXPECT_NEAR(Piece.Card.Top, C.Cards[I].Top, Tolerance);
        EXPECT_NEAR(Piece.Card.Width, C.Cards[I].Width, Tolerance);
        EXPECT_NEAR(Piece.Card.Height, C.Cards[I].Height, Tolerance);
        EXPECT_NEAR(Piece.BleedArea.Width, Piece.Card.Width + 2 * C.Bleed, Tolerance);
        EXPECT_EQ(Piece.CropMarks.size(), 8u);
        EXPECT_EQ(Piece.FoldX.size(), C.Items[I].Picture.SpineWidth > 0 ? 2u : 0u);
        // No mark of this piece reaches the other's picture.
        const TSheetPiece& Other = Sheet.Pieces[1 - I];
        for (const auto* Marks : {&Piece.CropMarks, &Piece.FoldDashes})
            for (const TMmLine& Mark : *Marks)
                EXPECT_FALSE(Crosses(Mark, Other.BleedArea))
                    << "mark (" << Mark.X1 << ", " << Mark.Y1 << ") to (" << Mark.X2 << ", "
                    << Mark.Y2 << ")";
    }
    EXPECT_NEAR(Sheet.CaptionArea.Left, C.CaptionArea.Left, Tolerance);
    EXPECT_NEAR(Sheet.CaptionArea.Top, C.CaptionArea.Top, Tolerance);
    EXPECT_NEAR(Sheet.CaptionArea.Width, C.CaptionArea.Width, Tolerance);
    EXPECT_NEAR(Sheet.CaptionArea.Height, 4, Tolerance);
    for (const TSheetPiece& Piece : Sheet.Pieces)
        for (const auto* Marks : {&Piece.CropMarks, &Piece.FoldDashes})
            for (const TMmLine& Mark : *Marks)
                EXPECT_FALSE(Crosses(Mark, Sheet.CaptionArea)) << "a mark in the caption";
    EXPECT_TRUE(SheetFitsPage(Sheet)) << "every picture and mark 5 mm from the edges";
}

INSTANTIATE_TEST_SUITE_P(
    Table, TwoPieceSheetTest,
    testing::Values(
        // 2 x 117.5 + 12 = 247 high: (297 - 247) / 2 = 25 from the top. The caption between the
        // folds: 105 - (29.5 + fold) - 1 either side of the middle.
        TTwoPieceCase{"A4_TwoCards",
                      A4Paper(),
                      0,
                      {Card, Card},
                      {{29.5, 25, 151, 117.5}, {29.5, 154.5, 151, 117.5}},
                      {29.5 + FoldIn + 1, 146.5, 151 - 2 * (FoldIn + 1), 4}},
        // (279.4 - 247) / 2 = 16.2: the marks 8.2 mm from the top and the bottom.
        TTwoPieceCase{"Letter_TwoCards_Bleed3",
                      LetterPaper(),
                      3,
                      {Card, Card},
                      {{32.45, 16.2, 151, 117.5}, {32.45, 145.7, 151, 117.5}},
                      {32.45 + FoldIn + 1, 137.7, 151 - 2 * (FoldIn + 1), 4}},
        // 117.5 + 12 + 120 = 249.5 high: (297 - 249.5) / 2 = 23.75; the front (210 - 120) / 2 = 45
        // from the left. The caption within the front's marks, a millimetre off them.
        TTwoPieceCase{"A4_CardAndFront",
                      A4Paper(),
                      0,
                      {Card, Front},
                      {{29.5, 23.75, 151, 117.5}, {45, 153.25, 120, 120}},
                      {46, 145.25, 118, 4}},
        // (279.4 - 249.5) / 2 = 14.95: the front's lower marks end 6.95 mm above the bottom.
        TTwoPieceCase{"Letter_CardAndFront_Bleed3",
                      LetterPaper(),
                      3,
                      {Card, Front},
                      {{32.45, 14.95, 151, 117.5}, {47.95, 144.45, 120, 120}},
                      {48.95, 136.45, 118, 4}},
        // A card without spine strips has no folds: the caption as wide as the front allows.
        TTwoPieceCase{"Letter_CardWithoutSpineAndFront",
                      LetterPaper(),
                      1.5,
                      {{TSheetPieceKind::TrayCard, {11, 8, 0}}, Front},
                      {{32.45, 14.95, 151, 117.5}, {47.95, 144.45, 120, 120}},
                      {48.95, 136.45, 118, 4}}),
    [](const testing::TestParamInfo<TTwoPieceCase>& Info) { return AsTestName(Info.param.Name); });

TEST(TwoPieceSheetTest, AFrontCoversPictureFillsItsSquareAndItsBleedRepeatsWholePixels) {
    const TPrintSheet Sheet = ComputePrintSheet(A4Paper(), 1, {Card, Front}, "");
    const TSheetPiece& Piece = Sheet.Pieces[1];
    // 1 mm of 1400 pixels over 120 mm: 11.67 pixels, so 12 repeated.
    EXPECT_EQ(Piece.BleedColumns, 12);
    EXPECT_EQ(Piece.BleedRows, 12);
    EXPECT_NEAR(Piece.PictureArea.Left, 45 - 12 * 120.0 / 1400, Tolerance);
    EXPECT_NEAR(Piece.PictureArea.Width, 120 + 24 * 120.0 / 1400, Tolerance);
    EXPECT_TRUE(Piece.FoldDashes.empty());
}

TEST(TwoPieceSheetTest, MoreThanTwoPiecesOrNoneAreRefused) {
    EXPECT_THROW(ComputePrintSheet(A4Paper(), 0, {Card, Card, Card}, ""), EPrintSheetError);
    EXPECT_THROW(ComputePrintSheet(A4Paper(), 0, std::vector<TSheetItem>{}, ""), Exception);
    EXPECT_THROW(ComputePrintSheet(A4Paper(), 0, {Card, {TSheetPieceKind::FrontCover, {}}}, ""),
                 Exception);
}

// Which pages take which sheets: every picture and mark (and the caption) 5 mm from the edges.
struct TFitCase {
    std::string Name;
    TPaper Paper;
    std::vector<TSheetItem> Items;
    std::string Caption;
    std::string Message; // "" where the sheet fits
};

class PageFitTest : public testing::TestWithParam<TFitCase> {};

TEST_P(PageFitTest, TooSmallAPageIsRefusedNamingThePaperThatFits) {
    const TFitCase& C = GetParam();
    EXPECT_EQ(PageTooSmallMessage(C.Paper, 3, C.Items, C.Caption), C.Message);
}

const std::string NamesA4AndLetter = ", is too small for this sheet: print it on A4 or Letter "
                                     "paper, portrait";

INSTANTIATE_TEST_SUITE_P(
    Table, PageFitTest,
    testing::Values(TFitCase{"A4_OneCard", A4Paper(), {Card}, "c", ""},
                    TFitCase{"Letter_TwoCards", LetterPaper(), {Card, Card}, "c", ""},
                    TFitCase{"Letter_CardAndFront", LetterPaper(), {Card, Front}, "c", ""},
                    // 151 + 2 x (8 + 5) = 177 wide at least.
                    TFitCase{"A5_OneCard",
                             {"", 148, 210},
                             {Card},
                             "c",
                             "The page, 148 \u00D7 210 mm" + NamesA4AndLetter},
                    TFitCase{"PostCard_OneCard",
                             {"", 101.6, 152.4},
                             {Card},
                             "c",
                             "The page, 102 \u00D7 152 mm" + NamesA4AndLetter},
                    TFitCase{"A4Landscape_OneCard", {"", 297, 210}, {Card}, "c", ""},
                    TFitCase{"A4Landscape_TwoCards",
                             {"", 297, 210},
                             {Card, Card},
                             "c",
                             "The page, 297 \u00D7 210 mm" + NamesA4AndLetter},
                    // 117.5 + 2 x 13 = 143.5 high without the caption; the caption's box ends 14 mm
                    // below the card, (146 + 117.5) / 2 + 14 = 145.75, within 5 mm of the edge.
                    TFitCase{"JustTheCardsHeight_NoCaption", {"", 180, 146}, {Card}, "", ""},
                    TFitCase{"JustTheCardsHeight_Caption",
                             {"", 180, 146},
                             {Card},
                             "c",
                             "The page, 180 \u00D7 146 mm" + NamesA4AndLetter}),
    [](const testing::TestParamInfo<TFitCase>& Info) { return AsTestName(Info.param.Name); });

TEST(SheetCaptionTest, WhatIsOnThePage) {
    const std::string Card = SheetCaption("/scans/Blue Train.jpg", TInlayLayout::BackAndFront, 5);
    EXPECT_EQ(FrontCoverCaption(Card, "/scans/front.png"),
              "Blue Train.jpg \u00B7 back and front \u00B7 spine +5 % \u00B7 front cover from "
              "front.png");
    EXPECT_EQ(TwiceCaption(Card),
              "Blue Train.jpg \u00B7 back and front \u00B7 spine +5 % \u00B7 twice");
    EXPECT_EQ(TwoCardsCaption("a.jpg \u00B7 back card \u00B7 spine 0 %",
                              "b.jpg \u00B7 back card \u00B7 spine 0 %"),
              "above: a.jpg \u00B7 back card \u00B7 spine 0 % \u2014 below: b.jpg \u00B7 back "
              "card \u00B7 spine 0 %");
}

} // namespace
