#pragma once

// The layout a newly loaded picture gets: a picture wider than one and a half times its height
// (after truncating Height * 15 / 10) is taken as a wrap-around cover of back card, spine and
// front; any other as the back card alone.

#include <cstdint>

constexpr bool IsBackAndFrontPicture(std::int32_t Width, std::int32_t Height) noexcept {
    // 64 bits: Height * 15 would pass 2^31 for heights above 143 million.
    return std::int64_t{Height} * 15 / 10 < Width;
}
