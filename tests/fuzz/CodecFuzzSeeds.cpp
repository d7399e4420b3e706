// Writes the seed corpus for the fuzz targets of the codec pictures and of the EXIF orientation
// parser: small PNG, TIFF and WebP files of every sample layout, JPEG files with EXIF blocks, and
// damaged ones, each kind in a folder of its own. Usage: trayvane_codec_fuzz_seeds FOLDER

#include "tests/support/ExifFixtures.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/PictureFixtures.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

TSampleImage Samples(int Width, int Height, int Channels, int BitDepth) {
    TSampleImage Image{Width, Height, Channels, BitDepth, {}};
    const int Max = (1 << BitDepth) - 1;
    for (int I = 0; I < Width * Height * Channels; ++I)
        Image.Samples.push_back(static_cast<std::uint16_t>((I * 37 + I / 7) % (Max + 1)));
    return Image;
}

TPaletteImage Palette(int BitDepth) {
    TPaletteImage Image{Samples(9, 7, 1, BitDepth), {}};
    for (int I = 0; I < (1 << BitDepth); ++I)
        Image.Palette.push_back({static_cast<std::uint8_t>(I * 17), static_cast<std::uint8_t>(I),
                                 static_cast<std::uint8_t>(255 - I),
                                 static_cast<std::uint8_t>(I % 3 == 0 ? 128 : 255)});
    return Image;
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> Data) {
    Data.resize(Data.size() * 2 / 3);
    return Data;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path Folder = argv[1];
    for (const char* Kind : {"png", "tiff", "webp", "exif"})
        std::filesystem::create_directories(Folder / Kind);
    const auto Put = [&](const char* Kind, const std::string& Name,
                         const std::vector<std::uint8_t>& Data) {
        WriteFileBytes((Folder / Kind / Name).string(), Data);
    };

    Put("png", "rgb8.png", EncodePng(Samples(13, 9, 3, 8)));
    Put("png", "rgba16.png", EncodePng(Samples(7, 5, 4, 16)));
    Put("png", "grey1.png", EncodePng(Samples(17, 3, 1, 1)));
    Put("png", "grey-alpha8.png", EncodePng(Samples(6, 6, 2, 8)));
    Put("png", "interlaced.png", EncodePng(Samples(11, 10, 3, 8), true));
    Put("png", "palette4.png", EncodePalettePng(Palette(4)));
    Put("png", "palette8.png", EncodePalettePng(Palette(8)));
    Put("png", "cut.png", Cut(EncodePng(Samples(20, 20, 3, 8))));
    Put("png", "huge-header.png", PngStart(70000, 70000, false));

    Put("tiff", "rgb8.tif", EncodeTiff(Samples(13, 9, 3, 8)));
    Put("tiff", "rgba16-deflate.tif", EncodeTiff(Samples(7, 5, 4, 16), TTiffCompression::Deflate));
    Put("tiff", "grey8-lzw.tif", EncodeTiff(Samples(9, 9, 1, 8), TTiffCompression::Lzw, 2));
    Put("tiff", "grey16.tif", EncodeTiff(Samples(5, 4, 1, 16)));
    Put("tiff", "palette8.tif", EncodePaletteTiff(Palette(8)));
    Put("tiff", "cut.tif", Cut(EncodeTiff(Samples(20, 20, 3, 8))));

    Put("webp", "lossless.webp", EncodeWebP(Samples(13, 9, 4, 8), true));
    Put("webp", "lossy.webp", EncodeWebP(Samples(16, 16, 4, 8), false, 80));
    Put("webp", "cut.webp", Cut(EncodeWebP(Samples(20, 20, 4, 8), true)));

    const auto Jpeg = EncodeJpeg(GradientImage(16, 8, 3), TFixtureColor::YCbCr);
    Put("exif", "none.jpg", Jpeg);
    for (const int Value : {1, 3, 6, 8})
        Put("exif", "le" + std::to_string(Value) + ".jpg", WithExifOrientation(Jpeg, Value));
    Put("exif", "be5.jpg", WithExifOrientation(Jpeg, 5, true));
    Put("exif", "xmp-then-exif.jpg",
        WithSegment(WithExifOrientation(Jpeg, 7), App1Segment({'<', '/', '>'}, "XMP")));
    return 0;
}
