#include "app/WidgetPlacement.h"

QMargins FrameMargins(const QWidget& Window) {
    const QRect Frame = Window.frameGeometry();
    const QRect Client = Window.geometry();
    return QMargins(Client.left() - Frame.left(), Client.top() - Frame.top(),
                    Frame.right() - Client.right(), Frame.bottom() - Client.bottom());
}

TWindowBounds RestoredFrameBounds(const QWidget& Window) {
    const QRect Normal =
        Window.normalGeometry().isValid() ? Window.normalGeometry() : Window.geometry();
    const QRect Frame = Normal.marginsAdded(FrameMargins(Window));
    return TWindowBounds{Frame.left(), Frame.top(), Frame.width(), Frame.height()};
}

int TWidgetPlacement::Width() const {
    return FWindow.frameGeometry().width();
}
int TWidgetPlacement::Height() const {
    return FWindow.frameGeometry().height();
}
int TWidgetPlacement::Left() const {
    return FWindow.frameGeometry().left();
}
int TWidgetPlacement::Top() const {
    return FWindow.frameGeometry().top();
}

void TWidgetPlacement::SetWidth(int Value) {
    const QMargins Frame = FrameMargins(FWindow);
    FWindow.resize(Value - Frame.left() - Frame.right(), FWindow.height());
}

void TWidgetPlacement::SetHeight(int Value) {
    const QMargins Frame = FrameMargins(FWindow);
    FWindow.resize(FWindow.width(), Value - Frame.top() - Frame.bottom());
}

// move() places a window's frame, not its client area.
void TWidgetPlacement::SetLeft(int Value) {
    FWindow.move(Value, FWindow.frameGeometry().top());
}
void TWidgetPlacement::SetTop(int Value) {
    FWindow.move(FWindow.frameGeometry().left(), Value);
}
