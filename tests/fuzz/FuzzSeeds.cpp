// Writes the seed corpus for the fuzz targets: small JPEG files of every kind the readers meet,
// and damaged ones. Usage: trayvane_fuzz_seeds FOLDER

#include "tests/support/JpegFixtures.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path Folder = argv[1];
    std::filesystem::create_directories(Folder);
    const auto Put = [&](const std::string& Name, const std::vector<std::uint8_t>& Data) {
        WriteFileBytes((Folder / Name).string(), Data);
    };
    TJpegWriteOptions Progressive;
    Progressive.Progressive = true;
    TJpegWriteOptions Restarts;
    Restarts.RestartInterval = 1;
    TJpegWriteOptions FullChroma;
    FullChroma.FullChroma = true;
    FullChroma.Quality = 100;

    const auto Colour = EncodeJpeg(GradientImage(40, 24, 3), TFixtureColor::YCbCr);
    Put("colour.jpg", Colour);
    Put("grey.jpg", EncodeJpeg(GradientImage(33, 17, 1), TFixtureColor::Grey));
    Put("cmyk.jpg", EncodeJpeg(GradientImage(24, 16, 4), TFixtureColor::Cmyk));
    Put("ycck.jpg", EncodeJpeg(GradientImage(24, 16, 4), TFixtureColor::Ycck));
    Put("two-channel.jpg", EncodeJpeg(GradientImage(16, 8, 2), TFixtureColor::TwoChannel));
    Put("progressive.jpg", EncodeJpeg(NoiseImage(35, 21, 3, 1), TFixtureColor::YCbCr, Progressive));
    Put("progressive-grey.jpg",
        EncodeJpeg(GradientImage(35, 21, 1), TFixtureColor::Grey, Progressive));
    Put("restarts.jpg", EncodeJpeg(NoiseImage(48, 32, 3, 2), TFixtureColor::YCbCr, Restarts));
    Put("full-chroma.jpg", EncodeJpeg(GradientImage(13, 7, 3), TFixtureColor::YCbCr, FullChroma));
    for (const int Width : {1, 2, 3, 5, 17})
        Put("width" + std::to_string(Width) + ".jpg",
            EncodeJpeg(GradientImage(Width, 5, 3), TFixtureColor::YCbCr));
    auto Cut = Colour;
    Cut.resize(Cut.size() * 2 / 3);
    Put("truncated.jpg", Cut);
    Put("no-tables.jpg", WithoutSegments(Colour, 0xDB));
    Put("bomb.jpg", WithFrameSize(Colour, 65500, 65500));
    Put("large-claim.jpg", WithFrameSize(Colour, 14000, 6000));
    Put("random.jpg", RandomBytes(600, 5));
    Put("png.jpg", PngBytes());
    Put("empty.jpg", {});
    return 0;
}
