#include "app/AtomicFile.h"

#include "raster/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

std::string Failure(const char* Step, int ErrorCode) {
    return std::string(Step) + ": " + std::strerror(ErrorCode);
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

    TAtomicFile File;
    if (const int ErrorCode = File.Create(Path); ErrorCode != 0)
        return Failure("cannot create a temporary file", ErrorCode);
    if (std::fwrite(Content.data(), 1, Content.size(), File.Stream()) != Content.size())
        return Failure("cannot write", errno);
    if (const int ErrorCode = File.Commit(); ErrorCode != 0)
        return Failure("cannot write the file", ErrorCode);
    return {};
}
