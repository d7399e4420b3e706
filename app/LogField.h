#pragma once

// The text of one field of an exception log record (app/ExceptionLog.h), made so that nothing
// from outside the program (a file name, a system's message) can start a line of the log: a
// line break inside a field is written escaped, so that every record keeps its seven lines.
//
//   CR "\r", LF "\n", other control characters "\xHH" (tab stays as it is);
//   the Unicode line breaks U+0085, U+2028 and U+2029 (in UTF-8) "\u0085", "\u2028", "\u2029".
//
// A backslash is written as it is, so that names and paths that hold one read as before.

#include <string>

// Text with every line break and control character escaped as above.
std::string LogFieldText(const std::string& Text);

// The message of a record, escaped as LogFieldText, but for the three carriage returns that
// separate the lines of the JPEG bridge's messages ("Error %s image:\r%s\rError: %s\rIJL Error
// number: %d"), which stay as they are described; the file name and the reason between them are
// escaped.
std::string LogMessageText(const std::string& Message);
