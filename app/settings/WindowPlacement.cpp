#include "app/settings/WindowPlacement.h"

#include "base/Finally.h"

const char* const PlacementKey = "Software\\Brenlow\\Trayvane";

void RestoreWindowPlacement(TRegistry& Registry, TPlacementTarget& Target) {
    if (!Registry.OpenKey(PlacementKey, false))
        return;
    TryFinally(
        [&] {
            Target.SetWidth(ReadIntegerDefault(Registry, "Width", Target.Width()));
            Target.SetHeight(ReadIntegerDefault(Registry, "Height", Target.Height()));
            Target.SetLeft(ReadIntegerDefault(Registry, "Left", Target.Left()));
            Target.SetTop(ReadIntegerDefault(Registry, "Top", Target.Top()));
        },
        [&] { Registry.CloseKey(); });
}

void StoreWindowPlacement(TRegistry& Registry, const TWindowBounds& RestoredBounds) {
    // The outcome is not looked at: without a key the first write reports the failure.
    Registry.OpenKey(PlacementKey, true);
    TryFinally(
        [&] {
            Registry.WriteInteger("Width", RestoredBounds.Width);
            Registry.WriteInteger("Height", RestoredBounds.Height);
            Registry.WriteInteger("Left", RestoredBounds.Left);
            Registry.WriteInteger("Top", RestoredBounds.Top);
        },
        [&] { Registry.CloseKey(); });
}
