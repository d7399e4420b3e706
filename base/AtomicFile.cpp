#include "base/AtomicFile.h"

#include "base/FileName.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// Where the content really goes: the file a symbolic link names, or the name itself.
std::string ResolveTarget(const std::string& TargetName) {
    struct stat Status {};
    if (::lstat(TargetName.c_str(), &Status) != 0 || !S_ISLNK(Status.st_mode))
        return TargetName;
    char Resolved[PATH_MAX];
    return ::realpath(TargetName.c_str(), Resolved) ? std::string(Resolved) : TargetName;
}

std::string UniqueSuffix() {
    static std::atomic<unsigned> Counter{0};
    const auto Ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    char Text[64];
    std::snprintf(Text, sizeof Text, ".tmp-%ld-%u-%llx", static_cast<long>(::getpid()),
                  Counter.fetch_add(1), Ticks & 0xFFFFFFFFull);
    return Text;
}

// Puts the rename itself on disk; a failure here loses nothing, so it is not reported.
void SyncFolder(const std::string& FileName) noexcept {
    try {
        const std::string Folder = ExtractFilePath(FileName);
        const int Handle =
            ::open(Folder.empty() ? "." : Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (Handle >= 0) {
            ::fsync(Handle);
            ::close(Handle);
        }
    } catch (...) {
    }
}

} // namespace

int TAtomicFile::Create(const std::string& TargetName) noexcept {
    Discard();
    try {
        FTargetName = ResolveTarget(TargetName);
        const std::string Folder = ExtractFilePath(FTargetName);
        const std::string Name = FTargetName.substr(Folder.size());
        for (int Attempt = 0; Attempt < 100; ++Attempt) {
            // A hidden name beside the target: same file system, so the rename is atomic.
            std::string Candidate = Folder + "." + Name + UniqueSuffix();
            // Mode 0666 lets the user's umask decide, as for any new file.
            const int Handle = ::open(Candidate.c_str(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
            if (Handle < 0) {
                if (errno == EEXIST)
                    continue;
                return errno;
            }
            FStream = ::fdopen(Handle, "wb");
            if (!FStream) {
                const int ErrorCode = errno;
                ::close(Handle);
                ::unlink(Candidate.c_str());
                return ErrorCode;
            }
            FTemporaryName = std::move(Candidate);
            return 0;
        }
        return EEXIST;
    } catch (...) {
        return ENOMEM;
    }
}

int TAtomicFile::Commit() noexcept {
    if (!FStream)
        return EBADF;
    int ErrorCode = 0;
    if (std::fflush(FStream) != 0 || ::fsync(::fileno(FStream)) != 0)
        ErrorCode = errno;
    struct stat Target {};
    if (ErrorCode == 0 && ::stat(FTargetName.c_str(), &Target) == 0 && S_ISREG(Target.st_mode))
        ::fchmod(::fileno(FStream), Target.st_mode & 07777);
    if (std::fclose(FStream) != 0 && ErrorCode == 0)
        ErrorCode = errno;
    FStream = nullptr;
    if (ErrorCode == 0 && std::rename(FTemporaryName.c_str(), FTargetName.c_str()) != 0)
        ErrorCode = errno;
    if (ErrorCode != 0) {
        ::unlink(FTemporaryName.c_str());
    } else {
        SyncFolder(FTargetName);
    }
    FTemporaryName.clear();
    return ErrorCode;
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
}

std::string ReplaceFileAtomically(const std::string& Path, const std::string& Content) {
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
    if (const int ErrorCode = File.Create(Path); ErrorCode != 0)
        return Failure("cannot create a temporary file", ErrorCode);
    if (std::fwrite(Content.data(), 1, Content.size(), File.Stream()) != Content.size())
        return Failure("cannot write", errno);
    if (const int ErrorCode = File.Commit(); ErrorCode != 0)
        return Failure("cannot write the file", ErrorCode);
    return {};
}
