#include "raster/ImgView32.h"

#include "base/RunHandler.h"
#include "raster/PaletteColor.h"
#include "raster/Transfer.h"

#include <QColor>
#include <QCursor>
#include <QEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRectF>

#include <algorithm>
#include <utility>

namespace {

// Holds a bitmap's lock for one scope.
class TBitmapLock {
public:
    explicit TBitmapLock(TBitmap32& Bitmap) : FBitmap(Bitmap) { FBitmap.AcquireLock(); }
    ~TBitmapLock() { FBitmap.ReleaseLock(); }
    TBitmapLock(const TBitmapLock&) = delete;
    TBitmapLock& operator=(const TBitmapLock&) = delete;

private:
    TBitmap32& FBitmap;
};

// The cut lines: a bright core between two dark edges shows on light and dark pictures alike.
const QColor CutLineCore(255, 208, 40);
const QColor CutLineEdge(0, 0, 0, 200);
const QColor CutDimming(0, 0, 0, 120);

} // namespace

TImgView32::TImgView32(QWidget* Parent) : QWidget(Parent), FResolveSystemColor(PaletteSystemColor) {
    // Every viewport pixel comes from the back buffer, so Qt need not clear anything first; not
    // clearing is what keeps the picture from flickering.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The pointer shows when it is over a cut line, also with no button down.
    setMouseTracking(true);

    FBitmap.OnChange = [this](TBitmap32&) { BitmapChanged(); };
    FBitmap.OnResize = [this](TBitmap32&) { BitmapResized(); };
    // A store that could not be had leaves the bitmap 0 by 0 without OnChange or OnResize; this
    // is the only announcement of that, and the view must not go on showing the old picture.
    FBitmap.OnHandleChanged = [this](TBitmap32&) { BitmapResized(); };
}

TImgView32::~TImgView32() {
    // The bitmap's destructor still announces its resize, when this view is half gone.
    FBitmap.OnChange = nullptr;
    FBitmap.OnResize = nullptr;
    FBitmap.OnHandleChanged = nullptr;
}

void TImgView32::SetColor(TColor Value) {
    if (Value == FColor)
        return;
    FColor = Value;
    Repaint();
}

void TImgView32::SetSystemColorResolver(TSystemColorResolver Resolver) {
    FResolveSystemColor = std::move(Resolver);
    Repaint();
}

TRect TImgView32::ViewportRect() const noexcept {
    return TRect{0, 0, FViewport.Width, FViewport.Height};
}

TPixelSize TImgView32::DisplaySize() const noexcept {
    return OptimalScaledDisplaySize(FViewport, TPixelSize{FBitmap.Width(), FBitmap.Height()});
}

TRect TImgView32::DisplayRect() const {
    if (!FDisplayRect)
        FDisplayRect = FBitmap.IsEmpty()
                           ? TRect{0, 0, 0, 0}
                           : DisplayRectAt(DisplaySize(), FDisplayOffsetX, FDisplayOffsetY);
    return *FDisplayRect;
}

void TImgView32::BitmapChanged() {
    FDisplayRect.reset();
    FBufferValid = false;
    update();
}

void TImgView32::BitmapResized() {
    UpdatePlacement();
    Repaint();
}

void TImgView32::Repaint() {
    FBufferValid = false;
    update();
}

void TImgView32::UpdatePlacement() {
    const TPixelSize Size = DisplaySize();
    FDisplayOffsetX = CenteredDisplayOffset(FViewport.Width, Size.Width);
    FDisplayOffsetY = CenteredDisplayOffset(FViewport.Height, Size.Height);
    FDisplayRect.reset();
}

TPixelSize TImgView32::CurrentViewportSize() const {
    const qreal Ratio = devicePixelRatio();
    return TPixelSize{qRound(width() * Ratio), qRound(height() * Ratio)};
}

void TImgView32::TakeViewportSize(TPixelSize Viewport) {
    FViewport = Viewport;
    UpdatePlacement();
    FBufferValid = false;
    ResizeBackBuffer();
}

