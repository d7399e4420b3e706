#pragma once

// TTemporaryNameGuard: while it lives, the file of a given name is removed when the program is
// ended by SIGINT, SIGTERM, SIGHUP or SIGQUIT, so that an interrupted save leaves no temporary
// file behind. The guard installs its signal handler while any guard lives, for the signals that
// are not ignored; the handler removes every guarded name and then ends the program with the
// signal as before (or hands it to the handler that was there). Guards may live on several
// threads at once. Names longer than PATH_MAX, and guards beyond the first 32 at a time, are not
// guarded.

#include <string>

class TTemporaryNameGuard {
public:
    explicit TTemporaryNameGuard(const std::string& FileName) noexcept;
    ~TTemporaryNameGuard();
    TTemporaryNameGuard(const TTemporaryNameGuard&) = delete;
    TTemporaryNameGuard& operator=(const TTemporaryNameGuard&) = delete;

    // Whether the name is guarded.
    bool Guarded() const noexcept { return FSlot >= 0; }

private:
    int FSlot = -1;
};
