// trayvane-compose writing print sheets: the PDF rendered to pixels with pdftoppm (Debian's
// poppler-utils) and measured, the options of the PDF output, and the boundary that keeps Qt out
// of every run that writes no PDF.

#include "compose_cli/ComposeCommand.h"
#include "composer/TrayInlay.h"
#include "jpeg_bridge/JpegFile.h"
#include "print_sheet/PrintSheet.h"
#include "raster/Bitmap32.h"
#include "tests/compose_cli/ReportLines.h"

#include "tests/support/JpegFixtures.h"
#include "tests/support/PdfRender.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>

using testing::HasSubstr;
using testing::Not;

namespace {

constexpr double MmPerInch = 25.4;

class PdfOutputTest : public testing::Test {
protected:
    TTempFolder Dir;

    // A scan of noise in darker colours (no pixel near the paper's white), Width x Height.
    std::string Scan(const std::string& Name, int Width, int Height) {
        TFixtureImage Image{Width, Height, 3, {}};
        std::mt19937 Random(7);
        for (int I = 0; I < Width * Height * 3; ++I)
            Image.Samples.push_back(static_cast<std::uint8_t>(20 + Random() % 150));
        const std::string Path = Dir.File(Name);
        WriteFileBytes(Path, EncodeJpeg(Image, TFixtureColor::YCbCr));
        return Path;
    }

    TProgramRun Compose(const std::vector<std::string>& Arguments,
                        const std::vector<std::string>& Environment = {}) {
        std::vector<std::string> Argv{TRAYVANE_COMPOSE_EXECUTABLE};
        Argv.insert(Argv.end(), Arguments.begin(), Arguments.end());
        return RunProgram(Argv, Environment);
    }
};

} // namespace

