#include "compose_cli/ScanPreparation.h"

#include "raster/QuarterTurn.h"
#include "scan/Straighten.h"

TCardFinding PrepareScan(TBitmap32& Picture, const TScanPreparation& Preparation) {
    TurnClockwise(Picture, Preparation.Rotate);
    if (Preparation.Straighten)
        return StraightenScan(Picture);
    TCardFinding Untouched;
    Untouched.Card = Picture.FullArea();
    return Untouched;
}
