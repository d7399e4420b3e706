#include "compose_cli/PpmFile.h"

#include "base/AtomicFile.h"
#include "base/FileStream.h"
#include "base/SysError.h"
#include "jpeg_bridge/JpegFile.h"

#include <cerrno>
#include <cstdio>
#include <vector>

namespace {

// Writes the file, FillRow(Y, Rgb) putting row Y's red, green and blue into Rgb.
template <class TFillRow>
void WritePpm(const std::string& FileName, int Width, int Height, TFillRow&& FillRow) {
    const auto Quoted = [&] { return "\"" + ExpandFileName(FileName) + "\". "; };
    TAtomicFile File;
    if (const int Error = File.Create(FileName))
        throw EFCreateError("Cannot create file " + Quoted() + SysErrorMessage(Error));

    std::vector<std::uint8_t> Row(static_cast<std::size_t>(Width) * 3);
    bool Written = std::fprintf(File.Stream(), "P6\n%d %d\n255\n", Width, Height) > 0;
    for (int Y = 0; Written && Y < Height; ++Y) {
        FillRow(Y, Row.data());
        Written = std::fwrite(Row.data(), 1, Row.size(), File.Stream()) == Row.size();
    }
    const int Error = Written ? File.Commit() : (errno != 0 ? errno : EIO);
    if (Error != 0)
        throw EWriteError("Cannot write file " + Quoted() + SysErrorMessage(Error));
}

} // namespace

void SavePpmFile(const TBitmap32& Bitmap, const std::string& FileName) {
    if (Bitmap.IsEmpty())
        throw Exception(NoImageToSaveMessage);
    const int W = Bitmap.Width();
    WritePpm(FileName, W, Bitmap.Height(), [&](int Y, std::uint8_t* Rgb) {
        const TColor32* Pixels = Bitmap.ScanLine(Y);
        for (int X = 0; X < W; ++X) {
            Rgb[3 * X] = static_cast<std::uint8_t>(Pixels[X] >> 16);
            Rgb[3 * X + 1] = static_cast<std::uint8_t>(Pixels[X] >> 8);
            Rgb[3 * X + 2] = static_cast<std::uint8_t>(Pixels[X]);
        }
    });
}

void SavePpmRows(const std::string& FileName, int Width, int Height,
                 const std::function<const std::uint8_t*(int Y)>& Row) {
    if (Width <= 0 || Height <= 0)
        throw Exception(NoImageToSaveMessage);
    WritePpm(FileName, Width, Height, [&](int Y, std::uint8_t* Rgb) {
        const std::uint8_t* Bgr = Row(Y);
        for (int X = 0; X < Width; ++X) {
            Rgb[3 * X] = Bgr[3 * X + 2];
            Rgb[3 * X + 1] = Bgr[3 * X + 1];
            Rgb[3 * X + 2] = Bgr[3 * X];
        }
    });
}
