#include "widgets/AdvSmoothTrackBar.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

// The spine slider in a window beside a line edit that can hold the focus. On the 250-pixel
// slider the thumb of value v spans [(v + 20) * 5.25, (v + 20) * 5.25 + 40).
class TSliderWindow {
public:
    TSliderWindow() {
        auto* Layout = new QVBoxLayout(&Window);
        Edit = new QLineEdit(&Window);
        Slider = new TAdvSmoothTrackBar(&Window);
        Slider->setFixedSize(250, 70);
        Layout->addWidget(Edit);
        Layout->addWidget(Slider);
        Slider->setMinimum(-20);
        Slider->setMaximum(20);
        Slider->setStep(5);
        Slider->setSnapToTickMarks(true);
        Slider->setSnapMargin(5);
        Slider->setThumbSize(40);
        Window.show();
        Window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Window));
        Edit->setFocus();
    }

    QWidget Window;
    QLineEdit* Edit = nullptr;
    TAdvSmoothTrackBar* Slider = nullptr;
};

// One step of user input.
struct TInput {
    enum TKind { Press, Move, Release, KeyDown, KeyRepeat, KeyUp, Wheel } Kind;
    int Value = 0; // x for the mouse, the Qt key for keys
    Qt::MouseButton Button = Qt::LeftButton;
};

TInput Press(int X, Qt::MouseButton Button = Qt::LeftButton) {
    return {TInput::Press, X, Button};
}
TInput Move(int X) {
    return {TInput::Move, X};
}
TInput Release(int X, Qt::MouseButton Button = Qt::LeftButton) {
    return {TInput::Release, X, Button};
}
TInput KeyDown(int Key) {
    return {TInput::KeyDown, Key};
}
// A held key repeats as an auto-repeated release and press.
TInput KeyRepeat(int Key) {
    return {TInput::KeyRepeat, Key};
}
TInput KeyUp(int Key) {
    return {TInput::KeyUp, Key};
}
TInput Wheel(int Delta) {
    return {TInput::Wheel, Delta};
}

