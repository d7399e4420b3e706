#pragma once

// Levelling the card that FindCard found: the pixels of its cut, turned back by its tilt with
// bilinear resampling, the rows shared between two threads. Only the card's box is resampled,
// never the whole scan.

#include "raster/Bitmap32.h"
#include "scan/CardFinder.h"

// Makes Card the levelled cut of Scan that Finding describes (Finding.Card in the levelled
// picture, turned back by Finding.LevelDegrees): bilinear samples, points outside the scan taking
// its nearest edge pixel; without a turn, an exact copy of the box. Card is resized (and throws
// what SetDimensions throws, Card then being empty) and announces its change. Scan and Card are
// different bitmaps.
void LevelCard(const TBitmap32& Scan, const TCardFinding& Finding, TBitmap32& Card);
