#include "scan/Straighten.h"

#include "raster/Orientation.h"
#include "scan/CardLeveller.h"

TCardFinding StraightenScan(TBitmap32& Picture) {
    const TCardFinding Finding = FindCard(Picture);
    if (!Finding.HasBorder)
        return Finding;
    TBitmap32 Card;
    LevelCard(Picture, Finding, Card);
    TakePixelsKeepingSettings(Picture, Card);
    return Finding;
}
