// trayvane-compose's pages beyond the one card: several covers in one PDF, two cards a page, the
// front cover beside its tray card, no caption. Every sheet is rendered with pdftoppm and
// measured: cards 151.0 x 117.5 mm, front covers 120.0 x 120.0 mm within 0.2 mm, nothing within
// 5 mm of the page's edges, no mark over a neighbouring picture.

#include "tests/compose_cli/ReportLines.h"
#include "tests/support/ExifFixtures.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/PdfRender.h"
#include "tests/support/PictureFixtures.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using testing::HasSubstr;

namespace {

using TRgb = std::vector<std::uint8_t>;

// Pale colours, that a hairline over them would show on, each far from the others.
const TRgb Rose{240, 170, 190};
const TRgb Mint{170, 230, 190};
const TRgb Sky{170, 200, 240};
const TRgb Sand{230, 210, 160};

class SheetPagesTest : public testing::Test {
protected:
    TTempFolder Dir;

    std::string FlatCover(const std::string& Name, int Width, int Height, const TRgb& Colour) {
        const std::string Path = Dir.File(Name);
        WriteFileBytes(Path, EncodeJpeg(FlatImage(Width, Height, Colour), TFixtureColor::YCbCr));
        return Path;
    }

    // A wrap-around: its left half Back, its right half Front.
    std::string WrapCover(const std::string& Name, const TRgb& Back, const TRgb& Front) {
        TFixtureImage Image{1140, 480, 3, {}};
        for (int Y = 0; Y < Image.Height; ++Y)
            for (int X = 0; X < Image.Width; ++X)
                for (const std::uint8_t Sample : X < Image.Width / 2 ? Back : Front)
                    Image.Samples.push_back(Sample);
        const std::string Path = Dir.File(Name);
        WriteFileBytes(Path, EncodeJpeg(Image, TFixtureColor::YCbCr));
        return Path;
    }

    std::string FlatPng(const std::string& Name, int Width, int Height, const TRgb& Colour) {
        TSampleImage Image{Width, Height, 3, 8, {}};
        for (int I = 0; I < Width * Height; ++I)
            for (const std::uint8_t Sample : Colour)
                Image.Samples.push_back(Sample);
        const std::string Path = Dir.File(Name);
        WriteFileBytes(Path, EncodePng(Image));
        return Path;
    }

    TProgramRun Compose(std::vector<std::string> Arguments) {
        Arguments.insert(Arguments.begin(), TRAYVANE_COMPOSE_EXECUTABLE);
        return RunProgram(Arguments, {"LANG=C"});
    }
};

// The colour of the page at (Xmm, Ymm) is Colour, give or take the JPEG's rounding.
void ExpectColourAt(const TRender& Page, double Xmm, double Ymm, const TRgb& Colour) {
    const std::uint8_t* Got = Page.At(Page.Dot(Xmm), Page.Dot(Ymm));
    for (int C = 0; C < 3; ++C)
        EXPECT_NEAR(Got[C], Colour[C], 6)
            << "channel " << C << " at (" << Xmm << ", " << Ymm << ") mm";
}

// A measured piece of Width x Height mm whose inside (0.3 mm in from its edges) is all one colour:
// no mark of a neighbour crosses it.
void ExpectCleanPiece(const TRender& Page, const TMeasuredPiece& Piece, double Width,
                      double Height) {
    EXPECT_NEAR(Piece.Width(), Width, 0.2);
    EXPECT_NEAR(Piece.Height(), Height, 0.2);
    const std::uint8_t* Middle =
        Page.At(Page.Dot((Piece.Left + Piece.Right) / 2), Page.Dot((Piece.Top + Piece.Bottom) / 2));
    int Marked = 0;
    for (int Y = Page.Dot(Piece.Top + 0.3); Y < Page.Dot(Piece.Bottom - 0.3); ++Y)
        for (int X = Page.Dot(Piece.Left + 0.3); X < Page.Dot(Piece.Right - 0.3); ++X)
            Marked += std::abs(Page.At(X, Y)[0] - Middle[0]) > 12;
    EXPECT_EQ(Marked, 0) << "pixels over the picture at (" << Piece.Left << ", " << Piece.Top
                         << ") mm";
}

} // namespace

