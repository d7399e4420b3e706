// The scan's buttons in the window: Rotate left (Ctrl+Shift+R), Rotate right (Ctrl+R) and
// Straighten (Ctrl+T) change the input picture, the cut and the layout follow and the inlay is
// composed again; Ctrl+Z puts back the picture as opened; opening a scan with a margin hints at
// Straighten.

#include "tests/app/MainFormTestSupport.h"

#include "app/ScanStatusText.h"
#include "raster/QuarterTurn.h"
#include "tests/support/BitmapTestSupport.h"
#include "tests/support/MadeCovers.h"
#include "tests/support/MadeScans.h"

#include <QTest>
#include <QWindow>

#include <gmock/gmock.h>

using testing::HasSubstr;

namespace {

class MainFormScanTest : public MainFormFixture {
protected:
    // A back card tilted by 2 degrees on a white lid, written as a JPEG; Card is the card.
    std::string WriteTiltedScan(TBitmap32& Card) {
        TCoverDesign Design;
        Design.Width = 604;
        Design.Height = 472;
        Design.SpineLeft = 580;
        Design.SpineRight = 604;
        MakeCover(Design, Card);
        TScanSetup Setup;
        Setup.TiltDegrees = 2;
        TBitmap32 Scan;
        MakeScan(Card, Setup, Scan);
        const std::string Path = Folder / "scan.jpg";
        SaveJpegFile(Scan, Path, 95);
        return Path;
    }
    // A wrap-around lying on its side, with no margin.
    std::string WriteSidewaysCover() {
        TBitmap32 Cover;
        MakeCover(WiderBackCover(), Cover);
        TurnClockwise(Cover, 270);
        const std::string Path = Folder / "sideways.jpg";
        SaveJpegFile(Cover, Path, 95);
        return Path;
    }
    static void Press(TMainForm& Form, Qt::Key Key, Qt::KeyboardModifiers Modifiers = {}) {
        Form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Form));
        QTest::keyClick(Form.windowHandle(), Key, Modifiers);
    }
    static std::string StatusOf(const TMainForm& Form) {
        return Form.Status().text().toStdString();
    }
};

TEST_F(MainFormScanTest, OpeningAScanWithAMarginHintsAtStraighten) {
    TBitmap32 Card;
    const std::string Scan = WriteTiltedScan(Card);
    const auto Form = MakeForm();
    Form->LoadInputImage(Scan);
    EXPECT_THAT(StatusOf(*Form),
                HasSubstr(": back \u2014 The scan has a margin and is tilted by 2.0\u00B0: "
                          "Straighten (Ctrl+T) cuts the card out level"));

    // A picture of the card alone: the opening sentence as it always was.
    const std::string Cover = Folder / "cover.jpg";
    WriteTestJpeg(Cover, 900, 300);
    Form->LoadInputImage(Cover);
    EXPECT_EQ(
        StatusOf(*Form),
        "cover.jpg, 900 \u00D7 300: back and front \u2014 Low resolution: 80 dpi at tray-card "
        "size");
    EXPECT_EQ(Log(), "");
}

