#include "base/FileIdentity.h"

#include <sys/stat.h>

std::optional<TFileIdentity> FileIdentityOf(const std::string& FileName) {
    struct stat Status {};
    if (FileName.empty() || ::stat(FileName.c_str(), &Status) != 0)
        return std::nullopt;
    return TFileIdentity{static_cast<std::uint64_t>(Status.st_dev),
                         static_cast<std::uint64_t>(Status.st_ino)};
}
