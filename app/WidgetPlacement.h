#pragma once

// The main window's placement as the registry keeps it: outer bounds, frame included, of the
// window in its normal (restored) state.

#include "app/settings/WindowPlacement.h"

#include <QMargins>
#include <QSize>
#include <QWidget>

#include <vector>

// The frame the window manager puts around Window, (0, 0, 0, 0) while there is none (before the
// window is shown, or without a window manager).
QMargins FrameMargins(const QWidget& Window);

// The outer bounds of Window in its normal state, also while it is maximised or minimised, with
// the frame NormalFrame (the frame of the normal state; a maximised window often has none).
TWindowBounds RestoredFrameBounds(const QWidget& Window, const QMargins& NormalFrame);
// The same with the frame Window has now.
TWindowBounds RestoredFrameBounds(const QWidget& Window);

// The work areas of the screens (without panels and docks), the primary screen's first.
std::vector<TWindowBounds> AvailableScreenAreas();

// TWidgetPlacement: puts a top-level window where its stored placement says, made to fit the
// screens (FitWindowBounds), and gives back its normal bounds at the end. The frame that the
// window manager puts around the window is known only once the window is shown: Place applies
// the placement at once with the frame taken as none, and WindowChanged applies it again when the
// frame first becomes known. WindowChanged also notes the frame of the normal state, so that a
// window closed maximised gives the bounds it would give closed in its normal state.
class TWidgetPlacement {
public:
    explicit TWidgetPlacement(QWidget& Window);

    // Places the window by Stored; the window's size at the first call is its designed size,
    // and its minimum size becomes at least 400 by 300.
    void Place(const TStoredPlacement& Stored);

    // To be called on the window's move, resize and state-change events.
    void WindowChanged();

    // The outer bounds of the window in its normal state.
    TWindowBounds RestoredBounds() const;

private:
    void Apply(const QMargins& Frame);

    QWidget& FWindow;
    QSize FDesignedClientSize;
    TStoredPlacement FStored;
    bool FWaitingForFrame = false;
    QMargins FNormalFrame;
};
