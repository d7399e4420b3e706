#include "composer/SpineFinder.h"

#include "composer/TrayInlay.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int Bands = 48;
constexpr int RowsPerBand = 8;
constexpr int Window = 3;            // columns averaged on each side of a boundary
constexpr float MinContrast = 12.0f; // the smallest change of a channel that counts as an edge
constexpr float NoiseFactor = 4.0f;  // ... or this many times the typical change, if larger
constexpr float MinHold = 0.75f;     // the share of the bands in which an edge must show
constexpr float PictureEdgeWeight = 0.9f;
constexpr double LeanPerHeight = 0.01; // how far an edge may lean over the whole height
constexpr int LeanStep = 4;            // columns over the height between two leans tried
constexpr std::int32_t MinWidth = 100;
constexpr std::int32_t MinHeight = 20;

// Where a layout's spine may lie, as shares of the picture's width.
struct TSearchRules {
    double RegionFrom, RegionTo; // both edges lie in here
    double MinSpine, MaxSpine;   // the spine's width
    bool PictureEdgeServes;      // the picture's right edge may be the spine's outer edge
};

TSearchRules RulesFor(TInlayLayout Layout) {
    if (Layout == TInlayLayout::BackAndFront)
        return {0.30, 0.70, 0.015, 0.05, false};
    return {0.85, 1.00, 0.03, 0.08, true};
}

// One boundary between two columns, scored along its best lean.
struct TEdge {
    std::int32_t X; // the boundary left of column X, at mid-height
    float Hold;     // share of bands in which it shows
    float Strength; // mean change across it
};

// The boundaries' changes in each band, for the columns [From, To) of the search.
class TBandChanges {
public:
    TBandChanges(const TBitmap32& Picture, std::int32_t From, std::int32_t To)
        : FFrom(From), FCount(To - From), FBands(std::min(Bands, Picture.Height())),
          FChanges(static_cast<std::size_t>(FBands) * static_cast<std::size_t>(FCount), 0.0f) {
        const std::int32_t W = Picture.Width();
        const std::int32_t H = Picture.Height();
        // The pixel columns the windows reach.
        const std::int32_t First = std::max(0, From - Window);
        const std::int32_t Last = std::min(W, To + Window);
        const std::size_t Span = static_cast<std::size_t>(Last - First);
        std::vector<std::int32_t> Prefix(3 * (Span + 1));
        std::vector<std::int32_t> Sums(3 * Span);
        for (int Band = 0; Band < FBands; ++Band) {
            const std::int64_t Top = std::int64_t{Band} * H / FBands;
            const std::int64_t Length = std::int64_t{Band + 1} * H / FBands - Top;
            const int Rows = static_cast<int>(std::min<std::int64_t>(RowsPerBand, Length));
            std::fill(Sums.begin(), Sums.end(), 0);
            for (int R = 0; R < Rows; ++R) {
                const auto Y =
                    static_cast<int>(Top + (2 * std::int64_t{R} + 1) * Length / (2 * Rows));
                const TColor32* Row = Picture.ScanLine(Y) + First;
                for (std::size_t I = 0; I < Span; ++I) {
                    const TColor32 P = Row[I];
                    Sums[3 * I] += static_cast<std::int32_t>(P & 0xFF);
                    Sums[3 * I + 1] += static_cast<std::int32_t>((P >> 8) & 0xFF);
                    Sums[3 * I + 2] += static_cast<std::int32_t>((P >> 16) & 0xFF);
                }
            }
            for (std::size_t I = 0; I < Span; ++I)
                for (int C = 0; C < 3; ++C)
                    Prefix[3 * (I + 1) + C] = Prefix[3 * I + C] + Sums[3 * I + C];
            const float Scale = 1.0f / static_cast<float>(Window * Rows);
            float* Changes = &FChanges[static_cast<std::size_t>(Band) * FCount];
            for (std::int32_t X = From; X < To; ++X) {
                // Boundaries whose windows would leave the picture show no change.
                if (X - Window < 0 || X + Window > W)
                    continue;
                const std::size_t At = static_cast<std::size_t>(X - First);
                float Change = 0.0f;
                for (int C = 0; C < 3; ++C) {
                    const std::int32_t Left = Prefix[3 * At + C] - Prefix[3 * (At - Window) + C];
                    const std::int32_t Right = Prefix[3 * (At + Window) + C] - Prefix[3 * At + C];
                    Change = std::max(Change, static_cast<float>(std::abs(Right - Left)) * Scale);
                }
                Changes[X - From] = Change;
            }
        }
    }

    int BandCount() const noexcept { return FBands; }
    // The change at boundary X in Band; 0 outside the columns looked at.
    float At(int Band, std::int32_t X) const noexcept {
        const std::int32_t I = X - FFrom;
        return I < 0 || I >= FCount ? 0.0f : FChanges[static_cast<std::size_t>(Band) * FCount + I];
    }
    // The change that half of all boundaries pass: the picture's typical change.
    float Median() const {
        std::vector<float> Copy(FChanges);
        if (Copy.empty())
            return 0.0f;
        auto Middle = Copy.begin() + static_cast<std::ptrdiff_t>(Copy.size() / 2);
        std::nth_element(Copy.begin(), Middle, Copy.end());
        return *Middle;
    }

private:
    std::int32_t FFrom;
    std::int32_t FCount;
    int FBands;
    std::vector<float> FChanges;
};

