#pragma once

// Made CD covers for the spine finder and the compositions that use it: a back card with lines
// of print, a spine with its lettering, a front with artwork, each on a colour of its own, with
// scanner grain and a lean when asked for. Header-only, for tests and benchmarks alike.

#include "raster/Bitmap32.h"

#include <algorithm>
#include <cstdint>

struct TCoverDesign {
    int Width = 0;
    int Height = 0;
    TColor32 Back = 0xFFF2EEE4;  // paper white
    TColor32 Spine = 0xFF1E2A44; // dark blue
    TColor32 Front = 0xFF7A2E2E; // dark red
    int SpineLeft = 0;           // the spine's columns at mid-height; the front begins at
    int SpineRight = 0;          // SpineRight (none when it is Width)
    int Noise = 0;               // grain: each channel moved by up to this many levels
    int Lean = 0;                // columns the edges move right from the top row to the bottom
    int PanelLeft = -1;          // from this column on, a panel of PanelColour (an edge that
    TColor32 PanelColour = 0xFFE8C020; // is no spine); none when negative
    std::uint32_t Seed = 1;
};

namespace MadeCoverDetail {

inline TColor32 Shade(TColor32 Colour, int Delta) {
    TColor32 Out = 0xFF000000u;
    for (int Shift = 0; Shift < 24; Shift += 8) {
        const int C = std::clamp(static_cast<int>((Colour >> Shift) & 0xFF) + Delta, 0, 255);
        Out |= static_cast<TColor32>(C) << Shift;
    }
    return Out;
}

// A light colour gets darker print, a dark one lighter print.
inline int PrintDelta(TColor32 Colour) {
    const int Level =
        static_cast<int>((Colour & 0xFF) + ((Colour >> 8) & 0xFF) + ((Colour >> 16) & 0xFF)) / 3;
    return Level > 127 ? -90 : 90;
}

class TRandom {
public:
    explicit TRandom(std::uint32_t Seed) : FState(Seed * 2654435761u + 1) {}
    std::uint32_t Next() {
        FState = FState * 1664525u + 1013904223u;
        return FState >> 8;
    }
    int Below(int N) {
        return N <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint32_t>(N));
    }

private:
    std::uint32_t FState;
};

} // namespace MadeCoverDetail

// A wrap-around whose back (138 mm) is wider than its front (121 mm), at 4 pixels per millimetre:
// the layout's own cut (at 50.6 %) lies in the back card, left of the real spine.
inline TCoverDesign WiderBackCover() {
    TCoverDesign Design;
    Design.Width = 1062;
    Design.Height = 480;
    Design.SpineLeft = 552;
    Design.SpineRight = 578;
    return Design;
}

inline void MakeCover(const TCoverDesign& Design, TBitmap32& Cover) {
    using namespace MadeCoverDetail;
    const int W = Design.Width;
    const int H = Design.Height;
    Cover.SetDimensions(W, H);
    TRandom Random(Design.Seed);
    const int SpineWidth = std::max(1, Design.SpineRight - Design.SpineLeft);
    const int LineHeight = std::max(2, H / 60);
    for (int Y = 0; Y < H; ++Y) {
        TColor32* Row = Cover.ScanLine(Y);
        const int Offset = H > 1 ? Design.Lean * Y / (H - 1) - Design.Lean / 2 : 0;
        const int SpineLeft = Design.SpineLeft + Offset;
        const int SpineRight = Design.SpineRight + Offset;
        // Back: lines of print of different lengths, every twentieth of the height.
        const int Line = Y / std::max(1, H / 20);
        const bool PrintRow = Y % std::max(1, H / 20) < LineHeight && Line > 0 && Line < 19;
        const int PrintFrom = W / 40;
        const int PrintTo = PrintFrom + (SpineLeft - PrintFrom) * (40 + (Line * 37) % 50) / 100;
        // Spine: lettering down its length, blocks narrower than the spine.
        const bool LetterRow = (Y / std::max(1, SpineWidth)) % 2 == 1 && Y > H / 8 && Y < H * 5 / 8;
        for (int X = 0; X < W; ++X) {
            TColor32 P;
            if (X < SpineLeft) {
                P = PrintRow && X >= PrintFrom && X < PrintTo
                        ? Shade(Design.Back, PrintDelta(Design.Back))
                        : Design.Back;
            } else if (X < SpineRight) {
                const bool Letter =
                    LetterRow && X >= SpineLeft + SpineWidth / 4 && X < SpineRight - SpineWidth / 4;
                P = Letter ? Shade(Design.Spine, PrintDelta(Design.Spine)) : Design.Spine;
            } else if (Design.PanelLeft >= 0 && X >= Design.PanelLeft) {
                P = Design.PanelColour;
            } else {
                // Front: a soft diagonal shading and a disc.
                const int DX = X - (SpineRight + W) / 2;
                const int DY = Y - H / 3;
                const bool Disc = DX * DX + DY * DY < (H / 6) * (H / 6);
                P = Shade(Design.Front, (X + Y) * 30 / (W + H) + (Disc ? 60 : 0));
            }
            Row[X] = P;
        }
        if (Design.Noise > 0)
            for (int X = 0; X < W; ++X) {
                TColor32 P = 0xFF000000u;
                for (int Shift = 0; Shift < 24; Shift += 8) {
                    const int Grain =
                        Random.Below(Design.Noise + 1) - Random.Below(Design.Noise + 1);
                    const int C =
                        std::clamp(static_cast<int>((Row[X] >> Shift) & 0xFF) + Grain, 0, 255);
                    P |= static_cast<TColor32>(C) << Shift;
                }
                Row[X] = P;
            }
    }
}
