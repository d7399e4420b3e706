// What a screen reader learns of the drawn widgets: the buttons are buttons (the layout buttons
// toggles that can be pressed), the slider is a slider with its range and value, the status
// line is a status bar that reads its text.

#include "widgets/AdvGlowButton.h"
#include "widgets/AdvSmoothTrackBar.h"
#include "widgets/StatusLine.h"

#include <QAccessible>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

QAccessibleInterface* Accessible(QWidget* Widget) {
    QAccessibleInterface* const Interface = QAccessible::queryAccessibleInterface(Widget);
    EXPECT_NE(Interface, nullptr);
    return Interface;
}

TEST(WidgetAccessibilityTest, GlowButtonsAreButtonsAndGroupButtonsToggles) {
    QWidget Toolbar;
    auto* const Open = new TAdvGlowButton(&Toolbar);
    Open->setCaption(QStringLiteral("Open"));
    auto* const Back = new TAdvGlowButton(&Toolbar);
    Back->setGroupIndex(20);
    Back->setAccessibleName(QStringLiteral("Back layout"));
    Back->setAccessibleDescription(QStringLiteral("The picture is the back card alone"));
    auto* const BackFront = new TAdvGlowButton(&Toolbar);
    BackFront->setGroupIndex(20);

    QAccessibleInterface* const OpenInfo = Accessible(Open);
    ASSERT_NE(OpenInfo, nullptr);
    EXPECT_EQ(OpenInfo->role(), QAccessible::Button);
    EXPECT_EQ(OpenInfo->text(QAccessible::Name), "Open") << "named by its caption";
    EXPECT_FALSE(OpenInfo->state().checkable);

    QAccessibleInterface* const BackInfo = Accessible(Back);
    ASSERT_NE(BackInfo, nullptr);
    EXPECT_EQ(BackInfo->role(), QAccessible::Button);
    EXPECT_EQ(BackInfo->text(QAccessible::Name), "Back layout");
    EXPECT_EQ(BackInfo->text(QAccessible::Description), "The picture is the back card alone");
    EXPECT_TRUE(BackInfo->state().checkable);
    EXPECT_FALSE(BackInfo->state().checked);

    QSignalSpy Clicks(Back, &TAdvGlowButton::OnClick);
    QAccessibleActionInterface* const Actions = BackInfo->actionInterface();
    ASSERT_NE(Actions, nullptr);
    ASSERT_TRUE(Actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    BackFront->setDown(true);
    Actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Clicks.count(), 1);
    EXPECT_TRUE(BackInfo->state().checked);
    EXPECT_FALSE(Accessible(BackFront)->state().checked) << "the partner was released";
}

TEST(WidgetAccessibilityTest, TheTrackBarIsASliderWithRangeStepAndValue) {
    TAdvSmoothTrackBar TrackBar;
    TrackBar.setMinimum(-20);
    TrackBar.setMaximum(20);
    TrackBar.setStep(5);
    QAccessibleInterface* const Info = Accessible(&TrackBar);
    ASSERT_NE(Info, nullptr);
    EXPECT_EQ(Info->role(), QAccessible::Slider);
    QAccessibleValueInterface* const Value = Info->valueInterface();
    ASSERT_NE(Value, nullptr);
    EXPECT_EQ(Value->minimumValue().toDouble(), -20.0);
    EXPECT_EQ(Value->maximumValue().toDouble(), 20.0);
    EXPECT_EQ(Value->minimumStepSize().toDouble(), 5.0);
    EXPECT_EQ(Value->currentValue().toDouble(), 0.0);

    QSignalSpy Changed(&TrackBar, &TAdvSmoothTrackBar::OnPositionChanged);
    Value->setCurrentValue(10.0);
    EXPECT_EQ(TrackBar.Position(), 10.0);
    EXPECT_EQ(Changed.count(), 1);
    EXPECT_EQ(Info->text(QAccessible::Value), "10");
    Value->setCurrentValue(25.0);
    EXPECT_EQ(TrackBar.Position(), 10.0) << "out of range: ignored like any other setting";
}

TEST(WidgetAccessibilityTest, TheStatusLineIsAStatusBarThatReadsItsText) {
    TStatusLine Line;
    QAccessibleInterface* const Info = Accessible(&Line);
    ASSERT_NE(Info, nullptr);
    EXPECT_EQ(Info->role(), QAccessible::StatusBar);
    Line.ShowMessage(QStringLiteral("Saved inlay.jpg"), false);
    EXPECT_EQ(Info->text(QAccessible::Name), "Saved inlay.jpg");
}

} // namespace
