#include "raster/ImgView32.h"

#include "ViewTestSupport.h"
#include "base/ErrorReporter.h"
#include "base/Exception.h"

#include <QApplication>
#include <QPalette>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr TColor Background = 15656932; // 0x00EEE7E4
constexpr TColor32 BackgroundPixel = 0xFFE4E7EEu;

// The first viewport pixel of View's back buffer that differs from what the view must show:
// ImagePixel (called with coordinates inside DisplayRect) in the image, BackgroundValue
// elsewhere. Empty when all agree.
std::string FirstWrongPixel(const TImgView32& View, TColor32 BackgroundValue,
                            const std::function<TColor32(int X, int Y)>& ImagePixel) {
    const TBitmap32& Buffer = View.BackBuffer();
    const TRect Viewport = View.ViewportRect();
    const TRect Image = View.DisplayRect();
    if (Buffer.Width() < Viewport.Right || Buffer.Height() < Viewport.Bottom)
        return "buffer " + std::to_string(Buffer.Width()) + "x" + std::to_string(Buffer.Height()) +
               " is smaller than the viewport";
    for (int Y = 0; Y < Viewport.Bottom; ++Y)
        for (int X = 0; X < Viewport.Right; ++X) {
            const bool InImage =
                X >= Image.Left && X < Image.Right && Y >= Image.Top && Y < Image.Bottom;
            const TColor32 Want =
                InImage ? ImagePixel(X - Image.Left, Y - Image.Top) : BackgroundValue;
            const TColor32 Got = Buffer.Pixel(X, Y);
            if (Got != Want)
                return "pixel (" + std::to_string(X) + ", " + std::to_string(Y) + ") is " +
                       Hex(Got) + ", want " + Hex(Want) + (InImage ? " (image)" : " (background)");
        }
    return {};
}

std::string FirstWrongPixel(const TImgView32& View, TColor32 BackgroundValue, TColor32 ImageValue) {
    return FirstWrongPixel(View, BackgroundValue, [=](int, int) { return ImageValue; });
}

class ImgView32Test : public testing::Test {
protected:
    void SetUp() override {
        View.SetColor(Background);
        ShowView(View, 868, 276);
    }

    // Shows a Width x Height bitmap whose pixels name their coordinates.
    void ShowPicture(int Width, int Height) {
        View.Bitmap().SetDimensions(Width, Height);
        FillWithCoordinates(View.Bitmap());
        Settle();
    }

    TImgView32 View;
    TPaintCounter Paints{View};
};

struct TViewCase {
    const char* Name;
    int BitmapWidth;
    int BitmapHeight;
    TRect Expected;
    // 1: the image is the bitmap itself; 2: every second pixel of it; 0: as a stretch of the
    // whole bitmap onto the display rectangle draws it.
    int Step;
};

void PrintTo(const TViewCase& C, std::ostream* Out) {
    *Out << C.Name;
}

class ImgView32PlacementTest : public ImgView32Test,
                               public testing::WithParamInterface<TViewCase> {};

TEST_P(ImgView32PlacementTest, ShowsTheBitmapFittedAndCentredOnTheBackground) {
    const TViewCase& C = GetParam();
    ShowPicture(C.BitmapWidth, C.BitmapHeight);
    ASSERT_EQ(View.DisplayRect(), C.Expected)
        << C.BitmapWidth << "x" << C.BitmapHeight << " bitmap in an 868x276 view";

    const TBitmap32& Bitmap = View.Bitmap();
    TBitmap32 Stretched;
    Stretched.SetDimensions(C.Expected.Right - C.Expected.Left, C.Expected.Bottom - C.Expected.Top);
    Stretched.DrawFrom(Stretched.FullArea(), Bitmap.FullArea(), &Bitmap);
    const auto ImagePixel = [&](int X, int Y) {
        return C.Step == 0 ? Stretched.Pixel(X, Y) : Bitmap.Pixel(X * C.Step, Y * C.Step);
    };
    EXPECT_EQ(FirstWrongPixel(View, BackgroundPixel, ImagePixel), "");
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, ImgView32PlacementTest,
    testing::Values(TViewCase{"SmallUnscaled", 100, 50, {384, 113, 484, 163}, 1},
                    TViewCase{"ExactlyHalfNoBackground", 1736, 552, {0, 0, 868, 276}, 2},
                    TViewCase{"SquareFitsHeight", 1000, 1000, {296, 0, 572, 276}, 0},
                    TViewCase{"WideFitsWidth", 2000, 100, {0, 116, 868, 159}, 0},
                    TViewCase{"OneColumnTooWide", 869, 276, {0, 0, 868, 276}, 0},
                    TViewCase{"EmptyBitmap", 0, 0, {0, 0, 0, 0}, 1},
                    TViewCase{"EmptyImageOfAThinBitmap", 10, 10000, {434, 0, 434, 276}, 0}),
    [](const testing::TestParamInfo<TViewCase>& Info) { return Info.param.Name; });

