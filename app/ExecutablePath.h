#pragma once

// Where the running program lives: the exception log and the placeholder picture sit beside it.

#include <string>

// The running executable's absolute path (/proc/self/exe here, GetModuleFileNameA on Windows),
// or "" when the system does not tell it.
std::string ExecutablePath();
