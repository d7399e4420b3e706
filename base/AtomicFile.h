#pragma once

// TAtomicFile: writes a file so that its target is either left as it was or replaced by the
// complete new content, never by a half-written one, as far as the target allows:
//
//   - A regular file, or a new one, is written into an unnamed temporary file in the target's
//     folder (O_TMPFILE), which Commit links under a short temporary name and renames over the
//     target once it is complete and on disk. Until then nothing of it is visible, so a program
//     that is killed leaves nothing behind. Where the file system has no unnamed files, a named
//     temporary file (".trayvane-XXXXXX") takes its place and is removed when the program is
//     ended by SIGINT, SIGTERM, SIGHUP or SIGQUIT meanwhile (base/TemporaryNameGuard.h).
//     The temporary file has the target's permissions (a new file 0666 less the umask) from its
//     creation on, and, where the system allows, the target's owner and group.
//   - A target the user may not write is refused with EACCES (or EROFS), as a direct write
//     would be, also when its folder would allow a rename over it.
//   - A writable target in a folder where no temporary file can be made (or where the rename is
//     refused, as in a sticky folder) is written in place: the content is gathered in memory (or
//     in the temporary file), then the target's new size is reserved on its disk (fallocate), and
//     only then is it written over and cut to its new length. When the space cannot be reserved
//     (a full disk) the target stays as it was and Commit reports the error.
//   - A target that exists and is no regular file (a device such as /dev/null or /dev/stdout, a
//     named pipe) is written into directly and never replaced. Opening a named pipe waits for
//     its reader, as any writer would. With TSpecialTarget::Refuse such a target is refused
//     with NotARegularFileError instead.
//   - A symbolic link is followed (a dangling one to the file it names), so the link stays.
//
// The interface reports system error numbers instead of throwing, so that C code (the JPEG
// encoder) can write through Stream().

#include "base/TemporaryNameGuard.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>

enum class TSpecialTarget { WriteInto, Refuse };

// What Create returns for a target that is no regular file when such targets are refused.
inline constexpr int NotARegularFileError = EINVAL;

class TAtomicFile {
public:
    // How the content reaches the target.
    enum class TWay { None, Replace, InPlace, Into };

    TAtomicFile() = default;
    ~TAtomicFile() { Discard(); }
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // Prepares writing TargetName as described above and opens the stream. Returns 0, or the
    // system's error number (the folder is missing, the target may not be written, ...).
    int Create(const std::string& TargetName,
               TSpecialTarget Special = TSpecialTarget::WriteInto) noexcept;

    // The open stream; null before Create succeeded and after Commit or Discard.
    std::FILE* Stream() const noexcept { return FStream; }
    TWay Way() const noexcept { return FWay; }

    // Flushes the content to disk and puts it in place. Returns 0, or the system's error number;
    // after a failure the temporary file is gone and a replaced target is as it was.
    int Commit() noexcept;

    // Closes the stream and removes the temporary file, if there is one. A target written in
    // place or into stays as far as it was written.
    void Discard() noexcept;

    // For tests: whether unnamed temporary files are tried (the default), or named ones used.
    static void UseUnnamedTemporaryFiles(bool Use) noexcept;

private:
    int CommitReplacement(int Handle) noexcept;
    int CopyIntoTarget(int Handle) noexcept;

    std::string FTargetName;    // the file written, symbolic links followed
    std::string FTemporaryName; // the named temporary file, "" for an unnamed one
    bool FTargetExisted = false;
    TWay FWay = TWay::None;
    std::FILE* FStream = nullptr;
    int FInPlaceTarget = -1; // the target opened for writing in place, for TWay::InPlace
    std::optional<TTemporaryNameGuard> FGuard; // for the named temporary file
};

// Writes Content to Path through a TAtomicFile, creating Path's folder (and those above it) when
// missing. Returns "" on success, else why it failed ("it is not a regular file" for a target
// refused by Special); no temporary file is left behind, and a file that was to be replaced is
// as it was. Never raises but for lack of memory.
std::string ReplaceFileAtomically(const std::string& Path, const std::string& Content,
                                  TSpecialTarget Special = TSpecialTarget::WriteInto);
