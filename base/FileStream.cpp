#include "base/FileStream.h"

#include "base/ReadableFile.h"
#include "base/SysError.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <limits>
#include <unistd.h>

std::string ExpandFileName(const std::string& FileName) {
    std::error_code Error;
    const auto Absolute = std::filesystem::absolute(FileName, Error);
    return Error ? FileName : Absolute.lexically_normal().string();
}

TFileStream::TFileStream(const std::string& FileName) : FFileName(FileName) {
    if (const int ErrorCode = OpenFileForReading(FileName, FHandle, &FSize))
        throw EFOpenError("Cannot open file \"" + ExpandFileName(FileName) + "\". " +
                          OpenForReadingErrorText(ErrorCode));
}

void TFileStream::ThrowReadError(int ErrorCode) const {
    throw EReadError("Cannot read file \"" + ExpandFileName(FFileName) + "\". " +
                     SysErrorMessage(ErrorCode));
}

std::vector<std::uint8_t> TFileStream::ReadAll() {
    std::vector<std::uint8_t> Data;
    Data.reserve(static_cast<std::size_t>(FSize));
    std::uint8_t Chunk[65536];
    while (const std::size_t Count = Read(Chunk, sizeof Chunk))
        Data.insert(Data.end(), Chunk, Chunk + Count);
    return Data;
}

std::size_t TFileStream::Read(void* Target, std::size_t Count) {
    std::size_t Done = 0;
    while (Done < Count) {
        const ssize_t Got = ::read(FHandle.Get(), static_cast<char*>(Target) + Done, Count - Done);
        if (Got < 0 && errno == EINTR)
            continue;
        if (Got < 0)
            ThrowReadError(errno);
        if (Got == 0)
            break;
        Done += static_cast<std::size_t>(Got);
    }
    return Done;
}

std::size_t TFileStream::ReadAt(std::uint64_t Offset, void* Target, std::size_t Count) {
    std::size_t Done = 0;
    while (Done < Count) {
        const std::uint64_t At = Offset + Done;
        if (At > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()))
            break;
        const ssize_t Got = ::pread(FHandle.Get(), static_cast<char*>(Target) + Done, Count - Done,
                                    static_cast<off_t>(At));
        if (Got < 0 && errno == EINTR)
            continue;
        if (Got < 0)
            ThrowReadError(errno);
        if (Got == 0)
            break;
        Done += static_cast<std::size_t>(Got);
    }
    return Done;
}
