// The status line's sentences about the scan: the hint after opening, what Straighten did.

#include "app/ScanStatusText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TCardFinding Found(bool Border, double Tilt, bool Uncertain = false) {
    TCardFinding Finding;
    Finding.HasBorder = Border;
    Finding.TiltDegrees = Tilt;
    Finding.LevelDegrees = std::abs(Tilt) >= MinLevelledTiltDegrees ? Tilt : 0;
    Finding.EdgeUncertain = Uncertain;
    return Finding;
}

struct THintCase {
    std::string Name;
    TCardFinding Finding;
    std::string Hint;
};

class ScanHintTextTest : public testing::TestWithParam<THintCase> {};

TEST_P(ScanHintTextTest, SaysWhatTheScanShowsAndNamesTheKey) {
    EXPECT_EQ(ScanHintText(GetParam().Finding, "Ctrl+T"), GetParam().Hint);
}

INSTANTIATE_TEST_SUITE_P(
    Findings, ScanHintTextTest,
    testing::Values(
        THintCase{"MarginAndTilt", Found(true, 1.26),
                  "The scan has a margin and is tilted by 1.3\u00B0: Straighten (Ctrl+T) cuts the "
                  "card out level"},
        THintCase{"MarginAndTiltTheOtherWay", Found(true, -2.04),
                  "The scan has a margin and is tilted by 2.0\u00B0: Straighten (Ctrl+T) cuts the "
                  "card out level"},
        THintCase{"MarginAndATiltTooSmallToMention", Found(true, 0.3),
                  "The scan has a margin: Straighten (Ctrl+T) cuts the card out"},
        THintCase{"TiltAlone", Found(false, 0.8),
                  "The scan is tilted by 0.8\u00B0: Straighten (Ctrl+T) levels it"},
        THintCase{"Nothing", Found(false, 0.2), ""}),
    [](const auto& Info) { return Info.param.Name; });

TEST(ScanStatusText, TheHintFollowsTheOpeningSentenceOrIsLeftOut) {
    EXPECT_EQ(WithScanHint("a.jpg, 10 \u00D7 10: back", "Hint"),
              "a.jpg, 10 \u00D7 10: back \u2014 Hint");
    EXPECT_EQ(WithScanHint("a.jpg, 10 \u00D7 10: back", ""), "a.jpg, 10 \u00D7 10: back");
}

TEST(ScanStatusText, StraightenedSaysWhatWasDone) {
    EXPECT_EQ(StraightenedText(Found(true, -1.5)),
              "Straightened: the card cut out and levelled by 1.5\u00B0");
    EXPECT_EQ(StraightenedText(Found(true, 0.02)), "Straightened: the card cut out");
    EXPECT_EQ(StraightenedText(Found(true, 1, true)),
              "Straightened: the card cut out and levelled by 1.0\u00B0 \u2014 its edge could not "
              "be told from the scanner's lid, so the cut follows what differs from the lid");
    EXPECT_EQ(StraightenedText(Found(false, 0)),
              "Nothing to straighten: no margin of the scanner's bed around the picture");
    EXPECT_EQ(TurnedText(false, 480, 1062, TInlayLayout::Back),
              "Turned left: 480 \u00D7 1062: back");
}

} // namespace
