#include "jpeg_bridge/JPEGImage.h"

#include "base/FileStream.h"
#include "jpeg_bridge/LibJpeg.h"
#include "raster/Bitmap.h"

#include <cstring>

std::string JpegErrorMessage(int MessageCode) {
    return "JPEG error #" + std::to_string(MessageCode);
}

void TJPEGImage::LoadFromData(std::vector<std::uint8_t> Data) {
    TJpegHeader Header;
    if (!Data.empty()) {
        const TJpegResult Result =
            TJpegRowDecoder::OfData(Data.data(), Data.size()).ReadHeader(Header, false);
        if (!Result.Ok())
            throw EJPEG(JpegErrorMessage(Result.MessageCode));
        if (std::int64_t{Header.Width} * Header.Height > MaxJpegPixels)
            throw EJPEG(JpegErrorMessage(JERR_IMAGE_TOO_BIG));
    }
    FData = std::move(Data);
    FHeader = Header;
    FWidth = Header.Width;
    FHeight = Header.Height;
    FDecoded.reset();
}

void TJPEGImage::LoadFromStream(TFileStream& Stream) {
    LoadFromData(Stream.ReadAll());
}

const TBitmap32& TJPEGImage::Decoded() const {
    if (!FDecoded) {
        auto Bitmap = std::make_unique<TBitmap32>();
        if (FWidth > 0 && FHeight > 0) {
            try {
                Bitmap->SetDimensions(FWidth, FHeight);
            } catch (const Exception&) {
                throw EOutOfResources(OutOfResourcesMessage);
            }
            Bitmap->PixelsForOverwrite(Bitmap->FullArea());
            // libjpeg's warnings (damaged or missing data) are ignored, and what is missing
            // comes out grey; one thread, as the dithering of grey files runs on from row to
            // row.
            TJpegDecodeJob Job;
            Job.Pixels = TJpegRowPixels::BgraGreyQuantized;
            Job.RowPixels = FWidth;
            Job.RowOf = [&Bitmap](int Y) {
                return reinterpret_cast<std::uint8_t*>(Bitmap->ScanLine(Y));
            };
            Job.EndOfDataIsFatal = false;
            const TJpegResult Result =
                TJpegRowDecoder::OfData(FData.data(), FData.size()).Decode(FHeader, Job);
            if (!Result.Ok())
                throw EJPEG(JpegErrorMessage(Result.MessageCode != 0 ? Result.MessageCode
                                             : Result.CutShort       ? JERR_TOO_LITTLE_DATA
                                                                     : JERR_NOTIMPL));
        }
        FDecoded = std::move(Bitmap);
    }
    return *FDecoded;
}

void TJPEGImage::Draw(TBitmap32& Target) const {
    const TBitmap32& Picture = Decoded();
    const auto RowBytes = static_cast<std::size_t>(FWidth) * sizeof(TColor32);
    for (int Y = 0; Y < FHeight; ++Y)
        std::memcpy(Target.ScanLine(Y), Picture.ScanLine(Y), RowBytes);
}

void RegisterJpegPictures(TPictureRegistry& Registry) {
    Registry.RegisterKind<TJPEGImage>("jpg", "TJPEGImage");
    Registry.RegisterKind<TJPEGImage>("jpeg", "TJPEGImage");
}
