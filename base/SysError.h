#pragma once

// The operating system's texts for its error numbers, as error messages quote them.

#include <string>

// strerror's text for ErrorCode with trailing blanks, control characters and full stops removed,
// so that it can end a sentence of its own ("No such file or directory").
std::string SysErrorMessage(int ErrorCode);
