#include "jpeg_bridge/JpegRowWriter.h"

#include "base/AtomicFile.h"
#include "jpeg_bridge/JpegEncoding.h"
#include "jpeg_bridge/JpegFile.h"

#include <algorithm>
#include <system_error>

namespace {

// Row pointers handed to libjpeg per call.
constexpr int RowBatch = 16;

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
            while (Info.next_scanline < Info.image_height) {
                const JDIMENSION First = Info.next_scanline;
                const JDIMENSION Count =
                    std::min<JDIMENSION>(RowBatch, Info.image_height - Info.next_scanline);
                JSAMPROW Rows[RowBatch];
                for (JDIMENSION I = 0; I < Count; ++I)
                    Rows[I] = const_cast<JSAMPROW>(Row(static_cast<int>(First + I)));
                if (jpeg_write_scanlines(&Info, Rows, Count) == 0)
                    break;
            }
            jpeg_finish_compress(&Info);
        }))
        throw Failure(Errors.MessageCode == JERR_FILE_WRITE
                          ? std::system_category().message(Errors.SystemErrorCode)
                          : "libjpeg message " + std::to_string(Errors.MessageCode));
    if (const int Error = File.Commit())
        throw Failure(std::system_category().message(Error));
}