// The whole sheet at 600 dots per inch: the card 151.0 x 117.5 mm, centred, the crop marks and
// the folds where they belong, all within 0.2 mm.
TEST_F(PdfOutputTest, CardCropMarksAndFoldsMeasureTrueOnTheRenderedPage) {
    const std::string Input = Scan("wrap.jpg", 900, 420);
    const std::string Pdf = Dir.File("card.pdf");
    const TProgramRun Run = Compose({"--paper", "a4", "--spine", "10", Input, Pdf});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_EQ(WithoutLowResolutionLines(Run.Err), "");
    EXPECT_THAT(PdfInfo(Pdf), HasSubstr("Pages:           1\n"));
    EXPECT_THAT(PdfInfo(Pdf), HasSubstr("595 x 842 pts (A4)"));

    constexpr double Dpi = 600;
    const double MmPerDot = MmPerInch / Dpi;
    const TRender Page = RenderPdf(Dir, Pdf, Dpi, true);
    ASSERT_GT(Page.Width, 0);
    const auto Dot = [&](double Mm) { return static_cast<int>(std::lround(Mm / MmPerDot)); };

    // The card's edges, walking out from the page's centre until the paper shows.
    const int Cx = Page.Width / 2, Cy = Page.Height / 2;
    ASSERT_TRUE(Page.Dark(Cx, Cy));
    int Left = Cx, Right = Cx, Top = Cy, Bottom = Cy;
    while (Left > 0 && Page.Dark(Left - 1, Cy))
        --Left;
    while (Right + 1 < Page.Width && Page.Dark(Right + 1, Cy))
        ++Right;
    while (Top > 0 && Page.Dark(Cx, Top - 1))
        --Top;
    while (Bottom + 1 < Page.Height && Page.Dark(Cx, Bottom + 1))
        ++Bottom;
    const double CardWidth = (Right - Left + 1) * MmPerDot;
    const double CardHeight = (Bottom - Top + 1) * MmPerDot;
    EXPECT_NEAR(CardWidth, 151.0, 0.2);
    EXPECT_NEAR(CardHeight, 117.5, 0.2);
    EXPECT_NEAR(Left * MmPerDot, (Page.Width - 1 - Right) * MmPerDot, 0.2) << "centred across";
    EXPECT_NEAR(Top * MmPerDot, (Page.Height - 1 - Bottom) * MmPerDot, 0.2) << "centred down";
    const double LeftMm = Left * MmPerDot, TopMm = Top * MmPerDot;
    const double RightMm = (Right + 1) * MmPerDot, BottomMm = (Bottom + 1) * MmPerDot;

    // Crop marks: on the line of the top edge, from 8 to 3 mm left of the card.
    const int MarkRow = Top;
    int MarkStart = Dot(LeftMm - 12), MarkEnd = Left - 1;
    while (MarkStart < Left && !Page.Dark(MarkStart, MarkRow))
        ++MarkStart;
    while (MarkEnd > MarkStart && !Page.Dark(MarkEnd, MarkRow))
        --MarkEnd;
    EXPECT_NEAR(MarkStart * MmPerDot, LeftMm - 8, 0.2);
    EXPECT_NEAR((MarkEnd + 1) * MmPerDot, LeftMm - 3, 0.2);

    // Across a row 5.5 mm above and one 5.5 mm below the card (through the middle of a fold
    // dash): the left and right crop marks and
    // the two folds, at the spine's edges of the composition.
    const TInlayGeometry Geometry = ComputeInlayGeometry(900, 420, true, 10);
    const double Spine = Geometry.SpineWidth * 151.0 / static_cast<double>(Geometry.ComposedWidth);
    for (const double RowMm : {TopMm - 5.5, BottomMm + 5.5}) {
        std::vector<bool> Dark;
        for (int X = 0; X < Page.Width; ++X)
            Dark.push_back(Page.Dark(X, Dot(RowMm)));
        const std::vector<double> Marks = DarkRunCentres(Dark);
        ASSERT_EQ(Marks.size(), 4u) << "row at " << RowMm << " mm";
        EXPECT_NEAR((Marks[0] + 0.5) * MmPerDot, LeftMm, 0.2) << "left crop mark";
        EXPECT_NEAR((Marks[1] + 0.5) * MmPerDot, LeftMm + Spine, 0.2) << "left fold";
        EXPECT_NEAR((Marks[2] + 0.5) * MmPerDot, RightMm - Spine, 0.2) << "right fold";
        EXPECT_NEAR((Marks[3] + 0.5) * MmPerDot, RightMm, 0.2) << "right crop mark";
    }

    // The caption below the lower marks, nothing above the upper ones.
    bool CaptionShows = false;
    for (int Y = Dot(BottomMm + 9); Y < Dot(BottomMm + 14); ++Y)
        for (int X = Left; X <= Right; ++X)
            CaptionShows |= Page.Dark(X, Y);
    EXPECT_TRUE(CaptionShows);
}

// The picture is placed at its own resolution and embedded losslessly: rendered at five times
// its density (poppler then draws each picture pixel as a block, without smoothing), the centre
// of every block is exactly the inlay's pixel.
TEST_F(PdfOutputTest, ThePicturesPixelsArriveUnchanged) {
    const std::string Input = Scan("back.jpg", 300, 240);
    const std::string Pdf = Dir.File("card.pdf");
    ASSERT_EQ(Compose({"--paper", "letter", Input, Pdf}).ExitCode, 0);

    TBitmap32 Picture, Inlay;
    LoadJpegFile(&Picture, Input);
    ComposeTrayInlay(Picture, TInlayLayout::Back, 0, Inlay);
    const double Dpi = 5 * Inlay.Width() * MmPerInch / 151.0;
    // The card on Letter as the PDF measures it: 612 x 792 points.
    const double CardLeft = (612 * MmPerInch / 72 - 151) / 2;
    const double CardTop = (792 * MmPerInch / 72 - 117.5) / 2;
    const int X0 = static_cast<int>(CardLeft / MmPerInch * Dpi);
    const int Y0 = static_cast<int>(CardTop / MmPerInch * Dpi);
    const TRender Card = RenderPdf(Dir, Pdf, Dpi, false,
                                   {X0, Y0, static_cast<int>(151 / MmPerInch * Dpi) + 4,
                                    static_cast<int>(117.5 / MmPerInch * Dpi) + 4});
    int Wrong = 0;
    for (int Y = 0; Y < Inlay.Height(); ++Y)
        for (int X = 0; X < Inlay.Width(); ++X) {
            const double Xmm = CardLeft + (X + 0.5) * 151.0 / Inlay.Width();
            const double Ymm = CardTop + (Y + 0.5) * 117.5 / Inlay.Height();
            const int Rx = static_cast<int>(Xmm / MmPerInch * Dpi) - X0;
            const int Ry = static_cast<int>(Ymm / MmPerInch * Dpi) - Y0;
            const std::uint8_t* Got = Card.At(Rx, Ry);
            const TColor32 Expected = Inlay.Pixel(X, Y);
            const TColor32 Rendered = TColor32(Got[0]) << 16 | TColor32(Got[1]) << 8 | Got[2];
            if (Rendered != (Expected & 0xFFFFFF) && ++Wrong <= 5)
                ADD_FAILURE() << "inlay pixel (" << X << ", " << Y << ") is " << std::hex
                              << Rendered << " on the page, " << (Expected & 0xFFFFFF)
                              << " in the inlay";
        }
    EXPECT_EQ(Wrong, 0);
}

