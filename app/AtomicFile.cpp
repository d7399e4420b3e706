#include "app/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace {

// A file descriptor, closed on destruction.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int Descriptor) : FDescriptor(Descriptor) {}
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    ~TFileDescriptor() {
        if (FDescriptor >= 0)
            ::close(FDescriptor);
    }
    int Get() const { return FDescriptor; }
    // Closes now, reporting the outcome (a delayed write error can show only here).
    bool Close() {
        const int Descriptor = FDescriptor;
        FDescriptor = -1;
        return ::close(Descriptor) == 0;
    }

private:
    int FDescriptor;
};

// The temporary file until it has been renamed into place; removed if it never is.
class TTemporaryFile {
public:
    explicit TTemporaryFile(std::string Path) : FPath(std::move(Path)) {}
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    ~TTemporaryFile() {
        if (!FPath.empty())
            ::unlink(FPath.c_str());
    }
    const std::string& Path() const { return FPath; }
    void Release() { FPath.clear(); }

private:
    std::string FPath;
};

bool WriteAll(int Descriptor, const std::string& Content) {
    std::size_t Written = 0;
    while (Written < Content.size()) {
        const ssize_t Result =
            ::write(Descriptor, Content.data() + Written, Content.size() - Written);
        if (Result < 0 && errno == EINTR)
            continue;
        if (Result <= 0)
            return false;
        Written += static_cast<std::size_t>(Result);
    }
    return true;
}

std::string Failure(const char* Step) {
    return std::string(Step) + ": " + std::strerror(errno);
}

} // namespace

std::string ReplaceFileAtomically(const std::string& Path, const std::string& Content) {
    if (Path.empty())
        return "no file name";
    const std::filesystem::path Folder = std::filesystem::path(Path).parent_path();
    std::error_code FolderError;
    if (!Folder.empty())
        std::filesystem::create_directories(Folder, FolderError);
    if (FolderError)
        return "cannot create the folder: " + FolderError.message();

    std::string TemplateName = Path + ".XXXXXX";
    TFileDescriptor File(::mkostemp(TemplateName.data(), O_CLOEXEC));
    if (File.Get() < 0)
        return Failure("cannot create a temporary file");
    TTemporaryFile Temporary(TemplateName);
    if (!WriteAll(File.Get(), Content))
        return Failure("cannot write");
    if (::fsync(File.Get()) != 0)
        return Failure("cannot flush to the disk");
    if (!File.Close())
        return Failure("cannot close");
    if (::rename(Temporary.Path().c_str(), Path.c_str()) != 0)
        return Failure("cannot rename into place");
    Temporary.Release();

    // Make the rename itself durable; the file is in place either way.
    TFileDescriptor FolderDescriptor(
        ::open(Folder.empty() ? "." : Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (FolderDescriptor.Get() >= 0)
        ::fsync(FolderDescriptor.Get());
    return {};
}
