// Drawing a print sheet with QPainter: what a print preview records must hold its own pixels,
// since it shows the page later, after the pictures the sheet was drawn from have changed or
// gone (a bleed picture, a front cover cut for the sheet).

#include "print_sheet/SheetPainter.h"
#include "print_sheet/PrintSheetError.h"
#include "raster/Bitmap32.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

void Fill(TBitmap32& Bitmap, TColor32 Colour) {
    for (int Y = 0; Y < Bitmap.Height(); ++Y)
        std::fill_n(Bitmap.ScanLine(Y), Bitmap.Width(), Colour);
}

// How many pixels of Shown are Colour, give or take a little.
int CountColour(const QImage& Shown, QRgb Colour) {
    int Count = 0;
    for (int Y = 0; Y < Shown.height(); ++Y)
        for (int X = 0; X < Shown.width(); ++X) {
            const QRgb Pixel = Shown.pixel(X, Y);
            Count += std::abs(qRed(Pixel) - qRed(Colour)) < 8 &&
                     std::abs(qGreen(Pixel) - qGreen(Colour)) < 8 &&
                     std::abs(qBlue(Pixel) - qBlue(Colour)) < 8;
        }
    return Count;
}

} // namespace

TEST(SheetPainterTest, APreviewShowsThePixelsTheSheetWasDrawnWith) {
    for (const double Bleed : {0.0, 2.0}) {
        SCOPED_TRACE("bleed " + std::to_string(Bleed));
        TBitmap32 Inlay, Front;
        Inlay.SetDimensions(151, 118);
        Front.SetDimensions(40, 40);
        Fill(Inlay, 0xFF2040A0u);
        Fill(Front, 0xFFA04020u);
        QPrinter Printer;
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setPageSize(QPageSize(QPageSize::A4));
        Printer.setFullPage(true);
        QPrintPreviewWidget Preview(&Printer);
        Preview.resize(400, 560);
        QObject::connect(&Preview, &QPrintPreviewWidget::paintRequested, [&](QPrinter* Target) {
            const TPrintSheet Sheet =
                ComputePrintSheet(PaperOf(Target->pageLayout()), Bleed,
                                  {{TSheetPieceKind::TrayCard, {151, 118, 6}},
                                   {TSheetPieceKind::FrontCover, {40, 40, 0}}},
                                  "");
            QPainter Painter(Target);
            PaintPrintSheet(Painter, Sheet, {&Inlay, &Front});
        });
        Preview.show();
        Preview.fitInView();
        QApplication::processEvents();
        ASSERT_EQ(Preview.pageCount(), 1);
        // The window cuts the front anew and may recompose the inlay before the page is shown.
        Fill(Inlay, 0xFF000000u);
        Fill(Front, 0xFF000000u);
        const QImage Shown = Preview.grab().toImage();
        EXPECT_GT(CountColour(Shown, qRgb(0x20, 0x40, 0xA0)), 2000) << "the card";
        EXPECT_GT(CountColour(Shown, qRgb(0xA0, 0x40, 0x20)), 1000) << "the front cover";
    }
}

TEST(SheetPainterTest, APictureForEachPiece) {
    const TPrintSheet Sheet = ComputePrintSheet(A4Paper(), 0, TSheetInlay{10, 8, 0}, "");
    QPicture Picture;
    QPainter Painter(&Picture);
    EXPECT_THROW(PaintPrintSheet(Painter, Sheet, std::vector<const TBitmap32*>{}),
                 EPrintSheetError);
}
