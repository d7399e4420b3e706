#include "widgets/AdvGlowButton.h"
#include "widgets/AdvPage.h"
#include "widgets/AdvToolBar.h"
#include "widgets/AdvToolBarPager.h"
#include "widgets/ToolBarLayout.h"

#include <QTest>

#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

struct TToolBarCase {
    const char* Caption;
    std::vector<QSize> Controls;
    bool AutoSize;
    int GivenWidth;
    int Width;                  // the toolbar's width after layout
    std::vector<QPoint> Places; // the controls' top-left corners
};

void PrintTo(const TToolBarCase& Case, std::ostream* Out) {
    *Out << Case.Caption;
}

class ToolBarLayoutTest : public testing::TestWithParam<TToolBarCase> {};

// The four toolbars of the ribbon with controls of their designed sizes.
TEST_P(ToolBarLayoutTest, ControlsSideBySideFromThreePixels) {
    const TToolBarCase& Case = GetParam();
    QWidget Page;
    TAdvToolBar* const ToolBar = new TAdvToolBar(&Page);
    ToolBar->setGeometry(3, 3, Case.GivenWidth, 90);
    ToolBar->setAutoSize(Case.AutoSize);
    ToolBar->setCaption(Case.Caption);
    std::vector<QWidget*> Controls;
    for (const QSize& Size : Case.Controls) {
        Controls.push_back(new QWidget(ToolBar));
        Controls.back()->setGeometry(QRect(QPoint(40, 40), Size)); // wherever: the bar decides
    }
    Page.resize(900, 97);
    Page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Page));

    EXPECT_EQ(ToolBar->width(), Case.Width) << Case.Caption;
    EXPECT_EQ(ToolBar->height(), 90);
    for (std::size_t i = 0; i < Controls.size(); ++i)
        EXPECT_EQ(Controls[i]->pos(), Case.Places[i]) << Case.Caption << " control " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Ribbon, ToolBarLayoutTest,
    testing::Values(TToolBarCase{"File", {{107, 72}, {105, 72}}, true, 50, 218, {{3, 1}, {110, 1}}},
                    TToolBarCase{
                        "Format", {{84, 70}, {150, 70}}, true, 300, 240, {{3, 2}, {87, 2}}},
                    TToolBarCase{"Spine size", {{250, 70}}, false, 254, 254, {{3, 2}}},
                    TToolBarCase{"Info", {{134, 72}}, true, 140, 140, {{3, 1}}}),
    [](const auto& Info) { return AsTestName(Info.param.Caption); });

TEST(ToolBarTest, NeverNarrowerThanItsCaption) {
    const TToolBarLayout Layout = LayoutToolBar({QSize(20, 20)}, 70, 90);
    EXPECT_EQ(Layout.Width, 70 + 2 * ToolBarCaptionPadding);
    EXPECT_EQ(LayoutToolBar({}, 0, 90).Width, ToolBarLeftMargin + ToolBarRightMargin);
}

TEST(ToolBarTest, FollowsControlsThatChangeSizeOrVisibility) {
    QWidget Page;
    TAdvToolBar* const ToolBar = new TAdvToolBar(&Page);
    ToolBar->setCaption("File");
    auto* const First = new QWidget(ToolBar);
    auto* const Second = new QWidget(ToolBar);
    auto* const Third = new QWidget(ToolBar);
    for (QWidget* Control : {First, Second, Third})
        Control->resize(100, 72);
    Page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Page));
    ASSERT_EQ(Third->x(), 203);

    First->resize(50, 72);
    EXPECT_EQ(Second->x(), 53);
    EXPECT_EQ(Third->x(), 153);
    EXPECT_EQ(ToolBar->width(), 256);

    Second->hide();
    EXPECT_EQ(Third->x(), 53);
    EXPECT_EQ(ToolBar->width(), 156);

    Third->move(0, 0); // a control moved by someone else goes back to its place
    EXPECT_EQ(Third->pos(), QPoint(53, 1));

    delete Third;
    EXPECT_EQ(ToolBar->width(), 56);
}

TEST(ToolBarTest, GlowButtonsCaptionedBeforeShowingAreLaidOutAtOnce) {
    QWidget Page;
    TAdvToolBar* const ToolBar = new TAdvToolBar(&Page);
    TAdvGlowButton* const Open = new TAdvGlowButton(ToolBar);
    TAdvGlowButton* const Save = new TAdvGlowButton(ToolBar);
    Open->setPicture(":/icons/FileOpen.svg");
    Save->setPicture(":/icons/FileSave.svg");
    Open->setCaption("Open");
    Save->setCaption("Save");
    // Nothing is shown yet: the buttons ask the toolbar for a new layout as they resize.
    EXPECT_EQ(Save->x(), 3 + Open->width());
    EXPECT_EQ(ToolBar->width(), 3 + Open->width() + Save->width() + 3);
}

TEST(PagerTest, PageFillsThePager) {
    TAdvToolBarPager Pager;
    Pager.resize(868, PagerDefaultHeight);
    TAdvPage* const Page = new TAdvPage(&Pager);
    Pager.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Pager));
    EXPECT_EQ(Page->geometry(), QRect(0, 0, 868, 97));
    Pager.resize(500, PagerDefaultHeight);
    EXPECT_EQ(Page->geometry(), QRect(0, 0, 500, 97));
    EXPECT_EQ(Pager.sizeHint().height(), 97);
}

} // namespace
