#include "composer/InlayLayout.h"

#include "raster/Bitmap32.h"

TInlayLayout ChooseInlayLayout(const TBitmap32& Picture) noexcept {
    return ChooseInlayLayout(Picture.Width(), Picture.Height());
}
