#pragma once

// TSplitter: a horizontal bar between two controls stacked in their parent's vertical layout.
// Dragging it with the left mouse button shows a hatched line that follows the pointer; at the
// release the control above takes the new height (SplitterRules.h) and the control below, which
// fills the rest, follows through the layout. Esc during the drag cancels it. The bar shows the
// vertical-resize cursor.
//
// The control above is the item right before the splitter in the parent's layout, the filling
// control the item right after it; the control above is given a fixed height.

#include <QPointer>
#include <QWidget>

class TSplitterLine;

class TSplitter : public QWidget {
    Q_OBJECT

public:
    explicit TSplitter(QWidget* Parent = nullptr);

    bool Dragging() const noexcept { return FDragging; }

protected:
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    QWidget* Neighbour(int Offset) const;
    int SizeForPointer(int GlobalY) const;
    void ShowLineAt(int Size);
    void EndDrag();

    bool FDragging = false;
    int FPressY = 0;
    int FStartSize = 0;
    int FMaxSize = 0;
    int FNewSize = 0;
    QPointer<QWidget> FControl;
    QPointer<TSplitterLine> FLine; // owned by the parent, like every child widget
};
