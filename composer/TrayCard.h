#pragma once

// The facts of the jewel case's tray card that the program works to: its size, the spine
// settings the user may choose, how the inlay is saved, and how wide it prints.

#include "raster/PrintDensity.h"

#include <array>
#include <cstdint>

// The card's proportion, width : height, to which every inlay is brought.
inline constexpr int InlayWidthRatio = 1510;
inline constexpr int InlayHeightRatio = 1175;

// The tray card's printed size in millimetres: 151 wide and, at 1510 : 1175, 117.5 high.
inline constexpr int TrayCardWidthMm = 151;
inline constexpr double TrayCardHeightMm =
    static_cast<double>(TrayCardWidthMm) * InlayHeightRatio / InlayWidthRatio;

// The spine settings (the slider's positions): the spine widened or narrowed by this many per
// cent.
inline constexpr std::array<int, 9> SpineSettings = {-20, -15, -10, -5, 0, 5, 10, 15, 20};

// Whether Value is one of SpineSettings.
constexpr bool IsSpineSetting(int Value) noexcept {
    for (const int Setting : SpineSettings)
        if (Setting == Value)
            return true;
    return false;
}

// An inlay printed at tray-card size below this many dots per inch looks coarse: the window and
// the batch command warn.
inline constexpr int LowResolutionDotsPerInch = 150;

// The JPEG quality at which an inlay is saved.
inline constexpr int InlaySaveQuality = 95;

// The density that prints an inlay InlayWidth pixels wide at TrayCardWidthMm: InlayWidth * 254 /
// 1510 dots per inch as an exact fraction in lowest terms. A width below 1 gives no density.
TPrintDensity TrayCardDensity(std::int64_t InlayWidth);
