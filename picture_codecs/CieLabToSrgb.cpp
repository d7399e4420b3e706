#include "picture_codecs/CieLabToSrgb.h"

#include <algorithm>
#include <cmath>

namespace {

using TMatrix = std::array<std::array<double, 3>, 3>;
using TVector = std::array<double, 3>;

TVector Times(const TMatrix& M, const TVector& V) {
    TVector R{};
    for (int I = 0; I < 3; ++I)
        R[I] = M[I][0] * V[0] + M[I][1] * V[1] + M[I][2] * V[2];
    return R;
}

TMatrix Times(const TMatrix& A, const TMatrix& B) {
    TMatrix R{};
    for (int I = 0; I < 3; ++I)
        for (int J = 0; J < 3; ++J)
            R[I][J] = A[I][0] * B[0][J] + A[I][1] * B[1][J] + A[I][2] * B[2][J];
    return R;
}

// The Bradford cone responses and their inverse.
constexpr TMatrix Bradford{
    {{0.8951, 0.2664, -0.1614}, {-0.7502, 1.7135, 0.0367}, {0.0389, -0.0685, 1.0296}}};
constexpr TMatrix BradfordInverse{{{0.9869929, -0.1470543, 0.1599627},
                                   {0.4323053, 0.5183603, 0.0492912},
                                   {-0.0085287, 0.0400428, 0.9684867}}};
// XYZ (D65) to linear sRGB.
constexpr TMatrix XyzToLinearSrgb{{{3.2404542, -1.5371385, -0.4985314},
                                   {-0.9692660, 1.8760108, 0.0415560},
                                   {0.0556434, -0.2040259, 1.0572252}}};
constexpr TVector D65{0.95047, 1.0, 1.08883};

std::uint8_t Encoded(double Linear) noexcept {
    const double C = std::clamp(Linear, 0.0, 1.0);
    const double V = C <= 0.0031308 ? 12.92 * C : 1.055 * std::pow(C, 1 / 2.4) - 0.055;
    return static_cast<std::uint8_t>(std::lround(V * 255));
}

// The inverse of the L*a*b* companding function.
double Expanded(double T) noexcept {
    constexpr double Delta = 6.0 / 29;
    return T > Delta ? T * T * T : 3 * Delta * Delta * (T - 4.0 / 29);
}

} // namespace

TCieLabToSrgb::TCieLabToSrgb(double WhiteX, double WhiteY) {
    // A white point that cannot be one is taken as D50.
    if (!(WhiteX > 0 && WhiteY > 0 && WhiteX + WhiteY < 1)) {
        WhiteX = 0.3457;
        WhiteY = 0.3585;
    }
    FWhite = {WhiteX / WhiteY, 1.0, (1 - WhiteX - WhiteY) / WhiteY};
    const TVector From = Times(Bradford, FWhite);
    const TVector To = Times(Bradford, D65);
    TMatrix Scale{};
    for (int I = 0; I < 3; ++I)
        Scale[I][I] = To[I] / From[I];
    FToLinear = Times(XyzToLinearSrgb, Times(BradfordInverse, Times(Scale, Bradford)));
}

std::array<std::uint8_t, 3> TCieLabToSrgb::Convert(double L, double A, double B) const noexcept {
    const double Fy = (L + 16) / 116;
    const TVector Xyz{FWhite[0] * Expanded(Fy + A / 500), FWhite[1] * Expanded(Fy),
                      FWhite[2] * Expanded(Fy - B / 200)};
    const TVector Linear = Times(FToLinear, Xyz);
    return {Encoded(Linear[0]), Encoded(Linear[1]), Encoded(Linear[2])};
}
