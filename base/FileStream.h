#pragma once

// TFileStream: a file opened for reading, closed when the stream goes. Picture files are read
// through it.

#include "base/Exception.h"
#include "base/FileHandle.h"

#include <cstdint>
#include <string>
#include <vector>

DECLARE_EXCEPTION_CLASS(EFOpenError, Exception);
DECLARE_EXCEPTION_CLASS(EReadError, Exception);

class TFileStream {
public:
    // Opens FileName for reading (OpenFileForReading, base/ReadableFile.h). Throws EFOpenError
    // "Cannot open file "%s". %s" with the file's absolute path and the system's text for the
    // error ("Not a regular file" for a device or a pipe) when the file cannot be opened or is not
    // a regular file. Other programs may go on reading and writing the file meanwhile: the system
    // has no lock that keeps writers out.
    explicit TFileStream(const std::string& FileName);
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    const std::string& FileName() const noexcept { return FFileName; }

    // The file's bytes from the current position to its end. Throws EReadError "Cannot read file
    // "%s". %s" when the system reports an error, std::bad_alloc when the content cannot be held.
    std::vector<std::uint8_t> ReadAll();

    // Reads up to Count bytes at the current position into Target and moves past them; returns
    // how many were read, fewer only at the file's end. Throws EReadError as ReadAll.
    std::size_t Read(void* Target, std::size_t Count);
    // Reads up to Count bytes at Offset without moving the current position; returns how many
    // were read, fewer only at the file's end. Throws EReadError as ReadAll.
    std::size_t ReadAt(std::uint64_t Offset, void* Target, std::size_t Count);
    // The file's size when it was opened.
    std::uint64_t Size() const noexcept { return FSize; }

private:
    [[noreturn]] void ThrowReadError(int ErrorCode) const;

    std::string FFileName;
    TFileHandle FHandle;
    std::uint64_t FSize = 0;
};

// FileName made absolute against the current folder, with "." and ".." steps resolved by name.
std::string ExpandFileName(const std::string& FileName);
