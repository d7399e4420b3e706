#include "jpeg_bridge/JpegRowReader.h"

#include "base/ReadableFile.h"

#include "jpeg_bridge/LibJpeg.h"
#include "raster/PictureLimits.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>

namespace {

std::string LibJpegFailure(const TJpegResult& Result) {
    if (Result.ScanLimitExceeded)
        return "more than " + std::to_string(MaxJpegScans) + " scans";
    if (Result.MessageCode == JERR_FILE_READ)
        return std::system_category().message(Result.SystemErrorCode);
    if (Result.Changed)
        return "the file changed while it was read";
    if (Result.CutShort)
        return "the data ends before the picture is complete";
    return "libjpeg message " + std::to_string(Result.MessageCode);
}

} // namespace

TJpegRowReader::TJpegRowReader(const std::string& FileName) : FFileName(FileName) {
    // Only regular files are read; a named pipe does not block the open.
    if (const int Error = OpenFileForReading(FileName, FFile); Error != 0)
        Fail(Error == NotAFileToReadError || Error == EISDIR
                 ? "not a regular file"
                 : std::system_category().message(Error));
    const TJpegResult Result = TJpegRowDecoder::OfFile(FFile.Get()).ReadHeader(FHeader, true);
    if (!Result.Ok())
        Fail(LibJpegFailure(Result));
    if (std::int64_t{FHeader.Width} * FHeader.Height > MaxJpegPixels)
        Fail("more than " + std::to_string(MaxJpegPixels) + " pixels");
}

void TJpegRowReader::Fail(const std::string& Why) const {
    throw EJpegRowError("Cannot read \"" + FFileName + "\" row by row: " + Why);
}

void TJpegRowReader::Decode(int Columns, const TJpegRowTarget& Target, bool TwoThreads) const {
    if (!CanDecode())
        Fail(std::to_string(Components()) + " channels");
    if (Columns < 1 || Columns > Width())
        Fail("no such columns");
    TJpegDecodeJob Job;
    Job.Pixels = TJpegRowPixels::Bgr;
    Job.RowPixels = RowPixels(Columns);
    Job.RowOf = Target;
    Job.EndOfDataIsFatal = true;
    Job.TwoThreads = TwoThreads;
    const TJpegResult Result = TJpegRowDecoder::OfFile(FFile.Get()).Decode(FHeader, Job);
    if (!Result.Ok())
        Fail(LibJpegFailure(Result));
    if (Result.DamageCode != 0)
        Fail(Result.DamageText);
}
