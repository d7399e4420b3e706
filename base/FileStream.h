#pragma once

// TFileStream: a file opened for reading, closed when the stream goes. Picture files are read
// through it.

#include "base/Exception.h"

#include <cstdint>
#include <string>
#include <vector>

DECLARE_EXCEPTION_CLASS(EFOpenError, Exception);
DECLARE_EXCEPTION_CLASS(EReadError, Exception);

class TFileStream {
public:
    // Opens FileName for reading. Throws EFOpenError "Cannot open file "%s". %s" with the file's
    // absolute path and the system's text for the error when the file cannot be opened or is not
    // a regular file (a folder, a device, a pipe). Other programs may go on reading and writing
    // the file meanwhile: the system has no lock that keeps writers out.
    explicit TFileStream(const std::string& FileName);
    ~TFileStream();
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    const std::string& FileName() const noexcept { return FFileName; }

    // The file's bytes from the current position to its end. Throws EReadError "Cannot read file
    // "%s". %s" when the system reports an error, std::bad_alloc when the content cannot be held.
    std::vector<std::uint8_t> ReadAll();

private:
    std::string FFileName;
    int FHandle = -1;
};

// FileName made absolute against the current folder, with "." and ".." steps resolved by name.
std::string ExpandFileName(const std::string& FileName);
