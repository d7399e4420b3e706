// The ribbon's layout: toolbars side by side, compact forms taken from the right when the pager
// is too narrow, floating toolbars leaving their place, and scrolling for what still does not
// fit; then the same on the widgets: the compact Info toolbar, its popup, floating and docking,
// and the scroll arrows.

#include "widgets/RibbonLayout.h"
#include "widgets/AdvGlowButton.h"
#include "widgets/AdvPage.h"
#include "widgets/AdvToolBar.h"
#include "widgets/AdvToolBarPager.h"
#include "widgets/ToolBarLayout.h"

#include "tests/support/TestNames.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

// The window's four toolbars: File, Format and Spine size have no compact form, Info has.
const std::vector<TRibbonGroup> WindowGroups{{321, 0}, {373, 0}, {254, 0}, {144, 82}};

struct TRibbonCase {
    const char* Name;
    std::vector<TRibbonGroup> Groups;
    int Available;
    std::vector<int> Lefts;
    std::vector<bool> Compact;
    int ContentWidth;
    int ScrollRange;
};

void PrintTo(const TRibbonCase& Case, std::ostream* Out) {
    *Out << Case.Name;
}

class RibbonLayoutTest : public testing::TestWithParam<TRibbonCase> {};

TEST_P(RibbonLayoutTest, ToolbarsSideBySideCompactFromTheRightThenScrolling) {
    const TRibbonCase& C = GetParam();
    const TRibbonLayout Layout = LayoutRibbon(C.Groups, C.Available);
    EXPECT_EQ(Layout.Lefts, C.Lefts);
    EXPECT_EQ(Layout.Compact, C.Compact);
    EXPECT_EQ(Layout.ContentWidth, C.ContentWidth);
    EXPECT_EQ(Layout.ScrollRange, C.ScrollRange);
}

const std::vector<int> DesignedLefts{3, 327, 703, 960};
const std::vector<bool> NoneCompact{false, false, false, false};
const std::vector<bool> InfoCompact{false, false, false, true};

const TRibbonCase RibbonCases[] = {
    {"four groups just fitting", WindowGroups, 1104, DesignedLefts, NoneCompact, 1104, 0},
    {"wider than they need", WindowGroups, 1600, DesignedLefts, NoneCompact, 1104, 0},
    {"one pixel too narrow", WindowGroups, 1103, DesignedLefts, InfoCompact, 1042, 0},
    {"just the compact width", WindowGroups, 1042, DesignedLefts, InfoCompact, 1042, 0},
    {"a netbook screen scrolls", WindowGroups, 1014, DesignedLefts, InfoCompact, 1042, 28},
    {"far too narrow", WindowGroups, 400, DesignedLefts, InfoCompact, 1042, 642},
    {"no room at all", WindowGroups, 0, DesignedLefts, InfoCompact, 1042, 1042},
    {"the rightmost compact form first",
     {{200, 80}, {200, 80}, {200, 80}},
     560,
     {3, 206, 409},
     {false, false, true},
     489,
     0},
    {"then the next one to its left",
     {{200, 80}, {200, 80}, {200, 80}},
     400,
     {3, 206, 289},
     {false, true, true},
     369,
     0},
    {"a floating toolbar leaves its place",
     {{321, 0}, {373, 0, true}, {254, 0}, {144, 82}},
     1104,
     {3, 0, 327, 584},
     NoneCompact,
     728,
     0},
    {"a compact form as wide as the whole is not taken", {{100, 100}}, 50, {3}, {false}, 103, 53},
    {"no toolbars", {}, 500, {}, {}, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, RibbonLayoutTest, testing::ValuesIn(RibbonCases),
                         [](const auto& Info) { return AsTestName(Info.param.Name); });

TEST(RibbonScrollTest, ArrowsStepHalfThePagerWithinTheRange) {
    const struct {
        int Offset, Direction, Available, Range, Expected;
    } Cases[] = {
        {0, 1, 1014, 28, 28},
        {28, -1, 1014, 28, 0},
        {0, -1, 1014, 28, 0},
        {0, 1, 400, 642, 200},
        {200, 1, 400, 642, 400},
        {600, 1, 400, 642, 642},
        {0, 1, 50, 1000, RibbonMinimumScrollStep},
        {5, 1, 500, 0, 0},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(ScrolledRibbonOffset(C.Offset, C.Direction, C.Available, C.Range), C.Expected)
            << "from " << C.Offset << " by " << C.Direction << " in " << C.Available;
}

// A pager with the window's four toolbars (controls of their designed sizes), Info with its
// compact picture.
class RibbonPagerTest : public testing::Test {
protected:
    RibbonPagerTest() : Page(new TAdvPage(&Pager)) {
        const struct {
            const char* Caption;
            std::vector<int> Widths;
        } Groups[] = {{"File", {107, 105, 103}},
                      {"Format", {84, 150, 133}},
                      {"Spine size", {250}},
                      {"Info", {138}}};
        for (const auto& Group : Groups) {
            auto* const ToolBar = new TAdvToolBar(Page);
            ToolBar->setObjectName(QString::fromLatin1(Group.Caption));
            ToolBar->setCaption(QString::fromLatin1(Group.Caption));
            for (const int Width : Group.Widths)
                (new QWidget(ToolBar))->resize(Width, 72);
            if (Group.Widths.size() == 1 && Group.Widths.front() == 250) {
                ToolBar->setAutoSize(false); // the slider's toolbar keeps its designed width
                ToolBar->resize(254, ToolBarDefaultHeight);
            }
            ToolBar->move(0, 3); // the pager puts it in its place
            ToolBars.push_back(ToolBar);
        }
        Info().setCompactPicture(QStringLiteral(":/icons/InfoHome.svg"));
        Home = Info().LaidOutControls().front();
        Pager.resize(1104, PagerDefaultHeight); // the designed ribbon
        Pager.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Pager));
        Settle();
    }
    TAdvToolBar& Info() const { return *ToolBars.back(); }
    static void Settle() {
        for (int I = 0; I < 3; ++I)
            QApplication::processEvents();
    }
    std::vector<int> Lefts() const {
        std::vector<int> Result;
        for (const TAdvToolBar* ToolBar : ToolBars)
            Result.push_back(ToolBar->Place() == TAdvToolBar::TPlace::Docked ? ToolBar->x() : -1);
        return Result;
    }
    QWidget* Arrow(const char* Name) const {
        return Pager.findChild<QAbstractButton*>(QString::fromLatin1(Name));
    }

    TAdvToolBarPager Pager;
    TAdvPage* Page;
    std::vector<TAdvToolBar*> ToolBars;
    QWidget* Home = nullptr;
};

