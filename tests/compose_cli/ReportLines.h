#pragma once

// The batch command's reports on standard error, for the tests of other reports: every inlay of
// a small test picture prints below 150 dpi, and the line that warns of it is left out where a
// test looks at something else.

#include <sstream>
#include <string>

// Report without its "...: Low resolution: N dpi at tray-card size" lines.
inline std::string WithoutLowResolutionLines(const std::string& Report) {
    std::istringstream Lines(Report);
    std::string Line, Kept;
    while (std::getline(Lines, Line))
        if (Line.find(": Low resolution: ") == std::string::npos ||
            Line.find(" dpi at tray-card size") == std::string::npos)
            Kept += Line + "\n";
    return Kept;
}
