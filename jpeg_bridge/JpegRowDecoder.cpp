#include "jpeg_bridge/JpegRowDecoder.h"

#include "base/ForkJoin.h"
#include "jpeg_bridge/JpegDescriptorSource.h"
#include "jpeg_bridge/LibJpeg.h"

#include <algorithm>
#include <cstring>

static_assert(sizeof(TJpegResult::DamageText) == JMSG_LENGTH_MAX);

namespace {

// Row places handed to libjpeg per call; enough for any row group it produces at once.
constexpr int RowBatch = 16;

// Where colour is stored at a fraction of the width, the decoder reads this many columns past the
// last one asked for, so that every pixel asked for has its right-hand neighbours (at most 4
// pixels wide at the coarsest sampling) as a full decoding does.
constexpr int EdgeColumns = 16;

// Quantized grey levels, as the picture registry's kind has them.
constexpr int QuantizedGreyLevels = 236;

// How a band ended inside RunLibJpeg, where nothing may throw.
enum class TBandEnd { Done, Changed, CutShort };

TJpegResult ResultOf(const TLibJpegErrors& Errors, bool Failed) noexcept {
    TJpegResult Result;
    if (Failed) {
        Result.MessageCode = Errors.MessageCode; // never 0: every fatal error has its code
        Result.SystemErrorCode = Errors.SystemErrorCode;
        Result.ScanLimitExceeded = Errors.ScanLimitExceeded;
    }
    Result.SawEndOfData = Errors.SawEndOfData;
    Result.DamageCode = Errors.DamageCode;
    std::memcpy(Result.DamageText, Errors.DamageText, sizeof Result.DamageText);
    return Result;
}

// CMYK as libjpeg delivers it to red, green, blue and opacity 255, in place. Files with an Adobe
// marker (all that Adobe's programs write) hold the ink amounts inverted, 255 meaning no ink.
void CmykToRgba(std::uint8_t* Pixels, int Count, bool Inverted) noexcept {
    for (int X = 0; X < Count; ++X, Pixels += 4) {
        int C = Pixels[0], M = Pixels[1], Y = Pixels[2], K = Pixels[3];
        if (!Inverted) {
            C = 255 - C;
            M = 255 - M;
            Y = 255 - Y;
            K = 255 - K;
        }
        Pixels[0] = static_cast<std::uint8_t>((C * K + 127) / 255);
        Pixels[1] = static_cast<std::uint8_t>((M * K + 127) / 255);
        Pixels[2] = static_cast<std::uint8_t>((Y * K + 127) / 255);
        Pixels[3] = 255;
    }
}

// Grey levels that arrive as indices into libjpeg's colour map, to opaque blue, green, red.
void LevelsToBgra(const JSAMPLE* Indices, const JSAMPLE* Levels, std::uint8_t* Pixels,
                  int Count) noexcept {
    for (int X = 0; X < Count; ++X, Pixels += 4) {
        const JSAMPLE Level = Levels[Indices[X]];
        Pixels[0] = Level;
        Pixels[1] = Level;
        Pixels[2] = Level;
        Pixels[3] = 255;
    }
}

// Chooses the decoder's output for Pixels and says how many bytes a pixel arrives in; Quantize
// where grey levels arrive as colour-map indices. A file that cannot give them fails in
// jpeg_start_decompress (JERR_CONVERSION_NOTIMPL).
void ChooseOutput(jpeg_decompress_struct& Info, TJpegRowPixels Pixels, bool& Quantize,
                  int& Components) noexcept {
    Quantize = false;
    switch (Pixels) {
    case TJpegRowPixels::Bgr:
        Info.out_color_space = JCS_EXT_BGR;
        Components = 3;
        return;
    case TJpegRowPixels::Bgra:
        Info.out_color_space = JCS_EXT_BGRA;
        Components = 4;
        return;
    case TJpegRowPixels::CmykAsRgba:
        Info.out_color_space = JCS_CMYK;
        Components = 4;
        return;
    case TJpegRowPixels::BgraGreyQuantized:
        if (Info.jpeg_color_space == JCS_GRAYSCALE) {
            Info.quantize_colors = TRUE;
            Info.desired_number_of_colors = QuantizedGreyLevels;
            Quantize = true;
            Components = 1;
        } else {
            Info.out_color_space = JCS_EXT_BGRA;
            Components = 4;
        }
        return;
    }
}

// The decoder's work on rows [First, End) once the header is read.
TBandEnd DecodeBandOfHeader(jpeg_decompress_struct& Info, TLibJpegErrors& Errors,
                            const TJpegHeader& Header, const TJpegDecodeJob& Job, int First,
                            int End) {
    // The file may have changed since its header was read: it must still be the same picture.
    if (static_cast<int>(Info.image_width) != Header.Width ||
        static_cast<int>(Info.image_height) != Header.Height ||
        Info.num_components != Header.Components)
        return TBandEnd::Changed;
    bool Quantize = false;
    int Components = 0;
    ChooseOutput(Info, Job.Pixels, Quantize, Components);
    const bool Inverted = Info.saw_Adobe_marker;
    jpeg_start_decompress(&Info);
    if (Job.RowPixels < Header.Width) {
        JDIMENSION Left = 0;
        auto Columns = static_cast<JDIMENSION>(Job.RowPixels);
        jpeg_crop_scanline(&Info, &Left, &Columns);
    }
    if (static_cast<int>(Info.output_width) != Job.RowPixels ||
        Info.output_components != Components)
        return TBandEnd::Changed;
    const auto FirstRow = static_cast<JDIMENSION>(First);
    const auto EndRow = static_cast<JDIMENSION>(End);
    if (FirstRow > 0 && jpeg_skip_scanlines(&Info, FirstRow) != FirstRow)
        return TBandEnd::CutShort;
    // Quantized levels arrive in rows of libjpeg's pool and are spread into the places after.
    const JSAMPARRAY IndexRows =
        Quantize ? (*Info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&Info), JPOOL_IMAGE,
                                             Info.output_width, RowBatch)
                 : nullptr;
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
            Rows[Asked] = Job.RowOf(static_cast<int>(Base) + Asked);
        const JDIMENSION Read =
            jpeg_read_scanlines(&Info, Quantize ? IndexRows : Rows, static_cast<JDIMENSION>(Asked));
        if (Read == 0)
            break;
        for (JDIMENSION I = 0; I < Read; ++I) {
            if (Quantize)
                LevelsToBgra(IndexRows[I], Info.colormap[0], Rows[I], Job.RowPixels);
            else if (Job.Pixels == TJpegRowPixels::CmykAsRgba)
                CmykToRgba(Rows[I], Job.RowPixels, Inverted);
        }
    }
    if (Info.output_scanline < EndRow)
        return TBandEnd::CutShort;
    if (EndRow == Info.output_height) {
        // The picture is complete; a missing end marker after it does not matter, but what
        // follows the picture is still read.
        Errors.EndOfDataIsFatal = false;
        jpeg_finish_decompress(&Info);
    }
    return TBandEnd::Done;
}

