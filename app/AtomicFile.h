#pragma once

// Replacing a small file as a whole, so that a crash or a full disk never leaves it half written.

#include <string>

// Writes Content to a new file beside Path, flushes it to the disk, and renames it over Path,
// creating Path's folder (and those above it) when missing. Returns "" on success, else why it
// failed; Path is then as it was and no temporary file is left behind. The new file is readable
// and writable by its owner only. Never raises but for lack of memory.
std::string ReplaceFileAtomically(const std::string& Path, const std::string& Content);
