#include "bench/ScanPicture.h"

#include "jpeg_bridge/LibJpeg.h"
#include "raster/Bitmap32.h"

#include "tests/support/MadeCovers.h"
#include "tests/support/MadeScans.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <utility>

TRgbPicture MakeScanPicture(int Width, int Height, std::uint32_t Seed) {
    TRgbPicture Picture{Width, Height, std::vector<std::uint8_t>(std::size_t(Width) * Height * 3)};
    std::mt19937 Random(Seed);
    std::uniform_int_distribution<int> Grain(-12, 12);
    // Panels and waves scale with the picture, so that every size looks like the same cover.
    const double Scale = Width / 6000.0;
    const int PanelW = std::max(1, static_cast<int>(750 * Scale));
    const int PanelH = std::max(1, static_cast<int>(600 * Scale));
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) {
            const bool Panel = ((X / PanelW) + (Y / PanelH)) % 2 == 0;
            const double Wave = std::sin(X * 0.004 / Scale) * std::cos(Y * 0.006 / Scale);
            const int Base[3] = {Panel ? 180 : 40, int(110 + 90 * Wave), Panel ? 60 : 200};
            std::uint8_t* P = Picture.Samples.data() + (std::size_t(Y) * Width + X) * 3;
            for (int C = 0; C < 3; ++C)
                P[C] = static_cast<std::uint8_t>(std::clamp(Base[C] + Grain(Random), 0, 255));
        }
    return Picture;
}

int WriteJpegPicture(const std::string& FileName, const TRgbPicture& Picture, int Width, int Height,
                     int Quality) noexcept {
    std::FILE* File = std::fopen(FileName.c_str(), "wb");
    if (!File)
        return -1;
    TLibJpegErrors Errors;
    jpeg_compress_struct Info;
    if (!RunLibJpeg(Info, Errors, [&] {
            jpeg_stdio_dest(&Info, File);
            Info.image_width = static_cast<JDIMENSION>(Width);
            Info.image_height = static_cast<JDIMENSION>(Height);
            Info.input_components = 3;
            Info.in_color_space = JCS_RGB;
            jpeg_set_defaults(&Info);
            jpeg_set_quality(&Info, Quality, TRUE);
            jpeg_start_compress(&Info, TRUE);
            const std::size_t RowBytes = std::size_t(Picture.Width) * 3;
            while (Info.next_scanline < Info.image_height) {
                JSAMPROW Row[1] = {const_cast<JSAMPLE*>(Picture.Samples.data()) +
                                   Info.next_scanline * RowBytes};
                jpeg_write_scanlines(&Info, Row, 1);
            }
            jpeg_finish_compress(&Info);
        })) {
        std::fclose(File);
        return Errors.MessageCode;
    }
    return std::fclose(File);
}

const TBitmap32& FlatbedScan(int DotsPerInch, double TiltDegrees) {
    static std::map<std::pair<int, double>, std::unique_ptr<TBitmap32>> Made;
    std::unique_ptr<TBitmap32>& Scan = Made[{DotsPerInch, TiltDegrees}];
    if (!Scan) {
        const double PerMm = DotsPerInch / 25.4;
        TCoverDesign Design;
        Design.Width = static_cast<int>(std::lround(151 * PerMm));
        Design.Height = static_cast<int>(std::lround(118 * PerMm));
        Design.SpineLeft = Design.Width - static_cast<int>(std::lround(6 * PerMm));
        Design.SpineRight = Design.Width;
        TBitmap32 Card;
        MakeCover(Design, Card);
        TScanSetup Setup;
        Setup.TiltDegrees = TiltDegrees;
        Setup.Width = static_cast<int>(std::lround(210 * PerMm));
        Setup.Height = static_cast<int>(std::lround(297 * PerMm));
        Setup.EdgeBlur = DotsPerInch / 200.0;
        Scan = std::make_unique<TBitmap32>();
        MakeScan(Card, Setup, *Scan);
    }
    return *Scan;
}
