// The inlay composition beside a baseline that only moves, with memcpy, the bytes the composition
// reads and writes. Every case composes the same seeded input, and the output bitmap is reused
// between iterations as the output view reuses its own.

#include "composer/TrayInlay.h"
#include "raster/Bitmap32.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

struct TCase {
    int Width;
    int Height;
    bool BackAndFront;
};

const TCase Cases[] = {{6000, 3000, true}, {3600, 2800, false}};

const TBitmap32& SeededInput(const TCase& C) {
    static std::vector<std::unique_ptr<TBitmap32>> Inputs(std::size(Cases));
    auto& Input = Inputs[static_cast<std::size_t>(&C - Cases)];
    if (!Input) {
        Input = std::make_unique<TBitmap32>();
        Input->SetDimensions(C.Width, C.Height);
        std::mt19937 Random(20261209);
        TColor32* Pixels = Input->PixelData();
        for (std::size_t I = 0; I < std::size_t(C.Width) * C.Height; ++I)
            Pixels[I] = 0xFF000000u | (Random() & 0xFFFFFFu);
    }
    return *Input;
}

void SetCounters(benchmark::State& State, const TInlayGeometry& G, const TCase& C) {
    const double ReadBytes =
        double(C.BackAndFront ? G.BackWidth + G.SpineWidth : C.Width) * C.Height * sizeof(TColor32);
    const double WrittenBytes = double(G.ComposedWidth) * G.NormalHeight * sizeof(TColor32);
    State.counters["MB_read"] = ReadBytes / 1e6;
    State.counters["MB_written"] = WrittenBytes / 1e6;
    State.SetBytesProcessed(State.iterations() * static_cast<int64_t>(ReadBytes + WrittenBytes));
}

// ComposeTrayInlay as the window calls it.
void BM_Compose(benchmark::State& State) {
    const TCase& C = Cases[State.range(0)];
    const double Position = static_cast<double>(State.range(1));
    const TBitmap32& Input = SeededInput(C);
    TBitmap32 Output;
    for (auto _ : State) {
        ComposeTrayInlay(Input, C.BackAndFront, Position, Output);
        benchmark::DoNotOptimize(Output.PixelData());
        benchmark::ClobberMemory();
    }
    SetCounters(State, ComputeInlayGeometry(C.Width, C.Height, C.BackAndFront, Position), C);
}

// What both memcpy benchmarks need of a case: its input, its inlay's sizes, where its spine
// starts, and the input row each final row comes from.
struct TCopyPlan {
    const TCase& C;
    const TBitmap32& Input;
    TInlayGeometry G;
    std::size_t B;
    std::size_t Wc;
    int Hn;
    std::size_t SpineLeft;
    std::vector<int> SourceRow;

    explicit TCopyPlan(const benchmark::State& State)
        : C(Cases[State.range(0)]), Input(SeededInput(C)),
          G(ComputeInlayGeometry(C.Width, C.Height, C.BackAndFront,
                                 static_cast<double>(State.range(1)))),
          B(static_cast<std::size_t>(G.SpineWidth)), Wc(static_cast<std::size_t>(G.ComposedWidth)),
          Hn(static_cast<int>(G.NormalHeight)),
          SpineLeft(C.BackAndFront ? static_cast<std::size_t>(G.BackWidth)
                                   : static_cast<std::size_t>(C.Width) - B),
          SourceRow(static_cast<std::size_t>(Hn)) {
        const float Scale = static_cast<float>(C.Height) / static_cast<float>(Hn);
        for (int Y = 0; Y < Hn; ++Y)
            SourceRow[static_cast<std::size_t>(Y)] = static_cast<int>(double{Scale} * Y);
    }

    // Input row Y's spine and back card (and the spine after it), side by side into To.
    void CopyRow(int Y, TColor32* To) const {
        const TColor32* From = Input.ScanLine(Y);
        std::memcpy(To, From + SpineLeft, B * sizeof(TColor32));
        std::memcpy(To + B, From, (Wc - B) * sizeof(TColor32));
    }
};

// The baseline: the bytes the composition moves, moved with memcpy alone into buffers that are
// already there. Pass one copies the back card and spine of every input row beside a spine strip
// (the composed inlay, full height); pass two copies the composed rows that the final height
// keeps. Nothing is turned, sampled or allocated.
void BM_MemcpyBaseline(benchmark::State& State) {
    const TCopyPlan Plan(State);
    const std::size_t Wc = Plan.Wc;
    std::vector<TColor32> Composed(Wc * static_cast<std::size_t>(Plan.C.Height));
    std::vector<TColor32> Final(Wc * static_cast<std::size_t>(Plan.Hn));
    for (auto _ : State) {
        for (int Y = 0; Y < Plan.C.Height; ++Y)
            Plan.CopyRow(Y, Composed.data() + Wc * static_cast<std::size_t>(Y));
        for (int Y = 0; Y < Plan.Hn; ++Y)
            std::memcpy(Final.data() + Wc * static_cast<std::size_t>(Y),
                        Composed.data() + Wc * static_cast<std::size_t>(Plan.SourceRow[Y]),
                        Wc * sizeof(TColor32));
        benchmark::DoNotOptimize(Final.data());
        benchmark::ClobberMemory();
    }
    SetCounters(State, Plan.G, Plan.C);
}

// For comparison only, the floor of any way to make the inlay: every final row copied once,
// straight from the input row it comes from.
void BM_MemcpyFloor(benchmark::State& State) {
    const TCopyPlan Plan(State);
    std::vector<TColor32> Final(Plan.Wc * static_cast<std::size_t>(Plan.Hn));
    for (auto _ : State) {
        for (int Y = 0; Y < Plan.Hn; ++Y)
            Plan.CopyRow(Plan.SourceRow[static_cast<std::size_t>(Y)],
                         Final.data() + Plan.Wc * static_cast<std::size_t>(Y));
        benchmark::DoNotOptimize(Final.data());
        benchmark::ClobberMemory();
    }
    SetCounters(State, Plan.G, Plan.C);
}

void Arguments(benchmark::internal::Benchmark* Bench) {
    Bench->ArgNames({"case", "spine"});
    for (int Case = 0; Case < static_cast<int>(std::size(Cases)); ++Case)
        for (const int Spine : {0, 20})
            Bench->Args({Case, Spine});
    Bench->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

BENCHMARK(BM_Compose)->Apply(Arguments);
BENCHMARK(BM_MemcpyBaseline)->Apply(Arguments);
BENCHMARK(BM_MemcpyFloor)->Apply(Arguments);

BENCHMARK_MAIN();
