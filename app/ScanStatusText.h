#pragma once

// What the status line says about the scan itself: the hint after opening a scan that shows the
// scanner's bed around the card or a tilt, and what turning and straightening did. Pure
// functions, so that every sentence can be checked without a window. Texts are UTF-8.
//
//   hint          "The scan has a margin and is tilted by 1.3°: Straighten (Ctrl+T) cuts the
//                 card out level" (after " — " behind the opening sentence)
//   straightened  "Straightened: the card cut out and levelled by 1.3°"
//   turned        "Turned right: 1200 × 2850: back"
//   undone        "Back to the picture as opened"

#include "composer/InlayLayout.h"
#include "scan/CardFinder.h"

#include <string>

// The hint for a scan as FindCard found it: "" when it shows no margin and no tilt above
// NoticeableTiltDegrees. KeyText names the Straighten key ("Ctrl+T").
std::string ScanHintText(const TCardFinding& Finding, const std::string& KeyText);

// Text followed by Hint after a dash; Text alone when Hint is "".
std::string WithScanHint(const std::string& Text, const std::string& Hint);

// What Straighten did to the picture.
std::string StraightenedText(const TCardFinding& Finding);

// What a quarter turn to the right (clockwise) or left did, with the picture's new size and
// the layout chosen for it.
std::string TurnedText(bool Right, int Width, int Height, TInlayLayout Layout);

inline constexpr const char* RestoredPictureText = "Back to the picture as opened";
