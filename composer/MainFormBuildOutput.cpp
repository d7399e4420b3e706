// The window's composition: what the controls say, handed to the inlay composer. Compiled into
// the window program; the composer itself is in TrayInlay.cpp.

#include "app/MainForm.h"
#include "composer/TrayInlay.h"

// The layout is read from the back-and-front button alone: while neither button is down (before
// the first picture), the back layout is used.
void TMainForm::BuildOutput() {
    ComposeTrayInlay(InputImgView->Bitmap(), FormatBackFrontButton->Down(),
                     SpineSizeTrackBar->Position(), OutputImgView->Bitmap());
}
