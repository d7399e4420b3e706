#include "widgets/TrackBarRules.h"

#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TTrackBarSettings SpineSettings() {
    TTrackBarSettings Settings;
    Settings.Minimum = -20.0;
    Settings.Maximum = 20.0;
    Settings.Step = 5.0;
    Settings.SnapToTickMarks = true;
    Settings.SnapMargin = 5.0;
    return Settings;
}

struct TSnapCase {
    double Raw;
    double Expected;
};

class SpineSnapTest : public testing::TestWithParam<TSnapCase> {};

TEST_P(SpineSnapTest, SnapsToMultiplesOfStepHalfToEvenThenClamps) {
    EXPECT_EQ(SnapValue(GetParam().Raw, SpineSettings()), GetParam().Expected)
        << "raw value " << GetParam().Raw;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SpineSnapTest,
    testing::Values(TSnapCase{7.4, 5}, TSnapCase{7.5, 10}, TSnapCase{12.5, 10}, TSnapCase{2.5, 0},
                    TSnapCase{-2.5, 0}, TSnapCase{-7.5, -10}, TSnapCase{17.5, 20},
                    TSnapCase{23, 20}, TSnapCase{-23, -20}, TSnapCase{-20, -20},
                    TSnapCase{0.001, 0}, TSnapCase{19.9, 20}),
    [](const auto& Info) { return TestNameOf(Info.param.Raw, "To", Info.param.Expected); });

TEST(SnapValueTest, GridCountsFromZeroNotFromMinimum) {
    TTrackBarSettings Settings = SpineSettings();
    Settings.Minimum = -18.0;
    EXPECT_EQ(SnapValue(-12.0, Settings), -10.0); // a grid from -18 would give -13
    EXPECT_EQ(SnapValue(-17.0, Settings), -15.0);
    EXPECT_EQ(SnapValue(-19.0, Settings), -18.0); // -20 snaps, then is clamped to Minimum
}

TEST(SnapValueTest, ValuesOutsideTheMarginStayUnsnapped) {
    TTrackBarSettings Settings = SpineSettings();
    Settings.SnapMargin = 1.0;
    EXPECT_EQ(SnapValue(6.0, Settings), 5.0);
    EXPECT_EQ(SnapValue(7.4, Settings), 7.4);
    EXPECT_EQ(SnapValue(9.0, Settings), 10.0);
    Settings.SnapToTickMarks = false;
    EXPECT_EQ(SnapValue(6.0, Settings), 6.0);
    EXPECT_EQ(SnapValue(21.0, Settings), 20.0);
}

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, double> Cases[] = {{2.5, 2},     {3.5, 4},   {0.5, 0},  {-0.5, 0},
                                               {-1.5, -2},   {-2.5, -2}, {1.49, 1}, {1.51, 2},
                                               {183.5, 184}, {-3.2, -3}};
    for (const auto& [Value, Expected] : Cases)
        EXPECT_EQ(RoundHalfEven(Value), Expected) << Value;
}

// The 250-pixel spine slider: thumb 40, track 210, so value v sits at x = 20 + (v + 20) * 5.25.
TEST(TrackBarValueAtTest, MapsThePointerAcrossTheTrack) {
    const TTrackBarGeometry Geometry = TrackBarGeometryFor(250, 40);
    ASSERT_EQ(Geometry.TrackLength, 210.0);
    const std::pair<double, double> Cases[] = {
        {20, -20},     {230, 20}, {125, 0},  {-50, -20},
        {400, 20},     {0, -20},  {249, 20}, {164.375, 10}, // raw 7.5, half to even upwards
        {59.375, -10},                                      // raw -12.5, half to even downwards
        {150, 5},      {178, 10}, {99, -5}};
    for (const auto& [X, Expected] : Cases)
        EXPECT_EQ(TrackBarValueAt(X, Geometry, SpineSettings()), Expected) << "x = " << X;
}