std::function<void()>& SplitHook() {
    static std::function<void()> Hook;
    return Hook;
}

// Where a decoding is split: a whole number of row groups from the top, or 0 where it is not.
// The lower part's thread reads through the data of the rows above its part without making
// pixels, which costs about 60 % of decoding them; 70 % of the rows above the split balance the
// two threads. Columns left out cost nothing either way, so a cropped decoding gives the upper
// part more still: 80 %.
int SplitRow(const TJpegHeader& Header, const TJpegDecodeJob& Job) noexcept {
    const bool Quantized = Job.Pixels == TJpegRowPixels::BgraGreyQuantized; // dithered row by row
    if (!Job.TwoThreads || Quantized || Header.MultiScan || !HasSecondCore() ||
        std::uint64_t(Header.Width) * std::uint64_t(Header.Height) < JpegSplitMinPixels)
        return 0;
    const int Group = std::max(Header.RowGroup, 1);
    const std::int64_t Share = Job.RowPixels < Header.Width ? 80 : 70;
    const auto Split = static_cast<int>(Header.Height * Share / 100 / Group * Group);
    return Split > 0 && Split < Header.Height ? Split : 0;
}

} // namespace

TJpegResult TJpegRowDecoder::ReadHeader(TJpegHeader& Header, bool EndOfDataIsFatal) const noexcept {
    TLibJpegErrors Errors;
    Errors.EndOfDataIsFatal = EndOfDataIsFatal;
    jpeg_decompress_struct Info;
    const bool Read = RunLibJpeg(Info, Errors, [&] {
        if (FHandle >= 0)
            UseDescriptorSource(Info, FHandle);
        else
            jpeg_mem_src(&Info, FData, static_cast<unsigned long>(FSize));
        jpeg_read_header(&Info, TRUE);
        Header.Width = static_cast<int>(Info.image_width);
        Header.Height = static_cast<int>(Info.image_height);
        Header.Components = Info.num_components;
        Header.MultiScan = jpeg_has_multiple_scans(&Info);
        Header.RowGroup = Info.max_v_samp_factor * DCTSIZE;
    });
    return ResultOf(Errors, !Read);
}

