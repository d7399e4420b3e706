// The window's save: the inlay as a JPEG of the tray card (or, for a name ending in .png, .tif or
// .tiff, as the lossless file that name asks for), never over the picture it came from.

#include "app/MainForm.h"
#include "base/FileName.h"
#include "composer/TrayCard.h"
#include "jpeg_bridge/JpegFile.h"
#include "picture_codecs/LosslessInlayFile.h"

void TMainForm::SaveInlay(const std::string& FileName) {
    // The save dialog asks before no overwrite: without this, saving onto the scan (under any
    // of its names) would replace it without a word.
    if (FInputFile && FileIdentityOf(FileName) == FInputFile)
        throw Exception("The inlay cannot be saved over the picture it was made from");
    const TBitmap32& Inlay = OutputImgView->Bitmap();
    const TPrintDensity Density = FComposition ? FComposition->Density : TPrintDensity{};
    // A name that asks for PNG or TIFF gets it, not JPEG data under that name.
    const std::string Extension = ExtractFileExt(FileName);
    if (SameTextAscii(Extension, ".png"))
        SavePngFile(Inlay, FileName, Density);
    else if (SameTextAscii(Extension, ".tif") || SameTextAscii(Extension, ".tiff"))
        SaveTiffFile(Inlay, FileName, Density);
    else
        SaveJpegFile(Inlay, FileName, InlaySaveQuality, Density);
}
