#pragma once

// The physical-memory figures the exception log records.

#include <cstdint>
#include <string>

struct TMemoryStatus {
    unsigned MemoryLoad = 0;     // percentage of physical memory in use, 0..100
    std::uint64_t TotalPhys = 0; // bytes
    std::uint64_t AvailPhys = 0; // bytes
};

// The figures from the text of /proc/meminfo: "MemTotal" and "MemAvailable" (or "MemFree" on
// kernels without it), given in kB. MemoryLoad is the part in use, (total - available) / total,
// rounded to the nearest per cent. A missing or unreadable line leaves its figure 0; available
// memory above the total counts as all of it. Never raises.
TMemoryStatus ParseMemInfo(const std::string& Text) noexcept;

// The figures of this machine now, from /proc/meminfo; all 0 when it cannot be read. Never raises.
TMemoryStatus ReadMemoryStatus() noexcept;
