#include "print_sheet/SheetPainter.h"

#include "print_sheet/BleedPicture.h"
#include "print_sheet/PrintSheetError.h"
#include "raster/Bitmap32.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QTransform>

namespace {

constexpr double MmPerInch = 25.4;
constexpr double MmPerPoint = MmPerInch / 72;
constexpr double CaptionPointSize = 7;
const QColor CaptionColor(0x70, 0x70, 0x70);

QRectF ToQt(const TMmRect& Rect) {
    return QRectF(Rect.Left, Rect.Top, Rect.Width, Rect.Height);
}

QLineF ToQt(const TMmLine& Line) {
    return QLineF(Line.X1, Line.Y1, Line.X2, Line.Y2);
}

// The bitmap's pixels as an image, without a copy: blue, green, red, alpha in memory is
// Format_RGB32 on a little-endian machine, the alpha byte ignored.
QImage ImageOf(const TBitmap32& Bitmap) {
    return QImage(reinterpret_cast<const uchar*>(Bitmap.PixelData()), Bitmap.Width(),
                  Bitmap.Height(), static_cast<qsizetype>(Bitmap.Width()) * 4,
                  QImage::Format_RGB32);
}

void DrawPicture(QPainter& Painter, const TSheetPiece& Sheet, const TBitmap32& Inlay) {
    TBitmap32 Extended;
    const bool Bleeds = Sheet.BleedColumns > 0 || Sheet.BleedRows > 0;
    if (Bleeds)
        ExtendByEdgePixels(Inlay, Sheet.BleedColumns, Sheet.BleedRows, Extended);
    Painter.save();
    // Qt's PDF writer would otherwise recompress the picture as a JPEG of its own.
    Painter.setRenderHint(QPainter::LosslessImageRendering);
    if (Bleeds)
        Painter.setClipRect(ToQt(Sheet.BleedArea));
    // A copy that owns its pixels: a print preview keeps what it is given to draw later, when
    // the bleed picture (and a front cover cut for this sheet) is gone.
    Painter.drawImage(ToQt(Sheet.PictureArea), ImageOf(Bleeds ? Extended : Inlay).copy());
    Painter.restore();
}

void DrawMarks(QPainter& Painter, const TSheetPiece& Sheet) {
    QPen Pen(Qt::black, MarkLineWidth, Qt::SolidLine, Qt::FlatCap);
    Painter.setPen(Pen);
    for (const TMmLine& Line : Sheet.CropMarks)
        Painter.drawLine(ToQt(Line));
    for (const TMmLine& Dash : Sheet.FoldDashes)
        Painter.drawLine(ToQt(Dash));
}

// Text is set in device units, so that the point size is the printed one.
void DrawCaption(QPainter& Painter, const TPrintSheet& Sheet, double DotsPerMmX,
                 double DotsPerMmY) {
    const TMmRect& Area = Sheet.CaptionArea;
    const QRectF Box(Area.Left * DotsPerMmX, Area.Top * DotsPerMmY, Area.Width * DotsPerMmX,
                     Area.Height * DotsPerMmY);
    QFont Font(QStringLiteral("Sans Serif"));
    Font.setStyleHint(QFont::SansSerif);
    Font.setPointSizeF(CaptionPointSize);
    Painter.setFont(Font);
    Painter.setPen(CaptionColor);
    const QFontMetricsF Metrics(Painter.font(), Painter.device());
    const QString Text =
        Metrics.elidedText(QString::fromStdString(Sheet.Caption), Qt::ElideMiddle, Box.width());
    Painter.drawText(Box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, Text);
}

} // namespace

TPaper PaperOf(const QPageLayout& Layout) {
    const QRect Points = Layout.fullRectPoints();
    return TPaper{{}, Points.width() * MmPerPoint, Points.height() * MmPerPoint};
}

QPageSize PageSizeOf(const TPaper& Paper) {
    if (Paper == A4Paper())
        return QPageSize(QPageSize::A4);
    if (Paper == LetterPaper())
        return QPageSize(QPageSize::Letter);
    return QPageSize(QSizeF(Paper.Width, Paper.Height), QPageSize::Millimeter);
}

void PaintPrintSheet(QPainter& Painter, const TPrintSheet& Sheet,
                     const std::vector<const TBitmap32*>& Pictures) {
    if (Pictures.size() != Sheet.Pieces.size())
        throw EPrintSheetError("The sheet's pictures do not match its pieces");
    const double DotsPerMmX = Painter.device()->logicalDpiX() / MmPerInch;
    const double DotsPerMmY = Painter.device()->logicalDpiY() / MmPerInch;
    Painter.save();
    const QTransform Device = Painter.worldTransform();
    Painter.setRenderHint(QPainter::Antialiasing);
    Painter.setWorldTransform(QTransform::fromScale(DotsPerMmX, DotsPerMmY) * Device);
    for (std::size_t I = 0; I < Sheet.Pieces.size(); ++I) {
        DrawPicture(Painter, Sheet.Pieces[I], *Pictures[I]);
        DrawMarks(Painter, Sheet.Pieces[I]);
    }
    Painter.setWorldTransform(Device);
    if (!Sheet.Caption.empty())
        DrawCaption(Painter, Sheet, DotsPerMmX, DotsPerMmY);
    Painter.restore();
}

void PaintPrintSheet(QPainter& Painter, const TPrintSheet& Sheet, const TBitmap32& Inlay) {
    PaintPrintSheet(Painter, Sheet, std::vector<const TBitmap32*>(Sheet.Pieces.size(), &Inlay));
}
