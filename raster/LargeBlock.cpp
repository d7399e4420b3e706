#include "raster/LargeBlock.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>

namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;

} // namespace

void* AllocateZeroedBlock(std::size_t Count, std::size_t Size) noexcept {
    void* Block = std::calloc(Count, Size);
    // Large blocks come fresh from the system and are not touched yet (calloc knows they are
    // zero), so the advice applies before the first page is faulted in. It is only advice:
    // where huge pages are off, nothing changes.
    const std::size_t Bytes = Count * Size;
    if (Block && Bytes >= 4 * HugePage) {
        const auto Start = reinterpret_cast<std::uintptr_t>(Block);
        const std::uintptr_t First = (Start + HugePage - 1) & ~(HugePage - 1);
        const std::uintptr_t Last = (Start + Bytes) & ~(HugePage - 1);
        if (Last > First)
            ::madvise(reinterpret_cast<void*>(First), Last - First, MADV_HUGEPAGE);
    }
    return Block;
}

void PrefaultBlock(void* Block, std::size_t Bytes) noexcept {
#ifdef MADV_POPULATE_WRITE
    constexpr std::size_t Page = 4096;
    const auto Start = reinterpret_cast<std::uintptr_t>(Block);
    const std::uintptr_t First = (Start + Page - 1) & ~(Page - 1);
    const std::uintptr_t Last = (Start + Bytes) & ~(Page - 1);
    if (Block && Last > First)
        ::madvise(reinterpret_cast<void*>(First), Last - First, MADV_POPULATE_WRITE);
#else
    static_cast<void>(Block);
    static_cast<void>(Bytes);
#endif
}
