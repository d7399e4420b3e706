// The window's composition: what the controls say, handed to the inlay composer
// (composer/TrayInlay.h).

#include "app/MainForm.h"
#include "composer/TrayInlay.h"

// The layout is read from the back-and-front button alone: while neither button is down (before
// the first picture), the back layout is used.
void TMainForm::BuildOutput() {
    const TInlayLayout Layout =
        FormatBackFrontButton->Down() ? TInlayLayout::BackAndFront : TInlayLayout::Back;
    ComposeTrayInlay(InputImgView->Bitmap(), Layout, SpineSizeTrackBar->Position(),
                     OutputImgView->Bitmap());
}
