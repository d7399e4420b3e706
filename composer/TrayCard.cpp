#include "composer/TrayCard.h"

#include <numeric>

TPrintDensity TrayCardDensity(std::int64_t InlayWidth) {
    if (InlayWidth < 1)
        return {};
    // InlayWidth pixels across TrayCardWidthMm: InlayWidth * 25.4 / 151 = InlayWidth * 254 / 1510.
    const std::int64_t Numerator = InlayWidth * 254;
    const std::int64_t Denominator = std::int64_t{TrayCardWidthMm} * 10;
    const std::int64_t Common = std::gcd(Numerator, Denominator);
    return TPrintDensity{Numerator / Common, Denominator / Common};
}
