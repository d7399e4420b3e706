#include "app/ExecutablePath.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <filesystem>
#include <system_error>
#endif

std::string ExecutablePath() {
#ifdef _WIN32
    char Buffer[MAX_PATH];
    const DWORD Length = GetModuleFileNameA(nullptr, Buffer, MAX_PATH);
    // A full buffer means the path was cut short.
    return Length == 0 || Length >= MAX_PATH ? std::string{} : std::string(Buffer, Length);
#else
    std::error_code Error;
    const std::filesystem::path Path = std::filesystem::read_symlink("/proc/self/exe", Error);
    return Error ? std::string{} : Path.string();
#endif
}