TEST_F(ImgView32Test, RendersOnlyAfterAChange) {
    ShowPicture(100, 50);
    const int Renders = View.RenderCount();
    const int PaintsBefore = Paints.Count;

    View.repaint();
    View.repaint();
    EXPECT_EQ(Paints.Count, PaintsBefore + 2);
    EXPECT_EQ(View.RenderCount(), Renders) << "a paint without a change copies the buffer only";

    View.Bitmap().FillAll(0xFF102030u);
    Settle();
    EXPECT_EQ(View.RenderCount(), Renders + 1);
    EXPECT_EQ(FirstWrongPixel(View, BackgroundPixel, 0xFF102030u), "");
}

TEST_F(ImgView32Test, ManyChangesInOneHandlerGiveOnePaint) {
    TBitmap32 Source;
    Source.SetDimensions(300, 100);
    Source.FillAll(0xFF00FF00u);
    Settle();
    const int PaintsBefore = Paints.Count;
    const int Renders = View.RenderCount();

    // What a composition does to its output in one go.
    TBitmap32& Bitmap = View.Bitmap();
    Bitmap.SetDimensions(200, 100);
    Bitmap.FillAll(0xFFFF0000u);
    Bitmap.DrawFrom(TRect{0, 0, 100, 100}, TRect{0, 0, 300, 100}, &Source);
    Bitmap.MirrorHorizontal();
    Bitmap.MirrorVertical();
    Bitmap.CopyFrom(&Source);
    Settle();

    EXPECT_EQ(Paints.Count, PaintsBefore + 1);
    EXPECT_EQ(View.RenderCount(), Renders + 1);
    EXPECT_EQ(View.DisplayRect(), (TRect{284, 88, 584, 188}));
    EXPECT_EQ(FirstWrongPixel(View, BackgroundPixel, 0xFF00FF00u), "");
}

TEST_F(ImgView32Test, PixelChangeOfTheSameSizeRepaintsInPlace) {
    ShowPicture(100, 50);
    const TRect Before = View.DisplayRect();
    View.Bitmap().FillArea(TRect{0, 0, 100, 50}, 0xFF123456u);
    Settle();
    EXPECT_EQ(View.DisplayRect(), Before);
    EXPECT_EQ(FirstWrongPixel(View, BackgroundPixel, 0xFF123456u), "");
}

TEST_F(ImgView32Test, SizeChangeRecentres) {
    ShowPicture(100, 50);
    View.Bitmap().SetDimensions(200, 100);
    View.Bitmap().FillAll(0xFFABCDEFu);
    Settle();
    EXPECT_EQ(View.DisplayRect(), (TRect{334, 88, 534, 188}));
    EXPECT_EQ(FirstWrongPixel(View, BackgroundPixel, 0xFFABCDEFu), "");

    // Copying a larger picture in announces the new size inside a batch.
    TBitmap32 Square;
    Square.SetDimensions(1000, 1000);
    Square.FillAll(0xFF445566u);
    View.Bitmap().CopyFrom(&Square);
    Settle();
    EXPECT_EQ(View.DisplayRect(), (TRect{296, 0, 572, 276}));
    EXPECT_EQ(FirstWrongPixel(View, BackgroundPixel, 0xFF445566u), "");

    View.Bitmap().SetDimensions(0, 0);
    Settle();
    EXPECT_EQ(View.DisplayRect(), (TRect{0, 0, 0, 0}));
    EXPECT_EQ(FirstWrongPixel(View, BackgroundPixel, 0u), "");
}

