#include "base/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

std::atomic<bool> UnnamedTemporaries{true};

// The folder part of a path with its trailing "/", or "" for a name alone.
std::string FolderOf(const std::string& Path) {
    const auto Slash = Path.rfind('/');
    return Slash == std::string::npos ? std::string{} : Path.substr(0, Slash + 1);
}

// Where the content of a file that does not exist yet goes: the name at the end of a chain of
// (dangling) symbolic links, or the name itself. Returns 0 or the system's error number.
int ResolveDanglingTarget(const std::string& Name, std::string& Resolved) {
    std::string Path = Name;
    for (int Hops = 0; Hops <= 40; ++Hops) {
        struct stat Status {};
        if (::lstat(Path.c_str(), &Status) != 0) {
            if (errno != ENOENT)
                return errno;
            Resolved = Path;
            return 0;
        }
        if (!S_ISLNK(Status.st_mode)) {
            Resolved = Path;
            return 0;
        }
        char Link[PATH_MAX];
        const ssize_t Length = ::readlink(Path.c_str(), Link, sizeof Link);
        if (Length < 0)
            return errno;
        if (static_cast<std::size_t>(Length) >= sizeof Link)
            return ENAMETOOLONG;
        const std::string Next(Link, static_cast<std::size_t>(Length));
        Path = !Next.empty() && Next[0] == '/' ? Next : FolderOf(Path) + Next;
    }
    return ELOOP;
}

// A short name for a temporary file in Folder: well below any limit on names.
std::string TemporaryName(const std::string& Folder) {
    static std::atomic<unsigned> Counter{0};
    std::uint64_t Mix =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<std::uint64_t>(::getpid()) << 32) ^
        (std::uint64_t{Counter.fetch_add(1)} * 0x9E3779B97F4A7C15ull);
    Mix ^= Mix >> 29;
    Mix *= 0xBF58476D1CE4E5B9ull;
    Mix ^= Mix >> 32;
    constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string Name = Folder + ".trayvane-";
    for (int I = 0; I < 10; ++I, Mix /= 36)
        Name += Digits[Mix % 36];
    return Name + ".tmp";
}

// Whether an O_TMPFILE open failed because the system or the file system has no unnamed files.
bool UnnamedFilesUnsupported(int Error) {
    return Error == EOPNOTSUPP || Error == EISDIR || Error == EINVAL;
}

