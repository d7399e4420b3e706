#pragma once

// The spine finder: looks for the spine in the picture of a CD cover, so that the inlay can be
// cut where the spine really is rather than where the layout's proportions put it (a wrap-around
// whose back is wider than its front has its spine right of the middle).
//
// A spine shows as two long vertical edges: columns at which the colour changes in (nearly) every
// part of the picture's height, a plausible distance apart, near where the layout expects it:
//
//   layout          both edges within               spine width (share of the picture's width)
//   back-and-front  the middle 40 % of the width    1.5 % to 5 %
//   back            the rightmost 15 %              3 % to 8 %; the picture's right edge may be
//                                                   the spine's outer edge
//
// The finder looks at 48 bands across the height (up to 8 rows of each), compares the mean colour
// of the 3 columns left of each column boundary with that of the 3 right of it, and counts an
// edge in a band where one colour channel changes by at least 12 levels, or 4 times the
// picture's typical change where it is busier (grain, texture). An edge must hold in at least
// 75 % of the bands along a line that may lean by up to 1 % of the height (a scan put on the
// glass slightly askew). Of the pairs of edges that fit, the one that holds best wins; a pair
// nearer the expected width and place wins a near tie.

#include "base/Exception.h"
#include "composer/InlayLayout.h"
#include "composer/SpineCut.h"
#include "raster/Bitmap32.h"

#include <optional>

struct TSpineFinding {
    TSpineCut Cut;    // the spine's columns, an explicit cut (its edges at slider position 0)
    float Confidence; // the share of the height along which the weaker edge holds, 0.75 to 1 (a
                      // picture edge serving as the outer edge counts 0.9 times the other's)
};

// Looks for the spine of Picture in Layout. Nothing when no pair of edges fits: a spine whose
// colour continues the back's, a picture smaller than 100 x 20 pixels, or one without two such
// edges; nothing for a whole tray card. Reads only a few hundred rows of the picture's search
// strip.
std::optional<TSpineFinding> FindSpine(const TBitmap32& Picture, TInlayLayout Layout);

// Raised where a spine was asked for and FindSpine found none.
DECLARE_EXCEPTION_CLASS(ESpineNotFound, Exception);
inline constexpr const char* SpineNotFoundMessage =
    "No spine found in the picture: the cut stays where it was";
