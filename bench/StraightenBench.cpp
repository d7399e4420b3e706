// Finding the card in a flatbed scan of A4 and levelling it: a back card tilted by 1.5 degrees on
// a white lid, at 300 dpi (2480 x 3508) and 600 dpi (4961 x 7016). Targets at 300 dpi: finding
// within 150 ms, levelling within 250 ms.

#include "bench/ScanPicture.h"
#include "raster/Bitmap32.h"
#include "scan/CardFinder.h"
#include "scan/CardLeveller.h"

#include <benchmark/benchmark.h>

namespace {

constexpr double Tilt = 1.5;

void BM_FindCard(benchmark::State& State) {
    const TBitmap32& Scan = FlatbedScan(static_cast<int>(State.range(0)), Tilt);
    for (auto _ : State) {
        const TCardFinding Finding = FindCard(Scan);
        if (!Finding.HasBorder)
            State.SkipWithError("no card found");
        benchmark::DoNotOptimize(Finding);
    }
    State.counters["megapixels"] = Scan.Width() * double(Scan.Height()) / 1e6;
}

void BM_LevelCard(benchmark::State& State) {
    const TBitmap32& Scan = FlatbedScan(static_cast<int>(State.range(0)), Tilt);
    const TCardFinding Finding = FindCard(Scan);
    TBitmap32 Card;
    for (auto _ : State) {
        LevelCard(Scan, Finding, Card);
        benchmark::DoNotOptimize(Card.PixelData());
    }
    State.counters["card_megapixels"] = Card.Width() * double(Card.Height()) / 1e6;
}

} // namespace

BENCHMARK(BM_FindCard)->Arg(300)->Arg(600)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LevelCard)->Arg(300)->Arg(600)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
