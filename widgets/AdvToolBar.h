#pragma once

// TAdvToolBar: a ribbon group. It lays its child controls out side by side (ToolBarLayout.h:
// from 3 pixels off its left edge, no gaps, centred above the caption strip) and shows its
// Caption centred in the strip below them. With AutoSize (the default) it takes the width that
// layout asks for; with AutoSize off it keeps the width it is given. Its height is never
// changed by it (90 on the ribbon page).
//
// The layout is redone at once whenever a control is added or removed, when Caption, AutoSize
// or the font change, when a control asks for it with a QEvent::LayoutRequest sent to the
// toolbar (glow buttons do when they resize themselves), and when a shown control is resized,
// moved by someone else, shown or hidden. Controls hidden explicitly (hide(),
// setVisible(false)) take no place.
//
// Compact form: a toolbar with a CompactPicture (an SVG path) can shrink to its caption and that
// picture, 64 by 64 (CompactToolBarWidth); its controls are hidden meanwhile. The pager decides
// (setCompact) when the ribbon is too narrow. A click on the compact toolbar shows the whole
// toolbar in a popup below it; the popup closes on a click outside it, on Esc, or once one of
// its controls was clicked, and the toolbar returns to its place, compact.
//
// Floating (Floatable, the default): dragging the toolbar by its caption strip or its free
// background out of the ribbon puts it in a small window of its own where it was let go;
// dragging that window by the same parts and letting go over the ribbon, or double-clicking its
// caption strip, puts it back into its place on the ribbon. Float() and Dock() do the same from
// code. The toolbar's controls stay its children all the while.

#include <QPointer>
#include <QSvgRenderer>
#include <QWidget>

#include <memory>
#include <vector>

class QRubberBand;

class TAdvToolBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(QString CompactPicture READ CompactPicture WRITE setCompactPicture)
    Q_PROPERTY(bool Floatable READ Floatable WRITE setFloatable)

public:
    // Where the toolbar is.
    enum class TPlace { Docked, PoppedUp, Floating };

    explicit TAdvToolBar(QWidget* Parent = nullptr);
    ~TAdvToolBar() override;

    QString Caption() const { return FCaption; }
    void setCaption(const QString& Value);
    bool AutoSize() const { return FAutoSize; }
    void setAutoSize(bool Value);
    QString CompactPicture() const { return FCompactPicture; }
    void setCompactPicture(const QString& Value);
    bool Floatable() const { return FFloatable; }
    void setFloatable(bool Value);

    // The controls that take part in the layout, in stacking order (the order they were added).
    std::vector<QWidget*> LaidOutControls() const;

    // The width with all its controls shown, also while compact.
    int FullWidth() const;
    // The width of its compact form; 0 when it has none (no CompactPicture).
    int CompactWidth() const;
    bool Compact() const { return FCompact; }
    // Shows the compact form (when it has one) or the whole toolbar. Only while docked.
    void setCompact(bool Value);

    TPlace Place() const { return FPlace; }
    // Shows the whole toolbar in a popup below its compact form; nothing unless docked compact.
    void ShowPopup();
    // Moves the toolbar out of the ribbon into a window of its own whose top-left corner is at
    // the screen position At; nothing unless docked.
    void Float(const QPoint& At);
    // Puts a floating toolbar back into its place on the ribbon.
    void Dock();
    // The window that holds the toolbar while it floats or pops up (a child window of the
    // ribbon's window, which owns it); null while docked.
    QWidget* Holder() const { return FHolder.data(); }

    QSize sizeHint() const override;

protected:
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void childEvent(QChildEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;

private:
    void DoLayout();
    int CaptionTextWidth() const;
    void PaintCompact(QPainter& Painter);
    void ReturnFromHolder();
    bool IsOverHome(const QPoint& GlobalPos) const;

    QString FCaption;
    bool FAutoSize = true;
    bool FLayingOut = false;
    QString FCompactPicture;
    QSvgRenderer FCompactRenderer;
    bool FFloatable = true;
    bool FCompact = false;
    int FFullWidth = 0; // the width before the compact form was taken
    std::vector<QPointer<QWidget>> FHiddenByCompact;
    TPlace FPlace = TPlace::Docked;
    QPointer<QWidget> FHome;   // the ribbon page it came from while away
    QPoint FHomePos;           // and where it stood on it
    QPointer<QWidget> FHolder; // the popup or the floating window
    // A press on the toolbar itself: where, and whether it became a drag.
    bool FPressed = false;
    bool FDragging = false;
    QPoint FPressGlobal;
    QPoint FPressOffset;
    std::unique_ptr<QRubberBand> FDragOutline;
};