TEST_F(SheetPagesTest, SeveralCoversGiveAPageEachInTheirOrder) {
    const std::string Pdf = Dir.File("all.pdf");
    const TProgramRun Run =
        Compose({"--paper", "a4", FlatCover("c.jpg", 600, 470, Sky),
                 FlatCover("a.jpg", 600, 470, Rose), FlatCover("b.jpg", 600, 470, Mint), Pdf});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_EQ(WithoutLowResolutionLines(Run.Err), "");
    EXPECT_THAT(PdfInfo(Pdf), HasSubstr("Pages:           3\n"));
    const TRgb Expected[] = {Sky, Rose, Mint};
    for (int Page = 1; Page <= 3; ++Page) {
        SCOPED_TRACE("page " + std::to_string(Page));
        const TRender Render = RenderPdf(Dir, Pdf, 300, false, {}, Page);
        ExpectColourAt(Render, 105, 148.5, Expected[Page - 1]);
        ExpectCleanPiece(Render, MeasurePiece(Render, 105, 148.5), 151, 117.5);
    }
    EXPECT_THAT(PdfText(Pdf), HasSubstr("a.jpg \u00B7 back card \u00B7 spine 0 %"));
}

// Two cards a page, the first above: each measures true, none of their marks crosses the other,
// nothing comes within 5 mm of the edges, on Letter (the shorter paper) with and without bleed.
TEST_F(SheetPagesTest, TwoCardsAPageMeasureTrueAndKeepClearOfEachOther) {
    const std::string Upper = FlatCover("upper.jpg", 1140, 480, Sky);
    const std::string Lower = FlatCover("lower.jpg", 600, 470, Sand);
    for (const std::string Bleed : {"0", "3"}) {
        SCOPED_TRACE("bleed " + Bleed);
        const std::string Pdf = Dir.File("two.pdf");
        const TProgramRun Run =
            Compose({"--paper", "letter", "--per-sheet", "2", "--bleed", Bleed, Upper, Lower, Pdf});
        ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
        EXPECT_THAT(PdfInfo(Pdf), HasSubstr("Pages:           1\n"));
        const TRender Page = RenderPdf(Dir, Pdf, 300, false);
        const double Grow = 2 * std::stod(Bleed);
        // The pair centred down the Letter page: cards at 16.2 and 145.7 mm from the top.
        const TMeasuredPiece Top = MeasurePiece(Page, 107.95, 16.2 + 58.75);
        const TMeasuredPiece Bottom = MeasurePiece(Page, 107.95, 145.7 + 58.75);
        ExpectCleanPiece(Page, Top, 151 + Grow, 117.5 + Grow);
        ExpectCleanPiece(Page, Bottom, 151 + Grow, 117.5 + Grow);
        ExpectColourAt(Page, 107.95, 75, Sky);
        ExpectColourAt(Page, 107.95, 204, Sand);
        EXPECT_NEAR(Bottom.Top - Top.Bottom, 12 - Grow, 0.2);
        EXPECT_TRUE(BareMargins(Page, 5));
        EXPECT_THAT(PdfText(Pdf), HasSubstr("above: upper.jpg"));
    }
}

TEST_F(SheetPagesTest, ASingleCoverWithTwoPerSheetIsPrintedTwice) {
    const std::string Pdf = Dir.File("twice.pdf");
    ASSERT_EQ(
        Compose({"--paper", "a4", "--per-sheet", "2", FlatCover("one.jpg", 600, 470, Rose), Pdf})
            .ExitCode,
        0);
    const TRender Page = RenderPdf(Dir, Pdf, 300, false);
    ExpectCleanPiece(Page, MeasurePiece(Page, 105, 25 + 58.75), 151, 117.5);
    ExpectCleanPiece(Page, MeasurePiece(Page, 105, 154.5 + 58.75), 151, 117.5);
    EXPECT_THAT(PdfText(Pdf), HasSubstr("one.jpg \u00B7 back card \u00B7 spine 0 % \u00B7 twice"));
}

