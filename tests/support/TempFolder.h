#pragma once

// A fresh folder under the system's temporary folder, removed with everything in it at the end
// of the test. Folders inside it that a test made read-only are made writable again first.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

class TTempFolder {
public:
    TTempFolder() {
        std::string Template =
            (std::filesystem::temp_directory_path() / "trayvane-XXXXXX").string();
        if (mkdtemp(Template.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        FPath = Template;
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    ~TTempFolder() {
        std::error_code Error;
        for (const auto& Entry : std::filesystem::recursive_directory_iterator(FPath, Error))
            if (Entry.is_directory(Error))
                std::filesystem::permissions(Entry.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, Error);
        std::filesystem::remove_all(FPath, Error);
    }

    const std::filesystem::path& Path() const { return FPath; }
    // The full name of the entry Name inside the folder.
    std::string File(const std::string& Name) const { return (FPath / Name).string(); }

    // Names of the entries in the folder, sorted.
    std::vector<std::string> Entries() const {
        std::vector<std::string> Names;
        for (const auto& Entry : std::filesystem::directory_iterator(FPath))
            Names.push_back(Entry.path().filename().string());
        std::sort(Names.begin(), Names.end());
        return Names;
    }
    std::string operator/(const std::string& Name) const { return (FPath / Name).string(); }

    // Writes Content to the file Name inside the folder (binary, replacing it) and gives its path.
    std::string WriteFile(const std::string& Name, const std::string& Content) const {
        const std::string FileName = *this / Name;
        std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
        Out << Content;
        if (!Out.flush())
            throw std::runtime_error("cannot write " + FileName);
        return FileName;
    }

    std::string MakeFolder(const std::string& Name) const {
        const std::string FolderName = *this / Name;
        std::filesystem::create_directories(FolderName);
        return FolderName;
    }

private:
    std::filesystem::path FPath;
};

// The whole content of a file, or "<missing>" when it cannot be opened.
inline std::string ReadWholeFile(const std::string& FileName) {
    std::ifstream In(FileName, std::ios::binary);
    if (!In)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}
