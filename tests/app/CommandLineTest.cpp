// The window program's command line: a picture to open, --help and --version, usage errors.

#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct TCommandLineCase {
    const char* Name;
    std::vector<std::string> Arguments;
    TCommandLineAction Action;
    const char* FileName;
};

class CommandLineTest : public testing::TestWithParam<TCommandLineCase> {};

TEST_P(CommandLineTest, Parses) {
    const TCommandLineCase& C = GetParam();
    const TCommandLine Parsed = ParseCommandLine(C.Arguments);
    EXPECT_EQ(Parsed.Action, C.Action) << Parsed.Error;
    EXPECT_EQ(Parsed.FileName, C.FileName);
    EXPECT_EQ(Parsed.Error.empty(), C.Action != TCommandLineAction::UsageError) << Parsed.Error;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineTest,
    testing::Values(
        TCommandLineCase{"Nothing", {}, TCommandLineAction::Run, ""},
        TCommandLineCase{"OnePicture", {"cover.jpg"}, TCommandLineAction::Run, "cover.jpg"},
        TCommandLineCase{"DashAloneIsAName", {"-"}, TCommandLineAction::Run, "-"},
        TCommandLineCase{
            "NameAfterDoubleDash", {"--", "-odd.jpg"}, TCommandLineAction::Run, "-odd.jpg"},
        TCommandLineCase{"Help", {"--help"}, TCommandLineAction::Help, ""},
        TCommandLineCase{"ShortHelp", {"-h"}, TCommandLineAction::Help, ""},
        TCommandLineCase{"Version", {"--version"}, TCommandLineAction::Version, ""},
        TCommandLineCase{
            "HelpWinsOverVersion", {"--version", "--help"}, TCommandLineAction::Help, ""},
        // Before the toolkit has taken its options, they must not hide --help.
        TCommandLineCase{"HelpWinsOverUnknownOptions",
                         {"-platform", "offscreen", "--help"},
                         TCommandLineAction::Help,
                         ""},
        TCommandLineCase{
            "HelpAfterDoubleDashIsAName", {"--", "--help"}, TCommandLineAction::Run, "--help"},
        TCommandLineCase{
            "UnknownOption", {"--bogus", "cover.jpg"}, TCommandLineAction::UsageError, ""},
        TCommandLineCase{"TwoPictures", {"a.jpg", "b.jpg"}, TCommandLineAction::UsageError, ""}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(CommandLineTextTest, HelpNamesTheUsageAndEveryOption) {
    const std::string Help = CommandLineHelpText();
    EXPECT_EQ(Help.rfind("Usage: trayvane [FILE]\n", 0), 0u) << Help;
    for (const char* Option : {"--help", "-h", "--version"})
        EXPECT_NE(Help.find(Option), std::string::npos) << Option;
    EXPECT_EQ(CommandLineVersionText(), "trayvane " TRAYVANE_VERSION "\n");
}

} // namespace
