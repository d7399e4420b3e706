#pragma once

// How densely a picture is to be printed: Numerator / Denominator dots per inch, kept as an exact
// fraction so that a file format that can hold one (EXIF) prints the picture at its exact size.

#include <cstdint>

struct TPrintDensity {
    std::int64_t Numerator = 0; // 0: no density
    std::int64_t Denominator = 1;

    bool IsSet() const noexcept { return Numerator > 0 && Denominator > 0; }

    // The nearest whole number of dots per inch (half rounded to even), within 1 to 65535 as
    // JFIF's density fields hold it; 1 when no density is set.
    int RoundedDotsPerInch() const noexcept;

    bool operator==(const TPrintDensity&) const = default;
};
