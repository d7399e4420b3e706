#include "app/ScanStatusText.h"

#include "app/StatusMarks.h"

#include <cmath>
#include <cstdio>

namespace {

// An angle with one decimal and the degree sign, without its sign: "1.3°".
std::string Degrees(double Value) {
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.1f\u00B0", std::abs(Value));
    return Text;
}

bool Noticeable(const TCardFinding& Finding) {
    return std::abs(Finding.TiltDegrees) > NoticeableTiltDegrees;
}

} // namespace

std::string ScanHintText(const TCardFinding& Finding, const std::string& KeyText) {
    const std::string Straighten = "Straighten (" + KeyText + ")";
    const bool Tilted = Noticeable(Finding);
    if (Finding.HasBorder && Tilted)
        return "The scan has a margin and is tilted by " + Degrees(Finding.TiltDegrees) + ": " +
               Straighten + " cuts the card out level";
    if (Finding.HasBorder)
        return "The scan has a margin: " + Straighten + " cuts the card out";
    if (Tilted)
        return "The scan is tilted by " + Degrees(Finding.TiltDegrees) + ": " + Straighten +
               " levels it";
    return {};
}

std::string WithScanHint(const std::string& Text, const std::string& Hint) {
    return Hint.empty() ? Text : Text + StatusDash + Hint;
}

std::string StraightenedText(const TCardFinding& Finding) {
    if (!Finding.HasBorder)
        return "Nothing to straighten: no margin of the scanner's bed around the picture";
    std::string Text =
        Finding.LevelDegrees != 0
            ? "Straightened: the card cut out and levelled by " + Degrees(Finding.LevelDegrees)
            : "Straightened: the card cut out";
    if (Finding.EdgeUncertain)
        Text += StatusDash +
                std::string("its edge could not be told from the scanner's lid, so the cut "
                            "follows what differs from the lid");
    return Text;
}

std::string TurnedText(bool Right, int Width, int Height, TInlayLayout Layout) {
    return std::string(Right ? "Turned right: " : "Turned left: ") + std::to_string(Width) + " " +
           StatusTimes + " " + std::to_string(Height) + ": " +
           (Layout == TInlayLayout::BackAndFront ? "back and front" : "back");
}
