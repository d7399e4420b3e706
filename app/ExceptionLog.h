#pragma once

// The program's only error report: every unhandled error is appended as a seven-line record to a
// text file beside the executable. Lines end in CR LF:
//
//   <date and time> : <message>
//   Exception = <class name>
//   ActiveForm = <name of the active window>
//   ActiveControl = <name of the focused control>
//   MemoryLoad = <per cent of physical memory in use>
//   TotalPhys = <bytes>
//   AvailPhys = <bytes>
//
// The message is written unchanged, line-break characters included, so a record can span more
// physical lines. The file is opened for each record and closed after it; it is never truncated,
// replaced or read.

#include "app/MemoryStatus.h"

#include <ctime>
#include <functional>
#include <string>

// The log path beside the executable: ExePath with its extension replaced by ".log", or "" when
// ExePath is "" (then records go to standard error).
std::string ExceptionLogPath(const std::string& ExePath);

// The date and time text of line 1 in the C library's LC_TIME locale (which the program sets from
// the user's environment at start): the date ("%x"), then, unless the time is exactly 00:00:00,
// one space and the time ("%X"). Fields of Time are not validated.
std::string FormatLogDateTime(const std::tm& Time);

// The local time now.
std::tm LocalTimeNow();

class TExceptionLog {
public:
    using TClock = std::function<std::tm()>;
    using TMemoryReader = std::function<TMemoryStatus()>;

    // A log written to Path; Clock and MemoryReader give the time and the memory figures of each
    // record (the real ones by default). The file is not touched until the first record.
    explicit TExceptionLog(std::string Path, TClock Clock = LocalTimeNow,
                           TMemoryReader MemoryReader = ReadMemoryStatus);

    const std::string& Path() const noexcept { return FPath; }

    // Appends one record: opens the file for appending or creates it, writes line 1, takes the
    // memory reading, writes lines 2 to 7 and closes the file, also after a failed write. An
    // empty ActiveForm or ActiveControl is written as "(none)". A file without any write
    // permission bit counts as read-only and is not written, also when the system would allow
    // it (as for root). When the file cannot be opened, written or closed, it is left as it is
    // (a record cut off by a failed write stays incomplete) and the whole record goes to
    // standard error instead, after a line saying why. Never raises, never logs its own failure.
    void Append(const std::string& ClassName, const std::string& Message,
                const std::string& ActiveForm, const std::string& ActiveControl) const noexcept;

private:
    std::string FPath;
    TClock FClock;
    TMemoryReader FMemoryReader;
};
