#include "scan/CardLeveller.h"

#include "raster/RowBands.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>

namespace {

// Resampling a pixel costs several times what copying it does: the rows are shared between two
// threads from a smaller card on than a plain copy would be.
constexpr std::size_t ResampleCostPerByte = 8;

// The one place the card's rows are shared between threads (raster/RowBands.h).
template <class TWork>
void ForCardRows(int Rows, int Width, TWork&& Work) {
    ForRowBands(0, Rows, static_cast<std::size_t>(Width) * sizeof(TColor32) * ResampleCostPerByte,
                std::forward<TWork>(Work));
}

// A + (B - A) * Weight / 256 for the four channels at once, Weight from 0 to 256.
inline std::uint32_t Mix(std::uint32_t A, std::uint32_t B, std::uint32_t Weight) {
    const std::uint32_t Keep = 256 - Weight;
    const std::uint32_t RedBlue =
        (((A & 0x00FF00FFu) * Keep + (B & 0x00FF00FFu) * Weight + 0x00800080u) >> 8) & 0x00FF00FFu;
    const std::uint32_t AlphaGreen =
        (((A >> 8) & 0x00FF00FFu) * Keep + ((B >> 8) & 0x00FF00FFu) * Weight + 0x00800080u) &
        0xFF00FF00u;
    return RedBlue | AlphaGreen;
}

} // namespace

void LevelCard(const TBitmap32& Scan, const TCardFinding& Finding, TBitmap32& Card) {
    const TRect Box = Finding.Card;
    if (Scan.IsEmpty() || RectIsEmpty(Box)) {
        Card.SetDimensions(0, 0);
        return;
    }
    const int W = static_cast<int>(RectWidth(Box));
    const int H = static_cast<int>(RectHeight(Box));
    const int SW = Scan.Width();
    const int SH = Scan.Height();
    Card.BeginBatch();
    try {
        Card.SetDimensions(W, H);
    } catch (...) {
        Card.EndBatch();
        throw;
    }
    Card.EndBatch();
    // Both stores are settled here, before the rows are shared: no deferred fill runs on a
    // second thread.
    TColor32* const Out = Card.PixelsForOverwrite(Card.FullArea());
    const TColor32* const In = Scan.PixelData();
    const auto OutWidth = static_cast<std::size_t>(W);
    const auto InWidth = static_cast<std::size_t>(SW);

    if (Finding.LevelDegrees == 0) {
        // No turn: the box's own pixels, rows clamped to the scan (the box lies inside it).
        ForCardRows(H, W, [&](int First, int End) {
            for (int J = First; J < End; ++J) {
                const int Y = std::clamp(Box.Top + J, 0, SH - 1);
                for (int I = 0; I < W; ++I)
                    Out[J * OutWidth + I] = In[Y * InWidth + std::clamp(Box.Left + I, 0, SW - 1)];
            }
        });
        Card.NotifyChanged();
        return;
    }

    // Pixel (I, J) of the card is the levelled picture's pixel (Box.Left + I, Box.Top + J): the
    // scan's point turned back about the scan's centre, sampled between its four neighbours.
    const double Cos = std::cos(Finding.LevelDegrees * std::numbers::pi / 180);
    const double Sin = std::sin(Finding.LevelDegrees * std::numbers::pi / 180);
    const double CX = (SW - 1) / 2.0;
    const double CY = (SH - 1) / 2.0;
    ForCardRows(H, W, [&](int First, int End) {
        for (int J = First; J < End; ++J) {
            const double DY = Box.Top + J - CY;
            const double DX = Box.Left - CX;
            // Along the row the scan's point moves by (Cos, Sin) per pixel.
            double RowX = CX + Cos * DX - Sin * DY;
            double RowY = CY + Sin * DX + Cos * DY;
            TColor32* Row = Out + J * OutWidth;
            const double LastX = RowX + Cos * (W - 1);
            const double LastY = RowY + Sin * (W - 1);
            if (std::min(RowX, LastX) >= 0 && std::max(RowX, LastX) < SW - 1 &&
                std::min(RowY, LastY) >= 0 && std::max(RowY, LastY) < SH - 1) {
                // The whole row samples inside the scan: fixed point, 16 bits of fraction, of
                // which the weights take the upper 8.
                std::int64_t FX = std::llround(RowX * 65536);
                std::int64_t FY = std::llround(RowY * 65536);
                const std::int64_t StepX = std::llround(Cos * 65536);
                const std::int64_t StepY = std::llround(Sin * 65536);
                for (int I = 0; I < W; ++I, FX += StepX, FY += StepY) {
                    const auto X0 = static_cast<std::size_t>(FX >> 16);
                    const auto Y0 = static_cast<std::size_t>(FY >> 16);
                    const auto WX = static_cast<std::uint32_t>((FX >> 8) & 0xFF);
                    const auto WY = static_cast<std::uint32_t>((FY >> 8) & 0xFF);
                    const TColor32* Upper = In + Y0 * InWidth + X0;
                    const TColor32* Lower = Upper + InWidth;
                    Row[I] = Mix(Mix(Upper[0], Upper[1], WX), Mix(Lower[0], Lower[1], WX), WY);
                }
                continue;
            }
            for (int I = 0; I < W; ++I, RowX += Cos, RowY += Sin) {
                const double X = std::clamp(RowX, 0.0, SW - 1.0);
                const double Y = std::clamp(RowY, 0.0, SH - 1.0);
                const int X0 = std::min(static_cast<int>(X), std::max(SW - 2, 0));
                const int Y0 = std::min(static_cast<int>(Y), std::max(SH - 2, 0));
                const int X1 = std::min(X0 + 1, SW - 1);
                const int Y1 = std::min(Y0 + 1, SH - 1);
                const auto WX = static_cast<std::uint32_t>(std::lround((X - X0) * 256));
                const auto WY = static_cast<std::uint32_t>(std::lround((Y - Y0) * 256));
                const TColor32* Upper = In + Y0 * InWidth;
                const TColor32* Lower = In + Y1 * InWidth;
                Row[I] = Mix(Mix(Upper[X0], Upper[X1], WX), Mix(Lower[X0], Lower[X1], WX), WY);
            }
        }
    });
    Card.NotifyChanged();
}