// With a bleed, the picture reaches the bleed's distance beyond the cut with its edge colours;
// beyond that the paper is white.
TEST_F(PdfOutputTest, BleedRepeatsTheEdgeBeyondTheCut) {
    const std::string Input = Scan("wrap.jpg", 600, 300);
    const std::string Pdf = Dir.File("card.pdf");
    ASSERT_EQ(Compose({"--paper", "a4", "--bleed", "2.5", Input, Pdf}).ExitCode, 0);
    constexpr double Dpi = 600;
    const TRender Page = RenderPdf(Dir, Pdf, Dpi, true);
    const auto Dot = [&](double Mm) { return static_cast<int>(std::lround(Mm / MmPerInch * Dpi)); };
    const double Left = (595 * MmPerInch / 72 - 151) / 2;
    const double Top = (842 * MmPerInch / 72 - 117.5) / 2;
    for (const double Ymm : {Top + 20, Top + 60, Top + 100}) {
        const int Y = Dot(Ymm);
        EXPECT_EQ(Page.At(Dot(Left - 1.2), Y)[0], Page.At(Dot(Left - 2.2), Y)[0]);
        EXPECT_EQ(Page.At(Dot(Left - 1.2), Y)[0], Page.At(Dot(Left + 0.05), Y)[0])
            << "the edge column repeated";
        EXPECT_TRUE(Page.Dark(Dot(Left - 2.4), Y));
        EXPECT_FALSE(Page.Dark(Dot(Left - 2.6), Y)) << "white beyond the bleed";
        EXPECT_FALSE(Page.Dark(Dot(Left + 151 + 2.6), Y));
    }
    EXPECT_TRUE(Page.Dark(Dot(Left + 70), Dot(Top - 2.4)));
    EXPECT_FALSE(Page.Dark(Dot(Left + 70), Dot(Top - 2.6)));
}

TEST_F(PdfOutputTest, PaperComesFromTheLocaleUnlessNamed) {
    const std::string Input = Scan("wrap.jpg", 400, 200);
    struct TCase {
        std::vector<std::string> Options;
        std::string Lang;
        std::string PageSize;
    };
    const TCase Cases[] = {
        {{}, "en_US.UTF-8", "612 x 792 pts (letter)"},
        {{}, "fr_CA.UTF-8", "612 x 792 pts (letter)"},
        {{}, "de_DE.UTF-8", "595 x 842 pts (A4)"},
        {{}, "C", "595 x 842 pts (A4)"},
        {{"--paper", "a4"}, "en_US.UTF-8", "595 x 842 pts (A4)"},
        {{"--paper=Letter"}, "en_GB.UTF-8", "612 x 792 pts (letter)"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Lang + " " + testing::PrintToString(C.Options));
        std::vector<std::string> Arguments = C.Options;
        Arguments.insert(Arguments.end(), {Input, Dir.File("card.pdf")});
        const TProgramRun Run = Compose(Arguments, {"LANG=" + C.Lang, "LC_ALL=", "LC_PAPER="});
        ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
        EXPECT_THAT(PdfInfo(Dir.File("card.pdf")), HasSubstr(C.PageSize));
    }
}

