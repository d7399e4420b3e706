#pragma once

// The main window's placement as the registry keeps it: outer bounds, frame included, of the
// window in its normal (restored) state.

#include "app/settings/WindowPlacement.h"

#include <QMargins>
#include <QWidget>

// The frame the window manager puts around Window, (0, 0, 0, 0) while there is none (before the
// window is shown, or without a window manager).
QMargins FrameMargins(const QWidget& Window);

// The outer bounds of Window in its normal state, also while it is maximised or minimised.
TWindowBounds RestoredFrameBounds(const QWidget& Window);

// A top-level window as a TPlacementTarget: each figure is applied at once; sizes are outer
// sizes, positions those of the frame's top-left corner.
class TWidgetPlacement final : public TPlacementTarget {
public:
    explicit TWidgetPlacement(QWidget& Window) : FWindow(Window) {}

    int Width() const override;
    int Height() const override;
    int Left() const override;
    int Top() const override;
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    void SetLeft(int Value) override;
    void SetTop(int Value) override;

private:
    QWidget& FWindow;
};
