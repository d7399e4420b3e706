#include "app/DataFile.h"

#include "base/FileName.h"

#include <filesystem>
#include <system_error>

std::string DataFilePath(const std::string& ExePath, const std::string& Name,
                         const std::function<bool(const std::string&)>& Exists) {
    const std::string Folder = ExtractFilePath(ExePath);
    const std::string Beside = Folder + Name;
    if (Exists(Beside))
        return Beside;
    const std::string Installed = Folder + InstalledDataFolder + Name;
    return Exists(Installed) ? Installed : Beside;
}

std::string DataFilePath(const std::string& ExePath, const std::string& Name) {
    return DataFilePath(ExePath, Name, [](const std::string& Path) {
        std::error_code Error;
        return std::filesystem::is_regular_file(Path, Error);
    });
}
