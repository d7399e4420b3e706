// The window's status line: what each action did, in one line below the output view. Every
// button click and slider change clears it first; the handler that did something then says
// what (StatusText.h), and the error dispatch adds its sentence after the record is logged.

#include "app/MainForm.h"

#include "composer/InlayLayout.h"

#include <cstdlib>

void TMainForm::ConnectStatusLine() {
    const auto Clear = [this] {
        StatusLine->ShowMessage(QString(), false);
        TakeFileAction(FFileAction); // a note an earlier error left and nobody took
    };
    for (TAdvGlowButton* const Button : findChildren<TAdvGlowButton*>())
        connect(Button, &TAdvGlowButton::OnClick, this, Clear);
    connect(SpineSizeTrackBar, &TAdvSmoothTrackBar::OnPositionChanged, this, Clear);
}

void TMainForm::ShowStatus(const TStatusEvent& Event) {
    const TStatusText Status = StatusText(Event);
    StatusLine->ShowMessage(QString::fromStdString(Status.Text), Status.Warning);
}

int TMainForm::InlayDotsPerInch() const {
    return FComposition && FComposition->Density.IsSet()
               ? FComposition->Density.RoundedDotsPerInch()
               : 0;
}

void TMainForm::ShowLoadedStatus(const std::string& FileName) {
    const TBitmap32& Input = InputImgView->Bitmap();
    ShowStatus(
        TLoadedStatus{FileName, Input.Width(), Input.Height(), ChosenLayout(), InlayDotsPerInch()});
}

void TMainForm::ShowComposedStatus() {
    ShowStatus(TComposedStatus{InlayDotsPerInch()});
}

void TMainForm::ShowSavedStatus(const std::string& FileName) {
    ShowStatus(TSavedStatus{FileName, InlayDotsPerInch()});
}

void TMainForm::ShowErrorStatus(const std::exception& E, const std::string& LoggedTo) noexcept {
    // Inside the error dispatch: nothing may leave, and there is nowhere left to report to.
    try {
        const TFileActionNote Action = TakeFileAction(FFileAction);
        const char* const Home = std::getenv("HOME");
        ShowStatus(TErrorStatus{Action.Action, Action.FileName, E.what(),
                                AbbreviateHome(LoggedTo, Home ? Home : "")});
    } catch (...) {
    }
}