void TImgView32::ResizeBackBuffer() {
    const int Width = BackBufferLength(FBackBuffer.Width(), FViewport.Width);
    const int Height = BackBufferLength(FBackBuffer.Height(), FViewport.Height);
    if (Width == FBackBuffer.Width() && Height == FBackBuffer.Height())
        return;
    FBufferValid = false;
    FBackBuffer.SetDimensions(Width, Height);
}

TColor32 TImgView32::BackgroundPixel() const {
    return ColorToPixel(FColor, FResolveSystemColor);
}

void TImgView32::RenderBackBuffer() {
    const TRect Image = DisplayRect();
    FBackBuffer.SetClipArea(ViewportRect());

    const TColor32 Background = BackgroundPixel();
    if (FBitmap.IsEmpty() || FBitmap.DrawMode() != TDrawMode::dmOpaque) {
        FBackBuffer.FillAll(Background);
    } else {
        for (const TRect& Band : BackgroundBands(Image, FViewport))
            FBackBuffer.FillArea(Band, Background);
    }

    if (!FBitmap.IsEmpty() && !RectIsEmpty(Image)) {
        const TBitmapLock Lock(FBitmap);
        FBackBuffer.DrawFrom(Image, FBitmap.FullArea(), &FBitmap);
    }
    FBufferValid = true;
    ++FRenderCount;
}

void TImgView32::CopyBackBufferToScreen() {
    QPainter Painter(this);
    const qreal Ratio = devicePixelRatio();
    const int CopyWidth = std::min(FViewport.Width, FBackBuffer.Width());
    const int CopyHeight = std::min(FViewport.Height, FBackBuffer.Height());
    if (CopyWidth > 0 && CopyHeight > 0) {
        const TBitmapLock Lock(FBackBuffer);
        // The buffer's own memory, its rows as long as the buffer is wide. RGB32 makes the copy
        // opaque; the image's pixel ratio equals the painter's, so Qt draws it without scaling,
        // one buffer pixel to one device pixel.
        QImage Screen(reinterpret_cast<const uchar*>(FBackBuffer.PixelData()), CopyWidth,
                      CopyHeight, static_cast<qsizetype>(FBackBuffer.Width()) * 4,
                      QImage::Format_RGB32);
        Screen.setDevicePixelRatio(Ratio);
        Painter.setCompositionMode(QPainter::CompositionMode_Source);
        Painter.drawImage(QPointF(0, 0), Screen);
    }
    // Only when the buffer could not be enlarged does the viewport reach past it; that part
    // shows the background rather than whatever the screen held.
    if (CopyWidth < FViewport.Width || CopyHeight < FViewport.Height) {
        const QColor Background = QColor::fromRgb(BackgroundPixel());
        const qreal Right = CopyWidth / Ratio;
        const qreal Bottom = CopyHeight / Ratio;
        Painter.fillRect(QRectF(Right, 0, width() - Right, height()), Background);
        Painter.fillRect(QRectF(0, Bottom, Right, height() - Bottom), Background);
    }
    PaintCutLines(Painter);
}

void TImgView32::SetCutLines(const std::optional<TCutLines>& Lines) {
    if (Lines == FCutLines)
        return;
    FCutLines = Lines;
    if (!FCutLines) {
        EndDrag();
        unsetCursor();
    }
    // The lines are painted over the screen copy: the back buffer stays valid.
    update();
}

std::optional<std::pair<int, int>> TImgView32::CutLineColumns() const {
    const TRect Image = DisplayRect();
    if (!FCutLines || FBitmap.IsEmpty() || RectIsEmpty(Image))
        return std::nullopt;
    return std::pair{ViewColumnOfBitmapColumn(FCutLines->Left, Image, FBitmap.Width()),
                     ViewColumnOfBitmapColumn(FCutLines->Right, Image, FBitmap.Width())};
}

