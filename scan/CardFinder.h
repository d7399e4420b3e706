#pragma once

// Finding the card in a flatbed scan. A scanner gives the card with the lid around it: the
// scanner bed, a near-uniform colour at the picture's edges (a white or grey lid, or black where
// the lid was left open; transparent pixels count as white). The card is what the bed surrounds.
// Its tilt comes from its long edges, each fitted as a straight line through the points where
// the picture leaves the bed colour; the card's box is then taken in the levelled picture (the
// scan turned about its centre by the tilt) and cut inside the edge's blur, so that no row or
// column of bed stays:
//
//     bed                                        levelled, cut
//   +----------------------+
//   |      ___-----\       |                    +-------------+
//   |  /---          \     |       ->           |    card     |
//   |  \     card     \    |                    |             |
//   |   \        ___---    |                    +-------------+
//   |    \---''''          |
//   +----------------------+
//
// A picture whose four edges are not mostly one colour has no bed and is left as it is.

#include "raster/Bitmap32.h"
#include "raster/Rect.h"

// What FindCard found in a scan.
struct TCardFinding {
    // A bed surrounds the card: the picture has a margin to cut away. When false, the rest
    // describes the picture as it is (no tilt, the whole picture).
    bool HasBorder = false;
    // The bed's colour, opaque.
    TColor32 Bed = 0;
    // The card's tilt in degrees, positive clockwise (its top edge falls to the right).
    double TiltDegrees = 0;
    // The angle the picture is turned back by when levelled: TiltDegrees, or 0 below
    // MinLevelledTiltDegrees.
    double LevelDegrees = 0;
    // The cut, in the levelled picture's pixels: pixel (X, Y) of the levelled picture is the
    // scan's point turned clockwise by LevelDegrees about the scan's centre. Without a border, or
    // without levelling, the scan's own pixels.
    TRect Card{0, 0, 0, 0};
    // The card's own edge could not be told from the bed (a card whose design has a frame of the
    // lid's colour, or print that fades into it): the cut follows what differs from the bed.
    bool EdgeUncertain = false;
};

// A tilt below this is not levelled: turning would only soften the picture.
inline constexpr double MinLevelledTiltDegrees = 0.05;
// A border or a tilt above this is worth mentioning to the user.
inline constexpr double NoticeableTiltDegrees = 0.3;

// Finds the bed and the card in Scan. Never throws for any picture (an empty one, one of a
// single colour, one too small to hold a card: no border); reads Scan only.
TCardFinding FindCard(const TBitmap32& Scan);

// Whether a finding is worth a hint: a border, or a tilt above NoticeableTiltDegrees.
bool ScanWantsStraightening(const TCardFinding& Finding) noexcept;
