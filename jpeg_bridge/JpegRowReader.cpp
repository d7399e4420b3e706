#include "jpeg_bridge/JpegRowReader.h"

#include "jpeg_bridge/JPEGImage.h"
#include "jpeg_bridge/JpegDescriptorSource.h"
#include "jpeg_bridge/LibJpeg.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

// Row pointers handed to libjpeg per call; enough for any row group it produces at once.
constexpr int RowBatch = 16;

// Where colour is stored at a fraction of the width, a pixel's colour is interpolated from the
// stored samples on both sides of it; the decoder reads this many columns past the last one
// asked for, so that every pixel asked for has its right-hand neighbour (at most 4 pixels wide
// at the coarsest sampling) as a full decoding does.
constexpr int EdgeColumns = 16;

std::string LibJpegFailure(const TLibJpegErrors& Errors) {
    if (Errors.ScanLimitExceeded)
        return "more than " + std::to_string(MaxJpegScans) + " scans";
    if (Errors.MessageCode == JERR_FILE_READ)
        return std::system_category().message(Errors.SystemErrorCode);
    return "libjpeg message " + std::to_string(Errors.MessageCode);
}

// How a decoding of rows [First, End) ended inside RunLibJpeg, where nothing may throw.
enum class TRowsResult { Done, Changed, CutShort };

TRowsResult DecodeRowsOfHeader(jpeg_decompress_struct& Info, TLibJpegErrors& Errors, int Width,
                               int Height, int Components, int RowPixels, int First, int End,
                               const TJpegRowTarget& Target) {
    // The file may have changed since its header was read: it must still be the same picture.
    if (static_cast<int>(Info.image_width) != Width ||
        static_cast<int>(Info.image_height) != Height || Info.num_components != Components)
        return TRowsResult::Changed;
    Info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&Info);
    if (RowPixels < Width) {
        JDIMENSION Left = 0;
        auto Columns = static_cast<JDIMENSION>(RowPixels);
        jpeg_crop_scanline(&Info, &Left, &Columns);
    }
    if (static_cast<int>(Info.output_width) != RowPixels || Info.output_components != 3)
        return TRowsResult::Changed;
    const auto FirstRow = static_cast<JDIMENSION>(First);
    const auto EndRow = static_cast<JDIMENSION>(End);
    if (FirstRow > 0 && jpeg_skip_scanlines(&Info, FirstRow) != FirstRow)
        return TRowsResult::CutShort;
    // Rows[0, Asked) are the places of rows Base, Base + 1, ...; libjpeg may fill fewer than it
    // is offered, and each row's place is asked for once.
    JSAMPROW Rows[RowBatch];
    JDIMENSION Base = FirstRow;
    int Asked = 0;
    while (Info.output_scanline < EndRow) {
        const auto Done = static_cast<int>(Info.output_scanline - Base);
        std::copy(Rows + Done, Rows + Asked, Rows);
        Asked -= Done;
        Base = Info.output_scanline;
        for (; Asked < RowBatch && Base + static_cast<JDIMENSION>(Asked) < EndRow; ++Asked)
            Rows[Asked] = Target(static_cast<int>(Base) + Asked);
        if (jpeg_read_scanlines(&Info, Rows, static_cast<JDIMENSION>(Asked)) == 0)
            break;
    }
    if (Info.output_scanline < EndRow)
        return TRowsResult::CutShort;
    if (EndRow == Info.output_height) {
        // As LoadJpegFile: once the picture is complete, a missing end marker does not matter,
        // but what follows the picture is still read.
        Errors.EndOfDataIsFatal = false;
        jpeg_finish_decompress(&Info);
    }
    return TRowsResult::Done;
}

} // namespace

