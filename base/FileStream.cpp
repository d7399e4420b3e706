#include "base/FileStream.h"

#include "base/SysError.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string OpenErrorMessage(const std::string& FileName, int ErrorCode) {
    return "Cannot open file \"" + ExpandFileName(FileName) + "\". " + SysErrorMessage(ErrorCode);
}

} // namespace

std::string ExpandFileName(const std::string& FileName) {
    std::error_code Error;
    const auto Absolute = std::filesystem::absolute(FileName, Error);
    return Error ? FileName : Absolute.lexically_normal().string();
}

TFileStream::TFileStream(const std::string& FileName) : FFileName(FileName) {
    // O_NONBLOCK keeps a named pipe from blocking the open; it is refused below in any case.
    FHandle = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (FHandle < 0)
        throw EFOpenError(OpenErrorMessage(FileName, errno));
    struct stat Status {};
    int ErrorCode = 0;
    if (::fstat(FHandle, &Status) != 0)
        ErrorCode = errno;
    else if (S_ISDIR(Status.st_mode))
        ErrorCode = EISDIR;
    else if (!S_ISREG(Status.st_mode))
        ErrorCode = EINVAL;
    if (ErrorCode != 0) {
        ::close(FHandle);
        throw EFOpenError(OpenErrorMessage(FileName, ErrorCode));
    }
}

TFileStream::~TFileStream() {
    ::close(FHandle);
}

std::vector<std::uint8_t> TFileStream::ReadAll() {
    std::vector<std::uint8_t> Data;
    struct stat Status {};
    if (::fstat(FHandle, &Status) == 0 && Status.st_size > 0)
        Data.reserve(static_cast<std::size_t>(Status.st_size));
    std::uint8_t Chunk[65536];
    for (;;) {
        const ssize_t Count = ::read(FHandle, Chunk, sizeof Chunk);
        if (Count == 0)
            break;
        if (Count < 0) {
            if (errno == EINTR)
                continue;
            throw EReadError("Cannot read file \"" + ExpandFileName(FFileName) + "\". " +
                             SysErrorMessage(errno));
        }
        Data.insert(Data.end(), Chunk, Chunk + Count);
    }
    return Data;
}
