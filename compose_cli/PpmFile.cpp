#include "compose_cli/PpmFile.h"

#include "base/AtomicFile.h"
#include "base/FileStream.h"
#include "base/SysError.h"
#include "jpeg_bridge/JpegFile.h"

#include <cerrno>
#include <cstdio>
#include <vector>

void SavePpmFile(const TBitmap32& Bitmap, const std::string& FileName) {
    if (Bitmap.IsEmpty())
        throw Exception(NoImageToSaveMessage);
    const auto Quoted = [&] { return "\"" + ExpandFileName(FileName) + "\". "; };
    TAtomicFile File;
    if (const int Error = File.Create(FileName))
        throw EFCreateError("Cannot create file " + Quoted() + SysErrorMessage(Error));

    const int W = Bitmap.Width();
    std::vector<std::uint8_t> Row(static_cast<std::size_t>(W) * 3);
    bool Written = std::fprintf(File.Stream(), "P6\n%d %d\n255\n", W, Bitmap.Height()) > 0;
    for (int Y = 0; Written && Y < Bitmap.Height(); ++Y) {
        const TColor32* Pixels = Bitmap.ScanLine(Y);
        for (int X = 0; X < W; ++X) {
            Row[3 * X] = static_cast<std::uint8_t>(Pixels[X] >> 16);
            Row[3 * X + 1] = static_cast<std::uint8_t>(Pixels[X] >> 8);
            Row[3 * X + 2] = static_cast<std::uint8_t>(Pixels[X]);
        }
        Written = std::fwrite(Row.data(), 1, Row.size(), File.Stream()) == Row.size();
    }
    const int Error = Written ? File.Commit() : (errno != 0 ? errno : EIO);
    if (Error != 0)
        throw EWriteError("Cannot write file " + Quoted() + SysErrorMessage(Error));
}
