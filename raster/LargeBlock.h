#pragma once

// Zero-filled memory for pixel stores. Large blocks are asked to be backed by huge pages where
// the system offers them on request: a fresh 70 MB store then costs a few dozen page faults
// instead of eighteen thousand, which otherwise take more time than the pixel work itself.
// Blocks are released with std::free.

#include <cstddef>

// As std::calloc(Count, Size); null when the block cannot be had.
void* AllocateZeroedBlock(std::size_t Count, std::size_t Size) noexcept;

// Asks the system for every page of a block that is about to be written whole at once, which
// costs one call instead of a fault per page. Only advice: where the system lacks it, the pages
// fault in as they are first written.
void PrefaultBlock(void* Block, std::size_t Bytes) noexcept;