TEST_F(ImgView32Test, ShrinksWhenTheViewGetsSmallerAndNeverEnlarges) {
    ShowPicture(100, 50);
    struct TStep {
        int Width;
        int Height;
        TRect Expected;
    };
    const TStep Steps[] = {
        {50, 50, {0, 12, 50, 37}},         // fitted to 50x25, offset 12.5 rounds to 12
        {100, 20, {30, 0, 70, 20}},        // fitted to 40x20
        {868, 276, {384, 113, 484, 163}},  // own size again
        {1200, 600, {550, 275, 650, 325}}, // never larger than its own size
    };
    for (const TStep& S : Steps) {
        View.resize(S.Width, S.Height);
        Settle();
        EXPECT_EQ(View.DisplayRect(), S.Expected) << "view " << S.Width << "x" << S.Height;
        TBitmap32 Stretched;
        Stretched.SetDimensions(S.Expected.Right - S.Expected.Left,
                                S.Expected.Bottom - S.Expected.Top);
        Stretched.DrawFrom(Stretched.FullArea(), View.Bitmap().FullArea(), &View.Bitmap());
        EXPECT_EQ(FirstWrongPixel(View, BackgroundPixel,
                                  [&](int X, int Y) { return Stretched.Pixel(X, Y); }),
                  "")
            << "view " << S.Width << "x" << S.Height;
    }
}

TEST_F(ImgView32Test, BackBufferGrowsWithAMarginAndShrinksOnlyPastIt) {
    struct TStep {
        int Width;
        int Height;
        int BufferWidth;
        int BufferHeight;
    };
    const TStep Steps[] = {
        {868, 276, 908, 316}, // as shown: the viewport and the margin
        {900, 300, 908, 316}, // still fits
        {909, 317, 949, 357}, // grows by the margin
        {868, 276, 868, 276}, // 81 columns and rows too many: follows the view
        {900, 250, 940, 276}, // wider only
        {900, 236, 940, 276}, // exactly 40 rows too many: kept
        {899, 236, 899, 276}, // 41 columns too many: only the width follows
    };
    ShowPicture(100, 50);
    ASSERT_EQ(View.BackBuffer().Width(), 908);
    ASSERT_EQ(View.BackBuffer().Height(), 316);
    for (const TStep& S : Steps) {
        View.resize(S.Width, S.Height);
        Settle();
        const TBitmap32& Buffer = View.BackBuffer();
        EXPECT_EQ(Buffer.Width(), S.BufferWidth) << "view " << S.Width << "x" << S.Height;
        EXPECT_EQ(Buffer.Height(), S.BufferHeight) << "view " << S.Width << "x" << S.Height;
        EXPECT_EQ(Buffer.ClipArea(), (TRect{0, 0, S.Width, S.Height}));
        EXPECT_EQ(FirstWrongPixel(View, BackgroundPixel,
                                  [&](int X, int Y) { return CoordinatePixel(X, Y); }),
                  "")
            << "view " << S.Width << "x" << S.Height;
    }
}

TEST_F(ImgView32Test, ColourChangeRepaintsTheBackground) {
    ShowPicture(100, 50);
    const int Renders = View.RenderCount();
    View.SetColor(Background);
    Settle();
    EXPECT_EQ(View.RenderCount(), Renders) << "the same colour again changes nothing";

    View.SetColor(0x000000FF);
    Settle();
    EXPECT_EQ(View.RenderCount(), Renders + 1);
    EXPECT_EQ(
        FirstWrongPixel(View, 0xFFFF0000u, [](int X, int Y) { return CoordinatePixel(X, Y); }), "");
}

