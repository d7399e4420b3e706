// The window's composition: what the controls say, handed to the inlay composer's one entry
// (ComposeInlay, composer/TrayInlay.h), with the cut the user moved or the spine finder found.

#include "app/MainForm.h"
#include "composer/TrayInlay.h"

// The layout is read from the back-and-front and tray-card buttons: while neither is down (before
// the first picture, or with the back button down), the back layout is used.
TInlayLayout TMainForm::ChosenLayout() const {
    if (FormatTrayCardButton->Down())
        return TInlayLayout::TrayCard;
    return FormatBackFrontButton->Down() ? TInlayLayout::BackAndFront : TInlayLayout::Back;
}

// A whole tray card has no spine to size, cut or find: the controls for it are disabled and the
// cut lines hidden while its button is down.
void TMainForm::ShowLayoutControls() {
    const bool Cuts = ChosenLayout() != TInlayLayout::TrayCard;
    SpineSizeTrackBar->setEnabled(Cuts);
    FormatFindSpineButton->setEnabled(Cuts);
    if (!Cuts)
        InputImgView->SetCutLines(std::nullopt);
}

// A cut made in another layout does not hold in this one.
TInlayRequest TMainForm::CompositionRequest() const {
    const TInlayLayout Layout = ChosenLayout();
    std::optional<TSpineCut> Cut;
    if (FExplicitCut && FExplicitCut->Layout == Layout)
        Cut = FExplicitCut->Cut;
    return TInlayRequest{Layout, SpineSizeTrackBar->Position(), Cut};
}

// The strip the composition takes as the spine, as the input view shows it.
TSpineCut TMainForm::ShownSpineCut() const {
    const TBitmap32& Input = InputImgView->Bitmap();
    return PlanInlay(Input.Width(), Input.Height(), CompositionRequest()).Cut();
}

void TMainForm::BuildOutput() {
    // A cut made in the other layout does not hold in this one: back to the layout's own.
    if (FExplicitCut && FExplicitCut->Layout != ChosenLayout())
        FExplicitCut.reset();
    FComposition.reset();
    FComposition =
        ComposeInlay(InputImgView->Bitmap(), CompositionRequest(), OutputImgView->Bitmap());
    const TSpineCut Shown = FComposition->Cut();
    InputImgView->SetCutLines(TCutLines{Shown.Left, Shown.Right});
    ShowLayoutControls();
}
