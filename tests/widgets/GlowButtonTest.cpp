#include "widgets/AdvGlowButton.h"
#include "widgets/ButtonGroupRules.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

TEST(ButtonGroupRulesTest, DownRequests) {
    struct TCase {
        bool Current, Requested;
        int GroupIndex;
        bool AllowAllUp;
        bool Down, ReleaseGroup;
    };
    const TCase Cases[] = {
        {false, true, 20, false, true, true},  // goes down, releases the partner
        {true, true, 20, false, true, false},  // already down: nothing
        {true, false, 20, false, true, false}, // cannot be released without AllowAllUp
        {true, false, 20, true, false, false}, // can with it
        {false, false, 20, false, false, false},
        {false, true, 0, false, false, false}, // a plain push button never stays down
        {true, false, 0, true, false, false},
    };
    for (const TCase& C : Cases) {
        const TDownChange Change =
            ApplyDownRequest(C.Current, C.Requested, C.GroupIndex, C.AllowAllUp);
        EXPECT_EQ(Change.Down, C.Down) << C.Current << " -> " << C.Requested << " group "
                                       << C.GroupIndex << " all up " << C.AllowAllUp;
        EXPECT_EQ(Change.ReleaseGroup, C.ReleaseGroup)
            << C.Current << " -> " << C.Requested << " group " << C.GroupIndex;
    }
}

// The two layout buttons on their toolbar, and a line edit that holds the focus.
class LayoutButtonsTest : public testing::Test {
protected:
    void SetUp() override {
        Back = new TAdvGlowButton(&Toolbar);
        BackFront = new TAdvGlowButton(&Toolbar);
        for (TAdvGlowButton* Button : {Back, BackFront}) {
            Button->setPicture(":/icons/FormatBack.svg");
            Button->setGroupIndex(20);
            Button->setAllowAllUp(false);
        }
        BackFront->move(100, 0);
        Edit = new QLineEdit(&Toolbar);
        Edit->move(0, 80);
        Toolbar.resize(300, 120);
        Toolbar.show();
        Toolbar.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Toolbar));
        Edit->setFocus();
    }

    void Click(TAdvGlowButton* Button, Qt::MouseButton MouseButton = Qt::LeftButton) {
        QTest::mouseClick(Button, MouseButton, Qt::NoModifier, Button->rect().center());
    }

    QWidget Toolbar;
    TAdvGlowButton* Back = nullptr;
    TAdvGlowButton* BackFront = nullptr;
    QLineEdit* Edit = nullptr;
};

TEST_F(LayoutButtonsTest, DownFromCodeReleasesThePartnerAndFiresNothing) {
    QSignalSpy BackClicks(Back, &TAdvGlowButton::OnClick);
    QSignalSpy BackFrontClicks(BackFront, &TAdvGlowButton::OnClick);
    ASSERT_FALSE(Back->Down());
    ASSERT_FALSE(BackFront->Down());

    BackFront->setDown(true);
    EXPECT_TRUE(BackFront->Down());
    EXPECT_FALSE(Back->Down());
    Back->setDown(true);
    EXPECT_TRUE(Back->Down());
    EXPECT_FALSE(BackFront->Down());
    Back->setDown(false); // AllowAllUp is false: stays down
    EXPECT_TRUE(Back->Down());
    Back->setDown(true);
    EXPECT_TRUE(Back->Down());
    EXPECT_FALSE(BackFront->Down());

    EXPECT_EQ(BackClicks.count() + BackFrontClicks.count(), 0);
}

TEST_F(LayoutButtonsTest, ClickLatchesAndAlwaysFires) {
    QSignalSpy BackClicks(Back, &TAdvGlowButton::OnClick);
    QSignalSpy BackFrontClicks(BackFront, &TAdvGlowButton::OnClick);
    // The handler reads the state at the moment of the click.
    bool DownSeenByHandler = false;
    QObject::connect(BackFront, &TAdvGlowButton::OnClick,
                     [&] { DownSeenByHandler = BackFront->Down() && !Back->Down(); });

    Back->setDown(true);
    Click(BackFront);
    EXPECT_TRUE(BackFront->Down());
    EXPECT_FALSE(Back->Down());
    EXPECT_TRUE(DownSeenByHandler);
    EXPECT_EQ(BackFrontClicks.count(), 1);

    Click(BackFront); // already down: stays down, fires again
    EXPECT_TRUE(BackFront->Down());
    EXPECT_FALSE(Back->Down());
    EXPECT_EQ(BackFrontClicks.count(), 2);
    EXPECT_EQ(BackClicks.count(), 0);
}

