#include "tests/support/JpegFixtures.h"

#include "jpeg_bridge/LibJpeg.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace {

// libjpeg's memory destination hands out a malloc'ed block.
struct TMemoryOut {
    unsigned char* Data = nullptr;
    unsigned long Size = 0;
};

// A progressive scan script of exactly Count scans for three components: one DC scan, then for
// every component and every AC coefficient a first scan and its refinements, as many as it takes.
std::vector<jpeg_scan_info> ScanScript(int Count) {
    constexpr int Components = 3, Coefficients = 63, Bands = Components * Coefficients;
    constexpr int MaxBits = 10; // libjpeg's limit for Ah and Al
    const int Extra = Count - 1 - Bands;
    if (Extra < 0 || Extra > Bands * MaxBits)
        throw std::runtime_error("no scan script of " + std::to_string(Count) + " scans");
    std::vector<jpeg_scan_info> Script;
    Script.push_back({Components, {0, 1, 2, 0}, 0, 0, 0, 0});
    for (int Band = 0; Band < Bands; ++Band) {
        const int Component = Band / Coefficients;
        const int K = Band % Coefficients + 1;
        const int Bits = Extra / Bands + (Band < Extra % Bands ? 1 : 0);
        Script.push_back({1, {Component, 0, 0, 0}, K, K, 0, Bits});
        for (int A = Bits; A > 0; --A)
            Script.push_back({1, {Component, 0, 0, 0}, K, K, A, A - 1});
    }
    return Script;
}

int EncodeInto(const TFixtureImage& Image, TFixtureColor Color, const TJpegWriteOptions& Options,
               const std::vector<jpeg_scan_info>& Script, TMemoryOut* Out) noexcept {
    TLibJpegErrors Errors;
    jpeg_compress_struct Info;
    if (!RunLibJpeg(Info, Errors, [&] {
            jpeg_mem_dest(&Info, &Out->Data, &Out->Size);
            Info.image_width = static_cast<JDIMENSION>(Image.Width);
            Info.image_height = static_cast<JDIMENSION>(Image.Height);
            Info.input_components = Image.Components;
            switch (Color) {
            case TFixtureColor::Grey:
                Info.in_color_space = JCS_GRAYSCALE;
                break;
            case TFixtureColor::YCbCr:
                Info.in_color_space = JCS_RGB;
                break;
            case TFixtureColor::Cmyk:
            case TFixtureColor::Ycck:
                Info.in_color_space = JCS_CMYK;
                break;
            case TFixtureColor::TwoChannel:
                Info.in_color_space = JCS_UNKNOWN;
                break;
            }
            jpeg_set_defaults(&Info);
            if (Color == TFixtureColor::Ycck)
                jpeg_set_colorspace(&Info, JCS_YCCK);
            jpeg_set_quality(&Info, Options.Quality, TRUE);
            if (Options.FullChroma)
                for (int C = 0; C < Info.num_components; ++C) {
                    Info.comp_info[C].h_samp_factor = 1;
                    Info.comp_info[C].v_samp_factor = 1;
                }
            if (Options.Progressive)
                jpeg_simple_progression(&Info);
            if (!Script.empty()) {
                Info.scan_info = Script.data();
                Info.num_scans = static_cast<int>(Script.size());
            }
            Info.restart_interval = static_cast<unsigned>(Options.RestartInterval);
            jpeg_start_compress(&Info, TRUE);
            const std::size_t RowBytes = static_cast<std::size_t>(Image.Width) * Image.Components;
            while (Info.next_scanline < Info.image_height) {
                JSAMPROW Row[1] = {const_cast<JSAMPLE*>(Image.Samples.data()) +
                                   Info.next_scanline * RowBytes};
                jpeg_write_scanlines(&Info, Row, 1);
            }
            jpeg_finish_compress(&Info);
        })) {
        return Errors.MessageCode;
    }
    return 0;
}

