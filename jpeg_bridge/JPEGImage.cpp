#include "jpeg_bridge/JPEGImage.h"

#include "base/FileStream.h"
#include "jpeg_bridge/LibJpeg.h"
#include "raster/Bitmap32.h"

namespace {

// Reads the header of the JPEG data. Returns 0, or libjpeg's message code.
int ReadHeaderSize(const std::uint8_t* Data, std::size_t Size, int* Width, int* Height) noexcept {
    TLibJpegErrors Errors;
    jpeg_decompress_struct Info;
    if (!RunLibJpeg(Info, Errors, [&] {
            jpeg_mem_src(&Info, Data, static_cast<unsigned long>(Size));
            jpeg_read_header(&Info, TRUE);
            *Width = static_cast<int>(Info.image_width);
            *Height = static_cast<int>(Info.image_height);
        }))
        return Errors.MessageCode;
    return 0;
}

// The decoded picture's buffer: 24-bit blue-green-red rows, bottom row first.
struct TBgrTarget {
    std::uint8_t* Bits;
    std::size_t Stride;
    int Width;
    int Height;
};

// Decodes the JPEG data into Target, which has the header's size. Returns 0, or libjpeg's
// message code.
int DecodeToBgr(const std::uint8_t* Data, std::size_t Size, const TBgrTarget& Target) noexcept {
    TLibJpegErrors Errors;
    jpeg_decompress_struct Info;
    int Code = 0;
    if (!RunLibJpeg(Info, Errors, [&] {
            jpeg_mem_src(&Info, Data, static_cast<unsigned long>(Size));
            jpeg_read_header(&Info, TRUE);
            Info.scale_num = 1;
            Info.scale_denom = 1;
            Info.do_block_smoothing = TRUE;
            const bool Grey = Info.jpeg_color_space == JCS_GRAYSCALE;
            if (Grey) {
                Info.quantize_colors = TRUE;
                Info.desired_number_of_colors = 236;
            } else {
                Info.out_color_space = JCS_EXT_BGR;
            }
            jpeg_start_decompress(&Info);
            if (static_cast<int>(Info.output_width) != Target.Width ||
                static_cast<int>(Info.output_height) != Target.Height ||
                Info.output_components != (Grey ? 1 : 3)) {
                Code = JERR_NOTIMPL; // not reached: the header was read from the same data
                return;
            }
            // Grey levels arrive as indices into libjpeg's colour map; the row lives in
            // libjpeg's pool.
            JSAMPARRAY IndexRow =
                Grey ? (*Info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&Info), JPOOL_IMAGE,
                                                 Info.output_width, 1)
                     : nullptr;
            while (Info.output_scanline < Info.output_height) {
                const std::size_t Row = Info.output_scanline;
                std::uint8_t* Line =
                    Target.Bits +
                    (static_cast<std::size_t>(Target.Height) - 1 - Row) * Target.Stride;
                JSAMPROW Rows[1] = {Grey ? IndexRow[0] : Line};
                if (jpeg_read_scanlines(&Info, Rows, 1) != 1)
                    break;
                if (Grey) {
                    const JSAMPLE* Levels = Info.colormap[0];
                    for (int X = 0; X < Target.Width; ++X) {
                        const JSAMPLE Level = Levels[IndexRow[0][X]];
                        Line[3 * X] = Level;
                        Line[3 * X + 1] = Level;
                        Line[3 * X + 2] = Level;
                    }
                }
            }
            if (Info.output_scanline < Info.output_height) {
                Code = JERR_TOO_LITTLE_DATA;
                return;
            }
            jpeg_finish_decompress(&Info);
        }))
        return Errors.MessageCode;
    return Code;
}

} // namespace

std::string JpegErrorMessage(int MessageCode) {
    return "JPEG error #" + std::to_string(MessageCode);
}

void TJPEGImage::LoadFromData(std::vector<std::uint8_t> Data) {
    int Width = 0;
    int Height = 0;
    if (!Data.empty()) {
        if (const int Code = ReadHeaderSize(Data.data(), Data.size(), &Width, &Height))
            throw EJPEG(JpegErrorMessage(Code));
        if (std::int64_t{Width} * Height > MaxJpegPixels)
            throw EJPEG(JpegErrorMessage(JERR_IMAGE_TOO_BIG));
    }
    FData = std::move(Data);
    FWidth = Width;
    FHeight = Height;
    FDecoded.reset();
}

void TJPEGImage::LoadFromStream(TFileStream& Stream) {
    LoadFromData(Stream.ReadAll());
}

const TBitmap& TJPEGImage::Decoded() const {
    if (!FDecoded) {
        auto Bitmap = std::make_unique<TBitmap>();
        Bitmap->SetPixelFormat(TPixelFormat::pf24bit);
        Bitmap->SetSize(FWidth, FHeight);
        if (FWidth > 0 && FHeight > 0) {
            const auto Storage = Bitmap->QueryStorage();
            const TBgrTarget Target{Storage->Bits, static_cast<std::size_t>(Storage->Stride),
                                    FWidth, FHeight};
            if (const int Code = DecodeToBgr(FData.data(), FData.size(), Target))
                throw EJPEG(JpegErrorMessage(Code));
        }
        FDecoded = std::move(Bitmap);
    }
    return *FDecoded;
}

void TJPEGImage::Draw(TBitmap32& Target) const {
    Decoded().Draw(Target);
}

void RegisterJpegPictures(TPictureRegistry& Registry) {
    Registry.RegisterKind<TJPEGImage>("jpg", "TJPEGImage");
    Registry.RegisterKind<TJPEGImage>("jpeg", "TJPEGImage");
}
