// The window's save: the inlay as a JPEG of the tray card, never over the picture it came from.

#include "app/MainForm.h"
#include "composer/TrayCard.h"
#include "jpeg_bridge/JpegFile.h"

void TMainForm::SaveInlay(const std::string& FileName) {
    // The save dialog asks before no overwrite: without this, saving onto the scan (under any
    // of its names) would replace it without a word.
    if (FInputFile && FileIdentityOf(FileName) == FInputFile)
        throw Exception("The inlay cannot be saved over the picture it was made from");
    const TBitmap32& Inlay = OutputImgView->Bitmap();
    SaveJpegFile(Inlay, FileName, InlaySaveQuality,
                 FComposition ? FComposition->Density : TPrintDensity{});
}
