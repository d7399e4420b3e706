#include "jpeg_bridge/UprightJpegFile.h"

#include "jpeg_bridge/ExifOrientation.h"
#include "jpeg_bridge/JpegFile.h"
#include "raster/Orientation.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class TReadHandle {
public:
    // O_NONBLOCK: a named pipe must not hang the query (it is no regular file, so it is not read).
    explicit TReadHandle(const std::string& FileName) noexcept
        : FHandle(::open(FileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~TReadHandle() {
        if (FHandle >= 0)
            ::close(FHandle);
    }
    TReadHandle(const TReadHandle&) = delete;
    TReadHandle& operator=(const TReadHandle&) = delete;

    bool IsRegularFile() const noexcept {
        struct stat Status {};
        return FHandle >= 0 && ::fstat(FHandle, &Status) == 0 && S_ISREG(Status.st_mode);
    }
    // Up to Size bytes from the start, fewer when the file is shorter or a read fails.
    std::size_t ReadHead(std::uint8_t* Target, std::size_t Size) const noexcept {
        std::size_t Done = 0;
        while (Done < Size) {
            const ssize_t Count = ::read(FHandle, Target + Done, Size - Done);
            if (Count < 0 && errno == EINTR)
                continue;
            if (Count <= 0)
                break;
            Done += static_cast<std::size_t>(Count);
        }
        return Done;
    }

private:
    int FHandle;
};

} // namespace

int ReadJpegFileOrientation(const std::string& FileName) noexcept {
    const TReadHandle File(FileName);
    if (!File.IsRegularFile())
        return 1;
    try {
        std::vector<std::uint8_t> Head(ExifSearchBytes);
        return ExifOrientationOf(Head.data(), File.ReadHead(Head.data(), Head.size()));
    } catch (...) { // no memory for the head: the picture is taken as stored
        return 1;
    }
}

void LoadUprightJpegFile(TBitmap32& Bitmap, const std::string& FileName, std::string& Damage) {
    const int Orientation = ReadJpegFileOrientation(FileName);
    if (Orientation < 2 || Orientation > 8) {
        LoadJpegFile(Bitmap, FileName, Damage);
        return;
    }
    TBitmap32 Stored;
    LoadJpegFile(Stored, FileName, Damage);
    OrientUpright(Stored, Orientation);
    TakePixelsKeepingSettings(Bitmap, Stored);
}

void LoadUprightJpegFile(TBitmap32& Bitmap, const std::string& FileName) {
    std::string Damage;
    LoadUprightJpegFile(Bitmap, FileName, Damage);
}
