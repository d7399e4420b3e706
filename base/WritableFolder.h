#pragma once

// Whether the person running the program may create files in a folder.

#include <string>

// True when Folder ("" for the current folder) exists and the effective user may create files
// in it (write and search permission, a file system mounted for writing).
bool IsWritableFolder(const std::string& Folder);