TEST_F(LayoutButtonsTest, ReleaseOffTheButtonChangesNothing) {
    QSignalSpy Clicks(BackFront, &TAdvGlowButton::OnClick);
    Back->setDown(true);
    QTest::mousePress(BackFront, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_TRUE(BackFront->ShowsPressed());
    QTest::mouseMove(BackFront, QPoint(BackFront->width() + 20, 10));
    EXPECT_FALSE(BackFront->ShowsPressed());
    QTest::mouseRelease(BackFront, Qt::LeftButton, Qt::NoModifier,
                        QPoint(BackFront->width() + 20, 10));
    EXPECT_FALSE(BackFront->Down());
    EXPECT_TRUE(Back->Down());
    EXPECT_EQ(Clicks.count(), 0);
}

TEST_F(LayoutButtonsTest, RightAndMiddleButtonsDoNothing) {
    QSignalSpy Clicks(BackFront, &TAdvGlowButton::OnClick);
    Click(BackFront, Qt::RightButton);
    Click(BackFront, Qt::MiddleButton);
    EXPECT_FALSE(BackFront->Down());
    EXPECT_EQ(Clicks.count(), 0);
}

TEST_F(LayoutButtonsTest, NeverTakesTheFocus) {
    Click(BackFront);
    Click(Back);
    EXPECT_TRUE(Edit->hasFocus());
    EXPECT_EQ(Back->focusPolicy(), Qt::NoFocus);
}

// With TabStop the buttons are reached by Tab, never by a click, and pressed with Space (at its
// release) or Enter; the keys go through the window as a person's would.
TEST_F(LayoutButtonsTest, WithTabStopTabReachesThemAndSpaceOrEnterClicks) {
    for (TAdvGlowButton* Button : {Back, BackFront})
        Button->setTabStop(true);
    QWidget::setTabOrder(Edit, Back);
    QWidget::setTabOrder(Back, BackFront);
    QSignalSpy Clicks(BackFront, &TAdvGlowButton::OnClick);
    QWindow* const Window = Toolbar.windowHandle();

    Click(Back);
    EXPECT_TRUE(Edit->hasFocus()) << "a click took the focus";
    QTest::keyClick(Window, Qt::Key_Tab);
    EXPECT_TRUE(Back->hasFocus());
    QTest::keyClick(Window, Qt::Key_Tab);
    ASSERT_TRUE(BackFront->hasFocus());

    QTest::keyPress(Window, Qt::Key_Space);
    EXPECT_TRUE(BackFront->ShowsPressed());
    EXPECT_EQ(Clicks.count(), 0);
    QTest::keyRelease(Window, Qt::Key_Space);
    EXPECT_EQ(Clicks.count(), 1);
    EXPECT_TRUE(BackFront->Down());
    EXPECT_FALSE(Back->Down());
    QTest::keyClick(Window, Qt::Key_Return);
    EXPECT_EQ(Clicks.count(), 2);
    EXPECT_TRUE(BackFront->Down()) << "a down group button stays down";

    QTest::keyClick(Window, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(Back->hasFocus());
}

TEST_F(LayoutButtonsTest, TheFocusedButtonShowsAFocusRing) {
    Back->setTabStop(true);
    const QImage Plain = Back->grab().toImage();
    Back->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(Back->hasFocus());
    EXPECT_NE(Back->grab().toImage(), Plain);
}

TEST_F(LayoutButtonsTest, GroupIsPerParentAndPerIndex) {
    QWidget OtherToolbar;
    TAdvGlowButton Elsewhere(&OtherToolbar);
    Elsewhere.setGroupIndex(20);
    TAdvGlowButton* const OtherGroup = new TAdvGlowButton(&Toolbar);
    OtherGroup->setGroupIndex(21);
    Elsewhere.setDown(true);
    OtherGroup->setDown(true);

    Back->setDown(true);
    EXPECT_TRUE(Elsewhere.Down());
    EXPECT_TRUE(OtherGroup->Down());
}

TEST(GlowButtonTest, PushButtonWithoutGroupFiresButNeverLatches) {
    TAdvGlowButton Button;
    Button.setCaption("Open");
    QSignalSpy Clicks(&Button, &TAdvGlowButton::OnClick);
    Button.setDown(true);
    EXPECT_FALSE(Button.Down());
    QTest::mouseClick(&Button, Qt::LeftButton);
    EXPECT_FALSE(Button.Down());
    EXPECT_EQ(Clicks.count(), 1);
}

TEST(GlowButtonTest, AllowAllUpLetsTheLastButtonGoUp) {
    TAdvGlowButton Button;
    Button.setGroupIndex(3);
    Button.setAllowAllUp(true);
    QTest::mouseClick(&Button, Qt::LeftButton);
    EXPECT_TRUE(Button.Down());
    QTest::mouseClick(&Button, Qt::LeftButton);
    EXPECT_FALSE(Button.Down());
}

struct TPictureCase {
    const char* Picture;
    QSize Size;
};

TEST(GlowButtonTest, ButtonPicturesAreCompiledInAtTheirDesignedSizes) {
    const TPictureCase Cases[] = {
        {":/icons/FileOpen.svg", {64, 64}},   {":/icons/FileSave.svg", {64, 64}},
        {":/icons/FormatBack.svg", {74, 64}}, {":/icons/FormatBackFront.svg", {140, 64}},
        {":/icons/InfoHome.svg", {64, 64}},   {":/icons/Trayvane.svg", {256, 256}}};
    for (const TPictureCase& Case : Cases) {
        TAdvGlowButton Button;
        Button.setPicture(Case.Picture);
        EXPECT_TRUE(Button.HasPicture()) << Case.Picture;
        EXPECT_EQ(Button.PictureSize(), Case.Size) << Case.Picture;
    }
    TAdvGlowButton Missing;
    Missing.setPicture(":/icons/NoSuchPicture.svg");
    EXPECT_FALSE(Missing.HasPicture());
    EXPECT_EQ(Missing.size(), QSize(16, 16));
}

QFont WindowFont() {
    QFont Font("Tahoma");
    Font.setPixelSize(11);
    return Font;
}

struct TSizeCase {
    const char* Picture;
    const char* Caption;
    QSize Designed;
};

TEST(GlowButtonTest, SizesItselfToPictureAndCaption) {
    const TSizeCase Cases[] = {{":/icons/FileOpen.svg", "Open", {107, 72}},
                               {":/icons/FileSave.svg", "Save", {105, 72}},
                               {":/icons/InfoHome.svg", "Homepage", {134, 72}},
                               {":/icons/FormatBack.svg", "", {84, 70}},
                               {":/icons/FormatBackFront.svg", "", {150, 70}}};
    for (const TSizeCase& Case : Cases) {
        QWidget Window;
        Window.setFont(WindowFont());
        TAdvGlowButton Button(&Window);
        Button.setPicture(Case.Picture);
        Button.setCaption(Case.Caption);
        const int TextWidth = Button.fontMetrics().horizontalAdvance(Case.Caption);
        const QSize Expected = *Case.Caption == '\0'
                                   ? Button.PictureSize() + QSize(10, 6)
                                   : QSize(Button.PictureSize().width() + TextWidth + 14,
                                           Button.PictureSize().height() + 8);
        EXPECT_EQ(Button.size(), Expected) << Case.Picture << " " << Case.Caption;
        // The fallback for Tahoma is a little wider; the designed sizes stay close.
        EXPECT_LE(std::abs(Button.width() - Case.Designed.width()), 5)
            << Case.Caption << " is " << Button.width() << " wide";
        EXPECT_EQ(Button.height(), Case.Designed.height()) << Case.Picture;
    }
}

// The picture is drawn as a vector at the device's resolution, not scaled up from a bitmap: at
// two device pixels per logical pixel the button shows what the SVG gives at twice its size.
TEST(GlowButtonTest, PictureIsCrispAtTwoDevicePixelsPerPixel) {
    TAdvGlowButton Button;
    Button.setPicture(":/icons/FormatBack.svg");
    ASSERT_EQ(Button.size(), QSize(84, 70));
    QImage Shown(Button.size() * 2, QImage::Format_ARGB32_Premultiplied);
    Shown.setDevicePixelRatio(2.0);
    Shown.fill(Qt::white);
    Button.render(&Shown, QPoint(), QRegion(), QWidget::DrawChildren);

    QImage Reference(QSize(148, 128), QImage::Format_ARGB32_Premultiplied);
    Reference.fill(Qt::white);
    {
        QPainter Painter(&Reference);
        Painter.setRenderHint(QPainter::Antialiasing);
        QSvgRenderer(QString(":/icons/FormatBack.svg")).render(&Painter, QRectF(0, 0, 148, 128));
    }
    int Worst = 0;
    QPoint WorstAt;
    for (int Y = 0; Y < Reference.height(); ++Y)
        for (int X = 0; X < Reference.width(); ++X) {
            const QColor Want = Reference.pixelColor(X, Y);
            const QColor Got = Shown.pixelColor(X + 10, Y + 6); // the picture sits at (5, 3)
            const int Difference =
                std::max({std::abs(Want.red() - Got.red()), std::abs(Want.green() - Got.green()),
                          std::abs(Want.blue() - Got.blue())});
            if (Difference > Worst) {
                Worst = Difference;
                WorstAt = QPoint(X, Y);
            }
        }
    EXPECT_LE(Worst, 8) << "device pixel (" << WorstAt.x() << ", " << WorstAt.y()
                        << ") of the picture differs by " << Worst;
}

TEST(GlowButtonTest, ResizesWhenTheFontChanges) {
    QWidget Window;
    TAdvGlowButton Button(&Window);
    Button.setPicture(":/icons/FileOpen.svg");
    Button.setCaption("Homepage");
    const int Before = Button.width();
    QFont Big = WindowFont();
    Big.setPixelSize(22);
    Window.setFont(Big);
    EXPECT_GT(Button.width(), Before);
}

} // namespace