TEST_F(RibbonPagerTest, TooNarrowTheInfoToolbarShowsItsCompactFormThenTheRibbonScrolls) {
    EXPECT_EQ(Lefts(), (std::vector<int>{3, 327, 703, 960}));
    EXPECT_FALSE(Info().Compact());
    EXPECT_EQ(Info().width(), 144);

    Pager.resize(1060, PagerDefaultHeight);
    EXPECT_TRUE(Info().Compact());
    EXPECT_EQ(Info().width(), CompactToolBarWidth(Info().fontMetrics().horizontalAdvance("Info")));
    EXPECT_TRUE(Home->isHidden()) << "the compact form shows the caption and picture alone";
    EXPECT_FALSE(Arrow("RibbonScrollLeft")->isVisible());
    EXPECT_FALSE(Arrow("RibbonScrollRight")->isVisible());

    Pager.resize(600, PagerDefaultHeight);
    EXPECT_EQ(Pager.ScrollRange(), 1042 - 600);
    EXPECT_TRUE(Arrow("RibbonScrollRight")->isVisible());
    QTest::mouseClick(Arrow("RibbonScrollRight"), Qt::LeftButton);
    EXPECT_EQ(Pager.ScrollOffset(), 300);
    EXPECT_EQ(Lefts(), (std::vector<int>{3 - 300, 327 - 300, 703 - 300, 960 - 300}));
    EXPECT_TRUE(Arrow("RibbonScrollLeft")->isVisible());
    QTest::mouseClick(Arrow("RibbonScrollLeft"), Qt::LeftButton);
    EXPECT_EQ(Pager.ScrollOffset(), 0);

    // Wide again: the whole toolbar, its control back in place, no arrows.
    Pager.resize(1104, PagerDefaultHeight);
    EXPECT_FALSE(Info().Compact());
    EXPECT_FALSE(Home->isHidden());
    EXPECT_EQ(Home->pos(), QPoint(3, 1));
    EXPECT_EQ(Lefts(), (std::vector<int>{3, 327, 703, 960}));
    EXPECT_FALSE(Arrow("RibbonScrollRight")->isVisible());
}