void Apply(TAdvSmoothTrackBar& Slider, const TInput& Input) {
    const QPoint At(Input.Value, 35);
    switch (Input.Kind) {
    case TInput::Press:
        QTest::mousePress(&Slider, Input.Button, Qt::NoModifier, At);
        break;
    case TInput::Move:
        QTest::mouseMove(&Slider, At);
        break;
    case TInput::Release:
        QTest::mouseRelease(&Slider, Input.Button, Qt::NoModifier, At);
        break;
    case TInput::KeyDown:
        QTest::keyPress(&Slider, static_cast<Qt::Key>(Input.Value));
        break;
    case TInput::KeyRepeat: {
        QKeyEvent Up(QEvent::KeyRelease, Input.Value, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(&Slider, &Up);
        QKeyEvent Down(QEvent::KeyPress, Input.Value, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(&Slider, &Down);
        break;
    }
    case TInput::KeyUp:
        QTest::keyRelease(&Slider, static_cast<Qt::Key>(Input.Value));
        break;
    case TInput::Wheel: {
        const QPointF Local(125, 35);
        QWheelEvent Event(Local, Slider.mapToGlobal(Local), QPoint(), QPoint(0, Input.Value),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&Slider, &Event);
        break;
    }
    }
}

struct TSliderCase {
    const char* Name;
    double Start;
    std::vector<TInput> Inputs;
    double Final;
    std::vector<double> Changing; // OnPositionChanging values, in order
    std::vector<double> Changed;  // OnPositionChanged values, in order
};

void PrintTo(const TSliderCase& Case, std::ostream* Out) {
    *Out << Case.Name;
}

std::vector<double> Values(const QSignalSpy& Spy) {
    std::vector<double> Result;
    for (const QList<QVariant>& Arguments : Spy)
        Result.push_back(Arguments.at(0).toDouble());
    return Result;
}

class SliderInputTest : public testing::TestWithParam<TSliderCase> {};

TEST_P(SliderInputTest, PositionAndEvents) {
    const TSliderCase& Case = GetParam();
    TSliderWindow Window;
    TAdvSmoothTrackBar& Slider = *Window.Slider;
    Slider.setPosition(Case.Start);
    ASSERT_EQ(Slider.Position(), Case.Start);
    QSignalSpy Changing(&Slider, &TAdvSmoothTrackBar::OnPositionChanging);
    QSignalSpy Changed(&Slider, &TAdvSmoothTrackBar::OnPositionChanged);

    for (const TInput& Input : Case.Inputs)
        Apply(Slider, Input);

    EXPECT_EQ(Slider.Position(), Case.Final);
    EXPECT_EQ(Values(Changing), Case.Changing);
    EXPECT_EQ(Values(Changed), Case.Changed);
}

const TSliderCase SliderCases[] = {
    // Press on the thumb (at 0 it spans [105, 145)) and drag.
    {"ClickOnThumbFiresChangedOnce", 0, {Press(125), Release(125)}, 0, {}, {0}},
    {"DragAcrossGridFiresChangingPerStepAndChangedAtRelease",
     0,
     {Press(125), Move(150), Move(178), Move(181), Move(220), Release(220)},
     20,
     {5, 10, 20},
     {20}},
    {"DragPastRightEndEndsAtMaximum", 0, {Press(130), Move(400), Release(400)}, 20, {20}, {20}},
    {"DragPastLeftEndEndsAtMinimum", 0, {Press(110), Move(-90), Release(-90)}, -20, {-20}, {-20}},
    {"DragAwayAndBackStillFiresChanged",
     0,
     {Press(125), Move(160), Move(125), Release(125)},
     0,
     {5, 0},
     {0}},
    {"DragWithinOneGridPointFiresNoChanging", 0, {Press(125), Move(135), Release(135)}, 0, {}, {0}},
    // Press beside the thumb: the release point gives one step.
    {"ClickRightOfThumbStepsUp", 0, {Press(200), Release(200)}, 5, {}, {5}},
    {"ClickLeftOfThumbStepsDown", 0, {Press(30), Release(30)}, -5, {}, {-5}},
    {"DragAfterPressBesideHasNoEffect",
     0,
     {Press(200), Move(230), Move(20), Release(200)},
     5,
     {},
     {5}},
    {"PressBesideReleaseOnThumbDoesNothing", 0, {Press(200), Release(125)}, 0, {}, {}},
    {"ReleasePointDecidesTheDirection", 0, {Press(200), Release(30)}, -5, {}, {-5}},
    {"StepUpAtMaximumIsDropped", 20, {Press(100), Release(300)}, 20, {}, {}},
    {"StepDownAtMinimumIsDropped", -20, {Press(100), Release(-10)}, -20, {}, {}},
    {"RightButtonFollowsTheSameRules",
     0,
     {Press(200, Qt::RightButton), Release(200, Qt::RightButton)},
     5,
     {},
     {5}},
    {"MiddleButtonDragsTheThumb",
     0,
     {Press(125, Qt::MiddleButton), Move(178), Release(178, Qt::MiddleButton)},
     10,
     {10},
     {10}},
    {"SecondButtonDuringAPressIsIgnored",
     0,
     {Press(200), Press(30, Qt::RightButton), Release(30, Qt::RightButton), Release(200)},
     5,
     {},
     {5}},
    // Keys: change on key down, OnPositionChanged at key up.
    {"RightArrowAtMaximumStillFiresChanged",
     20,
     {KeyDown(Qt::Key_Right), KeyUp(Qt::Key_Right)},
     20,
     {},
     {20}},
    {"HomeGoesToMinimum", 5, {KeyDown(Qt::Key_Home), KeyUp(Qt::Key_Home)}, -20, {-20}, {-20}},
    {"EndGoesToMaximum", 0, {KeyDown(Qt::Key_End), KeyUp(Qt::Key_End)}, 20, {20}, {20}},
    {"LeftAndDownStepDown",
     0,
     {KeyDown(Qt::Key_Left), KeyUp(Qt::Key_Left), KeyDown(Qt::Key_Down), KeyUp(Qt::Key_Down)},
     -10,
     {-5, -10},
     {-5, -10}},
    {"UpStepsUp", 0, {KeyDown(Qt::Key_Up), KeyUp(Qt::Key_Up)}, 5, {5}, {5}},
    {"HeldRightFromZeroFiresChangedOnceAtTheEnd",
     0,
     {KeyDown(Qt::Key_Right), KeyRepeat(Qt::Key_Right), KeyRepeat(Qt::Key_Right),
      KeyRepeat(Qt::Key_Right), KeyRepeat(Qt::Key_Right), KeyRepeat(Qt::Key_Right),
      KeyUp(Qt::Key_Right)},
     20,
     {5, 10, 15, 20},
     {20}},
    {"OtherKeysDoNothing",
     0,
     {KeyDown(Qt::Key_A), KeyUp(Qt::Key_A), KeyDown(Qt::Key_PageUp), KeyUp(Qt::Key_PageUp)},
     0,
     {},
     {}},
    {"WheelDoesNothing", 0, {Wheel(120), Wheel(-240)}, 0, {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Rules, SliderInputTest, testing::ValuesIn(SliderCases),
                         [](const testing::TestParamInfo<TSliderCase>& Info) {
                             return std::string(Info.param.Name);
                         });

TEST(SliderTest, EveryMouseButtonTakesTheFocusFirst) {
    for (const Qt::MouseButton Button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        TSliderWindow Window;
        ASSERT_TRUE(Window.Edit->hasFocus());
        QTest::mousePress(Window.Slider, Button, Qt::NoModifier, QPoint(125, 35));
        EXPECT_TRUE(Window.Slider->hasFocus()) << "button " << Button;
        QTest::mouseRelease(Window.Slider, Button, Qt::NoModifier, QPoint(125, 35));
    }
}

TEST(SliderTest, IsATabStopAndKeepsTheArrowKeysFromShortcuts) {
    TSliderWindow Window;
    int ShortcutHits = 0;
    QShortcut Shortcut(QKeySequence(Qt::Key_Right), &Window.Window);
    QObject::connect(&Shortcut, &QShortcut::activated, [&] { ++ShortcutHits; });

    QTest::keyClick(Window.Edit, Qt::Key_Tab);
    ASSERT_TRUE(Window.Slider->hasFocus());
    QTest::keyClick(Window.Slider, Qt::Key_Right);
    QTest::keyClick(Window.Slider, Qt::Key_Left);
    QTest::keyClick(Window.Slider, Qt::Key_Right);

    EXPECT_EQ(Window.Slider->Position(), 5.0);
    EXPECT_EQ(ShortcutHits, 0);
    EXPECT_TRUE(Window.Slider->hasFocus());
}

TEST(SliderTest, ReadOnlyIgnoresMouseAndKeys) {
    TSliderWindow Window;
    Window.Slider->setReadOnly(true);
    QSignalSpy Changing(Window.Slider, &TAdvSmoothTrackBar::OnPositionChanging);
    QSignalSpy Changed(Window.Slider, &TAdvSmoothTrackBar::OnPositionChanged);
    for (const TInput& Input : {Press(125), Move(200), Release(200), Press(200), Release(200),
                                KeyDown(Qt::Key_End), KeyUp(Qt::Key_End)})
        Apply(*Window.Slider, Input);
    EXPECT_EQ(Window.Slider->Position(), 0.0);
    EXPECT_EQ(Changing.count() + Changed.count(), 0);
}

TEST(SliderTest, APressWhoseReleaseWasLostIsEndedByTheNextPress) {
    TSliderWindow Window;
    QSignalSpy Changed(Window.Slider, &TAdvSmoothTrackBar::OnPositionChanged);
    QTest::mousePress(Window.Slider, Qt::LeftButton, Qt::NoModifier, QPoint(125, 35));
    QTest::mouseMove(Window.Slider, QPoint(178, 35));
    ASSERT_EQ(Window.Slider->Position(), 10.0);
    // The left button's release went elsewhere; the next press comes with only its own button.
    const QPointF At(200, 35);
    QMouseEvent Press(QEvent::MouseButtonPress, At, Window.Slider->mapToGlobal(At), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Window.Slider, &Press);
    QMouseEvent Release(QEvent::MouseButtonRelease, At, Window.Slider->mapToGlobal(At),
                        Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Window.Slider, &Release);
    QTest::mouseRelease(Window.Slider, Qt::LeftButton, Qt::NoModifier, QPoint(178, 35)); // stale

    EXPECT_EQ(Window.Slider->Position(), 15.0);
    EXPECT_EQ(Values(Changed), (std::vector<double>{10, 15}));
}

struct TSetPositionCase {
    double Value;
    bool Fires;
};

TEST(SliderTest, PositionFromCodeIsTakenOnlyInRangeAndWhenDifferent) {
    const TSetPositionCase Cases[] = {{5, true},      {5, false},  {25, false},
                                      {-20.5, false}, {-20, true}, {20, true},
                                      {7.3, true},    {0, true},   {std::nan(""), false}};
    TSliderWindow Window;
    QSignalSpy Changed(Window.Slider, &TAdvSmoothTrackBar::OnPositionChanged);
    double Expected = 0.0;
    for (const TSetPositionCase& Case : Cases) {
        const int Before = Changed.count();
        Window.Slider->setPosition(Case.Value);
        if (Case.Fires)
            Expected = Case.Value;
        EXPECT_EQ(Window.Slider->Position(), Expected) << "after setting " << Case.Value;
        EXPECT_EQ(Changed.count() - Before, Case.Fires ? 1 : 0) << "setting " << Case.Value;
        if (Case.Fires && Changed.count() > Before) {
            EXPECT_EQ(Changed.last().at(0).toDouble(), Case.Value);
        }
    }
}

TEST(SliderTest, RangeSettingsFireNothingAndKeepPosition) {
    TAdvSmoothTrackBar Slider;
    QSignalSpy Changed(&Slider, &TAdvSmoothTrackBar::OnPositionChanged);
    Slider.setMinimum(-20);
    Slider.setMaximum(20);
    Slider.setStep(5);
    Slider.setSnapMargin(5);
    EXPECT_EQ(Slider.Position(), 0.0);
    EXPECT_EQ(Changed.count(), 0);
    EXPECT_EQ(Slider.focusPolicy() & Qt::TabFocus, Qt::TabFocus);
}

} // namespace
