#pragma once

// File-name helpers with the program's one rule for extensions: the extension is the text from
// the last "." to the end, provided no path delimiter ("\", ":" or "/") follows that "."; a name
// without one has an empty extension. So "cover.JPG" has ".JPG", "a.jpg.txt" has ".txt", and
// "pics.old/cover" has none.

#include <string>

// The extension with its dot, spelt as in FileName, or "" when there is none.
std::string ExtractFileExt(const std::string& FileName);

// FileName with its extension replaced by Extension (which includes its dot), or with Extension
// appended when it has none: "/opt/inlay" and ".log" give "/opt/inlay.log".
std::string ChangeFileExt(const std::string& FileName, const std::string& Extension);

// The folder part of FileName with its trailing delimiter, or "" when there is none.
std::string ExtractFilePath(const std::string& FileName);

// ASCII case-insensitive comparison (A-Z only), as the program compares extensions.
bool SameTextAscii(const std::string& A, const std::string& B);
