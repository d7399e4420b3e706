#include "app/WidgetPlacement.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {

// The smallest client area the window can be given.
constexpr int MinimumClientWidth = 400;
constexpr int MinimumClientHeight = 300;

bool IsNormalState(const QWidget& Window) {
    return !(Window.windowState() &
             (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}

TWindowBounds BoundsOf(const QRect& Rect) {
    return TWindowBounds{Rect.left(), Rect.top(), Rect.width(), Rect.height()};
}

} // namespace

QMargins FrameMargins(const QWidget& Window) {
    const QRect Frame = Window.frameGeometry();
    const QRect Client = Window.geometry();
    return QMargins(Client.left() - Frame.left(), Client.top() - Frame.top(),
                    Frame.right() - Client.right(), Frame.bottom() - Client.bottom());
}

TWindowBounds RestoredFrameBounds(const QWidget& Window, const QMargins& NormalFrame) {
    const QRect Normal =
        Window.normalGeometry().isValid() ? Window.normalGeometry() : Window.geometry();
    return BoundsOf(Normal.marginsAdded(NormalFrame));
}

TWindowBounds RestoredFrameBounds(const QWidget& Window) {
    return RestoredFrameBounds(Window, FrameMargins(Window));
}

std::vector<TWindowBounds> AvailableScreenAreas() {
    std::vector<TWindowBounds> Areas;
    if (const QScreen* Primary = QGuiApplication::primaryScreen())
        Areas.push_back(BoundsOf(Primary->availableGeometry()));
    for (const QScreen* Screen : QGuiApplication::screens())
        if (Screen != QGuiApplication::primaryScreen())
            Areas.push_back(BoundsOf(Screen->availableGeometry()));
    return Areas;
}

TWidgetPlacement::TWidgetPlacement(QWidget& Window) : FWindow(Window) {}

void TWidgetPlacement::Place(const TStoredPlacement& Stored) {
    if (!FDesignedClientSize.isValid())
        FDesignedClientSize = FWindow.size();
    FStored = Stored;
    FWindow.setMinimumSize(std::max(FWindow.minimumWidth(), MinimumClientWidth),
                           std::max(FWindow.minimumHeight(), MinimumClientHeight));
    const QMargins Frame = FrameMargins(FWindow);
    Apply(Frame);
    FWaitingForFrame = Frame.isNull();
}

void TWidgetPlacement::WindowChanged() {
    const QMargins Frame = FrameMargins(FWindow);
    if (Frame.isNull() || !FWindow.isVisible())
        return;
    if (IsNormalState(FWindow))
        FNormalFrame = Frame;
    if (FWaitingForFrame && IsNormalState(FWindow)) {
        FWaitingForFrame = false;
        Apply(Frame);
    }
}

void TWidgetPlacement::Apply(const QMargins& Frame) {
    const int FrameWidth = Frame.left() + Frame.right();
    const int FrameHeight = Frame.top() + Frame.bottom();
    const std::vector<TWindowBounds> Screens = AvailableScreenAreas();
    const QPoint WorkArea =
        Screens.empty() ? QPoint(0, 0) : QPoint(Screens.front().Left, Screens.front().Top);
    const TWindowBounds Designed{WorkArea.x(), WorkArea.y(),
                                 FDesignedClientSize.width() + FrameWidth,
                                 FDesignedClientSize.height() + FrameHeight};
    const TWindowBounds Bounds =
        FitWindowBounds(FStored, Designed, Screens, FWindow.minimumWidth() + FrameWidth,
                        FWindow.minimumHeight() + FrameHeight);
    // move() places the frame's top-left corner, resize() the client area.
    FWindow.move(Bounds.Left, Bounds.Top);
    FWindow.resize(Bounds.Width - FrameWidth, Bounds.Height - FrameHeight);
}

TWindowBounds TWidgetPlacement::RestoredBounds() const {
    return RestoredFrameBounds(FWindow,
                               FNormalFrame.isNull() ? FrameMargins(FWindow) : FNormalFrame);
}