// --front: any kind of picture, cut square from its middle (and said so when more than 3 %), at
// 120 x 120 mm below its card, on both papers.
TEST_F(SheetPagesTest, TheFrontCoverLiesBelowItsCardAt120Millimetres) {
    const std::string Cover = FlatCover("cover.jpg", 600, 470, Sky);
    const std::string Front = FlatPng("front.png", 800, 700, Rose);
    for (const auto& [Paper, CardTop] : {std::pair{"a4", 23.75}, std::pair{"letter", 14.95}}) {
        SCOPED_TRACE(Paper);
        const std::string Pdf = Dir.File("front.pdf");
        const TProgramRun Run =
            Compose({"--paper", Paper, "--bleed", "2", "--front", Front, Cover, Pdf});
        ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
        EXPECT_EQ(WithoutLowResolutionLines(Run.Err),
                  "trayvane-compose: " + Front +
                      ": not square: 100 of its 800 columns (12.5 %) cut off to make the "
                      "front cover square\n");
        const TRender Page = RenderPdf(Dir, Pdf, 300, false);
        const double Middle = Page.Mm(Page.Width) / 2;
        ExpectCleanPiece(Page, MeasurePiece(Page, Middle, CardTop + 58.75), 155, 121.5);
        const TMeasuredPiece Square = MeasurePiece(Page, Middle, CardTop + 129.5 + 60);
        ExpectCleanPiece(Page, Square, 124, 124);
        EXPECT_NEAR(Square.Left + 2, Middle - 60, 0.2) << "centred across";
        ExpectColourAt(Page, Middle, CardTop + 129.5 + 60, Rose);
        EXPECT_TRUE(BareMargins(Page, 5));
        EXPECT_THAT(PdfText(Pdf), HasSubstr("front cover from front.png"));
    }
    // Without a bleed the cut squares measure 120 mm exactly.
    const std::string Pdf = Dir.File("front.pdf");
    ASSERT_EQ(Compose({"--paper", "a4", "--front", Front, Cover, Pdf}).ExitCode, 0);
    const TRender Page = RenderPdf(Dir, Pdf, 300, false);
    ExpectCleanPiece(Page, MeasurePiece(Page, 105, 153.25 + 60), 120, 120);
    ExpectCleanPiece(Page, MeasurePiece(Page, 105, 23.75 + 58.75), 151, 117.5);
}

// A photo stored sideways is turned upright first: its rows are what is cut.
TEST_F(SheetPagesTest, TheFrontCoversOrientationIsAppliedBeforeTheSquareIsCut) {
    const std::string Front = Dir.File("photo.jpg");
    WriteFileBytes(
        Front, WithExifOrientation(EncodeJpeg(FlatImage(400, 300, Mint), TFixtureColor::YCbCr), 6));
    const TProgramRun Run = Compose(
        {"--paper", "a4", "--front", Front, FlatCover("c.jpg", 600, 470, Sky), Dir.File("x.pdf")});
    EXPECT_EQ(Run.ExitCode, 0);
    EXPECT_EQ(WithoutLowResolutionLines(Run.Err),
              "trayvane-compose: " + Front +
                  ": not square: 100 of its 400 rows (25.0 %) cut off to make the front "
                  "cover square\n");
    // Nearly square: quiet.
    const TProgramRun Quiet = Compose({"--front", FlatPng("near.png", 300, 291, Rose),
                                       FlatCover("d.jpg", 600, 470, Sky), Dir.File("y.pdf")});
    EXPECT_EQ(Quiet.ExitCode, 0);
    EXPECT_EQ(WithoutLowResolutionLines(Quiet.Err), "");
}

