#include "jpeg_bridge/JpegRowWriter.h"

#include "base/AtomicFile.h"
#include "jpeg_bridge/JpegFile.h"
#include "jpeg_bridge/LibJpeg.h"

#include <algorithm>
#include <system_error>

namespace {

// Row places handed to libjpeg per call.
constexpr JDIMENSION RowsPerWrite = 16;

// Encodes the picture into File. Returns true, or false with Errors saying why.
bool EncodeRows(std::FILE* File, int Width, int Height, int PixelBytes,
                const TJpegEncoding& Encoding, const TJpegRowSource& Row,
                TLibJpegErrors& Errors) noexcept {
    jpeg_compress_struct Info;
    return RunLibJpeg(Info, Errors, [&] {
        jpeg_stdio_dest(&Info, File);
        StartBgrCompress(Info, Width, Height, PixelBytes, Encoding);
        while (Info.next_scanline < Info.image_height) {
            const JDIMENSION First = Info.next_scanline;
            const JDIMENSION Count = std::min(RowsPerWrite, Info.image_height - First);
            JSAMPROW Rows[RowsPerWrite];
            for (JDIMENSION I = 0; I < Count; ++I)
                Rows[I] = const_cast<JSAMPROW>(Row(static_cast<int>(First + I)));
            if (jpeg_write_scanlines(&Info, Rows, Count) == 0)
                break;
        }
        jpeg_finish_compress(&Info);
    });
}

} // namespace

TJpegWriteResult WriteJpegRows(const char* FileName, int Width, int Height, int PixelBytes,
                               const TJpegEncoding& Encoding, const TJpegRowSource& Row) noexcept {
    using TStage = TJpegWriteResult::TStage;
    TAtomicFile Output;
    if (const int Error = Output.Create(FileName))
        return {TStage::Create, Error, 0};
    TLibJpegErrors Errors;
    if (!EncodeRows(Output.Stream(), Width, Height, PixelBytes, Encoding, Row, Errors))
        return {TStage::Encode, Errors.SystemErrorCode, Errors.MessageCode};
    if (const int Error = Output.Commit())
        return {TStage::Commit, Error, 0};
    return {};
}

void SaveJpegRows(const std::string& FileName, int Width, int Height, std::uint8_t Quality,
                  const TPrintDensity& Density, const TJpegRowSource& Row) {
    if (Width <= 0 || Height <= 0)
        throw Exception(NoImageToSaveMessage);
    const TJpegWriteResult Result =
        WriteJpegRows(FileName.c_str(), Width, Height, 3, SaveEncoding(Quality, Density), Row);
    if (Result.Ok())
        return;
    const bool SystemError =
        Result.Stage != TJpegWriteResult::TStage::Encode || Result.MessageCode == JERR_FILE_WRITE;
    throw EJpegRowError("Cannot write \"" + FileName + "\": " +
                        (SystemError ? std::system_category().message(Result.SystemErrorCode)
                                     : "libjpeg message " + std::to_string(Result.MessageCode)));
}
