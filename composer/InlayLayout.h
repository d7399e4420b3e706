#pragma once

// What the input picture of a composition holds: the back card alone (its rightmost strip being
// the spine), the whole wrap-around of back card, spine and front side by side, or a whole tray
// card with both spine strips already on it.

#include <cstdint>

enum class TInlayLayout : std::uint8_t { Back, BackAndFront, TrayCard };

// The layout a newly loaded picture gets, in the window and in the batch command: a picture
// wider than one and a half times its height (after truncating Height * 15 / 10) is taken as a
// wrap-around cover; any other as the back card alone. A whole tray card is never chosen by
// itself (LooksLikeTrayCard only suggests it).
constexpr TInlayLayout ChooseInlayLayout(std::int32_t Width, std::int32_t Height) noexcept {
    // 64 bits: Height * 15 would pass 2^31 for heights above 143 million.
    return std::int64_t{Height} * 15 / 10 < Width ? TInlayLayout::BackAndFront : TInlayLayout::Back;
}

class TBitmap32;

// ChooseInlayLayout for the picture's size.
TInlayLayout ChooseInlayLayout(const TBitmap32& Picture) noexcept;

// Whether a picture of Width x Height is within 3 % of a whole tray card's proportion, 151 :
// 117.5 (its width over its height between 0.97 and 1.03 times 1510 / 1175).
constexpr bool LooksLikeTrayCard(std::int32_t Width, std::int32_t Height) noexcept {
    if (Width <= 0 || Height <= 0)
        return false;
    // Width / Height against 1510 / 1175, in integers: 100 * W * 1175 within 97 ... 103 times
    // H * 1510.
    const std::int64_t Picture = std::int64_t{Width} * 1175 * 100;
    const std::int64_t Card = std::int64_t{Height} * 1510;
    return Picture >= Card * 97 && Picture <= Card * 103;
}
