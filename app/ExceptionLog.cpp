#include "app/ExceptionLog.h"

#include "base/FileName.h"
#include "base/StandardError.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

namespace {

constexpr const char* LineEnd = "\r\n";

std::string NameOrNone(const std::string& Name) {
    return Name.empty() ? "(none)" : Name;
}

std::string FormatTime(const char* Format, const std::tm& Time) {
    char Buffer[256];
    const std::size_t Length = std::strftime(Buffer, sizeof Buffer, Format, &Time);
    return std::string(Buffer, Length);
}

bool IsReadOnly(const std::string& Path) {
    namespace fs = std::filesystem;
    std::error_code Error;
    const fs::file_status Status = fs::status(Path, Error);
    constexpr fs::perms AnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return !Error && fs::is_regular_file(Status) &&
           (Status.permissions() & AnyWrite) == fs::perms::none;
}

// Creates the missing folders of Folder, each for its owner only (as a state folder should be).
void MakeFolders(const std::filesystem::path& Folder) {
    namespace fs = std::filesystem;
    std::error_code Error;
    if (Folder.empty() || fs::is_directory(Folder, Error))
        return;
    MakeFolders(Folder.parent_path());
    if (fs::create_directory(Folder, Error))
        fs::permissions(Folder, fs::perms::owner_all, Error);
}

// The log file of one record. Remembers the first failure, closes on destruction if not closed.
class TLogFile {
public:
    explicit TLogFile(const std::string& Path) {
        if (Path.empty())
            FFailure = "no log file name";
        else if (IsReadOnly(Path))
            FFailure = "the file is read-only";
        else if ((FFile = std::fopen(Path.c_str(), "ab")) == nullptr)
            FFailure = std::strerror(errno);
    }
    TLogFile(const TLogFile&) = delete;
    TLogFile& operator=(const TLogFile&) = delete;
    ~TLogFile() { Close(); }

    // Writes Text through to the file unless an earlier step failed.
    void Write(const std::string& Text) {
        if (FFile == nullptr || !FFailure.empty())
            return;
        if (std::fwrite(Text.data(), 1, Text.size(), FFile) != Text.size() ||
            std::fflush(FFile) != 0)
            FFailure = std::strerror(errno);
    }

    void Close() {
        if (FFile == nullptr)
            return;
        const int Result = std::fclose(std::exchange(FFile, nullptr));
        if (Result != 0 && FFailure.empty())
            FFailure = std::strerror(errno);
    }

    // Why the record did not get into the file, or "" when it did.
    const std::string& Failure() const { return FFailure; }

private:
    std::FILE* FFile = nullptr;
    std::string FFailure;
};

} // namespace

std::string ExceptionLogPath(const std::string& ExePath) {
    return ExePath.empty() ? std::string{} : ChangeFileExt(ExePath, ".log");
}

std::string FormatLogDateTime(const std::tm& Time) {
    const bool Midnight = Time.tm_hour == 0 && Time.tm_min == 0 && Time.tm_sec == 0;
    return Midnight ? FormatTime("%x", Time)
                    : FormatTime("%x", Time) + " " + FormatTime("%X", Time);
}

std::tm LocalTimeNow() {
    const std::time_t Now = std::time(nullptr);
    std::tm Local{};
#ifdef _WIN32
    localtime_s(&Local, &Now);
#else
    localtime_r(&Now, &Local);
#endif
    return Local;
}

std::string FallbackExceptionLogPath(const char* StateHome, const char* Home) {
    std::string Folder;
    if (StateHome != nullptr && StateHome[0] == '/')
        Folder = StateHome;
    else if (Home != nullptr && Home[0] == '/')
        Folder = std::string(Home) + (std::string(Home).back() == '/' ? "" : "/") + ".local/state";
    else
        return {};
    if (Folder.back() != '/')
        Folder += '/';
    return Folder + "trayvane/trayvane.log";
}

std::string FallbackExceptionLogPath() {
    return FallbackExceptionLogPath(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
}

TExceptionLog::TExceptionLog(std::string Path, TClock Clock, TMemoryReader MemoryReader,
                             std::string FallbackPath)
    : FPath(std::move(Path)), FFallbackPath(std::move(FallbackPath)), FClock(std::move(Clock)),
      FMemoryReader(std::move(MemoryReader)) {}

// Where a record goes when the log file cannot be written: the fallback log, else standard
// error. Returns the path written, "" for standard error.
std::string TExceptionLog::AppendElsewhere(const std::string& Record,
                                           const std::string& Failure) const {
    std::string Why = "Cannot write the exception log '" + FPath + "': " + Failure;
    if (!FFallbackPath.empty()) {
        MakeFolders(std::filesystem::path(FFallbackPath).parent_path());
        TLogFile File(FFallbackPath);
        File.Write(Record);
        File.Close();
        if (File.Failure().empty())
            return FFallbackPath;
        Why += "; nor '" + FFallbackPath + "': " + File.Failure();
    }
    WriteToStandardError(Why + "; the record follows.\n" + Record);
    return {};
}

std::string TExceptionLog::Append(const std::string& ClassName, const std::string& Message,
                                  const std::string& ActiveForm,
                                  const std::string& ActiveControl) const noexcept {
    try {
        const std::string FirstLine = FormatLogDateTime(FClock()) + " : " + Message + LineEnd;
        TLogFile File(FPath);
        File.Write(FirstLine);
        const TMemoryStatus Memory = FMemoryReader();
        const std::string OtherLines =
            "Exception = " + ClassName + LineEnd + "ActiveForm = " + NameOrNone(ActiveForm) +
            LineEnd + "ActiveControl = " + NameOrNone(ActiveControl) + LineEnd +
            "MemoryLoad = " + std::to_string(Memory.MemoryLoad) + LineEnd +
            "TotalPhys = " + std::to_string(Memory.TotalPhys) + LineEnd +
            "AvailPhys = " + std::to_string(Memory.AvailPhys) + LineEnd;
        File.Write(OtherLines);
        File.Close();
        if (!File.Failure().empty())
            return AppendElsewhere(FirstLine + OtherLines, File.Failure());
        return FPath;
    } catch (...) {
        // Out of memory, or a clock or memory reader that failed: say so, and go on.
        WriteToStandardError("An error could not be recorded in the exception log.\n");
    }
    return {};
}
