// The cut: "Find spine" and the dragging of the cut lines in the input view. Both make the cut
// explicit for the layout in use (BuildOutput composes at it and shows it); loading a picture or
// changing the layout returns to the layout's own cut. Esc during a drag puts back the cut from
// before it.

#include "app/MainForm.h"
#include "base/RunHandler.h"
#include "composer/SpineFinder.h"

// Finding nothing changes nothing on the screen; the log says so. What was found is said in the
// status line, in millimetres of the printed card.
void TMainForm::FormatFindSpineButtonClick() {
    RunHandler([this] {
        const TInlayLayout Layout = ChosenLayout();
        if (Layout == TInlayLayout::TrayCard)
            return; // a whole tray card has its spines (the button is disabled meanwhile)
        const std::optional<TSpineFinding> Found = FindSpine(InputImgView->Bitmap(), Layout);
        if (!Found)
            throw ESpineNotFound(SpineNotFoundMessage);
        FExplicitCut = TExplicitCut{Found->Cut, Layout};
        BuildOutput();
        const TSpineCut Shown = ShownSpineCut();
        ShowStatus(TSpineFoundStatus{Shown.Left, Shown.Right, InlayDotsPerInch()});
    });
}

// The dragged line goes to the boundary under the pointer; the other stays where it is shown.
// The status line's sentence about the inlay before (a save, a spine found) no longer holds.
void TMainForm::InputImgViewCutLineMoved(TCutLine Line, int Column) {
    ClearStatus();
    RunHandler([this, Line, Column] {
        const int Width = InputImgView->Bitmap().Width();
        const TInlayLayout Layout = ChosenLayout();
        if (Width <= 0 || Layout == TInlayLayout::TrayCard)
            return;
        const TSpineEdge Edge = Line == TCutLine::Left ? TSpineEdge::Left : TSpineEdge::Right;
        // The drag stops where the strip would stop being a spine.
        FExplicitCut = TExplicitCut{MoveSpineCutEdge(ShownSpineCut(), Edge, Column,
                                                     SpineSizeTrackBar->Position(), Width,
                                                     ExplicitCutWidths(Width, Layout)),
                                    Layout};
        BuildOutput();
        ShowComposedStatus();
    });
}

void TMainForm::InputImgViewCutDragStarted() {
    FCutDrag = TCutDrag{FExplicitCut};
}

// Esc during a drag: the cut as it was before the drag, composed and shown again.
void TMainForm::InputImgViewCutDragCancelled() {
    RunHandler([this] {
        if (!FCutDrag)
            return;
        FExplicitCut = FCutDrag->CutBefore;
        FCutDrag.reset();
        BuildOutput();
        ShowComposedStatus();
    });
}