TJpegResult TJpegRowDecoder::DecodeBand(const TJpegHeader& Header, const TJpegDecodeJob& Job,
                                        int First, int End) const noexcept {
    TLibJpegErrors Errors;
    Errors.EndOfDataIsFatal = Job.EndOfDataIsFatal;
    jpeg_decompress_struct Info;
    TBandEnd Ended = TBandEnd::Done;
    const bool Ran = RunLibJpeg(Info, Errors, [&] {
        if (FHandle >= 0)
            UseDescriptorSource(Info, FHandle);
        else
            jpeg_mem_src(&Info, FData, static_cast<unsigned long>(FSize));
        jpeg_read_header(&Info, TRUE);
        Ended = DecodeBandOfHeader(Info, Errors, Header, Job, First, End);
    });
    TJpegResult Result = ResultOf(Errors, !Ran);
    Result.Changed = Ran && Ended == TBandEnd::Changed;
    Result.CutShort = Ran && Ended == TBandEnd::CutShort;
    return Result;
}

TJpegResult TJpegRowDecoder::Decode(const TJpegHeader& Header,
                                    const TJpegDecodeJob& Job) const noexcept {
    const int Split = SplitRow(Header, Job);
    if (Split > 0) {
        try {
            if (SplitHook())
                SplitHook()();
            // Upper band first, lower band second; without a second thread the first is all.
            TJpegResult Bands[2];
            ForkJoin(0, Split, Header.Height, [&](int First, int End) {
                Bands[First == 0 ? 0 : 1] = DecodeBand(Header, Job, First, End);
            });
            TJpegResult& Result = Bands[0];
            if (Result.Ok() && !Bands[1].Ok())
                return Bands[1];
            if (Result.DamageCode == 0) {
                Result.DamageCode = Bands[1].DamageCode;
                std::memcpy(Result.DamageText, Bands[1].DamageText, sizeof Result.DamageText);
            }
            Result.SawEndOfData |= Bands[1].SawEndOfData;
            return Result;
        } catch (...) {
            // A test hook that failed: decode on this thread alone.
        }
    }
    return DecodeBand(Header, Job, 0, Header.Height);
}

int TJpegRowDecoder::RowPixels(const TJpegHeader& Header, int Columns) noexcept {
    return static_cast<int>(
        std::min<std::int64_t>(std::int64_t{Columns} + EdgeColumns, std::int64_t{Header.Width}));
}

void SetJpegSplitHook(std::function<void()> Hook) {
    SplitHook() = std::move(Hook);
}
