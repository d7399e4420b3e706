#pragma once

// Made flatbed scans: a card laid on a scanner bed, turned by a small tilt, its edge blurred as a
// scanner's optics blur it, with grain over everything. Header-only, for tests and benchmarks.

#include "raster/Bitmap32.h"
#include "tests/support/MadeCovers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

struct TScanSetup {
    TColor32 Bed = 0xFFFFFFFF; // the lid's colour
    double TiltDegrees = 0;    // the card turned clockwise by this much
    int Margin = 40;           // pixels of bed beyond the turned card's box, on every side
    int Width = 0;             // the scan's size, the card in its middle; 0: the turned card's
    int Height = 0;            // box and the margin
    double EdgeBlur = 1;       // the edge goes from bed to card over twice this many pixels
    int Grain = 3;             // each channel moved by up to this many levels
    std::uint32_t Seed = 11;
};

namespace MadeScanDetail {

// Card's colour at (U, V), between its four nearest pixels; outside it, its nearest edge pixel.
inline TColor32 Sample(const TBitmap32& Card, double U, double V) {
    U = std::clamp(U, 0.0, Card.Width() - 1.0);
    V = std::clamp(V, 0.0, Card.Height() - 1.0);
    const int X0 = std::min(static_cast<int>(U), std::max(Card.Width() - 2, 0));
    const int Y0 = std::min(static_cast<int>(V), std::max(Card.Height() - 2, 0));
    const int X1 = std::min(X0 + 1, Card.Width() - 1);
    const int Y1 = std::min(Y0 + 1, Card.Height() - 1);
    const double FX = U - X0;
    const double FY = V - Y0;
    TColor32 Out = 0xFF000000u;
    for (int Shift = 0; Shift < 24; Shift += 8) {
        const auto C = [&](int X, int Y) { return (Card.Pixel(X, Y) >> Shift) & 0xFF; };
        const double Top = C(X0, Y0) * (1 - FX) + C(X1, Y0) * FX;
        const double Bottom = C(X0, Y1) * (1 - FX) + C(X1, Y1) * FX;
        Out |= static_cast<TColor32>(std::lround(Top * (1 - FY) + Bottom * FY)) << Shift;
    }
    return Out;
}

inline TColor32 Blend(TColor32 A, TColor32 B, double ShareOfB) {
    TColor32 Out = 0xFF000000u;
    for (int Shift = 0; Shift < 24; Shift += 8) {
        const double C = ((A >> Shift) & 0xFF) * (1 - ShareOfB) + ((B >> Shift) & 0xFF) * ShareOfB;
        Out |= static_cast<TColor32>(std::lround(C)) << Shift;
    }
    return Out;
}

} // namespace MadeScanDetail

// Scan becomes Card on a bed, turned clockwise by Setup.TiltDegrees about the scan's centre.
inline void MakeScan(const TBitmap32& Card, const TScanSetup& Setup, TBitmap32& Scan) {
    using namespace MadeScanDetail;
    constexpr double Pi = 3.14159265358979323846;
    const double Cos = std::cos(Setup.TiltDegrees * Pi / 180);
    const double Sin = std::sin(Setup.TiltDegrees * Pi / 180);
    const int CW = Card.Width();
    const int CH = Card.Height();
    const int W = Setup.Width > 0
                      ? Setup.Width
                      : static_cast<int>(std::ceil(CW * std::abs(Cos) + CH * std::abs(Sin))) +
                            2 * Setup.Margin;
    const int H = Setup.Height > 0
                      ? Setup.Height
                      : static_cast<int>(std::ceil(CW * std::abs(Sin) + CH * std::abs(Cos))) +
                            2 * Setup.Margin;
    Scan.SetDimensions(W, H);
    MadeCoverDetail::TRandom Random(Setup.Seed);
    const double SX = (W - 1) / 2.0, SY = (H - 1) / 2.0;
    const double CX = (CW - 1) / 2.0, CY = (CH - 1) / 2.0;
    const double Blur = std::max(Setup.EdgeBlur, 0.01);
    for (int Y = 0; Y < H; ++Y) {
        TColor32* Row = Scan.ScanLine(Y);
        for (int X = 0; X < W; ++X) {
            // The card's point under this pixel: the scan's point turned back.
            const double DX = X - SX, DY = Y - SY;
            const double U = CX + Cos * DX + Sin * DY;
            const double V = CY - Sin * DX + Cos * DY;
            const double Inside = std::min({U + 0.5, CW - 0.5 - U, V + 0.5, CH - 0.5 - V});
            const double Cover = std::clamp((Inside + Blur) / (2 * Blur), 0.0, 1.0);
            TColor32 P = Cover > 0 ? Blend(Setup.Bed, Sample(Card, U, V), Cover) : Setup.Bed;
            if (Setup.Grain > 0) {
                TColor32 Grainy = 0xFF000000u;
                for (int Shift = 0; Shift < 24; Shift += 8) {
                    const int G = Random.Below(Setup.Grain + 1) - Random.Below(Setup.Grain + 1);
                    Grainy |= static_cast<TColor32>(
                                  std::clamp(static_cast<int>((P >> Shift) & 0xFF) + G, 0, 255))
                              << Shift;
                }
                P = Grainy;
            }
            Row[X] = P;
        }
    }
}
