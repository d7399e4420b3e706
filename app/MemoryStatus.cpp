#include "app/MemoryStatus.h"

#include "base/FileStream.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// The value of the line "Name:   <number> kB" in bytes, or nothing when there is no such line.
std::optional<std::uint64_t> FieldBytes(std::string_view Text, std::string_view Name) {
    std::size_t LineStart = 0;
    while (LineStart < Text.size()) {
        const std::size_t LineEnd = std::min(Text.find('\n', LineStart), Text.size());
        const std::string_view Line = Text.substr(LineStart, LineEnd - LineStart);
        LineStart = LineEnd + 1;
        if (Line.size() <= Name.size() || Line.substr(0, Name.size()) != Name ||
            Line[Name.size()] != ':')
            continue;
        const std::size_t Digits = Line.find_first_not_of(" \t", Name.size() + 1);
        if (Digits == std::string_view::npos)
            return std::nullopt;
        std::uint64_t Kilobytes = 0;
        const auto [End, Error] =
            std::from_chars(Line.data() + Digits, Line.data() + Line.size(), Kilobytes);
        if (Error != std::errc{} || Kilobytes > std::numeric_limits<std::uint64_t>::max() / 1024)
            return std::nullopt;
        return Kilobytes * 1024;
    }
    return std::nullopt;
}

} // namespace

TMemoryStatus ParseMemInfo(const std::string& Text) noexcept {
    TMemoryStatus Status;
    Status.TotalPhys = FieldBytes(Text, "MemTotal").value_or(0);
    auto Available = FieldBytes(Text, "MemAvailable");
    if (!Available)
        Available = FieldBytes(Text, "MemFree");
    Status.AvailPhys = std::min(Available.value_or(0), Status.TotalPhys);
    if (Status.TotalPhys > 0) {
        // In floating point, as 100 * used could overflow 64 bits for absurd figures.
        const std::uint64_t Used = Status.TotalPhys - Status.AvailPhys;
        const long double Share = static_cast<long double>(Used) * 100 / Status.TotalPhys;
        Status.MemoryLoad = static_cast<unsigned>(Share + 0.5L);
    }
    return Status;
}

TMemoryStatus ReadMemoryStatus() noexcept {
    try {
        TFileStream In("/proc/meminfo");
        const std::vector<std::uint8_t> Data = In.ReadAll();
        return ParseMemInfo(std::string(Data.begin(), Data.end()));
    } catch (...) {
        return {};
    }
}
