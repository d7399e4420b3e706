// The window's status line: what each action did, in one line below the output view. Every
// button click and slider change clears it first; the handler that did something then says
// what (StatusText.h), and the error dispatch adds its sentence after the record is logged.

#include "app/MainForm.h"
#include "app/ScanStatusText.h"

#include "composer/InlayLayout.h"
#include "composer/SpineFinder.h"
#include "composer/TrayCard.h"
#include "composer/TrayInlay.h"

#include <QKeySequence>

#include <cstdlib>

void TMainForm::ClearStatus() {
    StatusLine->ShowMessage(QString(), false);
    TakeFileAction(FFileAction); // a note an earlier error left and nobody took
}

void TMainForm::ConnectStatusLine() {
    const auto Clear = [this] { ClearStatus(); };
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

namespace {

// Where the spine finder finds the spine of a wrap-around, in millimetres at tray-card size
// from the layout's own cut (centre to centre); none when it finds none.
std::optional<double> SpineOffsetMm(const TBitmap32& Input) {
    const std::optional<TSpineFinding> Found = FindSpine(Input, TInlayLayout::BackAndFront);
    if (!Found)
        return std::nullopt;
    const TInlayComposition Own =
        PlanInlay(Input.Width(), Input.Height(), TInlayRequest{TInlayLayout::BackAndFront, 0, {}});
    if (Own.Geometry.ComposedWidth <= 0)
        return std::nullopt;
    const double Columns = (static_cast<double>(Found->Cut.Left) + Found->Cut.Right -
                            Own.Cut().Left - Own.Cut().Right) /
                           2;
    return Columns * TrayCardWidthMm / static_cast<double>(Own.Geometry.ComposedWidth);
}

} // namespace

void TMainForm::ShowLoadedStatus(const std::string& FileName, const std::string& Damage) {
    const TBitmap32& Input = InputImgView->Bitmap();
    TLoadedStatus Loaded{FileName,       Input.Width(),      Input.Height(),
                         ChosenLayout(), InlayDotsPerInch(), Damage};
    Loaded.LooksLikeTrayCard = LooksLikeTrayCard(Input.Width(), Input.Height());
    // A wrap-around whose back and front differ in width has its spine off the layout's cut.
    if (Loaded.Layout == TInlayLayout::BackAndFront && !Loaded.LooksLikeTrayCard)
        Loaded.SpineOffsetMm = SpineOffsetMm(Input);
    Loaded.FindSpineKey =
        QKeySequence(QKeySequence::Find).toString(QKeySequence::NativeText).toStdString();
    // A scan with the scanner's bed around the card, or tilted, gets a hint at Straighten, after
    // the opening sentence (and what it says of damage) and before a warning of low resolution.
    const std::string Hint = ScanHintText(
        FindCard(Input), StraightenKey().toString(QKeySequence::NativeText).toStdString());
    if (Hint.empty()) {
        ShowStatus(Loaded);
        return;
    }
    TLoadedStatus Opening = Loaded;
    Opening.InlayDotsPerInch = 0;
    const TStatusText Warning = StatusText(TComposedStatus{Loaded.InlayDotsPerInch});
    StatusLine->ShowMessage(QString::fromStdString(WithScanHint(
                                WithScanHint(StatusText(Opening).Text, Hint), Warning.Text)),
                            Warning.Warning || !Damage.empty());
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
