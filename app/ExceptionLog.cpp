#include "app/ExceptionLog.h"

#include "app/LogField.h"

#include "base/FileHandle.h"
#include "base/FileName.h"
#include "base/StandardError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
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

// Why a file of this kind cannot take records, or null when it can. Only a regular file with a
// write permission bit serves; one without counts as read-only, also where the system would let
// it be written (as for root).
const char* UnwritableKind(const struct stat& Status) {
    if (S_ISDIR(Status.st_mode))
        return "it is a folder";
    if (!S_ISREG(Status.st_mode))
        return "it is not a regular file";
    if ((Status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return "the file is read-only";
    return nullptr;
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

} // namespace

std::string AppendLogRecord(const std::string& Path, const std::string& Record) noexcept {
    try {
        if (Path.empty())
            return "no log file name";
        struct stat Status {};
        if (::stat(Path.c_str(), &Status) == 0) {
            if (const char* Why = UnwritableKind(Status))
                return Why;
        }
        // O_NONBLOCK: a named pipe put there since the look above must not block the open.
        TFileHandle File(::open(
            Path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
        if (!File.IsOpen() || ::fstat(File.Get(), &Status) != 0)
            return std::strerror(errno);
        if (const char* Why = UnwritableKind(Status))
            return Why;
        // One write of the whole record on a file opened for appending: records of programs
        // writing to the same log at once never mix.
        ssize_t Written;
        do
            Written = ::write(File.Get(), Record.data(), Record.size());
        while (Written < 0 && errno == EINTR);
        if (Written < 0)
            return std::strerror(errno);
        if (static_cast<std::size_t>(Written) != Record.size())
            return "the record was cut short";
        if (const int Error = File.Close())
            return std::strerror(Error);
        return {};
    } catch (...) {
        return "out of memory";
    }
}

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

std::string TExceptionLog::AppendElsewhere(const std::string& Record,
                                           const std::string& Failure) const {
    std::string Why = "Cannot write the exception log '" + FPath + "': " + Failure;
    if (!FFallbackPath.empty()) {
        MakeFolders(std::filesystem::path(FFallbackPath).parent_path());
        const std::string FallbackFailure = AppendLogRecord(FFallbackPath, Record);
        if (FallbackFailure.empty())
            return FFallbackPath;
        Why += "; nor '" + FFallbackPath + "': " + FallbackFailure;
    }
    WriteToStandardError(Why + "; the record follows.\n" + Record);
    return {};
}

std::string TExceptionLog::Append(const std::string& ClassName, const std::string& Message,
                                  const std::string& ActiveForm,
                                  const std::string& ActiveControl) const noexcept {
    try {
        // Each field escaped: nothing a field holds can start a line of the record.
        std::string Record =
            FormatLogDateTime(FClock()) + " : " + LogMessageText(Message) + LineEnd;
        const TMemoryStatus Memory = FMemoryReader();
        Record += "Exception = " + LogFieldText(ClassName) + LineEnd +
                  "ActiveForm = " + LogFieldText(NameOrNone(ActiveForm)) + LineEnd +
                  "ActiveControl = " + LogFieldText(NameOrNone(ActiveControl)) + LineEnd +
                  "MemoryLoad = " + std::to_string(Memory.MemoryLoad) + LineEnd +
                  "TotalPhys = " + std::to_string(Memory.TotalPhys) + LineEnd +
                  "AvailPhys = " + std::to_string(Memory.AvailPhys) + LineEnd;
        if (const std::string Failure = AppendLogRecord(FPath, Record); !Failure.empty())
            return AppendElsewhere(Record, Failure);
        return FPath;
    } catch (...) {
        // Out of memory, or a clock or memory reader that failed: say so, and go on.
        WriteToStandardError("An error could not be recorded in the exception log.\n");
    }
    return {};
}
