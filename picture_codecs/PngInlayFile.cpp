// The PNG writer of picture_codecs/LosslessInlayFile.h, on libpng.

#include "picture_codecs/EncodedFile.h"
#include "picture_codecs/LosslessInlayFile.h"

#include "jpeg_bridge/JpegFile.h"

#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstring>
#include <vector>

namespace {

// What the encoding callbacks reach: the bytes made so far and libpng's first error. Plain data
// only, as libpng's error exit jumps across the frames that use it.
struct TPngTarget {
    std::vector<std::uint8_t>* Bytes;
    char Message[256];
};

void OnWriteError(png_structp Png, png_const_charp Message) {
    auto* const Target = static_cast<TPngTarget*>(png_get_error_ptr(Png));
    std::snprintf(Target->Message, sizeof Target->Message, "%s", Message);
    png_longjmp(Png, 1);
}

void OnWriteWarning(png_structp, png_const_charp) {}

void OnWrite(png_structp Png, png_bytep Data, png_size_t Length) {
    auto* const Target = static_cast<TPngTarget*>(png_get_io_ptr(Png));
    // A failure to grow is turned into libpng's error exit, as no exception may cross it.
    try {
        Target->Bytes->insert(Target->Bytes->end(), Data, Data + Length);
    } catch (...) {
        png_error(Png, "out of memory");
    }
}

void OnFlush(png_structp) {}

// Pixels per metre of Density: its dots per inch over 0.0254, rounded.
png_uint_32 PixelsPerMetre(const TPrintDensity& Density) {
    return static_cast<png_uint_32>(
        std::lround(static_cast<double>(Density.Numerator) * 10000.0 /
                    (254.0 * static_cast<double>(Density.Denominator))));
}

// Encodes with libpng; no object with a destructor lives in this frame, which libpng's error
// exit leaves by a long jump. Returns false after an error, its text in Target.Message.
bool EncodePng(const TBitmap32& Bitmap, const TPrintDensity& Density, TPngTarget& Target,
               std::uint8_t* Row) {
    png_structp Png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &Target, OnWriteError, OnWriteWarning);
    if (!Png) {
        std::snprintf(Target.Message, sizeof Target.Message, "out of memory");
        return false;
    }
    png_infop Info = png_create_info_struct(Png);
    if (!Info || setjmp(png_jmpbuf(Png))) {
        png_destroy_write_struct(&Png, Info ? &Info : nullptr);
        if (Target.Message[0] == '\0')
            std::snprintf(Target.Message, sizeof Target.Message, "out of memory");
        return false;
    }
    png_set_write_fn(Png, &Target, OnWrite, OnFlush);
    png_set_IHDR(Png, Info, static_cast<png_uint_32>(Bitmap.Width()),
                 static_cast<png_uint_32>(Bitmap.Height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (Density.IsSet()) {
        const png_uint_32 Ppm = PixelsPerMetre(Density);
        png_set_pHYs(Png, Info, Ppm, Ppm, PNG_RESOLUTION_METER);
    }
    png_write_info(Png, Info);
    for (int Y = 0; Y < Bitmap.Height(); ++Y) {
        BitmapRgbRow(Bitmap, Y, Row);
        png_write_row(Png, Row);
    }
    png_write_end(Png, Info);
    png_destroy_write_struct(&Png, &Info);
    return true;
}

} // namespace

void SavePngFile(const TBitmap32& Bitmap, const std::string& FileName,
                 const TPrintDensity& Density) {
    if (Bitmap.IsEmpty())
        throw Exception(NoImageToSaveMessage);
    std::vector<std::uint8_t> Bytes;
    std::vector<std::uint8_t> Row(static_cast<std::size_t>(Bitmap.Width()) * 3);
    TPngTarget Target{&Bytes, {}};
    if (!EncodePng(Bitmap, Density, Target, Row.data()))
        throw ELosslessWriteError(std::string("PNG error: ") + Target.Message);
    WriteEncodedFile(FileName, Bytes);
}
