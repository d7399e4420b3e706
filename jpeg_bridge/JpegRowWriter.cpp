#include "jpeg_bridge/JpegRowWriter.h"

#include "base/AtomicFile.h"
#include "jpeg_bridge/JpegEncoding.h"
#include "jpeg_bridge/JpegFile.h"

#include <algorithm>
#include <system_error>

namespace {

// The settings SaveJpegFile's quality and density come to in the codec layer.
TJpegEncoding SaveEncoding(std::uint8_t Quality, const TPrintDensity& Density) {
    const int Dpi = Density.IsSet() ? Density.RoundedDotsPerInch() : 1;
    return TJpegEncoding{std::clamp<int>(Quality, 1, 100), Density.IsSet() ? 1 : 0,
                         std::clamp(Dpi, 1, 65535), std::clamp(Dpi, 1, 65535),
                         Density.IsSet() ? Density : TPrintDensity{}};
}

} // namespace

void SaveJpegRows(const std::string& FileName, int Width, int Height, std::uint8_t Quality,
                  const TPrintDensity& Density, const TJpegRowSource& Row) {
    if (Width <= 0 || Height <= 0)
        throw Exception(NoImageToSaveMessage);
    const auto Failure = [&](const std::string& Why) {
        return EJpegRowError("Cannot write \"" + FileName + "\": " + Why);
    };
    const TJpegEncoding Encoding = SaveEncoding(Quality, Density);
    TAtomicFile File;
    if (const int Error = File.Create(FileName))
        throw Failure(std::system_category().message(Error));

    TLibJpegErrors Errors;
    jpeg_compress_struct Info;
    if (!RunLibJpeg(Info, Errors, [&] {
            jpeg_stdio_dest(&Info, File.Stream());
            StartBgrCompress(Info, Width, Height, Encoding);
            WriteBgrRowsAndFinish(Info, [&](JDIMENSION Y) { return Row(static_cast<int>(Y)); });
        }))
        throw Failure(Errors.MessageCode == JERR_FILE_WRITE
                          ? std::system_category().message(Errors.SystemErrorCode)
                          : "libjpeg message " + std::to_string(Errors.MessageCode));
    if (const int Error = File.Commit())
        throw Failure(std::system_category().message(Error));
}