TEST_F(ImgView32Test, SystemColoursComeFromThePaletteOrTheResolver) {
    TImgView32 Fresh;
    EXPECT_EQ(Fresh.Color(), clBtnFace);

    const QPalette Saved = QApplication::palette();
    QPalette Palette = Saved;
    Palette.setColor(QPalette::Button, QColor(10, 20, 30));
    QApplication::setPalette(Palette);
    ShowView(Fresh, 200, 100);
    EXPECT_EQ(FirstWrongPixel(Fresh, 0xFF0A141Eu, 0u), "") << "button face from the palette";

    Palette.setColor(QPalette::Button, QColor(40, 50, 60));
    QApplication::setPalette(Palette);
    Settle();
    EXPECT_EQ(FirstWrongPixel(Fresh, 0xFF28323Cu, 0u), "") << "palette change followed";
    QApplication::setPalette(Saved);

    Fresh.SetSystemColorResolver([](TColor) { return TColor{0x00332211}; });
    Settle();
    EXPECT_EQ(FirstWrongPixel(Fresh, 0xFF112233u, 0u), "") << "injected resolver";
}

// The cut lines: painted over the screen copy (a bright core between dark edges, the part right
// of the right line dimmed), never into the bitmap or the back buffer.
TEST_F(ImgView32Test, CutLinesArePaintedOverThePictureOnly) {
    ShowPicture(100, 50); // one to one at (384, 113, 484, 163)
    const int RendersBefore = View.RenderCount();
    View.SetCutLines(TCutLines{40, 60});
    Settle();
    EXPECT_EQ(View.RenderCount(), RendersBefore) << "the picture was rendered anew";
    ASSERT_EQ(View.CutLineColumns(), (std::pair{424, 444}));

    const QImage Shown = View.grab().toImage();
    const auto Brightness = [](QRgb P) { return qRed(P) + qGreen(P) + qBlue(P); };
    for (const int X : {423, 424, 443, 444})
        EXPECT_GT(Brightness(Shown.pixel(X, 130)), 500) << "no bright core at " << X;
    for (const int X : {422, 425, 442})
        EXPECT_LT(Brightness(Shown.pixel(X, 130)), Brightness(CoordinatePixel(X - 384, 17)))
            << "no dark edge at " << X;
    // Left of the lines the picture as it is; right of them dimmed; around it the background.
    EXPECT_EQ(Shown.pixel(400, 130), CoordinatePixel(16, 17));
    for (const int X : {447, 470, 483})
        EXPECT_LT(Brightness(Shown.pixel(X, 130)), Brightness(CoordinatePixel(X - 384, 17)) - 30)
            << "not dimmed at " << X;
    EXPECT_EQ(Shown.pixel(490, 130), BackgroundPixel);
    EXPECT_EQ(
        FirstWrongPixel(View, BackgroundPixel, [](int X, int Y) { return CoordinatePixel(X, Y); }),
        "");
    EXPECT_EQ(View.Bitmap().Pixel(40, 17), CoordinatePixel(40, 17));

    View.SetCutLines(std::nullopt);
    Settle();
    EXPECT_EQ(View.grab().toImage().pixel(424, 130), CoordinatePixel(40, 17));
}

TEST_F(ImgView32Test, DraggingALineReportsTheBoundaryUnderThePointer) {
    ShowPicture(100, 50);
    View.SetCutLines(TCutLines{40, 60});
    Settle();
    std::vector<std::pair<TCutLine, int>> Moves;
    QObject::connect(&View, &TImgView32::OnCutLineMoved,
                     [&](TCutLine Line, int Column) { Moves.emplace_back(Line, Column); });

    // Hovering over a line shows the resize cursor, beside it the normal one.
    QTest::mouseMove(&View, QPoint(445, 130));
    EXPECT_EQ(View.cursor().shape(), Qt::SplitHCursor);
    QTest::mouseMove(&View, QPoint(300, 130));
    EXPECT_NE(View.cursor().shape(), Qt::SplitHCursor);

    QTest::mousePress(&View, Qt::LeftButton, {}, QPoint(445, 130));
    QTest::mouseMove(&View, QPoint(450, 130));
    QTest::mouseMove(&View, QPoint(450, 90));  // same column: nothing new
    QTest::mouseMove(&View, QPoint(600, 130)); // beyond the picture: its edge
    QTest::mouseRelease(&View, Qt::LeftButton, {}, QPoint(600, 130));
    QTest::mouseMove(&View, QPoint(610, 130)); // released: no more moves
    EXPECT_EQ(Moves, (std::vector<std::pair<TCutLine, int>>{{TCutLine::Right, 66},
                                                            {TCutLine::Right, 100}}));

    // A press away from the lines drags nothing.
    QTest::mousePress(&View, Qt::LeftButton, {}, QPoint(400, 130));
    QTest::mouseMove(&View, QPoint(410, 130));
    QTest::mouseRelease(&View, Qt::LeftButton, {}, QPoint(410, 130));
    EXPECT_EQ(Moves.size(), 2u);
}

