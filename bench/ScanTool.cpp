// What scripts/measure-speed needs besides the programs it measures:
//
//   scan_tool write FILE WIDTH HEIGHT QUALITY [SEED]   writes a seeded scan (bench/ScanPicture.h)
//   scan_tool geometry WIDTH HEIGHT [SPINE]            prints the inlay's geometry for the layout
//                                                      the proportions give, as shell variables
//   scan_tool flatbed FILE DPI TILT                    writes a flatbed scan of A4 at DPI: a back
//                                                      card tilted by TILT degrees on a white lid

#include "bench/ScanPicture.h"
#include "composer/InlayLayout.h"
#include "composer/TrayInlay.h"
#include "raster/Bitmap32.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const std::string Command = argc > 1 ? argv[1] : "";
    if (Command == "write" && (argc == 6 || argc == 7)) {
        const int Width = std::atoi(argv[3]), Height = std::atoi(argv[4]);
        const auto Seed =
            argc == 7 ? static_cast<std::uint32_t>(std::strtoul(argv[6], nullptr, 10)) : 20240611u;
        return WriteJpegPicture(argv[2], MakeScanPicture(Width, Height, Seed), Width, Height,
                                std::atoi(argv[5])) == 0
                   ? 0
                   : 1;
    }
    if (Command == "geometry" && (argc == 4 || argc == 5)) {
        const int Width = std::atoi(argv[2]), Height = std::atoi(argv[3]);
        const int Spine = argc == 5 ? std::atoi(argv[4]) : 0;
        const TInlayLayout Layout = ChooseInlayLayout(Width, Height);
        const TInlayGeometry G = ComputeInlayGeometry(Width, Height, Layout, Spine);
        std::printf(
            "LAYOUT=%s\nSPINE=%d\nBACK=%d\nUSED=%lld\nINLAY_WIDTH=%lld\nINLAY_HEIGHT=%lld\n",
            Layout == TInlayLayout::BackAndFront ? "back-and-front" : "back", G.SpineWidth,
            G.BackWidth, static_cast<long long>(G.ComposedWidth - G.SpineWidth),
            static_cast<long long>(G.ComposedWidth), static_cast<long long>(G.NormalHeight));
        return 0;
    }
    if (Command == "flatbed" && argc == 5) {
        const TBitmap32& Scan = FlatbedScan(std::atoi(argv[3]), std::atof(argv[4]));
        TRgbPicture Picture{Scan.Width(), Scan.Height(), {}};
        for (int Y = 0; Y < Scan.Height(); ++Y)
            for (int X = 0; X < Scan.Width(); ++X)
                for (const int Shift : {16, 8, 0})
                    Picture.Samples.push_back(
                        static_cast<std::uint8_t>((Scan.Pixel(X, Y) >> Shift) & 0xFF));
        return WriteJpegPicture(argv[2], Picture, Picture.Width, Picture.Height, 92) == 0 ? 0 : 1;
    }
    std::fprintf(stderr, "usage: scan_tool write FILE WIDTH HEIGHT QUALITY [SEED]\n"
                         "       scan_tool geometry WIDTH HEIGHT [SPINE]\n"
                         "       scan_tool flatbed FILE DPI TILT\n");
    return 2;
}