// Gives the unnamed file Handle the name Name.
int LinkUnnamed(int Handle, const std::string& Name) {
    char Proc[64];
    std::snprintf(Proc, sizeof Proc, "/proc/self/fd/%d", Handle);
    if (::linkat(AT_FDCWD, Proc, AT_FDCWD, Name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno != ENOENT || ::access("/proc/self/fd", F_OK) == 0)
        return errno;
    // Without /proc, where the system allows it.
    return ::linkat(Handle, "", AT_FDCWD, Name.c_str(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

// Puts a rename or a new link on disk; a failure here loses nothing, so it is not reported.
void SyncFolder(const std::string& FileName) noexcept {
    const std::string Folder = FolderOf(FileName);
    const int Handle =
        ::open(Folder.empty() ? "." : Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Handle >= 0) {
        ::fsync(Handle);
        ::close(Handle);
    }
}

// Writes the whole content of Source over Target from its start and cuts Target to that length.
// The new size is reserved on Target's disk first: when it cannot be, Target is left as it was.
int WriteOverInPlace(int Source, int Target) noexcept {
    struct stat Status {};
    if (::fstat(Source, &Status) != 0)
        return errno;
    const off_t Size = Status.st_size;
    if (Size > 0) {
        if (const int Error = ::posix_fallocate(Target, 0, Size))
            return Error;
    }
    char Buffer[65536];
    for (off_t Offset = 0; Offset < Size;) {
        const ssize_t Count = ::pread(Source, Buffer, sizeof Buffer, Offset);
        if (Count < 0 && errno == EINTR)
            continue;
        if (Count <= 0)
            return Count < 0 ? errno : EIO;
        for (ssize_t Done = 0; Done < Count;) {
            const ssize_t Written = ::pwrite(Target, Buffer + Done,
                                             static_cast<std::size_t>(Count - Done), Offset + Done);
            if (Written < 0 && errno == EINTR)
                continue;
            if (Written < 0)
                return errno;
            Done += Written;
        }
        Offset += Count;
    }
    if (::ftruncate(Target, Size) != 0 || ::fsync(Target) != 0)
        return errno;
    return 0;
}

} // namespace

void TAtomicFile::UseUnnamedTemporaryFiles(bool Use) noexcept {
    UnnamedTemporaries = Use;
}

int TAtomicFile::Create(const std::string& TargetName, TSpecialTarget Special) noexcept {
    Discard();
    try {
        if (TargetName.empty())
            return ENOENT;
        std::string Resolved;
        struct stat Target {};
        FTargetExisted = ::stat(TargetName.c_str(), &Target) == 0;
        if (FTargetExisted) {
            // The file itself, symbolic links followed, beside which the temporary file goes.
            char Real[PATH_MAX];
            if (S_ISREG(Target.st_mode) && !::realpath(TargetName.c_str(), Real))
                return errno;
            Resolved = S_ISREG(Target.st_mode) ? std::string(Real) : TargetName;
        } else if (errno != ENOENT) {
            return errno;
        } else if (const int Error = ResolveDanglingTarget(TargetName, Resolved)) {
            return Error;
        }
        FTargetName = Resolved;
        const auto Open = [this](int Handle, TWay Way) {
            if (Handle < 0)
                return errno;
            FStream = ::fdopen(Handle, "wb");
            if (!FStream) {
                const int Error = errno;
                ::close(Handle);
                return Error;
            }
            FWay = Way;
            return 0;
        };

        if (FTargetExisted && S_ISDIR(Target.st_mode))
            return EISDIR;
        if (FTargetExisted && !S_ISREG(Target.st_mode)) {
            // A device or a pipe: what is written goes there; there is nothing to replace.
            if (Special == TSpecialTarget::Refuse)
                return NotARegularFileError;
            return Open(::open(Resolved.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC), TWay::Into);
        }
        // A file the user may not write stays as it is, whatever its folder would allow.
        if (FTargetExisted && ::faccessat(AT_FDCWD, Resolved.c_str(), W_OK, AT_EACCESS) != 0)
            return errno;

        // The temporary file is never readable by more people than the target.
        const mode_t Mode = FTargetExisted ? (Target.st_mode & 0777) : 0666;
        const std::string Folder = FolderOf(Resolved);
        int Handle = -1;
        int Error = 0;
        if (UnnamedTemporaries) {
            Handle =
                ::open(Folder.empty() ? "." : Folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, Mode);
            Error = Handle < 0 ? errno : 0;
        }
        if (!UnnamedTemporaries || (Handle < 0 && UnnamedFilesUnsupported(Error))) {
            for (int Attempt = 0; Attempt < 100; ++Attempt) {
                // The name is guarded before the file exists: no moment leaves it unguarded.
                std::string Candidate = TemporaryName(Folder);
                FGuard.emplace(Candidate);
                Handle = ::open(Candidate.c_str(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, Mode);
                Error = Handle < 0 ? errno : 0;
                if (Handle >= 0) {
                    FTemporaryName = std::move(Candidate);
                    break;
                }
                FGuard.reset();
                if (Error != EEXIST)
                    break;
            }
        }
        if (Handle < 0) {
            // No temporary file can be made beside a file that may be written: write it in
            // place once it is complete and its space reserved; until then it gathers in memory.
            if (FTargetExisted && (Error == EACCES || Error == EPERM)) {
                FInPlaceTarget = ::open(Resolved.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
                if (FInPlaceTarget < 0)
                    return errno;
                if (const int OpenError =
                        Open(::memfd_create("trayvane-in-place", MFD_CLOEXEC), TWay::InPlace)) {
                    Discard();
                    return OpenError;
                }
                return 0;
            }
            return Error;
        }
        if (FTargetExisted) {
            // The owner stays where the system lets us keep it (always for root); the mode
            // is the target's, which the umask may have narrowed at creation.
            if (::fchown(Handle, Target.st_uid, Target.st_gid) != 0) {
            }
            ::fchmod(Handle, Mode);
        }
        if (const int OpenError = Open(Handle, TWay::Replace)) {
            Discard();
            return OpenError;
        }
        return 0;
    } catch (...) {
        Discard();
        return ENOMEM;
    }
}

int TAtomicFile::Commit() noexcept {
    if (!FStream)
        return EBADF;
    const int Handle = ::fileno(FStream);
    int Error = 0;
    if (std::fflush(FStream) != 0)
        Error = errno;
    // Devices and pipes have nothing to put on disk.
    if (Error == 0 && FWay != TWay::Into && ::fsync(Handle) != 0)
        Error = errno;
    if (Error == 0 && FWay == TWay::Replace)
        Error = CommitReplacement(Handle);
    if (Error == 0 && FWay == TWay::InPlace)
        Error = WriteOverInPlace(Handle, FInPlaceTarget);
    if (std::fclose(FStream) != 0 && Error == 0)
        Error = errno;
    FStream = nullptr;
    Discard();
    return Error;
}

int TAtomicFile::CommitReplacement(int Handle) noexcept {
    try {
        if (FTemporaryName.empty()) {
            // A new file is linked under its own name at once; an existing one is replaced
            // by a rename, which needs the content under a name of its own first.
            if (!FTargetExisted) {
                const int Error = LinkUnnamed(Handle, FTargetName);
                if (Error == 0)
                    SyncFolder(FTargetName);
                if (Error != EEXIST)
                    return Error;
            }
            for (int Attempt = 0; FTemporaryName.empty(); ++Attempt) {
                std::string Candidate = TemporaryName(FolderOf(FTargetName));
                FGuard.emplace(Candidate);
                const int Error = LinkUnnamed(Handle, Candidate);
                if (Error == 0)
                    FTemporaryName = std::move(Candidate);
                else
                    FGuard.reset();
                if (Error != 0 && (Error != EEXIST || Attempt == 100))
                    return Error;
            }
        }
        if (std::rename(FTemporaryName.c_str(), FTargetName.c_str()) != 0) {
            const int Error = errno;
            // The folder refuses to replace a file that may be written (a sticky folder and
            // another owner's file): write it in place, as a direct write would.
            return Error == EPERM || Error == EACCES ? CopyIntoTarget(Handle) : Error;
        }
        FTemporaryName.clear();
        FGuard.reset();
        SyncFolder(FTargetName);
        return 0;
    } catch (...) {
        return ENOMEM;
    }
}

int TAtomicFile::CopyIntoTarget(int Handle) noexcept {
    const int Target = ::open(FTargetName.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (Target < 0)
        return errno;
    int Error = WriteOverInPlace(Handle, Target);
    if (::close(Target) != 0 && Error == 0)
        Error = errno;
    return Error;
}

void TAtomicFile::Discard() noexcept {
    if (FStream) {
        std::fclose(FStream);
        FStream = nullptr;
    }
    if (!FTemporaryName.empty()) {
        ::unlink(FTemporaryName.c_str());
        FTemporaryName.clear();
    }
    FGuard.reset();
    if (FInPlaceTarget >= 0) {
        ::close(FInPlaceTarget);
        FInPlaceTarget = -1;
    }
    FWay = TWay::None;
}

std::string ReplaceFileAtomically(const std::string& Path, const std::string& Content,
                                  TSpecialTarget Special) {
    const auto Failure = [](const char* Step, int ErrorCode) {
        return std::string(Step) + ": " + std::strerror(ErrorCode);
    };
    if (Path.empty())
        return "no file name";
    const std::filesystem::path Folder = std::filesystem::path(Path).parent_path();
    std::error_code FolderError;
    if (!Folder.empty())
        std::filesystem::create_directories(Folder, FolderError);
    if (FolderError)
        return "cannot create the folder: " + FolderError.message();

    TAtomicFile File;
    if (const int ErrorCode = File.Create(Path, Special); ErrorCode != 0)
        return Special == TSpecialTarget::Refuse && ErrorCode == NotARegularFileError
                   ? "it is not a regular file"
                   : Failure("cannot write", ErrorCode);
    if (std::fwrite(Content.data(), 1, Content.size(), File.Stream()) != Content.size())
        return Failure("cannot write", errno);
    if (const int ErrorCode = File.Commit(); ErrorCode != 0)
        return Failure("cannot write the file", ErrorCode);
    return {};
}
