#pragma once

// The main window's size and position, kept in the per-user registry between runs: read once
// while the window is created, written once while it is destroyed. The values "Width", "Height",
// "Left" and "Top" (REG_DWORD) under HKEY_CURRENT_USER\Software\Brenlow\Trayvane hold the window's
// outer bounds in its normal (restored) state. They are stored as they are; what is read back
// is made to fit the screens (FitWindowBounds) before the window takes it.

#include "app/settings/Registry.h"

#include <optional>
#include <string>
#include <vector>

extern const char* const PlacementKey; // "Software\Brenlow\Trayvane"

// Outer bounds of a window, frame included.
struct TWindowBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool operator==(const TWindowBounds&) const = default;
};

// The figures the registry holds, each only when its value is there.
struct TStoredPlacement {
    std::optional<int> Width;
    std::optional<int> Height;
    std::optional<int> Left;
    std::optional<int> Top;

    bool IsEmpty() const noexcept { return !Width && !Height && !Left && !Top; }
};

// Reads the stored placement into Stored. Opens the key without creating it; when that fails,
// Stored stays empty. Otherwise Width, Height, Left and Top are read in that order, each when a
// value of that name exists. An ERegistryException (a value of the wrong type or size, or a
// store that cannot be read) propagates; the figures read before it stay in Stored. The key is
// closed on every path.
void ReadWindowPlacement(TRegistry& Registry, TStoredPlacement& Stored);

// Where the window opens: the stored figures, each missing one taken from Designed (the window's
// designed outer bounds: its designed size with the frame, at the top-left corner of the primary
// screen's work area), made sure to be usable on Screens (the screens' work areas, the primary
// first):
//   - nothing stored: Designed as it is where it fits the primary work area; on a smaller
//     one, no wider and no higher than that work area, moved just as far as it takes to lie on
//     it (the first window on a small screen is whole, frame and all);
//   - a stored width or height of 0 or less cannot be made sense of: the designed size, no
//     larger than the primary work area, centred on it;
//   - otherwise the window goes onto the screen whose work area holds most of it (or, when none
//     holds any, the nearest one), its size held between MinWidth by MinHeight and that work
//     area, and is moved just as far as it takes to lie wholly inside it.
// Figures within those bounds come back exactly as stored. Without any screen, the figures are
// returned unchecked.
TWindowBounds FitWindowBounds(const TStoredPlacement& Stored, const TWindowBounds& Designed,
                              const std::vector<TWindowBounds>& Screens, int MinWidth,
                              int MinHeight);

// Stores RestoredBounds. Opens the key, creating it when missing, without looking at the outcome,
// then writes Width, Height, Left and Top in that order; the first failing write raises
// ERegistryException "Failed to set data for '<name>'" (also when no key could be opened), and
// the rest are not written. The key is closed on every path.
void StoreWindowPlacement(TRegistry& Registry, const TWindowBounds& RestoredBounds);
