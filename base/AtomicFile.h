#pragma once

// TAtomicFile: writes a file so that its target is either left as it was or replaced by the
// complete new content, never by a half-written one. The content goes to a temporary file in
// the target's folder, which Commit renames over the target once it is complete and on disk; a
// temporary file that is not committed is removed. The interface reports system error numbers
// instead of throwing, so that C code (the JPEG encoder) can write through Stream().

#include <cstdio>
#include <string>

class TAtomicFile {
public:
    TAtomicFile() = default;
    ~TAtomicFile() { Discard(); }
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // Creates the temporary file for TargetName and opens it for writing. A target that is a
    // symbolic link is followed, so the link stays and the file it names is replaced. Returns 0,
    // or the system's error number (the folder is missing or refuses new files, say).
    int Create(const std::string& TargetName) noexcept;

    // The open temporary file; null before Create succeeded and after Commit or Discard.
    std::FILE* Stream() const noexcept { return FStream; }

    // Flushes the temporary file to disk, gives it the target's permissions when the target
    // exists, and renames it over the target. Returns 0, or the system's error number; after a
    // failure the temporary file is gone and the target is as it was.
    int Commit() noexcept;

    // Closes and removes the temporary file, if there is one.
    void Discard() noexcept;

private:
    std::string FTargetName;
    std::string FTemporaryName;
    std::FILE* FStream = nullptr;
};

// Writes Content to Path through a TAtomicFile, creating Path's folder (and those above it) when
// missing. Returns "" on success, else why it failed; Path is then as it was and no temporary
// file is left behind. Never raises but for lack of memory.
std::string ReplaceFileAtomically(const std::string& Path, const std::string& Content);
