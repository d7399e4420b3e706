#pragma once

// What the batch command does to a scan before it composes it (--rotate, --straighten): a
// quarter turn for a scan made sideways, after the photo's own orientation tag, then the card
// cut out of the scanner bed and levelled. The layout choice, the spine search and the cut all
// work on the picture this leaves.

#include "raster/Bitmap32.h"
#include "scan/CardFinder.h"

struct TScanPreparation {
    int Rotate = 0;          // clockwise: 0, 90, 180 or 270
    bool Straighten = false; // cut the card out of the bed and level it
    bool Asked() const { return Rotate != 0 || Straighten; }
};

// Turns Picture clockwise by Preparation.Rotate and, with Straighten, straightens it
// (StraightenScan). Returns the finding of the straightening; without one, a finding of no
// border. Throws what the steps throw (EQuarterTurn for an angle that is no quarter turn).
TCardFinding PrepareScan(TBitmap32& Picture, const TScanPreparation& Preparation);
