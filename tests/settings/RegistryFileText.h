#pragma once

// The text a registry file of the program's settings starts with, as the tests write and expect it.

#include <string>

// The file's first line and the blank line after it.
inline const std::string RegistryFileHead = "Windows Registry Editor Version 5.00\n\n";
// The line that opens the program's key.
inline const std::string TrayvaneKeyLine = "[HKEY_CURRENT_USER\\Software\\Brenlow\\Trayvane]\n";
// Both: a file with the program's key open, ready for its values.
inline const std::string TrayvaneKeyHead = RegistryFileHead + TrayvaneKeyLine;
