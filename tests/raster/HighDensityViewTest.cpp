// The image view on a screen of two device pixels per logical pixel. Qt reads the scale factor
// when the application starts, so these tests have their own executable, which CTest runs with
// QT_SCALE_FACTOR=2.

#include "raster/ImgView32.h"

#include "ViewTestSupport.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr TColor32 BackgroundPixel = 0xFFE4E7EEu;

// The first pixel of Shown (device pixels) that differs from the back buffer's pixel with alpha
// set: the screen copy is opaque. Empty when all agree.
std::string FirstDifferenceFromBuffer(const QImage& Shown, const TBitmap32& Buffer) {
    for (int Y = 0; Y < Shown.height(); ++Y)
        for (int X = 0; X < Shown.width(); ++X) {
            const TColor32 Want = Buffer.Pixel(X, Y) | 0xFF000000u;
            const TColor32 Got = Shown.pixel(X, Y);
            if (Got != Want)
                return "device pixel (" + std::to_string(X) + ", " + std::to_string(Y) +
                       ") shows " + Hex(Got) + ", buffer has " + Hex(Want);
        }
    return {};
}

TEST(HighDensityViewTest, ShowsBitmapPixelsOneToOneWithDevicePixels) {
    TImgView32 View;
    View.SetColor(15656932);
    ShowView(View, 434, 138);
    ASSERT_EQ(View.devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";

    View.Bitmap().SetDimensions(100, 50);
    FillWithCoordinates(View.Bitmap());
    // Alpha is carried into the buffer but must not reach the screen.
    View.Bitmap().FillArea(TRect{0, 0, 10, 10}, 0x00102030u);
    Settle();

    EXPECT_EQ(View.ViewportRect(), (TRect{0, 0, 868, 276}));
    EXPECT_EQ(View.DisplayRect(), (TRect{384, 113, 484, 163}));
    EXPECT_EQ(View.BackBuffer().Width(), 908);
    EXPECT_EQ(View.BackBuffer().Height(), 316);
    EXPECT_EQ(View.BackBuffer().Pixel(0, 0), BackgroundPixel);
    EXPECT_EQ(View.BackBuffer().Pixel(384 + 99, 113 + 49), CoordinatePixel(99, 49));

    const QPixmap Grabbed = View.grab();
    EXPECT_EQ(Grabbed.devicePixelRatio(), 2.0);
    const QImage Shown = Grabbed.toImage();
    ASSERT_EQ(Shown.width(), 868);
    ASSERT_EQ(Shown.height(), 276);
    EXPECT_EQ(FirstDifferenceFromBuffer(Shown, View.BackBuffer()), "");
}

TEST(HighDensityViewTest, ShrinksToTheDevicePixelsOfTheView) {
    TImgView32 View;
    View.SetColor(15656932);
    View.Bitmap().SetDimensions(1736, 552);
    FillWithCoordinates(View.Bitmap());
    ShowView(View, 434, 138);

    EXPECT_EQ(View.DisplayRect(), (TRect{0, 0, 868, 276}));
    const QImage Shown = View.grab().toImage();
    for (const auto& [X, Y] : {std::pair{0, 0}, std::pair{867, 275}, std::pair{433, 137}})
        EXPECT_EQ(Shown.pixel(X, Y), CoordinatePixel(2 * X, 2 * Y))
            << "device pixel (" << X << ", " << Y << ") " << Hex(Shown.pixel(X, Y));
}

// Cut lines stand on device pixels: the line before column 40 of a picture shown one to one
// from device pixel 384 is drawn around device pixel 424, two device pixels of core on each side
// of the boundary; a pointer at logical x 212 (device 424) grabs it.
TEST(HighDensityViewTest, CutLinesStandOnDevicePixels) {
    TImgView32 View;
    View.SetColor(15656932);
    ShowView(View, 434, 138);
    View.Bitmap().SetDimensions(100, 50);
    FillWithCoordinates(View.Bitmap());
    View.SetCutLines(TCutLines{40, 60});
    Settle();
    ASSERT_EQ(View.CutLineColumns(), (std::pair{424, 444}));

    const QImage Shown = View.grab().toImage();
    const auto Brightness = [](QRgb P) { return qRed(P) + qGreen(P) + qBlue(P); };
    for (const int X : {422, 423, 424, 425})
        EXPECT_GT(Brightness(Shown.pixel(X, 130)), 500) << "no bright core at device pixel " << X;
    EXPECT_EQ(Shown.pixel(419, 130), CoordinatePixel(35, 17));

    int Moved = -1;
    QObject::connect(&View, &TImgView32::OnCutLineMoved,
                     [&](TCutLine, int Column) { Moved = Column; });
    QTest::mousePress(&View, Qt::LeftButton, {}, QPoint(212, 65));
    QTest::mouseMove(&View, QPoint(207, 65));
    QTest::mouseRelease(&View, Qt::LeftButton, {}, QPoint(207, 65));
    EXPECT_EQ(Moved, 30);
}

} // namespace
