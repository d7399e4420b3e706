// The JPEG path of one inlay, as the window and trayvane-compose run it: load a 6000 x 3000
// colour scan (LoadJpegFile), compose (ComposeTrayInlay) and save at quality 95 (SaveJpegFile).
// Beside it, in the same run and on the same file, the floor for this work: libjpeg-turbo alone
// decoding the scan and encoding a picture of the inlay's size. The parts are timed on their own
// as well, to show where the time above the floor goes.
//
//   jpeg_pipeline_bench [benchmark options]
//   jpeg_pipeline_bench --write-input=FILE   writes the scan and exits (for measuring memory)

#include "bench/ScanPicture.h"
#include "composer/InlayLayout.h"
#include "composer/TrayCard.h"
#include "composer/TrayInlay.h"
#include "jpeg_bridge/JpegFile.h"
#include "jpeg_bridge/LibJpeg.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int ScanWidth = 6000;
constexpr int ScanHeight = 3000;
constexpr int ScanQuality = 90;

TRgbPicture MakeScan() {
    return MakeScanPicture(ScanWidth, ScanHeight);
}

// libjpeg-turbo alone: decode a file to red, green, blue. Returns 0 or libjpeg's message code.
int DecodeFile(const char* FileName, TRgbPicture* Picture) noexcept {
    std::FILE* File = std::fopen(FileName, "rb");
    if (!File)
        return -1;
    TLibJpegErrors Errors;
    jpeg_decompress_struct Info;
    if (!RunLibJpeg(Info, Errors, [&] {
            jpeg_stdio_src(&Info, File);
            jpeg_read_header(&Info, TRUE);
            jpeg_start_decompress(&Info);
            const std::size_t RowBytes = std::size_t{Info.output_width} * 3;
            std::uint8_t* Samples = Picture->Samples.data();
            while (Info.output_scanline < Info.output_height) {
                JSAMPROW Row[1] = {Samples + Info.output_scanline * RowBytes};
                jpeg_read_scanlines(&Info, Row, 1);
            }
            jpeg_finish_decompress(&Info);
        })) {
        std::fclose(File);
        return Errors.MessageCode;
    }
    std::fclose(File);
    return 0;
}

// libjpeg-turbo alone: encode the top-left Width x Height of a picture to a file.
int EncodeFile(const char* FileName, const TRgbPicture& Picture, int Width, int Height,
               int Quality) noexcept {
    return WriteJpegPicture(FileName, Picture, Width, Height, Quality);
}

// The scan file, written once per run into a folder of its own.
class TScanFile {
public:
    TScanFile() {
        std::string Pattern =
            (std::filesystem::temp_directory_path() / "trayvane-bench-XXXXXX").string();
        if (!::mkdtemp(Pattern.data()))
            std::abort();
        FFolder = Pattern;
        if (EncodeFile(Scan().c_str(), MakeScan(), ScanWidth, ScanHeight, ScanQuality) != 0)
            std::abort();
    }
    ~TScanFile() {
        std::error_code Ignored;
        std::filesystem::remove_all(FFolder, Ignored);
    }
    std::string Scan() const { return FFolder + "/scan.jpg"; }
    std::string Output() const { return FFolder + "/inlay.jpg"; }

private:
    std::string FFolder;
};

const TScanFile& ScanFile() {
    static const TScanFile File;
    return File;
}

// The size of the inlay composed from the scan in the layout its proportions give.
TInlayGeometry ScanInlay() {
    return ComputeInlayGeometry(ScanWidth, ScanHeight, ChooseInlayLayout(ScanWidth, ScanHeight), 0);
}

