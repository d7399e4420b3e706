// The print sheet's options of trayvane-compose: several covers into one PDF, --per-sheet,
// --front, --front-from-cover and --no-caption, what does not go together, how they reach the
// PDF writer, and the writer's report read back.

#include "compose_cli/ComposeCommand.h"
#include "compose_cli/PrintSheetHelper.h"
#include "compose_cli/SheetOutput.h"
#include "compose_cli/SheetReport.h"

#include "tests/compose_cli/UsageErrorTable.h"
#include "tests/support/TestNames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::HasSubstr;

TEST(SheetOptionsTest, SeveralCoversGoIntoOnePdfInTheirOrder) {
    const TComposeOptions A = ParseComposeArguments({"c.jpg", "a.png", "b.jpg", "all.PDF"});
    EXPECT_THAT(A.Inputs, ElementsAre("c.jpg", "a.png", "b.jpg"));
    EXPECT_EQ(A.Output, "all.PDF");
    EXPECT_EQ(A.PerSheet, std::nullopt);
    EXPECT_EQ(ParseComposeArguments({"a.jpg", "b.jpg", "--", "-c.jpg", "d.pdf"}).Inputs.size(), 3u);
}

TEST(SheetOptionsTest, TheSheetsOptionsAreTakenAndHandedToTheWriter) {
    const TComposeOptions A =
        ParseComposeArguments({"--per-sheet=2", "--no-caption", "a.jpg", "b.jpg", "x.pdf"});
    EXPECT_EQ(A.PerSheet, 2);
    EXPECT_TRUE(A.NoCaption);
    const TComposeOptions B = ParseComposeArguments({"--front", "f.png", "a.jpg", "x.pdf"});
    EXPECT_EQ(B.Front, "f.png");
    const TComposeOptions C = ParseComposeArguments(
        {"--front-from-cover", "--output-dir", "/o", "--format", "pdf", "a.jpg", "b.jpg"});
    EXPECT_TRUE(C.FrontFromCover);

    TComposeOptions D = ParseComposeArguments(
        {"--paper", "a4", "--per-sheet", "2", "--no-caption", "a.jpg", "b.jpg", "x.pdf"});
    EXPECT_THAT(PrintSheetHelperArguments(D.Inputs, D.Output, PrintSheetJobOf(D)),
                ElementsAre("--layout", "auto", "--spine", "0", "--paper", "a4", "--bleed", "0",
                            "--per-sheet", "2", "--no-caption", "--", "a.jpg", "b.jpg", "x.pdf"));
    EXPECT_THAT(PrintSheetHelperArguments(B.Inputs, B.Output, PrintSheetJobOf(B)),
                testing::IsSupersetOf({"--front", "f.png"}));
    // What the writer is given, it reads back as the same job.
    for (const TComposeOptions& Options : {B, C, D}) {
        std::vector<std::string> Words =
            PrintSheetHelperArguments(Options.Inputs, "o.pdf", PrintSheetJobOf(Options));
        const TComposeOptions Back = ParseComposeArguments(Words);
        EXPECT_EQ(Back.Inputs, Options.Inputs);
        EXPECT_EQ(Back.PerSheet.value_or(1), Options.PerSheet.value_or(1));
        EXPECT_EQ(Back.Front, Options.Front);
        EXPECT_EQ(Back.FrontFromCover, Options.FrontFromCover);
        EXPECT_EQ(Back.NoCaption, Options.NoCaption);
    }
}

namespace {

INSTANTIATE_TEST_SUITE_P(
    SheetOptions, UsageErrorTest,
    testing::Values(
        TUsageCase{"PerSheetWithJpeg",
                   {"--per-sheet", "2", "a.jpg", "b.jpg"},
                   "--per-sheet goes "
                   "with a PDF output"},
        TUsageCase{"PerSheetWithBatchJpeg",
                   {"--per-sheet", "1", "--output-dir", "/o", "a.jpg"},
                   "--per-sheet goes with a PDF output"},
        TUsageCase{"PerSheetThree",
                   {"--per-sheet", "3", "a.jpg", "b.pdf"},
                   "--per-sheet takes 1 "
                   "or 2"},
        TUsageCase{"FrontWithPpm",
                   {"--front", "f.png", "a.jpg", "b.ppm"},
                   "--front goes with a "
                   "PDF output"},
        TUsageCase{"FrontFromCoverWithJpeg",
                   {"--front-from-cover", "a.jpg", "b.jpg"},
                   "--front-from-cover goes with a PDF output"},
        TUsageCase{"NoCaptionWithJpeg",
                   {"--no-caption", "a.jpg", "b.jpg"},
                   "--no-caption goes "
                   "with a PDF output"},
        TUsageCase{"FrontWithSeveralInputs",
                   {"--front", "f.png", "a.jpg", "b.jpg", "c.pdf"},
                   "--front goes with a single INPUT"},
        TUsageCase{"FrontWithSeveralInputsInABatch",
                   {"--front", "f.png", "--output-dir", "/o", "--format", "pdf", "a.jpg", "b.jpg"},
                   "--front goes with a single INPUT"},
        TUsageCase{"BothFronts",
                   {"--front", "f.png", "--front-from-cover", "a.jpg", "c.pdf"},
                   "do not go together"},
        TUsageCase{"FrontWithTwoPerSheet",
                   {"--front", "f.png", "--per-sheet", "2", "a.jpg", "c.pdf"},
                   "--front does not go with --per-sheet 2"},
        TUsageCase{"FrontFromCoverWithTwoPerSheet",
                   {"--front-from-cover", "--per-sheet", "2", "a.jpg", "c.pdf"},
                   "--front-from-cover does not go with --per-sheet 2"},
        TUsageCase{"FrontWithoutPicture",
                   {"--front=", "a.jpg", "c.pdf"},
                   "--front needs a "
                   "picture"},
        TUsageCase{"NoCaptionWithValue", {"--no-caption=yes", "a.jpg", "c.pdf"}, "takes no value"},
        TUsageCase{"SeveralInputsIntoAJpeg", {"a.jpg", "b.jpg", "c.jpg"}, "too many file names"}),
    [](const testing::TestParamInfo<TUsageCase>& Info) { return AsTestName(Info.param.Name); });

} // namespace

// The writer's report survives every character a message may hold.
TEST(SheetReportTest, RecordsReadBackAsWritten) {
    const TSheetReport Report = {
        {TSheetRecord::TKind::Notice, "/a b/front\tx.png", {}, "not square: 31 of 1000"},
        {TSheetRecord::TKind::NoSpine, "c:\\d.jpg", {}, {}},
        {TSheetRecord::TKind::Failed, "e.jpg", "EIJLError", "Error reading\rline\nnext\\"},
    };
    const std::string Text = SheetReportText(Report);
    EXPECT_EQ(std::count(Text.begin(), Text.end(), '\n'), 3) << "a line each";
    EXPECT_EQ(ParseSheetReport(Text), Report);
    EXPECT_TRUE(SheetReportFailed(Report));
    // Words of others on the same stream are no records.
    EXPECT_EQ(ParseSheetReport("QStandardPaths: no runtime\n" + Text + "failed\tonly two\n"),
              Report);
    EXPECT_FALSE(SheetReportFailed(ParseSheetReport("nospine\ta.jpg\n")));
}