TEST_F(MainFormScanTest, CtrlTStraightensAndCtrlZPutsThePictureBack) {
    TBitmap32 Card;
    const std::string Scan = WriteTiltedScan(Card);
    const auto Form = MakeForm();
    Form->LoadInputImage(Scan);
    TBitmap32 Opened;
    Opened.CopyFrom(&Form->InputView().Bitmap());
    const int InlayWidthBefore = Form->OutputView().Bitmap().Width();

    Press(*Form, Qt::Key_T, Qt::ControlModifier);
    const TBitmap32& Input = Form->InputView().Bitmap();
    EXPECT_NEAR(Input.Width(), Card.Width(), 0.02 * Card.Width());
    EXPECT_NEAR(Input.Height(), Card.Height(), 0.02 * Card.Height());
    EXPECT_NE(Form->OutputView().Bitmap().Width(), InlayWidthBefore) << "composed again";
    ASSERT_TRUE(Form->InputView().CutLines());
    EXPECT_LE(Form->InputView().CutLines()->Right, Input.Width()) << "the cut follows";
    EXPECT_EQ(StatusOf(*Form), "Straightened: the card cut out and levelled by 2.0\u00B0");

    Press(*Form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(SameBitmaps(Form->InputView().Bitmap(), Opened));
    EXPECT_EQ(Form->OutputView().Bitmap().Width(), InlayWidthBefore);
    EXPECT_EQ(StatusOf(*Form), RestoredPictureText);
    EXPECT_EQ(Log(), "");
}

TEST_F(MainFormScanTest, TurnsAreExactAndTheLayoutFollowsThem) {
    const auto Form = MakeForm();
    Form->LoadInputImage(WriteSidewaysCover());
    EXPECT_TRUE(Form->BackButton().Down());
    TBitmap32 Opened, Expected;
    Opened.CopyFrom(&Form->InputView().Bitmap());

    // Ctrl+R: a quarter turn clockwise, and the wrap-around gets its layout.
    Press(*Form, Qt::Key_R, Qt::ControlModifier);
    Expected.CopyFrom(&Opened);
    TurnClockwise(Expected, 90);
    EXPECT_TRUE(SameBitmaps(Form->InputView().Bitmap(), Expected));
    EXPECT_TRUE(Form->BackFrontButton().Down());
    EXPECT_THAT(StatusOf(*Form), HasSubstr("Turned right: 1062 \u00D7 480: back and front"));

    // Find spine works on the turned picture.
    Form->FindSpineButton().Click();
    EXPECT_EQ(Log(), "") << "a spine was found";

    // Ctrl+Shift+R twice: half a turn the other way, the wrap-around upside down and still wide;
    // Ctrl+Z: the picture as opened.
    Press(*Form, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    Press(*Form, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    Expected.CopyFrom(&Opened);
    TurnClockwise(Expected, 270);
    EXPECT_TRUE(SameBitmaps(Form->InputView().Bitmap(), Expected));
    EXPECT_TRUE(Form->BackFrontButton().Down());
    Press(*Form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(SameBitmaps(Form->InputView().Bitmap(), Opened));
    EXPECT_TRUE(Form->BackButton().Down());

    // A new picture starts afresh: Ctrl+Z has nothing to put back.
    Press(*Form, Qt::Key_R, Qt::ControlModifier);
    Form->LoadInputImage(Folder / "sideways.jpg");
    Press(*Form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(SameBitmaps(Form->InputView().Bitmap(), Opened));
}

TEST_F(MainFormScanTest, StraightenWithoutAMarginChangesNothingAndSaysSo) {
    const auto Form = MakeForm();
    const std::string Cover = Folder / "cover.jpg";
    WriteTestJpeg(Cover, 900, 300);
    Form->LoadInputImage(Cover);
    TBitmap32 Opened;
    Opened.CopyFrom(&Form->InputView().Bitmap());
    Form->StraightenButton().Click();
    EXPECT_TRUE(SameBitmaps(Form->InputView().Bitmap(), Opened));
    EXPECT_THAT(StatusOf(*Form), HasSubstr("Nothing to straighten"));
    EXPECT_EQ(Log(), "");
}

TEST_F(MainFormScanTest, TheButtonsNameTheirKeys) {
    const auto Form = MakeForm();
    EXPECT_THAT(Form->RotateLeftButton().toolTip().toStdString(), HasSubstr("(Ctrl+Shift+R)"));
    EXPECT_THAT(Form->RotateRightButton().toolTip().toStdString(), HasSubstr("(Ctrl+R)"));
    EXPECT_THAT(Form->StraightenButton().toolTip().toStdString(), HasSubstr("(Ctrl+T)"));
    EXPECT_EQ(Form->RotateLeftButton().accessibleName().toStdString(), "Rotate left");
    EXPECT_EQ(Form->RotateRightButton().accessibleName().toStdString(), "Rotate right");
    EXPECT_EQ(Form->StraightenButton().accessibleName().toStdString(), "Straighten");
}

// The window as designed fits a 1280 x 800 screen, a frame of up to 7 pixels a side included:
// at most 1200 wide, with every toolbar of the ribbon inside it.
TEST_F(MainFormScanTest, TheDesignedWindowShowsTheWholeRibbonWithinAScreenOf1280) {
    const auto Form = MakeForm();
    EXPECT_LE(Form->width(), 1200);
    // The offscreen screen is 800 pixels wide: the window at its designed width, as on a screen
    // of 1280.
    Form->resize(1200, Form->height());
    QApplication::processEvents();
    for (const TAdvToolBar* ToolBar : Form->findChildren<TAdvToolBar*>()) {
        const QPoint Right = ToolBar->mapTo(Form.get(), QPoint(ToolBar->width(), 0));
        EXPECT_LE(Right.x(), Form->width()) << ToolBar->Caption().toStdString();
    }
}

} // namespace
