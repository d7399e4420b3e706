#pragma once

// Where the program finds its data files (the placeholder picture): beside the executable, as in
// the build folder, or in share/trayvane/ beside the executable's bin/ folder, as installed.

#include <functional>
#include <string>

// The folder of installed data files, relative to the executable's folder.
inline constexpr const char* InstalledDataFolder = "../share/trayvane/";

// The path of the data file Name for the executable at ExePath: the first of
// "FOLDER/Name" and "FOLDER/../share/trayvane/Name" for which Exists is true, FOLDER being
// ExePath's folder; the first of them when neither exists (so that the error names a place).
std::string DataFilePath(const std::string& ExePath, const std::string& Name,
                         const std::function<bool(const std::string&)>& Exists);

// DataFilePath asking the file system whether a regular file of that name exists.
std::string DataFilePath(const std::string& ExePath, const std::string& Name);