void BM_Baseline_DecodeAndEncodeWithLibjpeg(benchmark::State& State) {
    const TInlayGeometry G = ScanInlay();
    const int OutWidth = static_cast<int>(G.ComposedWidth);
    const int OutHeight = static_cast<int>(G.NormalHeight);
    for (auto _ : State) {
        TRgbPicture Picture{ScanWidth, ScanHeight,
                            std::vector<std::uint8_t>(std::size_t(ScanWidth) * ScanHeight * 3)};
        if (DecodeFile(ScanFile().Scan().c_str(), &Picture) != 0 ||
            EncodeFile(ScanFile().Output().c_str(), Picture, OutWidth, OutHeight, 95) != 0)
            State.SkipWithError("libjpeg failed");
        benchmark::DoNotOptimize(Picture.Samples.data());
    }
}

void BM_Pipeline_LoadComposeSave(benchmark::State& State) {
    for (auto _ : State) {
        TBitmap32 Input, Output;
        LoadJpegFile(&Input, ScanFile().Scan());
        ComposeTrayInlay(Input, ChooseInlayLayout(Input), 0, Output);
        SaveJpegFile(Output, ScanFile().Output(), InlaySaveQuality,
                     TrayCardDensity(Output.Width()));
    }
}

void BM_Baseline_DecodeOnly(benchmark::State& State) {
    for (auto _ : State) {
        TRgbPicture Picture{ScanWidth, ScanHeight,
                            std::vector<std::uint8_t>(std::size_t(ScanWidth) * ScanHeight * 3)};
        if (DecodeFile(ScanFile().Scan().c_str(), &Picture) != 0)
            State.SkipWithError("libjpeg failed");
        benchmark::DoNotOptimize(Picture.Samples.data());
    }
}

void BM_Baseline_EncodeOnly(benchmark::State& State) {
    const TInlayGeometry G = ScanInlay();
    TRgbPicture Picture{ScanWidth, ScanHeight,
                        std::vector<std::uint8_t>(std::size_t(ScanWidth) * ScanHeight * 3)};
    if (DecodeFile(ScanFile().Scan().c_str(), &Picture) != 0)
        State.SkipWithError("libjpeg failed");
    for (auto _ : State)
        if (EncodeFile(ScanFile().Output().c_str(), Picture, static_cast<int>(G.ComposedWidth),
                       static_cast<int>(G.NormalHeight), 95) != 0)
            State.SkipWithError("libjpeg failed");
}

void BM_Part_Load(benchmark::State& State) {
    for (auto _ : State) {
        TBitmap32 Input;
        LoadJpegFile(&Input, ScanFile().Scan());
        benchmark::DoNotOptimize(Input.PixelData());
    }
}

void BM_Part_Compose(benchmark::State& State) {
    TBitmap32 Input;
    LoadJpegFile(&Input, ScanFile().Scan());
    for (auto _ : State) {
        TBitmap32 Output;
        ComposeTrayInlay(Input, true, 0, Output);
        benchmark::DoNotOptimize(Output.PixelData());
    }
}

void BM_Part_Save(benchmark::State& State) {
    TBitmap32 Input, Output;
    LoadJpegFile(&Input, ScanFile().Scan());
    ComposeTrayInlay(Input, true, 0, Output);
    for (auto _ : State)
        SaveJpegFile(Output, ScanFile().Output(), InlaySaveQuality,
                     TrayCardDensity(Output.Width()));
}

} // namespace

BENCHMARK(BM_Baseline_DecodeAndEncodeWithLibjpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pipeline_LoadComposeSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Baseline_DecodeOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Baseline_EncodeOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Part_Load)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Part_Compose)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Part_Save)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    const std::string WriteInput = "--write-input=";
    if (argc == 2 && std::string(argv[1]).rfind(WriteInput, 0) == 0) {
        const std::string FileName = std::string(argv[1]).substr(WriteInput.size());
        return EncodeFile(FileName.c_str(), MakeScan(), ScanWidth, ScanHeight, ScanQuality) == 0
                   ? 0
                   : 1;
    }
    benchmark::Initialize(&argc, argv);
    ScanFile(); // written before any timing starts
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
