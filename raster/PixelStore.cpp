#include "raster/PixelStore.h"

#include "raster/LargeBlock.h"

#include <array>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <utility>

namespace {

// Blocks below this size come and go through the allocator as they are.
constexpr std::size_t KeepFromBytes = std::size_t{4} << 20;

struct TKeptBlock {
    std::uint32_t* Pixels = nullptr;
    std::size_t CapacityBytes = 0;
};

// The kept blocks live in constant-initialised statics without destructors, so that bitmaps
// destroyed during the program's exit can still give their blocks back; whatever is kept at exit
// goes back to the system with the process.
constinit std::mutex KeptMutex;
constinit std::array<TKeptBlock, 2> KeptBlocks{};

// A kept block that holds Bytes without wasting more than half as much again.
TKeptBlock TakeKept(std::size_t Bytes) noexcept {
    const std::lock_guard Guard(KeptMutex);
    for (auto& Kept : KeptBlocks)
        if (Kept.Pixels && Kept.CapacityBytes >= Bytes && Kept.CapacityBytes - Bytes <= Bytes / 2)
            return std::exchange(Kept, TKeptBlock{});
    return {};
}

// Keeps Block, giving the older of two kept blocks back to the system.
void Keep(TKeptBlock Block) noexcept {
    TKeptBlock Oldest;
    {
        const std::lock_guard Guard(KeptMutex);
        Oldest = std::exchange(KeptBlocks[1], KeptBlocks[0]);
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