TEST_F(PdfOutputTest, BatchFormatPdfNamesEachSheetAndReportsAFailureAsForJpeg) {
    const std::string First = Scan("first.jpg", 400, 200);
    const std::string Bad = Dir.File("bad.jpg");
    WriteFileBytes(Bad, RandomBytes(3000, 9));
    const std::string Out = Dir.MakeFolder("out");

    const TProgramRun Pdf = Compose({"--output-dir", Out, "--format", "pdf", First, Bad});
    EXPECT_EQ(Pdf.ExitCode, 1);
    EXPECT_TRUE(std::filesystem::exists(Out + "/first-inlay.pdf"));
    EXPECT_FALSE(std::filesystem::exists(Out + "/bad-inlay.pdf"));
    const TProgramRun Jpeg = Compose({"--output-dir", Out, First, Bad});
    EXPECT_EQ(Jpeg.ExitCode, 1);
    EXPECT_EQ(Pdf.Err, Jpeg.Err) << "the same report, whichever the output";
    EXPECT_EQ(WithoutLowResolutionLines(Pdf.Err),
              "trayvane-compose: " + Bad + ": Error reading parameters of image:\n" + Bad +
                  "\nError: The file holds no JPEG data\nIJL Error number: -12\n");

    const TProgramRun Ppm = Compose({"--output-dir", Out, "--format=ppm", First});
    EXPECT_EQ(Ppm.ExitCode, 0) << Ppm.Err;
    EXPECT_TRUE(std::filesystem::exists(Out + "/first-inlay.ppm"));
}

TEST_F(PdfOutputTest, ABleedOutsideItsRangeIsAUsageErrorAndWritesNothing) {
    const std::string Input = Scan("wrap.jpg", 400, 200);
    for (const std::string Bleed : {"3.5", "-1", "x", "", "nan", "inf", "1e0"}) {
        SCOPED_TRACE("--bleed " + Bleed);
        const TProgramRun Run = Compose({"--bleed", Bleed, Input, Dir.File("card.pdf")});
        EXPECT_EQ(Run.ExitCode, 2);
        EXPECT_THAT(Run.Err, HasSubstr("--bleed takes millimetres from 0 to 3"));
        EXPECT_FALSE(std::filesystem::exists(Dir.File("card.pdf")));
    }
    EXPECT_EQ(Compose({"--bleed", "3", Input, Dir.File("card.pdf")}).ExitCode, 0);
}

// A run that writes no PDF loads no Qt library: the dynamic loader names every library it loads.
TEST_F(PdfOutputTest, JpegAndPpmRunsLoadNoQtLibrary) {
    const std::string Input = Scan("wrap.jpg", 400, 200);
    for (const std::string Output : {"inlay.jpg", "inlay.ppm"}) {
        const TProgramRun Run = Compose({Input, Dir.File(Output)}, {"LD_DEBUG=libs"});
        ASSERT_EQ(Run.ExitCode, 0) << Output;
        EXPECT_THAT(Run.Err, HasSubstr("libjpeg.so")) << "the loader's report is there";
        EXPECT_THAT(Run.Err, Not(HasSubstr("libQt6"))) << Output;
    }
}

// Without its PDF writer beside it, trayvane-compose still writes JPEG files, and a PDF output
// fails alone with a message that says why.
TEST_F(PdfOutputTest, WithoutTheWriterPdfOutputsFailAndOthersWork) {
    const std::string Input = Scan("wrap.jpg", 400, 200);
    const std::string Alone = Dir.MakeFolder("alone") + "/trayvane-compose";
    std::filesystem::copy_file(TRAYVANE_COMPOSE_EXECUTABLE, Alone);
    const TProgramRun Pdf = RunProgram({Alone, Input, Dir.File("card.pdf")});
    EXPECT_EQ(Pdf.ExitCode, 1);
    EXPECT_THAT(Pdf.Err, HasSubstr("Cannot write a PDF: its writer trayvane-print-sheet is not "
                                   "installed"));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("card.pdf")));
    EXPECT_EQ(RunProgram({Alone, Input, Dir.File("inlay.jpg")}).ExitCode, 0);
}
