#pragma once

// Which file a name stands for, to recognise one file under two names: a symbolic link and the
// file it names, two hard links, two spellings of one path.

#include <cstdint>
#include <optional>
#include <string>

struct TFileIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;

    bool operator==(const TFileIdentity&) const = default;
    auto operator<=>(const TFileIdentity&) const = default;
};

// The identity of the file FileName names, symbolic links followed; nothing when there is no
// such file or it cannot be looked at.
std::optional<TFileIdentity> FileIdentityOf(const std::string& FileName);
