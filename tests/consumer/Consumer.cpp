// A program outside the project: it includes the core library's public headers from the
// repository root, links libtrayvane_core.a, and checks every size and pixel of the inlay for
// both layouts and all nine spine settings against its own arithmetic.

#include "composer/TrayInlay.h"
#include "raster/Bitmap32.h"

#include <cmath>
#include <cstdio>

namespace {

int Failures = 0;

void Check(bool Condition, const char* What, bool BackAndFront, double Position, int X = -1,
           int Y = -1) {
    if (Condition)
        return;
    ++Failures;
    if (Failures <= 20)
        std::fprintf(stderr, "%s wrong: %s layout, spine %g, at %d, %d\n", What,
                     BackAndFront ? "back-and-front" : "back", Position, X, Y);
}

TColor32 InputPixel(int X, int Y) {
    return 0xFF000000u | (static_cast<TColor32>(Y) << 12) | static_cast<TColor32>(X);
}

void CheckComposition(int W, int H, bool BackAndFront, double Position) {
    // The inlay's arithmetic, written out independently: single-precision unit and scale.
    const float A = static_cast<float>(W) / (BackAndFront ? 285.0f : 151.0f);
    const float P = (static_cast<float>(Position) + 100.0f) / 100.0f;
    const int B = static_cast<int>(std::nearbyint(double{A} * double{P} * 6.0));
    const int Half = BackAndFront ? (W - B) / 2 : W;
    const int Wc = BackAndFront ? Half + 2 * B : W + B;
    const int Hn = static_cast<int>(static_cast<long long>(Wc) * 1175 / 1510);
    const int SpineLeft = BackAndFront ? Half : W - B;
    const float ScaleY = static_cast<float>(H) / static_cast<float>(Hn);

    TBitmap32 Input;
    Input.SetDimensions(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            Input.PixelData()[Y * W + X] = InputPixel(X, Y);

    TBitmap32 Output;
    ComposeTrayInlay(Input, BackAndFront, Position, Output);
    Check(Output.Width() == Wc && Output.Height() == Hn, "size", BackAndFront, Position);
    if (Output.Width() != Wc || Output.Height() != Hn)
        return;
    for (int Y = 0; Y < Hn; ++Y) {
        const int Row = Hn == H ? Y : static_cast<int>(double{ScaleY} * Y);
        for (int X = 0; X < Wc; ++X) {
            const TColor32 Expected =
                X < B ? InputPixel(SpineLeft + B - 1 - X, H - 1 - Row) : InputPixel(X - B, Row);
            Check(Output.PixelData()[Y * Wc + X] == Expected, "pixel", BackAndFront, Position, X,
                  Y);
        }
    }
}

} // namespace

int main() {
    const double Positions[] = {-20, -15, -10, -5, 0, 5, 10, 15, 20};
    for (const bool BackAndFront : {true, false})
        for (const double Position : Positions) {
            CheckComposition(1500, 1000, BackAndFront, Position);
            CheckComposition(613, 467, BackAndFront, Position);
        }
    if (Failures == 0)
        std::puts("every size and pixel is right");
    return Failures == 0 ? 0 : 1;
}
