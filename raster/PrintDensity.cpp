#include "raster/PrintDensity.h"

#include <algorithm>

int TPrintDensity::RoundedDotsPerInch() const noexcept {
    if (!IsSet())
        return 1;
    const std::int64_t Whole = Numerator / Denominator;
    const std::int64_t Twice = 2 * (Numerator % Denominator);
    const bool Up = Twice > Denominator || (Twice == Denominator && Whole % 2 != 0);
    return static_cast<int>(std::clamp<std::int64_t>(Whole + (Up ? 1 : 0), 1, 65535));
}
