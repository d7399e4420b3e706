#pragma once

// The tray inlay composed at an explicit cut: the spine strip is where the user put it, or where
// the spine finder found it, instead of where the layout's proportions put it.

#include "composer/SpineCut.h"
#include "raster/Bitmap32.h"

// Recomposes Output from Input, taking the spine from the strip that Cut gives at slider position
// Position (ScaledSpineCut: B' columns from L') and the back card from columns 0 to L' - 1:
//
//    output  |<-B'->|<------ L' ------>|<-B'->|
//            |enips |    back card     |spine |   left strip: the spine turned by 180 degrees
//
// then stretches or squeezes it vertically to 1510 : 1175 as ComposeTrayInlay does. A function
// of the picture, the two edges and the slider alone; the layout plays no part. Output is resized
// and overwritten in place and announces each step. Throws what SetDimensions throws when a
// store cannot be had (also when the inlay would be wider than a bitmap can be); Output then
// keeps what the completed steps left in it. Not validated: Cut.Left < Cut.Right (the strip is
// kept inside the picture by ScaledSpineCut).
void ComposeTrayInlayAtCut(const TBitmap32& Input, const TSpineCut& Cut, double Position,
                           TBitmap32& Output);