TJpegRowReader::TJpegRowReader(const std::string& FileName) : FFileName(FileName) {
    // O_NONBLOCK keeps a named pipe from blocking the open; only regular files are read.
    FHandle.Value = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (FHandle.Value < 0)
        Fail(std::system_category().message(errno));
    struct stat Status {};
    if (::fstat(FHandle.Value, &Status) != 0)
        Fail(std::system_category().message(errno));
    if (!S_ISREG(Status.st_mode))
        Fail("not a regular file");

    TLibJpegErrors Errors;
    Errors.EndOfDataIsFatal = true;
    jpeg_decompress_struct Info;
    if (!RunLibJpeg(Info, Errors, [&] {
            UseDescriptorSource(Info, FHandle.Value);
            jpeg_read_header(&Info, TRUE);
            FWidth = static_cast<int>(Info.image_width);
            FHeight = static_cast<int>(Info.image_height);
            FComponents = Info.num_components;
            FMultiScan = jpeg_has_multiple_scans(&Info);
            FRowGroup = Info.max_v_samp_factor * DCTSIZE;
        }))
        Fail(LibJpegFailure(Errors));
    if (std::int64_t{FWidth} * FHeight > MaxJpegPixels)
        Fail("more than " + std::to_string(MaxJpegPixels) + " pixels");
}

TJpegRowReader::TDescriptor::~TDescriptor() {
    if (Value >= 0)
        ::close(Value);
}

void TJpegRowReader::Fail(const std::string& Why) const {
    throw EJpegRowError("Cannot read \"" + FFileName + "\" row by row: " + Why);
}

int TJpegRowReader::RowPixels(int Columns) const noexcept {
    return static_cast<int>(std::min<std::int64_t>(std::int64_t{Columns} + EdgeColumns, FWidth));
}

void TJpegRowReader::DecodeRows(int Columns, int First, int End,
                                const TJpegRowTarget& Target) const {
    TLibJpegErrors Errors;
    Errors.EndOfDataIsFatal = true;
    jpeg_decompress_struct Info;
    TRowsResult Result = TRowsResult::Done;
    const int Pixels = RowPixels(Columns);
    if (!RunLibJpeg(Info, Errors, [&] {
            UseDescriptorSource(Info, FHandle.Value);
            jpeg_read_header(&Info, TRUE);
            Result = DecodeRowsOfHeader(Info, Errors, FWidth, FHeight, FComponents, Pixels, First,
                                        End, Target);
        }))
        Fail(LibJpegFailure(Errors));
    if (Result == TRowsResult::Changed)
        Fail("the file changed while it was read");
    if (Result == TRowsResult::CutShort)
        Fail("the data ends before the picture is complete");
}

void TJpegRowReader::Decode(int Columns, const TJpegRowTarget& Target, bool TwoThreads) const {
    if (!CanDecode())
        Fail(std::to_string(FComponents) + " channels");
    if (Columns < 1 || Columns > FWidth)
        Fail("no such columns");
    // Split at a whole number of row groups. The lower part's thread reads the data of the rows
    // above it without making pixels, which costs most of what decoding them would (the columns
    // left out cost nothing either way); the upper part takes the larger share to balance that.
    const int Group = std::max(FRowGroup, 1);
    const int Split = FHeight * 4 / 5 / Group * Group;
    if (TwoThreads && !FMultiScan && Split > 0 && Split < FHeight) {
        std::exception_ptr LowerError;
        std::thread Lower;
        try {
            Lower = std::thread([&] {
                try {
                    DecodeRows(Columns, Split, FHeight, Target);
                } catch (...) {
                    LowerError = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            // No second thread to be had: this one decodes everything.
            DecodeRows(Columns, 0, FHeight, Target);
            return;
        }
        std::exception_ptr UpperError;
        try {
            DecodeRows(Columns, 0, Split, Target);
        } catch (...) {
            UpperError = std::current_exception();
        }
        Lower.join();
        if (UpperError)
            std::rethrow_exception(UpperError);
        if (LowerError)
            std::rethrow_exception(LowerError);
        return;
    }
    DecodeRows(Columns, 0, FHeight, Target);
}
