#pragma once

// Memory for the pixels of bitmaps.
//
// Large blocks that a bitmap gives back are kept for a moment and handed to the next bitmap that
// asks for about as much: clearing memory that is already mapped costs a fraction of what fresh
// pages cost the system, and the program's work frees and asks for blocks of similar sizes in
// turn (a composition resizes its output, fills a temporary of nearly the same size and takes
// that over). At most four blocks are kept, the newest handed out first. A kept block is handed out
// as it is, so that its new owner can skip clearing what it is about to overwrite anyway.

#include <cstddef>
#include <cstdint>
#include <memory>

class TPixelBlockRelease {
public:
    void operator()(std::uint32_t* Pixels) const noexcept;
    std::size_t CapacityBytes = 0;
};

using TPixelBlock = std::unique_ptr<std::uint32_t, TPixelBlockRelease>;

struct TPixelAllocation {
    TPixelBlock Block; // empty when the memory cannot be had
    bool Zeroed;       // false for a kept block: its owner must clear it before it is read
};

// A block for PixelCount pixels: fresh zero-filled memory, or a kept block that still holds the
// pixels of its previous owner.
TPixelAllocation AllocatePixelBlock(std::uint64_t PixelCount) noexcept;
