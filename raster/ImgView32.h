#pragma once

// TImgView32: a control that shows its own TBitmap32 on a solid background, shrunk to fit when
// the bitmap is larger than the control and at its own size otherwise, centred, with
// nearest-neighbour sampling. It follows the bitmap by itself: every change the bitmap announces
// (OnChange, OnResize) leads to one repaint when the program is idle, however many changes came
// in one handler.
//
// The view renders into its back buffer only after a change and copies the buffer to the screen
// pixel for pixel; the screen pixel unit is the device pixel, so on a high-density screen a
// bitmap pixel still covers exactly one device pixel. All rectangles and sizes this class hands
// out are in device pixels.
//
// Over the picture the view can draw cut lines (raster/CutOverlay.h): two thin vertical lines in
// a colour that shows on light and dark pictures alike, and everything right of the right line
// dimmed. They are painted over the screen copy, never into the bitmap or the back buffer. The
// pointer over a line shows the horizontal-resize cursor, and dragging a line with the left
// button reports the bitmap boundary under the pointer (OnCutLineMoved); the owner moves the
// lines. Esc during a drag ends it and tells the owner (OnCutDragCancelled), which puts the cut
// back where it was when the drag began (OnCutDragStarted).
//
// The view's settings are fixed: scale 1.0, shrink-to-fit-else-scale, centred, no over-size
// margin, no scroll bars, full repaints. Usable as a promoted widget in a Qt Designer form; its
// one designable property is Color (set it with stdset="0" in a form, since its setter is
// SetColor).

#include "raster/Bitmap32.h"
#include "raster/Color.h"
#include "raster/CutOverlay.h"
#include "raster/ViewPlacement.h"

#include <QWidget>

#include <optional>
#include <utility>

class QPainter;

class TImgView32 : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Color READ Color WRITE SetColor)

public:
    explicit TImgView32(QWidget* Parent = nullptr);
    ~TImgView32() override;

    // The displayed bitmap, owned by the view for its whole life. Change it through its own
    // operations; the view takes its OnChange, OnResize and OnHandleChanged, which nothing else
    // may assign.
    TBitmap32& Bitmap() noexcept { return FBitmap; }
    const TBitmap32& Bitmap() const noexcept { return FBitmap; }

    // The off-screen bitmap the view renders into: at least the viewport's size, its ClipArea the
    // viewport. Valid as a picture of the bitmap only after a paint.
    const TBitmap32& BackBuffer() const noexcept { return FBackBuffer; }

    // The background colour, 00BBGGRR or a negative system colour. Starts as clBtnFace. Setting a
    // new value repaints.
    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor Value);

    // How negative colours are resolved; the default reads the application palette
    // (PaletteSystemColor). An empty resolver makes them black. Repaints.
    void SetSystemColorResolver(TSystemColorResolver Resolver);

    // The part of the control where the image is shown: (0, 0, width, height) in device pixels,
    // as of the last size change.
    TRect ViewportRect() const noexcept;
    // The size at which the bitmap is shown in the viewport.
    TPixelSize DisplaySize() const noexcept;
    // The image's top-left corner before rounding, set whenever the bitmap or the control changes
    // size.
    float DisplayOffsetX() const noexcept { return FDisplayOffsetX; }
    float DisplayOffsetY() const noexcept { return FDisplayOffsetY; }
    // The device pixels covered by the image; (0, 0, 0, 0) for an empty bitmap.
    TRect DisplayRect() const;

    // How often the picture was rendered into the back buffer: once per paint that followed a
    // change, never for a paint without one.
    int RenderCount() const noexcept { return FRenderCount; }

    // The cut lines over the picture, or none (the start). Setting other lines repaints without
    // rendering the picture anew; setting none ends a drag.
    const std::optional<TCutLines>& CutLines() const noexcept { return FCutLines; }
    void SetCutLines(const std::optional<TCutLines>& Lines);
    // The view columns (device pixels) at which the lines stand as the picture is shown now.
    std::optional<std::pair<int, int>> CutLineColumns() const;

    // How near, in the view's own pixels (not device pixels), the pointer must be to grab a line.
    static constexpr int CutLineGrabDistance = 4;

signals:
    // While a cut line is dragged: the bitmap boundary nearest to the pointer, whenever it
    // changes. The line itself stays until its owner sets the lines anew.
    void OnCutLineMoved(TCutLine Line, int Column);
    // A drag began (before its first move), and a drag was ended by Esc instead of the button.
    void OnCutDragStarted();
    void OnCutDragCancelled();

protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    void BitmapChanged();
    void BitmapResized();
    void UpdatePlacement();
    void Repaint();
    TPixelSize CurrentViewportSize() const;
    void TakeViewportSize(TPixelSize Viewport);
    void ResizeBackBuffer();
    void RenderBackBuffer();
    void CopyBackBufferToScreen();
    TColor32 BackgroundPixel() const;
    void PaintCutLines(QPainter& Painter);
    std::optional<TCutLine> CutLineUnder(double X) const;
    void ShowCursorFor(std::optional<TCutLine> Line);
    void EndDrag();

    TBitmap32 FBitmap;
    TBitmap32 FBackBuffer;
    TColor FColor = clBtnFace;
    TSystemColorResolver FResolveSystemColor;
    TPixelSize FViewport{0, 0};
    float FDisplayOffsetX = 0.0f;
    float FDisplayOffsetY = 0.0f;
    mutable std::optional<TRect> FDisplayRect;
    bool FBufferValid = false;
    int FRenderCount = 0;
    std::optional<TCutLines> FCutLines;
    std::optional<TCutLine> FDraggedLine;
    int FDraggedColumn = 0;
};
