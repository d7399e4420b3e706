#pragma once

// Opening a file for reading, the one way every reader of the program takes: only a regular
// file is read. A named pipe, a device or a folder at the name is refused without waiting: the
// open itself does not block on a pipe that has no writer.

#include "base/FileHandle.h"

#include <cstdint>
#include <string>

// The error OpenFileForReading gives for something that exists but is no regular file and no
// folder (a named pipe, a device, a socket). No system error number has this value.
inline constexpr int NotAFileToReadError = -1;

// Opens FileName read-only and checks that it is a regular file. Returns 0 and hands the open
// file to File (its size to Size when Size is not null); otherwise returns the system's error
// number of the open (ENOENT, EACCES, ...), EISDIR for a folder or NotAFileToReadError, and
// leaves File and Size as they were. The file is opened with O_NONBLOCK, which is cleared again
// once it is known to be a regular file, and with O_CLOEXEC.
int OpenFileForReading(const std::string& FileName, TFileHandle& File,
                       std::uint64_t* Size = nullptr) noexcept;

// The text for an error of OpenFileForReading, as messages quote it: "Not a regular file" for
// NotAFileToReadError, the system's text otherwise ("No such file or directory").
std::string OpenForReadingErrorText(int ErrorCode);
