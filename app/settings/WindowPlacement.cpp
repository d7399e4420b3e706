#include "app/settings/WindowPlacement.h"

#include "base/Finally.h"

#include <algorithm>
#include <cstdint>

const char* const PlacementKey = "Software\\Brenlow\\Trayvane";

void ReadWindowPlacement(TRegistry& Registry, TStoredPlacement& Stored) {
    if (!Registry.OpenKey(PlacementKey, false))
        return;
    TryFinally(
        [&] {
            const auto Read = [&](const char* Name, std::optional<int>& Figure) {
                if (Registry.ValueExists(Name))
                    Figure = Registry.ReadInteger(Name);
            };
            Read("Width", Stored.Width);
            Read("Height", Stored.Height);
            Read("Left", Stored.Left);
            Read("Top", Stored.Top);
        },
        [&] { Registry.CloseKey(); });
}

namespace {

// Rectangles in 64 bits: stored figures near the limits of 32 bits must not overflow.
struct TArea {
    std::int64_t Left, Top, Width, Height;

    std::int64_t Right() const { return Left + Width; }
    std::int64_t Bottom() const { return Top + Height; }
};

TArea AreaOf(const TWindowBounds& B) {
    return {B.Left, B.Top, B.Width, B.Height};
}

std::int64_t OverlapOf(const TArea& A, const TArea& B) {
    const std::int64_t Width = std::min(A.Right(), B.Right()) - std::max(A.Left, B.Left);
    const std::int64_t Height = std::min(A.Bottom(), B.Bottom()) - std::max(A.Top, B.Top);
    return Width > 0 && Height > 0 ? Width * Height : 0;
}

// How far the centre of Window lies from Area, squared (0 inside it).
std::int64_t DistanceOf(const TArea& Window, const TArea& Area) {
    const std::int64_t X = Window.Left + Window.Width / 2;
    const std::int64_t Y = Window.Top + Window.Height / 2;
    const std::int64_t Dx = X - std::clamp(X, Area.Left, Area.Right() - 1);
    const std::int64_t Dy = Y - std::clamp(Y, Area.Top, Area.Bottom() - 1);
    // Halved first: the distance of a figure near 2^31 still fits in 64 bits when squared.
    return (Dx / 2) * (Dx / 2) + (Dy / 2) * (Dy / 2);
}

} // namespace

TWindowBounds FitWindowBounds(const TStoredPlacement& Stored, const TWindowBounds& Designed,
                              const std::vector<TWindowBounds>& Screens, int MinWidth,
                              int MinHeight) {
    std::vector<TArea> Areas;
    for (const TWindowBounds& Screen : Screens)
        if (Screen.Width > 0 && Screen.Height > 0)
            Areas.push_back(AreaOf(Screen));
    TArea Window{Stored.Left.value_or(Designed.Left), Stored.Top.value_or(Designed.Top),
                 Stored.Width.value_or(Designed.Width), Stored.Height.value_or(Designed.Height)};
    if (Areas.empty())
        return {static_cast<int>(Window.Left), static_cast<int>(Window.Top),
                static_cast<int>(Window.Width), static_cast<int>(Window.Height)};
    if (Stored.IsEmpty()) {
        // The designed window where it fits; on a smaller screen as large as the work area.
        const TArea& Primary = Areas.front();
        const std::int64_t Width = std::min<std::int64_t>(Window.Width, Primary.Width);
        const std::int64_t Height = std::min<std::int64_t>(Window.Height, Primary.Height);
        return {static_cast<int>(std::clamp(Window.Left, Primary.Left, Primary.Right() - Width)),
                static_cast<int>(std::clamp(Window.Top, Primary.Top, Primary.Bottom() - Height)),
                static_cast<int>(Width), static_cast<int>(Height)};
    }

    if (Window.Width <= 0 || Window.Height <= 0) {
        const TArea& Primary = Areas.front();
        const std::int64_t Width = std::min<std::int64_t>(Designed.Width, Primary.Width);
        const std::int64_t Height = std::min<std::int64_t>(Designed.Height, Primary.Height);
        return {static_cast<int>(Primary.Left + (Primary.Width - Width) / 2),
                static_cast<int>(Primary.Top + (Primary.Height - Height) / 2),
                static_cast<int>(Width), static_cast<int>(Height)};
    }

    // The screen that shows most of the window, or the nearest one.
    const TArea* Screen = nullptr;
    std::int64_t Best = 0;
    for (const TArea& Area : Areas)
        if (const std::int64_t Overlap = OverlapOf(Window, Area); Overlap > Best) {
            Best = Overlap;
            Screen = &Area;
        }
    if (!Screen) {
        Screen = &Areas.front();
        for (const TArea& Area : Areas)
            if (DistanceOf(Window, Area) < DistanceOf(Window, *Screen))
                Screen = &Area;
    }

    Window.Width = std::clamp<std::int64_t>(
        Window.Width, std::min<std::int64_t>(MinWidth, Screen->Width), Screen->Width);
    Window.Height = std::clamp<std::int64_t>(
        Window.Height, std::min<std::int64_t>(MinHeight, Screen->Height), Screen->Height);
    Window.Left = std::clamp(Window.Left, Screen->Left, Screen->Right() - Window.Width);
    Window.Top = std::clamp(Window.Top, Screen->Top, Screen->Bottom() - Window.Height);
    return {static_cast<int>(Window.Left), static_cast<int>(Window.Top),
            static_cast<int>(Window.Width), static_cast<int>(Window.Height)};
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