// Esc ends a drag and says so; the keyboard the drag took is given back however the drag ends.
TEST_F(ImgView32Test, EscCancelsADragAndTheKeyboardIsGivenBack) {
    ShowPicture(100, 50);
    View.SetCutLines(TCutLines{40, 60});
    Settle();
    std::vector<std::string> Signals;
    QObject::connect(&View, &TImgView32::OnCutDragStarted, [&] { Signals.push_back("started"); });
    QObject::connect(&View, &TImgView32::OnCutLineMoved,
                     [&](TCutLine, int Column) { Signals.push_back(std::to_string(Column)); });
    QObject::connect(&View, &TImgView32::OnCutDragCancelled,
                     [&] { Signals.push_back("cancelled"); });

    QTest::mousePress(&View, Qt::LeftButton, {}, QPoint(424, 130));
    EXPECT_EQ(QWidget::keyboardGrabber(), &View);
    QTest::mouseMove(&View, QPoint(430, 130));
    QTest::keyClick(&View, Qt::Key_Escape);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    QTest::mouseMove(&View, QPoint(440, 130));
    QTest::mouseRelease(&View, Qt::LeftButton, {}, QPoint(440, 130));
    EXPECT_EQ(Signals, (std::vector<std::string>{"started", "46", "cancelled"}));

    // Lines taken away in the middle of a drag end it too.
    QTest::mousePress(&View, Qt::LeftButton, {}, QPoint(424, 130));
    EXPECT_EQ(QWidget::keyboardGrabber(), &View);
    View.SetCutLines(std::nullopt);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    QTest::mouseRelease(&View, Qt::LeftButton, {}, QPoint(424, 130));
    QTest::keyClick(&View, Qt::Key_Escape); // no drag: nothing to cancel
    EXPECT_EQ(Signals.back(), "started");
}

TEST(ImgView32ErrorTest, AFailedBackBufferIsReportedAndTheViewShowsTheBackground) {
    std::vector<std::string> Reports;
    SetErrorReporter([&](const std::exception& Error) { Reports.push_back(Error.what()); });

    QWidget Window;
    Window.resize(300, 200);
    TImgView32 View(&Window);
    View.SetColor(Background);
    View.Bitmap().SetDimensions(100, 50);
    View.resize(200, 100);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    Settle();
    ASSERT_TRUE(Reports.empty());

    // Far more memory than any machine has.
    View.resize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    Settle();
    EXPECT_EQ(Reports, std::vector<std::string>{CantAllocateDibMessage});
    EXPECT_TRUE(View.BackBuffer().IsEmpty());
    const QImage Shown = Window.grab().toImage();
    EXPECT_EQ(Shown.pixel(150, 100), BackgroundPixel) << Hex(Shown.pixel(150, 100));

    View.resize(200, 100);
    Settle();
    EXPECT_EQ(View.BackBuffer().Width(), 240);
    EXPECT_EQ(View.DisplayRect(), (TRect{50, 25, 150, 75}));
    EXPECT_EQ(FirstWrongPixel(View, BackgroundPixel, 0u), "");
    EXPECT_EQ(Reports.size(), 1u);
    SetErrorReporter(nullptr);
}

} // namespace
