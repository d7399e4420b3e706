#include "picture_codecs/EncodedFile.h"

#include "base/AtomicFile.h"
#include "base/FileStream.h"
#include "base/FileWriteError.h"
#include "base/SysError.h"

#include <cerrno>
#include <cstdio>

void BitmapRgbRow(const TBitmap32& Bitmap, int Y, std::uint8_t* Rgb) noexcept {
    const TColor32* Pixels = Bitmap.ScanLine(Y);
    for (int X = 0; X < Bitmap.Width(); ++X) {
        Rgb[3 * X] = static_cast<std::uint8_t>(Pixels[X] >> 16);
        Rgb[3 * X + 1] = static_cast<std::uint8_t>(Pixels[X] >> 8);
        Rgb[3 * X + 2] = static_cast<std::uint8_t>(Pixels[X]);
    }
}

void WriteEncodedFile(const std::string& FileName, const std::vector<std::uint8_t>& Bytes) {
    const auto Quoted = [&] { return "\"" + ExpandFileName(FileName) + "\". "; };
    TAtomicFile File;
    if (const int Error = File.Create(FileName))
        throw EFCreateError("Cannot create file " + Quoted() + SysErrorMessage(Error));
    const bool Written = std::fwrite(Bytes.data(), 1, Bytes.size(), File.Stream()) == Bytes.size();
    const int Error = Written ? File.Commit() : (errno != 0 ? errno : EIO);
    if (Error != 0)
        throw EWriteError("Cannot write file " + Quoted() + SysErrorMessage(Error));
}