TEST(TrackBarValueAtTest, EmptyRangeOrTrackGivesZero) {
    TTrackBarSettings Settings = SpineSettings();
    Settings.Maximum = Settings.Minimum;
    EXPECT_EQ(TrackBarValueAt(100, TrackBarGeometryFor(250, 40), Settings), 0.0);
    EXPECT_EQ(TrackBarValueAt(100, TrackBarGeometryFor(30, 40), SpineSettings()), 0.0);
}

TEST(TrackBarThumbTest, ThumbCentreTravelsExactlyTheTrack) {
    const TTrackBarGeometry Geometry = TrackBarGeometryFor(250, 40);
    EXPECT_EQ(TrackBarThumbLeft(-20, Geometry, SpineSettings()), 0.0);
    EXPECT_EQ(TrackBarThumbLeft(20, Geometry, SpineSettings()) + 40, 250.0);
    for (double Value = -20; Value <= 20; Value += 5) {
        const double Centre = TrackBarThumbLeft(Value, Geometry, SpineSettings()) + 20;
        EXPECT_EQ(TrackBarValueAt(Centre, Geometry, SpineSettings()), Value) << Centre;
    }
}

TEST(TrackBarThumbTest, ClassifiesAgainstTheThumbSpan) {
    const TTrackBarGeometry Geometry = TrackBarGeometryFor(250, 40);
    // At 0 the thumb spans [105, 145).
    EXPECT_EQ(ClassifyAgainstThumb(104.9, 0, Geometry, SpineSettings()), TThumbZone::LeftOfThumb);
    EXPECT_EQ(ClassifyAgainstThumb(105, 0, Geometry, SpineSettings()), TThumbZone::OnThumb);
    EXPECT_EQ(ClassifyAgainstThumb(144.9, 0, Geometry, SpineSettings()), TThumbZone::OnThumb);
    EXPECT_EQ(ClassifyAgainstThumb(145, 0, Geometry, SpineSettings()), TThumbZone::RightOfThumb);
}

TEST(TrackBarTicksTest, NineLabelledGridPoints) {
    ASSERT_EQ(TrackBarTickCount(SpineSettings(), 100), 9);
    std::string Labels;
    for (int i = 0; i < 9; ++i)
        Labels += FormatTickLabel("%g", TrackBarTickValue(SpineSettings(), i)) + " ";
    EXPECT_EQ(Labels, "-20 -15 -10 -5 0 5 10 15 20 ");

    TTrackBarSettings Offset = SpineSettings();
    Offset.Minimum = -18;
    EXPECT_EQ(TrackBarTickCount(Offset, 100), 8);
    EXPECT_EQ(TrackBarTickValue(Offset, 0), -15);
    Offset.Step = 0;
    EXPECT_EQ(TrackBarTickCount(Offset, 100), 0);
    Offset.Step = 1e-9;
    EXPECT_EQ(TrackBarTickCount(Offset, 100), 100);
}

TEST(FormatTickLabelTest, AcceptsOneFloatingConversionOnly) {
    EXPECT_EQ(FormatTickLabel("%g", -15), "-15");
    EXPECT_EQ(FormatTickLabel("%.2f", 5), "5.00");
    EXPECT_EQ(FormatTickLabel("%+g %%", 5), "+5 %");
    EXPECT_EQ(FormatTickLabel("%s", 5), "5");   // would read a string pointer
    EXPECT_EQ(FormatTickLabel("%d", 5), "5");   // would read an int
    EXPECT_EQ(FormatTickLabel("%g%g", 5), "5"); // would read a second value
    EXPECT_EQ(FormatTickLabel("size", 5), "5");
    EXPECT_EQ(FormatTickLabel("%", 5), "5");
}

TEST(TrackBarModelTest, SettingsKeepPositionInRangeSilently) {
    TTrackBarModel Model;
    Model.SetMinimum(-20);
    Model.SetMaximum(20);
    EXPECT_EQ(Model.Position(), 0.0);
    EXPECT_TRUE(Model.SetPosition(15).PositionChanged);
    Model.SetMaximum(10);
    EXPECT_EQ(Model.Position(), 10.0);
    Model.SetMinimum(12); // Minimum above Maximum for a moment: Position stays
    EXPECT_EQ(Model.Position(), 10.0);
}

} // namespace
