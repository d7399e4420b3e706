// The window's composition: what the controls say, handed to the inlay composer
// (composer/TrayInlay.h, or composer/TrayInlayAtCut.h for a cut the user moved or the spine
// finder found).

#include "app/MainForm.h"
#include "composer/TrayInlay.h"
#include "composer/TrayInlayAtCut.h"

// The layout is read from the back-and-front button alone: while neither button is down (before
// the first picture), the back layout is used.
TInlayLayout TMainForm::ChosenLayout() const {
    return FormatBackFrontButton->Down() ? TInlayLayout::BackAndFront : TInlayLayout::Back;
}

// The strip the composition takes as the spine, as the input view shows it.
TSpineCut TMainForm::ShownSpineCut() const {
    const int Width = InputImgView->Bitmap().Width();
    const double Position = SpineSizeTrackBar->Position();
    return FExplicitCut ? ScaledSpineCut(FExplicitCut->Cut, Position, Width)
                        : DescribedSpineCut(Width, ChosenLayout(), Position);
}

void TMainForm::BuildOutput() {
    const TInlayLayout Layout = ChosenLayout();
    // A cut made in the other layout does not hold in this one: back to the layout's own.
    if (FExplicitCut && FExplicitCut->Layout != Layout)
        FExplicitCut.reset();
    if (FExplicitCut)
        ComposeTrayInlayAtCut(InputImgView->Bitmap(), FExplicitCut->Cut,
                              SpineSizeTrackBar->Position(), OutputImgView->Bitmap());
    else
        ComposeTrayInlay(InputImgView->Bitmap(), Layout, SpineSizeTrackBar->Position(),
                         OutputImgView->Bitmap());
    const TSpineCut Shown = ShownSpineCut();
    InputImgView->SetCutLines(TCutLines{Shown.Left, Shown.Right});
}
