// The scan itself: Rotate left (Ctrl+Shift+R), Rotate right (Ctrl+R) and Straighten (Ctrl+T)
// change the input picture, and Ctrl+Z puts back the picture as it was opened. After each
// change the window goes on as after opening: the cut returns to the layout's own, the layout
// is chosen from the new proportions, and the inlay is composed at once; Find spine and the cut
// lines then work on the changed picture.

#include "app/MainForm.h"
#include "app/ScanStatusText.h"
#include "app/WaitCursor.h"
#include "base/RunHandler.h"
#include "raster/Orientation.h"
#include "raster/QuarterTurn.h"
#include "scan/CardLeveller.h"

#include <memory>

void TMainForm::ScanRotateLeftButtonClick() {
    RunHandler([this] {
        ChangeInputPicture([](TBitmap32& Picture) { TurnClockwise(Picture, 270); });
        ShowTurnedStatus(false);
    });
}

void TMainForm::ScanRotateRightButtonClick() {
    RunHandler([this] {
        ChangeInputPicture([](TBitmap32& Picture) { TurnClockwise(Picture, 90); });
        ShowTurnedStatus(true);
    });
}

void TMainForm::ScanStraightenButtonClick() {
    RunHandler([this] {
        const TWaitCursor Hourglass;
        // Without a margin of bed nothing changes: no step to undo, no recomposition.
        const TCardFinding Found = FindCard(InputImgView->Bitmap());
        if (Found.HasBorder)
            ChangeInputPicture([&Found](TBitmap32& Picture) {
                TBitmap32 Card;
                LevelCard(Picture, Found, Card);
                TakePixelsKeepingSettings(Picture, Card);
            });
        StatusLine->ShowMessage(QString::fromStdString(StraightenedText(Found)), false);
    });
}

void TMainForm::EditUndoClick() {
    RunHandler([this] {
        if (!FOpenedPicture)
            return;
        TakePixelsKeepingSettings(InputImgView->Bitmap(), *FOpenedPicture);
        FOpenedPicture.reset();
        InputPictureChanged();
        StatusLine->ShowMessage(QString::fromUtf8(RestoredPictureText), false);
    });
}

void TMainForm::ChangeInputPicture(const std::function<void(TBitmap32&)>& Change) {
    TBitmap32& Input = InputImgView->Bitmap();
    // The picture as opened is kept from the first change on, for Ctrl+Z.
    std::unique_ptr<TBitmap32> Opened;
    if (!FOpenedPicture) {
        Opened = std::make_unique<TBitmap32>();
        Opened->CopyFrom(&Input);
    }
    Change(Input);
    if (Opened)
        FOpenedPicture = std::move(Opened);
    InputPictureChanged();
}

void TMainForm::InputPictureChanged() {
    FExplicitCut.reset();
    FCutDrag.reset();
    if (ChooseInlayLayout(InputImgView->Bitmap()) == TInlayLayout::BackAndFront)
        FormatBackFrontButton->setDown(true);
    else
        FormatBackButton->setDown(true);
    BuildOutput();
}

void TMainForm::ShowTurnedStatus(bool Right) {
    const TBitmap32& Input = InputImgView->Bitmap();
    StatusLine->ShowMessage(
        QString::fromStdString(TurnedText(Right, Input.Width(), Input.Height(), ChosenLayout())),
        false);
}
