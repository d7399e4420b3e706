// The ribbon built by uic from the shipped window description (resources/MainForm.ui), which
// promotes the widgets: every property the description sets reaches the widgets, the toolbars
// take their designed places, and building it fires no event.

#include "ui_MainForm.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(RibbonFormTest, BuildsFromTheWindowDescription) {
    QWidget Form;
    QFont Font("Tahoma");
    Font.setPixelSize(11);
    Form.setFont(Font);
    Ui::MainForm Ui;
    Ui.setupUi(&Form);
    QSignalSpy Changed(Ui.SpineSizeTrackBar, &TAdvSmoothTrackBar::OnPositionChanged);
    Form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));

    EXPECT_EQ(Ui.AdvToolBarPager11->geometry(), QRect(0, 0, 1200, 97));
    EXPECT_EQ(Form.size(), QSize(1200, 699));
    EXPECT_EQ(Ui.OutputImgView->geometry(), QRect(0, 97 + 276 + 3, 1200, 303));
    EXPECT_EQ(Ui.StatusLine->geometry(), QRect(0, 679, 1200, StatusLineHeight));
    EXPECT_EQ(Ui.AdvToolBar1->Caption(), "File");
    // Open, Save and Print side by side, the toolbar as wide as they need.
    EXPECT_EQ(Ui.FilePrintButton->Caption(), "Print");
    EXPECT_TRUE(Ui.FilePrintButton->HasPicture());
    EXPECT_EQ(Ui.FilePrintButton->geometry(), QRect(215, 1, 103, 72));
    EXPECT_EQ(Ui.AdvToolBar1->width(), 3 + 107 + 105 + 103 + 3);
    // The toolbars stand side by side, none overlapping the next, the last inside the ribbon.
    const TAdvToolBar* ToolBars[] = {Ui.AdvToolBar1, Ui.AdvToolBar2, Ui.AdvToolBar3, Ui.AdvToolBar5,
                                     Ui.AdvToolBar4};
    for (int I = 0; I + 1 < 5; ++I)
        EXPECT_LT(ToolBars[I]->geometry().right(), ToolBars[I + 1]->x())
            << ToolBars[I]->objectName().toStdString() << " overlaps the next toolbar";
    EXPECT_LT(Ui.AdvToolBar4->geometry().right(), Ui.AdvToolBarPager11->width());
    EXPECT_EQ(Ui.AdvToolBar3->Caption(), "Spine size");
    EXPECT_EQ(Ui.AdvToolBar3->width(), 254);
    EXPECT_EQ(Ui.SpineSizeTrackBar->pos(), QPoint(3, 2));
    EXPECT_EQ(Ui.FileSaveButton->x(), 3 + Ui.FileOpenButton->width());
    // Format: the three layout buttons, their pictures 47 pixels high so that the designed window
    // stays 1200 wide, then "Find spine".
    EXPECT_EQ(Ui.AdvToolBar2->width(), 373);
    EXPECT_EQ(Ui.FormatBackFrontButton->geometry(), QRect(67, 10, 113, 53));
    EXPECT_EQ(Ui.FormatTrayCardButton->geometry(), QRect(180, 10, 57, 53));
    EXPECT_EQ(Ui.FormatTrayCardButton->GroupIndex(), 20);
    EXPECT_TRUE(Ui.FormatTrayCardButton->HasPicture());
    EXPECT_EQ(Ui.FormatFindSpineButton->geometry(), QRect(237, 1, 133, 72));
    EXPECT_EQ(Ui.FormatFindSpineButton->Caption(), "Find spine");
    EXPECT_TRUE(Ui.FormatFindSpineButton->HasPicture());
    EXPECT_EQ(Ui.FormatFindSpineButton->GroupIndex(), 0);
    EXPECT_EQ(Ui.AdvToolBar3->x(), 703);
    // Scan: a column of three small buttons, then Info.
    EXPECT_EQ(Ui.AdvToolBar5->Caption(), "Scan");
    EXPECT_EQ(Ui.AdvToolBar5->x(), 960);
    for (const TAdvGlowButton* Button :
         {Ui.ScanRotateLeftButton, Ui.ScanRotateRightButton, Ui.ScanStraightenButton}) {
        EXPECT_TRUE(Button->HasPicture()) << Button->objectName().toStdString();
        EXPECT_EQ(Button->parentWidget(), Ui.ScanButtonColumn);
    }
    EXPECT_EQ(Ui.ScanRotateLeftButton->Caption(), "Rotate left");
    EXPECT_EQ(Ui.ScanRotateRightButton->Caption(), "Rotate right");
    EXPECT_EQ(Ui.ScanStraightenButton->Caption(), "Straighten");
    EXPECT_LT(Ui.ScanRotateLeftButton->y(), Ui.ScanRotateRightButton->y());
    EXPECT_LT(Ui.ScanRotateRightButton->y(), Ui.ScanStraightenButton->y());
    // The pager puts each toolbar 3 pixels after the one before; Info ends the ribbon, inside it.
    EXPECT_EQ(Ui.AdvToolBar4->x(), Ui.AdvToolBar5->x() + Ui.AdvToolBar5->width() + 3);
    EXPECT_LE(Ui.AdvToolBar4->x() + Ui.AdvToolBar4->width(), Form.width());
    EXPECT_GE(Ui.AdvToolBar4->x() + Ui.AdvToolBar4->width(), Form.width() - 4);
    EXPECT_FALSE(Ui.AdvToolBar4->Compact());
    for (TAdvToolBar* ToolBar :
         {Ui.AdvToolBar1, Ui.AdvToolBar2, Ui.AdvToolBar3, Ui.AdvToolBar5, Ui.AdvToolBar4})
        EXPECT_EQ(ToolBar->height(), 90) << ToolBar->objectName().toStdString();

    EXPECT_EQ(Ui.FormatBackButton->GroupIndex(), 20);
    EXPECT_FALSE(Ui.FormatBackButton->Down());
    EXPECT_FALSE(Ui.FormatBackFrontButton->Down());
    EXPECT_EQ(Ui.InfoHomeButton->Caption(), "Homepage");
    EXPECT_TRUE(Ui.InfoHomeButton->HasPicture());

    const TAdvSmoothTrackBar& Slider = *Ui.SpineSizeTrackBar;
    EXPECT_EQ(Slider.Minimum(), -20.0);
    EXPECT_EQ(Slider.Maximum(), 20.0);
    EXPECT_EQ(Slider.Step(), 5.0);
    EXPECT_TRUE(Slider.SnapToTickMarks());
    EXPECT_EQ(Slider.SnapMargin(), 5.0);
    EXPECT_EQ(Slider.ThumbSize(), 40);
    EXPECT_EQ(Slider.Position(), 0.0);
    EXPECT_EQ(Changed.count(), 0);
}

} // namespace
