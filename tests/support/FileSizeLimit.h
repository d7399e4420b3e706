#pragma once

// Makes every write beyond Bytes into a file fail with EFBIG while the object lives, as a full
// disk would, also for root. The signal the system sends for it is ignored meanwhile.

#include <csignal>
#include <stdexcept>
#include <sys/resource.h>

class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t Bytes) {
        if (getrlimit(RLIMIT_FSIZE, &FOldLimit) != 0)
            throw std::runtime_error("getrlimit failed");
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit Limit = FOldLimit;
        Limit.rlim_cur = Bytes;
        if (setrlimit(RLIMIT_FSIZE, &Limit) != 0)
            throw std::runtime_error("setrlimit failed");
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &FOldLimit);
        std::signal(SIGXFSZ, FOldHandler);
    }

private:
    rlimit FOldLimit{};
    void (*FOldHandler)(int) = nullptr;
};