// Every boundary in [From, To) that holds in at least MinHold of the bands, scored along the lean
// that suits it best, and only the strongest of neighbours (a step shows at the boundaries
// beside it too, weaker).
std::vector<TEdge> FindEdges(const TBitmap32& Picture, std::int32_t From, std::int32_t To) {
    const std::int32_t H = Picture.Height();
    const int Steps = static_cast<int>(LeanPerHeight * H) / LeanStep;
    const int MaxShift = Steps * LeanStep / 2 + 1;
    const TBandChanges Changes(Picture, From - MaxShift - 1, To + MaxShift + 1);
    const int K = Changes.BandCount();
    const float Threshold = std::max(MinContrast, NoiseFactor * Changes.Median());

    // Where each band shows an edge, widened by a column each way so that a lean between two of
    // those tried is still followed.
    const std::int32_t Count = To - From + 2 * MaxShift;
    const std::int32_t Origin = From - MaxShift;
    std::vector<std::uint8_t> Hits(static_cast<std::size_t>(K) * Count);
    for (int Band = 0; Band < K; ++Band)
        for (std::int32_t I = 0; I < Count; ++I) {
            const std::int32_t X = Origin + I;
            const float Change =
                std::max({Changes.At(Band, X - 1), Changes.At(Band, X), Changes.At(Band, X + 1)});
            Hits[static_cast<std::size_t>(Band) * Count + I] = Change >= Threshold ? 1 : 0;
        }

    std::vector<TEdge> Scored;
    std::vector<int> Shift(static_cast<std::size_t>(K));
    for (int Lean = -Steps; Lean <= Steps; ++Lean) {
        for (int Band = 0; Band < K; ++Band) {
            // The band's middle row, relative to the middle of the picture.
            const double Middle = (std::int64_t{2 * Band + 1} * H / (2 * K)) - H / 2.0;
            Shift[Band] = static_cast<int>(std::lround(Lean * LeanStep * Middle / H));
        }
        for (std::int32_t X = From; X < To; ++X) {
            int Held = 0;
            for (int Band = 0; Band < K; ++Band)
                Held += Hits[static_cast<std::size_t>(Band) * Count + (X + Shift[Band] - Origin)];
            const float Hold = static_cast<float>(Held) / static_cast<float>(K);
            if (Hold < MinHold)
                continue;
            float Strength = 0.0f;
            for (int Band = 0; Band < K; ++Band)
                Strength += Changes.At(Band, X + Shift[Band]);
            Strength /= static_cast<float>(K);
            Scored.push_back({X, Hold, Strength});
        }
    }

    // The best lean of each boundary, then the strongest boundary of each neighbourhood.
    std::sort(Scored.begin(), Scored.end(), [](const TEdge& A, const TEdge& B) {
        return A.Strength != B.Strength ? A.Strength > B.Strength : A.X < B.X;
    });
    std::vector<TEdge> Edges;
    for (const TEdge& Edge : Scored) {
        const bool Near = std::any_of(Edges.begin(), Edges.end(), [&](const TEdge& Kept) {
            return std::abs(Kept.X - Edge.X) <= Window;
        });
        if (!Near)
            Edges.push_back(Edge);
    }
    return Edges;
}

} // namespace

std::optional<TSpineFinding> FindSpine(const TBitmap32& Picture, TInlayLayout Layout) {
    const std::int32_t W = Picture.Width();
    const std::int32_t H = Picture.Height();
    // A whole tray card has its spines already; there is no strip to cut.
    if (Picture.IsEmpty() || W < MinWidth || H < MinHeight || Layout == TInlayLayout::TrayCard)
        return std::nullopt;
    const TSearchRules Rules = RulesFor(Layout);
    const auto Share = [W](double Fraction) { return Fraction * static_cast<double>(W); };
    const auto From = static_cast<std::int32_t>(std::floor(Share(Rules.RegionFrom)));
    const auto To = static_cast<std::int32_t>(std::ceil(Share(Rules.RegionTo)));
    const auto MinSpine = static_cast<std::int32_t>(std::ceil(Share(Rules.MinSpine)));
    const auto MaxSpine = static_cast<std::int32_t>(std::floor(Share(Rules.MaxSpine)));

    // Boundaries inside the picture; its right edge is looked at apart.
    std::vector<TEdge> Edges = FindEdges(Picture, std::max(From, Window), std::min(To + 1, W));
    if (Rules.PictureEdgeServes)
        Edges.push_back({W, 1.0f, 0.0f});

    // Where the layout expects the spine: its described cut at slider position 0.
    const TSpineCut Expected = DescribedSpineCut(W, Layout, 0.0);
    const double ExpectedWidth = std::max(1, Expected.Width());
    const double ExpectedCentre = (Expected.Left + Expected.Right) / 2.0;

    std::optional<TSpineFinding> Best;
    double BestRank = 0.0;
    for (const TEdge& Left : Edges)
        for (const TEdge& Right : Edges) {
            const std::int32_t Width = Right.X - Left.X;
            if (Left.X == W || Width < MinSpine || Width > MaxSpine)
                continue;
            const float RightHold = Right.X == W ? Left.Hold * PictureEdgeWeight : Right.Hold;
            const float Hold = std::min(Left.Hold, RightHold);
            // A clearly better hold wins; nearness to the expected width and place decides
            // between pairs that hold about as well.
            const double Centre = (Left.X + Right.X) / 2.0;
            const double Rank = Hold - 0.1 * std::abs(Width - ExpectedWidth) / ExpectedWidth -
                                0.5 * std::abs(Centre - ExpectedCentre) / W;
            if (!Best || Rank > BestRank) {
                Best = TSpineFinding{TSpineCut{Left.X, Right.X}, Hold};
                BestRank = Rank;
            }
        }
    return Best;
}