int DecodeInto(const std::vector<std::uint8_t>& Data, TDecodedJpeg* Out,
               JSAMPLE* (*Grow)(TDecodedJpeg*, std::size_t)) noexcept {
    TLibJpegErrors Errors;
    jpeg_decompress_struct Info;
    int Code = 0;
    if (!RunLibJpeg(Info, Errors, [&] {
            jpeg_mem_src(&Info, Data.data(), static_cast<unsigned long>(Data.size()));
            jpeg_read_header(&Info, TRUE);
            if (Info.jpeg_color_space == JCS_YCCK)
                Info.out_color_space = JCS_CMYK;
            Out->Progressive = Info.progressive_mode;
            Out->AdobeMarker = Info.saw_Adobe_marker;
            Out->DensityUnit = Info.density_unit;
            Out->XDensity = Info.X_density;
            Out->YDensity = Info.Y_density;
            jpeg_start_decompress(&Info);
            Out->Width = static_cast<int>(Info.output_width);
            Out->Height = static_cast<int>(Info.output_height);
            Out->Components = Info.output_components;
            const std::size_t RowBytes = std::size_t{Info.output_width} * Info.output_components;
            JSAMPLE* Samples = Grow(Out, RowBytes * Info.output_height);
            if (!Samples) {
                Code = JERR_OUT_OF_MEMORY;
                return;
            }
            while (Info.output_scanline < Info.output_height) {
                JSAMPROW Row[1] = {Samples + Info.output_scanline * RowBytes};
                jpeg_read_scanlines(&Info, Row, 1);
            }
            jpeg_finish_decompress(&Info);
        })) {
        return Errors.MessageCode;
    }
    return Code;
}

JSAMPLE* GrowSamples(TDecodedJpeg* Out, std::size_t Size) {
    try {
        Out->Samples.assign(Size, 0);
        return Out->Samples.data();
    } catch (...) {
        return nullptr;
    }
}

} // namespace

std::vector<std::uint8_t> EncodeJpeg(const TFixtureImage& Image, TFixtureColor Color,
                                     const TJpegWriteOptions& Options) {
    const std::vector<jpeg_scan_info> Script =
        Options.Scans > 0 ? ScanScript(Options.Scans) : std::vector<jpeg_scan_info>{};
    TMemoryOut Out;
    const int Code = EncodeInto(Image, Color, Options, Script, &Out);
    std::vector<std::uint8_t> Data(Out.Data, Out.Data + (Code == 0 ? Out.Size : 0));
    std::free(Out.Data);
    if (Code != 0)
        throw std::runtime_error("libjpeg could not write the fixture: error " +
                                 std::to_string(Code));
    return Data;
}

TDecodedJpeg DecodeJpeg(const std::vector<std::uint8_t>& Data) {
    TDecodedJpeg Out;
    Out.ErrorCode = DecodeInto(Data, &Out, GrowSamples);
    Out.Ok = Out.ErrorCode == 0;
    return Out;
}

int CountScans(const std::vector<std::uint8_t>& Jpeg) {
    // Entropy-coded data never holds 0xFF followed by a marker code: each 0xFF in it is followed
    // by a zero byte.
    int Scans = 0;
    for (std::size_t I = 0; I + 1 < Jpeg.size(); ++I)
        if (Jpeg[I] == 0xFF && Jpeg[I + 1] == 0xDA)
            ++Scans;
    return Scans;
}

TFixtureImage FlatImage(int Width, int Height, std::vector<std::uint8_t> Sample) {
    TFixtureImage Image{Width, Height, static_cast<int>(Sample.size()), {}};
    Image.Samples.reserve(static_cast<std::size_t>(Width) * Height * Sample.size());
    for (int I = 0; I < Width * Height; ++I)
        Image.Samples.insert(Image.Samples.end(), Sample.begin(), Sample.end());
    return Image;
}

TFixtureImage QuadrantImage(int Width, int Height, int Components,
                            const std::vector<std::vector<std::uint8_t>>& Samples) {
    TFixtureImage Image{Width, Height, Components,
                        std::vector<std::uint8_t>(std::size_t(Width) * Height * Components)};
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) {
            const auto& Sample = Samples[(Y < Height / 2 ? 0 : 2) + (X < Width / 2 ? 0 : 1)];
            std::copy(Sample.begin(), Sample.end(), Image.At(X, Y));
        }
    return Image;
}

