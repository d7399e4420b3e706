#pragma once

// TJPEGImage: a JPEG picture as the picture container reads it. Loading keeps the file's bytes
// and reads the size from the JPEG header; the first Draw decodes the whole picture from those
// bytes with the program's JPEG decoder (jpeg_bridge/JpegRowDecoder.h) and keeps the result.
// Decoding is at full size with block smoothing, straight into a TBitmap32 that is kept; colour
// files keep their colours, grey-scale files are quantized by libjpeg to at most 236 grey levels
// with its default dithering. libjpeg's warnings (damaged or missing data) are ignored and
// decoding goes on.

#include "jpeg_bridge/JpegRowDecoder.h"
#include "raster/Bitmap32.h"
#include "raster/Graphic.h"
#include "raster/Picture.h"
#include "raster/PictureLimits.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A fatal libjpeg error; the message is "JPEG error #%d" with libjpeg's message code.
DECLARE_EXCEPTION_CLASS(EJPEG, Exception);

std::string JpegErrorMessage(int MessageCode);

class TJPEGImage : public TGraphic {
public:
    const char* ClassName() const noexcept override { return "TJPEGImage"; }
    int Width() const noexcept override { return FWidth; }
    int Height() const noexcept override { return FHeight; }

    // Keeps the bytes and, when there is at least one, reads the header for the size. Throws
    // EJPEG when libjpeg fails on the header, and EJPEG with libjpeg's JERR_IMAGE_TOO_BIG when
    // the picture has more than MaxJpegPixels pixels; the picture is then unchanged.
    void LoadFromData(std::vector<std::uint8_t> Data);
    void LoadFromStream(TFileStream& Stream) override;

    // Decodes on first use (EJPEG on a fatal libjpeg error, EOutOfResources when the decoded
    // picture cannot be held) and copies the picture upright into Target.
    void Draw(TBitmap32& Target) const override;

private:
    const TBitmap32& Decoded() const;

    std::vector<std::uint8_t> FData;
    TJpegHeader FHeader;
    int FWidth = 0;
    int FHeight = 0;
    mutable std::unique_ptr<TBitmap32> FDecoded;
};

// Adds "jpg" and "jpeg" TJPEGImage to Registry (the program's by default), after the kinds
// already there, so that they win over any earlier entry of those extensions. The programs call
// it once at start; calling it again adds nothing.
void RegisterJpegPictures(TPictureRegistry& Registry = PictureRegistry());