// --front-from-cover: each page's front is the part right of its own cover's spine; a back card
// alone fails with its message and the others are printed.
TEST_F(SheetPagesTest, FrontsFromTheCoversThemselvesAndABackCardAloneFails) {
    const std::string First = WrapCover("first.jpg", Mint, Rose);
    const std::string Back = FlatCover("back.jpg", 600, 470, Sand);
    const std::string Second = WrapCover("second.jpg", Sky, Sand);
    const std::string Pdf = Dir.File("fronts.pdf");
    const TProgramRun Run =
        Compose({"--paper", "a4", "--front-from-cover", First, Back, Second, Pdf});
    EXPECT_EQ(Run.ExitCode, 1);
    // The fronts right of the spine: 1140 - 582 = 558 columns, 480 rows high.
    const std::string Cut = ": not square: 78 of its 558 columns (14.0 %) cut off to make the "
                            "front cover square\n";
    EXPECT_EQ(WithoutLowResolutionLines(Run.Err),
              "trayvane-compose: " + First + Cut + "trayvane-compose: " + Back +
                  ": The picture is taken as the back card alone, "
                  "which shows no front cover; --front-from-cover takes the front of a "
                  "back-and-front picture\n" +
                  "trayvane-compose: " + Second + Cut);
    EXPECT_THAT(PdfInfo(Pdf), HasSubstr("Pages:           2\n"));
    const TRgb Backs[] = {Mint, Sky}, Fronts[] = {Rose, Sand};
    for (int Page = 1; Page <= 2; ++Page) {
        SCOPED_TRACE("page " + std::to_string(Page));
        const TRender Render = RenderPdf(Dir, Pdf, 300, false, {}, Page);
        ExpectColourAt(Render, 105, 23.75 + 58.75, Backs[Page - 1]);
        ExpectCleanPiece(Render, MeasurePiece(Render, 105, 153.25 + 60), 120, 120);
        ExpectColourAt(Render, 105, 153.25 + 60, Fronts[Page - 1]);
    }
    EXPECT_THAT(PdfText(Pdf), HasSubstr("front cover from second.jpg"));

    // Nothing to print: no PDF.
    const TProgramRun None = Compose({"--front-from-cover", Back, Dir.File("none.pdf")});
    EXPECT_EQ(None.ExitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(Dir.File("none.pdf")));
}

TEST_F(SheetPagesTest, AFrontThatCannotBeReadFailsTheSheetAndWritesNothing) {
    const std::string Front = Dir.File("front.png");
    WriteFileBytes(Front, RandomBytes(500, 3));
    const TProgramRun Run =
        Compose({"--front", Front, FlatCover("c.jpg", 600, 470, Sky), Dir.File("x.pdf")});
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_THAT(Run.Err, HasSubstr("trayvane-compose: " + Front + ": PNG error"));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("x.pdf")));
}

TEST_F(SheetPagesTest, NoCaptionLeavesNoText) {
    const std::string Wrap = WrapCover("wrap.jpg", Mint, Rose);
    const std::vector<std::vector<std::string>> Runs = {
        {Wrap}, {"--per-sheet", "2", Wrap}, {"--front-from-cover", Wrap}};
    for (std::vector<std::string> Arguments : Runs) {
        SCOPED_TRACE(testing::PrintToString(Arguments));
        const std::string Pdf = Dir.File("sheet.pdf");
        Arguments.insert(Arguments.end(), {"--no-caption", Pdf});
        ASSERT_EQ(Compose(Arguments).ExitCode, 0);
        EXPECT_EQ(PdfText(Pdf), "\f");
        Arguments.erase(Arguments.end() - 2);
        ASSERT_EQ(Compose(Arguments).ExitCode, 0);
        EXPECT_THAT(PdfText(Pdf), HasSubstr("wrap.jpg"));
    }
}

TEST_F(SheetPagesTest, TheOutputMayReplaceNeitherAnInputNorTheFront) {
    const std::string Cover = FlatCover("c.jpg", 600, 470, Sky);
    const std::string Front = Dir.File("front.pdf");
    WriteFileBytes(Front, {'%', 'P', 'D', 'F'});
    const TProgramRun Run = Compose({"--front", Front, Cover, Front});
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_THAT(Run.Err, HasSubstr("is an input or another output of this run"));
    EXPECT_EQ(ReadFileBytes(Front), (std::vector<std::uint8_t>{'%', 'P', 'D', 'F'}));
}
