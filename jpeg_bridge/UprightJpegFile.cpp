#include "jpeg_bridge/UprightJpegFile.h"

#include "base/ReadableFile.h"
#include "jpeg_bridge/ExifOrientation.h"
#include "jpeg_bridge/JpegFile.h"
#include "raster/Orientation.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace {

// Up to Size bytes from the start of File, fewer when the file is shorter or a read fails.
std::size_t ReadHead(const TFileHandle& File, std::uint8_t* Target, std::size_t Size) noexcept {
    std::size_t Done = 0;
    while (Done < Size) {
        const ssize_t Count = ::read(File.Get(), Target + Done, Size - Done);
        if (Count < 0 && errno == EINTR)
            continue;
        if (Count <= 0)
            break;
        Done += static_cast<std::size_t>(Count);
    }
    return Done;
}

} // namespace

int ReadJpegFileOrientation(const std::string& FileName) noexcept {
    TFileHandle File;
    if (OpenFileForReading(FileName, File) != 0) // no regular file: it is not read
        return 1;
    try {
        std::vector<std::uint8_t> Head(ExifSearchBytes);
        return ExifOrientationOf(Head.data(), ReadHead(File, Head.data(), Head.size()));
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
