#include "picture_codecs/PNGImage.h"

#include <png.h>

#include <cstring>

namespace {

// One decoding: the data, where libpng reads next, and how it ended. Plain data only: libpng
// reports a fatal error by a long jump across the frames that hold this.
struct TPngJob {
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t At;
    TDecodedPixels* Picture; // sized by SizePicture, in the caller's frame
    bool TooLarge;           // the header's size is refused: HeaderWidth x HeaderHeight
    png_uint_32 HeaderWidth;
    png_uint_32 HeaderHeight;
    bool OutOfMemory;
    char Message[256];
};

void OnError(png_structp Png, png_const_charp Message) {
    auto* Job = static_cast<TPngJob*>(png_get_error_ptr(Png));
    std::strncpy(Job->Message, Message ? Message : "unknown error", sizeof Job->Message - 1);
    Job->Message[sizeof Job->Message - 1] = '\0';
    png_longjmp(Png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadData(png_structp Png, png_bytep Target, png_size_t Length) {
    auto* Job = static_cast<TPngJob*>(png_get_io_ptr(Png));
    if (Length > Job->Size - Job->At)
        png_error(Png, "the file ends before the picture does");
    std::memcpy(Target, Job->Data + Job->At, Length);
    Job->At += Length;
}

// Sizes the picture from inside libpng's frames: nothing may be thrown there.
bool SizePicture(TPngJob& Job, png_uint_32 Width, png_uint_32 Height) noexcept {
    if (!IsDecodableSize(Width, Height)) {
        Job.TooLarge = true;
        Job.HeaderWidth = Width;
        Job.HeaderHeight = Height;
        return false;
    }
    try {
        Job.Picture->Pixels.assign(std::size_t{Width} * Height, 0);
    } catch (...) {
        Job.OutOfMemory = true;
        return false;
    }
    Job.Picture->Width = static_cast<int>(Width);
    Job.Picture->Height = static_cast<int>(Height);
    return true;
}

// Decodes Job's data into its picture as blue, green, red, alpha. False when libpng or the size
// stopped it. Kept out of line so that the jump target's frame is this function alone.
[[gnu::noinline]] bool RunPngDecode(TPngJob& Job) noexcept {
    png_structp Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &Job, OnError, OnWarning);
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
        return false;
    }
    png_set_read_fn(Png, &Job, ReadData);
    // Ancillary chunks of a hostile file may not hold much memory.
    png_set_chunk_malloc_max(Png, 8u << 20);
    png_read_info(Png, Info);
    const png_uint_32 Width = png_get_image_width(Png, Info);
    const png_uint_32 Height = png_get_image_height(Png, Info);
    if (!SizePicture(Job, Width, Height))
        png_error(Png, Job.TooLarge ? "too large" : "out of memory");

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
    for (int Pass = 0; Pass < Passes; ++Pass)
        for (png_uint_32 Y = 0; Y < Height; ++Y)
            png_read_row(
                Png,
                reinterpret_cast<png_bytep>(Job.Picture->Pixels.data() + std::size_t{Y} * Width),
                nullptr);
    png_destroy_read_struct(&Png, &Info, nullptr);
    return true;
}

} // namespace

TDecodedPixels TPNGImage::Decode(const std::vector<std::uint8_t>& Data) const {
    if (Data.size() < 8 || png_sig_cmp(Data.data(), 0, 8) != 0)
        throw EPNGError("PNG error: not a PNG file");
    TDecodedPixels Picture;
    TPngJob Job{Data.data(), Data.size(), 0, &Picture, false, 0, 0, false, {}};
    if (!RunPngDecode(Job)) {
        if (Job.OutOfMemory)
            ThrowOutOfMemory();
        if (Job.TooLarge)
            throw EPNGError(UndecodableSizeMessage("PNG", Job.HeaderWidth, Job.HeaderHeight));
        throw EPNGError(std::string("PNG error: ") + Job.Message);
    }
    LayOverWhite(Picture.Pixels);
    return Picture;
}
