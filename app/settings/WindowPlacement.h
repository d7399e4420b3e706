#pragma once

// The main window's size and position, kept in the per-user registry between runs: read once
// while the window is created, written once while it is destroyed. The values "Width", "Height",
// "Left" and "Top" (REG_DWORD) under HKEY_CURRENT_USER\Software\Brenlow\Trayvane hold the window's
// outer bounds in its normal (restored) state. Nothing is range-checked.

#include "app/settings/Registry.h"

#include <string>

extern const char* const PlacementKey; // "Software\Brenlow\Trayvane"

// Outer bounds of a window, frame included.
struct TWindowBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool operator==(const TWindowBounds&) const = default;
};

// The window whose placement is restored: each setter takes effect at once.
class TPlacementTarget {
public:
    virtual ~TPlacementTarget() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual void SetHeight(int Value) = 0;
    virtual void SetLeft(int Value) = 0;
    virtual void SetTop(int Value) = 0;
};

// Applies the stored placement to Target. Opens the key without creating it; when that fails,
// Target keeps its bounds. Otherwise Width, Height, Left and Top are each read with
// ReadIntegerDefault (the target's current figure being the default) and applied at once, in
// that order. An ERegistryException (a value of the wrong type or size, or a store that cannot
// be read) propagates; the figures applied before it stay. The key is closed on every path.
void RestoreWindowPlacement(TRegistry& Registry, TPlacementTarget& Target);

// Stores RestoredBounds. Opens the key, creating it when missing, without looking at the outcome,
// then writes Width, Height, Left and Top in that order; the first failing write raises
// ERegistryException "Failed to set data for '<name>'" (also when no key could be opened), and
// the rest are not written. The key is closed on every path.
void StoreWindowPlacement(TRegistry& Registry, const TWindowBounds& RestoredBounds);
