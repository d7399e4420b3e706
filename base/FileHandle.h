#pragma once

// TFileHandle: an open file descriptor, closed when the object goes.

#include <cerrno>
#include <unistd.h>
#include <utility>

class TFileHandle {
public:
    TFileHandle() = default;
    // Takes Handle over; a negative one is no handle.
    explicit TFileHandle(int Handle) noexcept : FHandle(Handle < 0 ? -1 : Handle) {}
    ~TFileHandle() { Close(); }
    TFileHandle(TFileHandle&& Other) noexcept : FHandle(std::exchange(Other.FHandle, -1)) {}
    TFileHandle& operator=(TFileHandle&& Other) noexcept {
        if (this != &Other) {
            Close();
            FHandle = std::exchange(Other.FHandle, -1);
        }
        return *this;
    }

    bool IsOpen() const noexcept { return FHandle >= 0; }
    int Get() const noexcept { return FHandle; }

    // Closes the handle, if there is one. Returns 0, or the system's error number.
    int Close() noexcept {
        if (FHandle < 0)
            return 0;
        const int Result = ::close(std::exchange(FHandle, -1));
        return Result == 0 ? 0 : errno;
    }

private:
    int FHandle = -1;
};
