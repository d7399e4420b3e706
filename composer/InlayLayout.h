#pragma once

// What the input picture of a composition holds: the back card alone (its rightmost strip being
// the spine), or the whole wrap-around of back card, spine and front side by side.

#include <cstdint>

enum class TInlayLayout : std::uint8_t { Back, BackAndFront };

// The layout a newly loaded picture gets, in the window and in the batch command: a picture
// wider than one and a half times its height (after truncating Height * 15 / 10) is taken as a
// wrap-around cover; any other as the back card alone.
constexpr TInlayLayout ChooseInlayLayout(std::int32_t Width, std::int32_t Height) noexcept {
    // 64 bits: Height * 15 would pass 2^31 for heights above 143 million.
    return std::int64_t{Height} * 15 / 10 < Width ? TInlayLayout::BackAndFront : TInlayLayout::Back;
}

class TBitmap32;

// ChooseInlayLayout for the picture's size.
TInlayLayout ChooseInlayLayout(const TBitmap32& Picture) noexcept;
