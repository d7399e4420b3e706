#pragma once

// Hands a fuzz input to the readers, which take file names: the bytes go to a file in a folder
// of the fuzzing process's own, removed when the process ends normally.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

class TFuzzFolder {
public:
    TFuzzFolder() {
        std::string Pattern =
            (std::filesystem::temp_directory_path() / "trayvane-fuzz-XXXXXX").string();
        if (!::mkdtemp(Pattern.data()))
            std::abort();
        FPath = Pattern;
    }
    ~TFuzzFolder() {
        std::error_code Ignored;
        std::filesystem::remove_all(FPath, Ignored);
    }
    std::string File(const char* Name) const { return FPath + "/" + Name; }

private:
    std::string FPath;
};

inline const TFuzzFolder& FuzzFolder() {
    static const TFuzzFolder Folder;
    return Folder;
}

// Writes the input to Name in the fuzz folder and returns the file's path.
inline std::string WriteFuzzInput(const char* Name, const std::uint8_t* Data, std::size_t Size) {
    const std::string Path = FuzzFolder().File(Name);
    std::FILE* File = std::fopen(Path.c_str(), "wb");
    if (!File || std::fwrite(Data, 1, Size, File) != Size || std::fclose(File) != 0)
        std::abort();
    return Path;
}