TEST_F(RibbonPagerTest, AClickOnTheCompactFormShowsTheWholeToolbarInAPopup) {
    Pager.resize(1060, PagerDefaultHeight);
    ASSERT_TRUE(Info().Compact());
    const QPoint Below = Info().mapToGlobal(QPoint(0, Info().height()));
    QTest::mouseClick(&Info(), Qt::LeftButton, {}, QPoint(20, 20));
    ASSERT_EQ(Info().Place(), TAdvToolBar::TPlace::PoppedUp);
    QWidget* const Popup = Info().Holder();
    ASSERT_NE(Popup, nullptr);
    EXPECT_TRUE(Popup->isVisible());
    EXPECT_EQ(Popup->windowType(), Qt::Popup);
    // Below the compact form, moved onto the screen where it would stand off it.
    EXPECT_NEAR(Popup->y(), Below.y(), 4);
    EXPECT_LE(Popup->x(), Below.x());
    EXPECT_FALSE(Home->isHidden());
    EXPECT_EQ(Popup->size(), QSize(144, 90));
    Settle();
    EXPECT_EQ(Lefts()[2], 703) << "the others keep their places meanwhile";

    // A click on its control closes it, once the control has had the click.
    QTest::mouseClick(Home, Qt::LeftButton);
    Settle();
    EXPECT_EQ(Info().Place(), TAdvToolBar::TPlace::Docked);
    EXPECT_EQ(Info().parentWidget(), Page);
    EXPECT_TRUE(Info().Compact());
    EXPECT_EQ(Info().x(), 960);
    EXPECT_TRUE(Info().isVisible());
}

TEST_F(RibbonPagerTest, AToolbarDraggedOutFloatsAndDraggedBackDocksInItsPlace) {
    TAdvToolBar& Format = *ToolBars[1];
    // Dragged by its caption strip to below the ribbon and let go there.
    const QPoint Caption(40, 82);
    const QPoint Outside = Format.mapFromGlobal(Pager.mapToGlobal(QPoint(400, 300)));
    QTest::mousePress(&Format, Qt::LeftButton, {}, Caption);
    QTest::mouseMove(&Format, Caption + QPoint(0, 30));
    QTest::mouseMove(&Format, Outside);
    QTest::mouseRelease(&Format, Qt::LeftButton, {}, Outside);
    ASSERT_EQ(Format.Place(), TAdvToolBar::TPlace::Floating);
    QWidget* const Window = Format.Holder();
    ASSERT_NE(Window, nullptr);
    EXPECT_TRUE(Window->isWindow());
    EXPECT_TRUE(Window->isVisible());
    EXPECT_EQ(Window->windowTitle(), "Format");
    EXPECT_EQ(Format.LaidOutControls().size(), 3u) << "its controls went with it";
    Settle();
    EXPECT_EQ(Lefts(), (std::vector<int>{3, -1, 327, 584})) << "the others close the gap";

    // A double click on its caption strip puts it back in its place.
    QTest::mouseDClick(&Format, Qt::LeftButton, {}, Caption);
    Settle();
    EXPECT_EQ(Format.Place(), TAdvToolBar::TPlace::Docked);
    EXPECT_EQ(Format.parentWidget(), Page);
    EXPECT_EQ(Lefts(), (std::vector<int>{3, 327, 703, 960}));

    // Floated from code and dragged back over the ribbon.
    Format.Float(Pager.mapToGlobal(QPoint(100, 200)));
    Settle();
    ASSERT_EQ(Format.Place(), TAdvToolBar::TPlace::Floating);
    // The window follows the pointer: where the pointer is, in the toolbar, is asked anew.
    const auto OverRibbon = [&] {
        return Format.mapFromGlobal(Pager.mapToGlobal(QPoint(500, 40)));
    };
    QTest::mousePress(&Format, Qt::LeftButton, {}, Caption);
    QTest::mouseMove(&Format, Caption + QPoint(30, 0));
    QTest::mouseMove(&Format, OverRibbon());
    QTest::mouseRelease(&Format, Qt::LeftButton, {}, OverRibbon());
    Settle();
    EXPECT_EQ(Format.Place(), TAdvToolBar::TPlace::Docked);
    EXPECT_EQ(Lefts(), (std::vector<int>{3, 327, 703, 960}));
}

TEST_F(RibbonPagerTest, AShortDragOrATooblarThatMayNotFloatStaysOnTheRibbon) {
    TAdvToolBar& File = *ToolBars[0];
    const QPoint Caption(40, 82);
    QTest::mouseClick(&File, Qt::LeftButton, {}, Caption);
    EXPECT_EQ(File.Place(), TAdvToolBar::TPlace::Docked);

    File.setFloatable(false);
    const QPoint Outside = File.mapFromGlobal(Pager.mapToGlobal(QPoint(400, 300)));
    QTest::mousePress(&File, Qt::LeftButton, {}, Caption);
    QTest::mouseMove(&File, Outside);
    QTest::mouseRelease(&File, Qt::LeftButton, {}, Outside);
    EXPECT_EQ(File.Place(), TAdvToolBar::TPlace::Docked);
}

} // namespace
