#include "picture_codecs/PNGImage.h"

#include "base/FileStream.h"
#include "picture_codecs/ExifBlockOrientation.h"

#include <png.h>

#include <cstring>

namespace {

// One decoding: the file, how far the rows got, and how it ended. Plain data only: libpng
// reports a fatal error by a long jump across the frames that hold this.
struct TPngJob {
    TFileStream* Stream;
    TDecodedPixels* Picture; // in the caller's frame
    int Orientation;
    bool RowsDone; // every row decoded: what fails after them does not matter
    bool TooLarge; // the header's size is refused: HeaderWidth x HeaderHeight
    png_uint_32 HeaderWidth;
    png_uint_32 HeaderHeight;
    bool OutOfMemory;
    bool ReadFailed; // the system failed a read: Message holds its text
    char Message[512];
};

void KeepMessage(TPngJob& Job, const char* Message) noexcept {
    std::strncpy(Job.Message, Message ? Message : "unknown error", sizeof Job.Message - 1);
    Job.Message[sizeof Job.Message - 1] = '\0';
}

void OnReadError(png_structp Png, png_const_charp Message) {
    auto* Job = static_cast<TPngJob*>(png_get_error_ptr(Png));
    if (!Job->ReadFailed)
        KeepMessage(*Job, Message);
    png_longjmp(Png, 1);
}

void OnReadWarning(png_structp, png_const_charp) {}

// Reads what libpng asks for from the file, no more: a file is read only as far as its chunks
// reach.
void ReadPngData(png_structp Png, png_bytep Target, png_size_t Length) {
    auto* Job = static_cast<TPngJob*>(png_get_io_ptr(Png));
    std::size_t Got = 0;
    // The jump out of libpng is made after the handlers: never from inside one.
    try {
        Got = Job->Stream->Read(Target, Length);
    } catch (const Exception& Error) {
        Job->ReadFailed = true;
        KeepMessage(*Job, Error.Message().c_str());
    } catch (...) {
        Job->OutOfMemory = true;
    }
    if (Job->ReadFailed || Job->OutOfMemory)
        png_error(Png, "read error");
    if (Got != Length)
        png_error(Png, "the file ends before the picture does");
}

// Sizes the picture from inside libpng's frames: nothing may be thrown there.
bool SizePicture(TPngJob& Job, png_uint_32 Width, png_uint_32 Height) noexcept {
    if (!IsDecodableSize(Width, Height)) {
        Job.TooLarge = true;
        Job.HeaderWidth = Width;
        Job.HeaderHeight = Height;
        return false;
    }
    Job.Picture->SetSize(static_cast<int>(Width), static_cast<int>(Height));
    return true;
}

// Row Y of the picture, its band taken when needed; null when there is no memory for it.
png_bytep RowOf(TPngJob& Job, png_uint_32 Y) noexcept {
    try {
        return reinterpret_cast<png_bytep>(Job.Picture->Row(static_cast<int>(Y)));
    } catch (...) {
        Job.OutOfMemory = true;
        return nullptr;
    }
}

// The orientation of the eXIf chunk read so far, if there is one.
void TakeOrientation(TPngJob& Job, png_structp Png, png_infop Info) noexcept {
    png_uint_32 Size = 0;
    png_bytep Exif = nullptr;
    if (png_get_eXIf_1(Png, Info, &Size, &Exif) != 0 && Exif)
        Job.Orientation = ExifBlockOrientation(Exif, Size);
}

// Decodes Job's file into its picture as blue, green, red, alpha. False when libpng or the size
// stopped it. Kept out of line so that the jump target's frame is this function alone.
[[gnu::noinline]] bool RunPngDecode(TPngJob& Job) noexcept {
    png_structp Png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &Job, OnReadError, OnReadWarning);
    if (!Png) {
        Job.OutOfMemory = true;
        return false;
    }
    png_infop Info = png_create_info_struct(Png);
    if (!Info) {
        png_destroy_read_struct(&Png, nullptr, nullptr);
        Job.OutOfMemory = true;
        return false;
    }
    if (setjmp(png_jmpbuf(Png))) {
        png_destroy_read_struct(&Png, &Info, nullptr);
        return Job.RowsDone;
    }
    png_set_read_fn(Png, &Job, ReadPngData);
    // The signature was read and checked before.
    png_set_sig_bytes(Png, 8);
    // Ancillary chunks of a hostile file may not hold much memory.
    png_set_chunk_malloc_max(Png, 8u << 20);
    png_read_info(Png, Info);
    TakeOrientation(Job, Png, Info);
    const png_uint_32 Width = png_get_image_width(Png, Info);
    const png_uint_32 Height = png_get_image_height(Png, Info);
    if (!SizePicture(Job, Width, Height))
        png_error(Png, "too large");

    // Everything to 8-bit blue, green, red, alpha.
    png_set_expand(Png); // palette to colour, small grey levels to 8 bits, transparency to alpha
    png_set_scale_16(Png);
    png_set_gray_to_rgb(Png);
    png_set_bgr(Png);
    png_set_add_alpha(Png, 0xFF, PNG_FILLER_AFTER); // no effect where there is alpha already
    const int Passes = png_set_interlace_handling(Png);
    png_read_update_info(Png, Info);
    if (png_get_rowbytes(Png, Info) != std::size_t{Width} * 4)
        png_error(Png, "unexpected row layout");
    // Each row's band is taken when the row is first decoded: memory grows with the data.
    for (int Pass = 0; Pass < Passes; ++Pass)
        for (png_uint_32 Y = 0; Y < Height; ++Y) {
            const png_bytep Row = RowOf(Job, Y);
            if (!Row)
                png_error(Png, "out of memory");
            png_read_row(Png, Row, nullptr);
        }
    Job.RowsDone = true;
    // An eXIf chunk may also follow the picture data.
    png_read_end(Png, Info);
    TakeOrientation(Job, Png, Info);
    png_destroy_read_struct(&Png, &Info, nullptr);
    return true;
}

} // namespace

TDecodedFile TPNGImage::Decode(TFileStream& Stream) const {
    png_byte Signature[8];
    if (Stream.Read(Signature, sizeof Signature) != sizeof Signature ||
        png_sig_cmp(Signature, 0, sizeof Signature) != 0)
        throw EPNGError("PNG error: not a PNG file");
    TDecodedFile Picture;
    TPngJob Job{&Stream, &Picture.Pixels, 1, false, false, 0, 0, false, false, {}};
    if (!RunPngDecode(Job)) {
        if (Job.ReadFailed)
            throw EReadError(Job.Message);
        if (Job.OutOfMemory)
            ThrowOutOfMemory();
        if (Job.TooLarge)
            throw EPNGError(UndecodableSizeMessage("PNG", Job.HeaderWidth, Job.HeaderHeight));
        throw EPNGError(std::string("PNG error: ") + Job.Message);
    }
    Picture.Pixels.LayOverWhite();
    Picture.Orientation = Job.Orientation;
    return Picture;
}
