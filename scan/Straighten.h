#pragma once

// Straightening a scan in place: the card cut out of the scanner bed and levelled.

#include "raster/Bitmap32.h"
#include "scan/CardFinder.h"

// Finds the card in Picture (FindCard) and, where the picture has a border, replaces it by the
// levelled cut (LevelCard), keeping its settings; a picture without one is left as it is and
// announces nothing. Returns the finding. Throws what SetDimensions throws, Picture then being
// unchanged.
TCardFinding StraightenScan(TBitmap32& Picture);
