#pragma once

// Replacing a small file as a whole, so that a crash or a full disk never leaves it half written.

#include <string>

// Writes Content to Path through a TAtomicFile (raster/AtomicFile.h: a temporary file beside
// Path, flushed to the disk and renamed over it), creating Path's folder (and those above it)
// when missing. Returns "" on success, else why it failed; Path is then as it was and no
// temporary file is left behind. Never raises but for lack of memory.
std::string ReplaceFileAtomically(const std::string& Path, const std::string& Content);
