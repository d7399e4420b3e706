#pragma once

// The program's only error report: every unhandled error is appended as a seven-line record to a
// text file beside the executable, or to the same file in the user's state folder where that one
// cannot be written (a system-wide install). Lines end in CR LF:
//
//   <date and time> : <message>
//   Exception = <class name>
//   ActiveForm = <name of the active window>
//   ActiveControl = <name of the focused control>
//   MemoryLoad = <per cent of physical memory in use>
//   TotalPhys = <bytes>
//   AvailPhys = <bytes>
//
// The fields are written as LogFieldText and LogMessageText (app/LogField.h) give them: a line
// break inside a field is escaped, so that no text from outside (a file name, a system's message)
// can start a line; only the carriage returns of the JPEG bridge's four-line messages stay. The
// file is opened for each record and closed after it; it is never truncated, replaced or read. Each
// record is built whole and appended with one write, so the records of several copies of the
// program writing to one log never mix.

#include "app/MemoryStatus.h"

#include <ctime>
#include <functional>
#include <string>

// The log path beside the executable: ExePath with its extension replaced by ".log", or "" when
// ExePath is "" (then records go to the fallback log).
std::string ExceptionLogPath(const std::string& ExePath);

// The log in the user's state folder, for when the one beside the executable cannot be written
// (a system-wide install): StateHome/trayvane/trayvane.log, or Home/.local/state/trayvane/
// trayvane.log when StateHome is unset, empty or not absolute; "" when neither gives a folder.
std::string FallbackExceptionLogPath(const char* StateHome, const char* Home);
// FallbackExceptionLogPath of $XDG_STATE_HOME and $HOME.
std::string FallbackExceptionLogPath();

// The date and time text of line 1 in the C library's LC_TIME locale (which the program sets from
// the user's environment at start): the date ("%x"), then, unless the time is exactly 00:00:00,
// one space and the time ("%X"). Fields of Time are not validated.
std::string FormatLogDateTime(const std::tm& Time);

// The local time now.
std::tm LocalTimeNow();

// Appends Record to the log file Path with one write, creating the file when missing. Only a
// regular file serves: a folder, a named pipe or a device is refused without waiting for it, and
// a file without any write permission bit counts as read-only, also when the system would allow
// it (as for root). Returns "" when the record is in the file, else why not; a record cut off by
// a failed write stays incomplete. Never raises.
std::string AppendLogRecord(const std::string& Path, const std::string& Record) noexcept;

class TExceptionLog {
public:
    using TClock = std::function<std::tm()>;
    using TMemoryReader = std::function<TMemoryStatus()>;

    // A log written to Path, or to FallbackPath ("" for none) when Path cannot be written; Clock
    // and MemoryReader give the time and the memory figures of each record (the real ones by
    // default). The files are not touched until the first record.
    explicit TExceptionLog(std::string Path, TClock Clock = LocalTimeNow,
                           TMemoryReader MemoryReader = ReadMemoryStatus,
                           std::string FallbackPath = FallbackExceptionLogPath());

    const std::string& Path() const noexcept { return FPath; }

    // Appends one record: builds line 1, takes the memory reading, builds lines 2 to 7, and
    // appends the whole record with AppendLogRecord. An empty ActiveForm or ActiveControl is
    // written as "(none)". When the record cannot go into the file, the file is left as it is
    // and the record goes to the fallback log instead, its folders created (for the owner only)
    // as needed; when that fails too, to standard error, after a line saying why. Returns the
    // path of the file that took the record, "" for standard error. Never raises, never logs its
    // own failure.
    std::string Append(const std::string& ClassName, const std::string& Message,
                       const std::string& ActiveForm,
                       const std::string& ActiveControl) const noexcept;

private:
    // Where a record goes when the log file cannot take it (Failure says why): the fallback log,
    // else standard error. Returns the path written, "" for standard error.
    std::string AppendElsewhere(const std::string& Record, const std::string& Failure) const;

    std::string FPath;
    std::string FFallbackPath;
    TClock FClock;
    TMemoryReader FMemoryReader;
};
