#pragma once

// The marks the status line's texts are written with.

// Between a picture's width and height: "2850 × 1175".
inline constexpr const char* StatusTimes = "\u00D7";
// Between the parts of one status line.
inline constexpr const char* StatusDash = " \u2014 ";
