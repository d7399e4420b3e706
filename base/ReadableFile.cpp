#include "base/ReadableFile.h"

#include "base/SysError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// 0 for a regular file, EISDIR for a folder, NotAFileToReadError for any other kind.
int KindError(const struct stat& Status) noexcept {
    if (S_ISDIR(Status.st_mode))
        return EISDIR;
    return S_ISREG(Status.st_mode) ? 0 : NotAFileToReadError;
}

} // namespace

int OpenFileForReading(const std::string& FileName, TFileHandle& File,
                       std::uint64_t* Size) noexcept {
    // A device is not even opened: opening one can have effects of its own (a tape rewinds).
    struct stat Status {};
    if (::stat(FileName.c_str(), &Status) == 0) {
        if (const int Error = KindError(Status))
            return Error;
    }
    // O_NONBLOCK keeps a named pipe without a writer from blocking the open; O_NOCTTY keeps a
    // terminal from becoming ours. Both only matter until the file is known to be regular.
    TFileHandle Handle(::open(FileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!Handle.IsOpen())
        return errno;
    // What was opened may have been put there after the look above.
    if (::fstat(Handle.Get(), &Status) != 0)
        return errno;
    if (const int Error = KindError(Status))
        return Error;
    const int Flags = ::fcntl(Handle.Get(), F_GETFL);
    if (Flags < 0 || ::fcntl(Handle.Get(), F_SETFL, Flags & ~O_NONBLOCK) != 0)
        return errno;
    if (Size)
        *Size = static_cast<std::uint64_t>(Status.st_size);
    File = std::move(Handle);
    return 0;
}

std::string OpenForReadingErrorText(int ErrorCode) {
    return ErrorCode == NotAFileToReadError ? "Not a regular file" : SysErrorMessage(ErrorCode);
}
