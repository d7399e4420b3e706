#include "raster/PixelStore.h"

#include "raster/LargeBlock.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <utility>

namespace {

// Blocks below this size come and go through the allocator as they are.
constexpr std::size_t KeepFromBytes = std::size_t{4} << 20;

// The window's composition works with four large blocks of two sizes per layout (the composed
// inlay and its normalised copy); keeping four lets a switch of layout find the other layout's
// blocks from the last time instead of asking the system for fresh memory.
constexpr std::size_t KeptBlockCount = 4;

struct TKeptBlock {
    std::uint32_t* Pixels = nullptr;
    std::size_t CapacityBytes = 0;
};

// The kept blocks live in constant-initialised statics without destructors, so that bitmaps
// destroyed during the program's exit can still give their blocks back; whatever is kept at exit
// goes back to the system with the process.
constinit std::mutex KeptMutex;
constinit std::array<TKeptBlock, KeptBlockCount> KeptBlocks{};

// A kept block that holds Bytes without wasting more than half as much again.
TKeptBlock TakeKept(std::size_t Bytes) noexcept {
    const std::lock_guard Guard(KeptMutex);
    for (auto& Kept : KeptBlocks)
        if (Kept.Pixels && Kept.CapacityBytes >= Bytes && Kept.CapacityBytes - Bytes <= Bytes / 2)
            return std::exchange(Kept, TKeptBlock{});
    return {};
}

// Keeps Block as the newest, giving the oldest kept block back to the system when every place
// is taken.
void Keep(TKeptBlock Block) noexcept {
    TKeptBlock Oldest;
    {
        const std::lock_guard Guard(KeptMutex);
        // The newer blocks move up by one into the first free place, or over the oldest.
        auto Free = std::find_if(KeptBlocks.begin(), KeptBlocks.end(),
                                 [](const TKeptBlock& Kept) { return !Kept.Pixels; });
        if (Free == KeptBlocks.end())
            Oldest = *--Free;
        std::move_backward(KeptBlocks.begin(), Free, Free + 1);
        KeptBlocks[0] = Block;
    }
    std::free(Oldest.Pixels);
}

} // namespace

void TPixelBlockRelease::operator()(std::uint32_t* Pixels) const noexcept {
    if (CapacityBytes >= KeepFromBytes)
        Keep(TKeptBlock{Pixels, CapacityBytes});
    else
        std::free(Pixels);
}

TPixelAllocation AllocatePixelBlock(std::uint64_t PixelCount) noexcept {
    constexpr auto MaxPixels =
        static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max()) /
        sizeof(std::uint32_t);
    if (PixelCount == 0 || PixelCount > MaxPixels)
        return {TPixelBlock{}, false};
    const auto Bytes = static_cast<std::size_t>(PixelCount) * sizeof(std::uint32_t);
    if (Bytes >= KeepFromBytes) {
        if (const TKeptBlock Reused = TakeKept(Bytes); Reused.Pixels)
            return {TPixelBlock(Reused.Pixels, TPixelBlockRelease{Reused.CapacityBytes}), false};
    }
    // calloc hands out zero-filled memory, zeroed lazily by the system for large blocks, here
    // backed by huge pages where the system offers them (raster/LargeBlock.h).
    auto* const Pixels = static_cast<std::uint32_t*>(AllocateZeroedBlock(Bytes, 1));
    return {TPixelBlock(Pixels, TPixelBlockRelease{Pixels ? Bytes : 0}), true};
}