void TImgView32::PaintCutLines(QPainter& Painter) {
    const auto Columns = CutLineColumns();
    if (!Columns)
        return;
    const TRect Image = DisplayRect();
    const qreal Ratio = devicePixelRatio();
    const int Unit = std::max(1, qRound(Ratio));
    const int Top = Image.Top;
    const int Height = Image.Bottom - Image.Top;
    Painter.save();
    Painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    Painter.scale(1 / Ratio, 1 / Ratio); // device pixels from here on
    if (Columns->second < Image.Right)
        Painter.fillRect(QRect(Columns->second, Top, Image.Right - Columns->second, Height),
                         CutDimming);
    for (int X : {Columns->first, Columns->second}) {
        // A line on the picture's edge is moved inside it, so that it shows whole.
        X = std::max(Image.Left + 2 * Unit, std::min(X, Image.Right - 2 * Unit));
        Painter.fillRect(QRect(X - 2 * Unit, Top, 4 * Unit, Height), CutLineEdge);
        Painter.fillRect(QRect(X - Unit, Top, 2 * Unit, Height), CutLineCore);
    }
    Painter.restore();
}

std::optional<TCutLine> TImgView32::CutLineUnder(double X) const {
    const auto Columns = CutLineColumns();
    if (!Columns)
        return std::nullopt;
    return CutLineAt(X, Columns->first, Columns->second, CutLineGrabDistance * devicePixelRatio());
}

void TImgView32::ShowCursorFor(std::optional<TCutLine> Line) {
    if (Line || FDraggedLine)
        setCursor(Qt::SplitHCursor);
    else
        unsetCursor();
}

void TImgView32::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton || !FCutLines) {
        QWidget::mousePressEvent(Event);
        return;
    }
    RunHandler([this, Event] {
        FDraggedLine = CutLineUnder(Event->position().x() * devicePixelRatio());
        ShowCursorFor(FDraggedLine);
        if (!FDraggedLine)
            return;
        FDraggedColumn = *FDraggedLine == TCutLine::Left ? FCutLines->Left : FCutLines->Right;
        // Esc must reach the view while the pointer drags, whichever control has the focus.
        grabKeyboard();
        emit OnCutDragStarted();
    });
}

void TImgView32::mouseMoveEvent(QMouseEvent* Event) {
    RunHandler([this, Event] {
        const double X = Event->position().x() * devicePixelRatio();
        if (!FDraggedLine) {
            ShowCursorFor(CutLineUnder(X));
            return;
        }
        const int Column = BitmapColumnAtViewX(X, DisplayRect(), FBitmap.Width());
        if (Column == FDraggedColumn)
            return;
        FDraggedColumn = Column;
        emit OnCutLineMoved(*FDraggedLine, Column);
    });
}

void TImgView32::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton || !FDraggedLine) {
        QWidget::mouseReleaseEvent(Event);
        return;
    }
    RunHandler([this, Event] {
        EndDrag();
        ShowCursorFor(CutLineUnder(Event->position().x() * devicePixelRatio()));
    });
}

void TImgView32::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() != Qt::Key_Escape || !FDraggedLine) {
        QWidget::keyPressEvent(Event);
        return;
    }
    RunHandler([this] {
        EndDrag();
        ShowCursorFor(CutLineUnder(mapFromGlobal(QCursor::pos()).x() * devicePixelRatio()));
        emit OnCutDragCancelled();
    });
}

void TImgView32::EndDrag() {
    if (!FDraggedLine)
        return;
    FDraggedLine.reset();
    releaseKeyboard();
}

void TImgView32::paintEvent(QPaintEvent* /*Event*/) {
    RunHandler([this] {
        // Moving to a screen of another pixel density changes the viewport without a resize.
        const TPixelSize Viewport = CurrentViewportSize();
        if (Viewport != FViewport)
            TakeViewportSize(Viewport);
    });
    // Painting goes on after a failed resize: the old buffer still shows what it can.
    RunHandler([this] {
        if (!FBufferValid)
            RenderBackBuffer();
        CopyBackBufferToScreen();
    });
}

void TImgView32::resizeEvent(QResizeEvent* /*Event*/) {
    RunHandler([this] {
        update();
        TakeViewportSize(CurrentViewportSize());
    });
}

void TImgView32::changeEvent(QEvent* Event) {
    RunHandler([this, Event] {
        const bool PaletteChanged = Event->type() == QEvent::PaletteChange ||
                                    Event->type() == QEvent::ApplicationPaletteChange;
        if (PaletteChanged && FColor < 0)
            Repaint();
        QWidget::changeEvent(Event);
    });
}
