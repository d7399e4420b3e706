// The spine finder on a 6000 x 3000 picture, the size of a 600 dpi scan of a wrap-around, in both
// layouts: a made cover with scanner grain whose spine is found, and one of seeded random pixels
// where nothing is (every boundary of the search strip is looked at, none holds). Target: under
// 20 ms for each.

#include "composer/SpineFinder.h"
#include "raster/Bitmap32.h"

#include "tests/support/MadeCovers.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

constexpr int Width = 6000;
constexpr int Height = 3000;

const TBitmap32& GrainyCover() {
    static const std::unique_ptr<TBitmap32> Cover = [] {
        auto Made = std::make_unique<TBitmap32>();
        TCoverDesign Design;
        Design.Width = Width;
        Design.Height = Height;
        Design.SpineLeft = 3110; // a back wider than the front
        Design.SpineRight = 3255;
        Design.Noise = 24;
        MakeCover(Design, *Made);
        return Made;
    }();
    return *Cover;
}

const TBitmap32& RandomPixels() {
    static const std::unique_ptr<TBitmap32> Picture = [] {
        auto Made = std::make_unique<TBitmap32>();
        Made->SetDimensions(Width, Height);
        std::mt19937 Random(20261209);
        TColor32* Pixels = Made->PixelData();
        for (std::size_t I = 0; I < std::size_t{Width} * Height; ++I)
            Pixels[I] = 0xFF000000u | (Random() & 0xFFFFFFu);
        return Made;
    }();
    return *Picture;
}

void Run(benchmark::State& State, const TBitmap32& Picture, TInlayLayout Layout, bool Findable) {
    for (auto _ : State) {
        const auto Found = FindSpine(Picture, Layout);
        if (Found.has_value() != Findable)
            State.SkipWithError("unexpected result");
        benchmark::DoNotOptimize(Found);
    }
}

void BM_FindSpine_Cover_BackAndFront(benchmark::State& State) {
    Run(State, GrainyCover(), TInlayLayout::BackAndFront, true);
}
void BM_FindSpine_RandomPixels_BackAndFront(benchmark::State& State) {
    Run(State, RandomPixels(), TInlayLayout::BackAndFront, false);
}
void BM_FindSpine_RandomPixels_Back(benchmark::State& State) {
    Run(State, RandomPixels(), TInlayLayout::Back, false);
}

BENCHMARK(BM_FindSpine_Cover_BackAndFront)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindSpine_RandomPixels_BackAndFront)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindSpine_RandomPixels_Back)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