TFixtureImage GradientImage(int Width, int Height, int Components) {
    TFixtureImage Image{Width, Height, Components,
                        std::vector<std::uint8_t>(std::size_t(Width) * Height * Components)};
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            for (int C = 0; C < Components; ++C) {
                const int Value = C % 3 == 0   ? X * 255 / std::max(Width - 1, 1)
                                  : C % 3 == 1 ? Y * 255 / std::max(Height - 1, 1)
                                               : (X + Y) * 255 / std::max(Width + Height - 2, 1);
                Image.At(X, Y)[C] = static_cast<std::uint8_t>(C == 3 ? 255 - Value / 2 : Value);
            }
    return Image;
}

TFixtureImage NoiseImage(int Width, int Height, int Components, std::uint32_t Seed) {
    TFixtureImage Image{Width, Height, Components, {}};
    Image.Samples = RandomBytes(std::size_t(Width) * Height * Components, Seed);
    return Image;
}

std::vector<std::uint8_t> WithFrameSize(std::vector<std::uint8_t> Jpeg, int Width, int Height) {
    for (std::size_t I = 2; I + 9 < Jpeg.size(); ++I) {
        const std::uint8_t Marker = Jpeg[I + 1];
        if (Jpeg[I] == 0xFF && Marker >= 0xC0 && Marker <= 0xC2) {
            // FF Cn, length (2), precision (1), height (2), width (2).
            Jpeg[I + 5] = static_cast<std::uint8_t>(Height >> 8);
            Jpeg[I + 6] = static_cast<std::uint8_t>(Height);
            Jpeg[I + 7] = static_cast<std::uint8_t>(Width >> 8);
            Jpeg[I + 8] = static_cast<std::uint8_t>(Width);
            return Jpeg;
        }
    }
    throw std::runtime_error("no frame header in the fixture");
}

std::vector<std::uint8_t> WithoutSegments(const std::vector<std::uint8_t>& Jpeg,
                                          std::uint8_t Marker) {
    std::vector<std::uint8_t> Out(Jpeg.begin(), Jpeg.begin() + 2); // SOI
    std::size_t I = 2;
    while (I + 4 <= Jpeg.size() && Jpeg[I] == 0xFF) {
        const std::uint8_t Kind = Jpeg[I + 1];
        const std::size_t Length = (std::size_t{Jpeg[I + 2]} << 8) | Jpeg[I + 3];
        if (Kind == 0xDA) // start of scan: the entropy-coded data follows
            break;
        if (Kind != Marker)
            Out.insert(Out.end(), Jpeg.begin() + I, Jpeg.begin() + I + 2 + Length);
        I += 2 + Length;
    }
    Out.insert(Out.end(), Jpeg.begin() + static_cast<std::ptrdiff_t>(I), Jpeg.end());
    return Out;
}

std::vector<std::uint8_t> PngBytes() {
    return {0x89, 'P',  'N',  'G',  0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D,
            'I',  'H',  'D',  'R',  0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x10,
            0x08, 0x02, 0x00, 0x00, 0x00, 0x90, 0x91, 0x68, 0x36, 0x00, 0x00, 0x00,
            0x00, 'I',  'E',  'N',  'D',  0xAE, 0x42, 0x60, 0x82};
}

std::vector<std::uint8_t> RandomBytes(std::size_t Count, std::uint32_t Seed) {
    std::mt19937 Generator(Seed);
    std::vector<std::uint8_t> Data(Count);
    for (auto& Byte : Data)
        Byte = static_cast<std::uint8_t>(Generator() >> 24);
    return Data;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& FileName) {
    std::ifstream File(FileName, std::ios::binary);
    if (!File)
        throw std::runtime_error("cannot read " + FileName);
    return {std::istreambuf_iterator<char>(File), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::string& FileName, const std::vector<std::uint8_t>& Data) {
    std::ofstream File(FileName, std::ios::binary | std::ios::trunc);
    File.write(reinterpret_cast<const char*>(Data.data()),
               static_cast<std::streamsize>(Data.size()));
    if (!File)
        throw std::runtime_error("cannot write " + FileName);
}
