// Where the program finds its placeholder picture: beside it in the build folder, in
// share/trayvane/ when installed.

#include "app/DataFile.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct TDataCase {
    const char* Name;
    std::set<std::string> Existing;
    const char* Expected;
};

class DataFilePathTest : public testing::TestWithParam<TDataCase> {};

TEST_P(DataFilePathTest, BesideTheProgramFirstThenInstalled) {
    const TDataCase& C = GetParam();
    const auto Exists = [&](const std::string& Path) { return C.Existing.count(Path) > 0; };
    EXPECT_EQ(DataFilePath("/usr/local/bin/trayvane", "DropHere.jpg", Exists), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DataFilePathTest,
    testing::Values(
        TDataCase{"BuildFolder", {"/usr/local/bin/DropHere.jpg"}, "/usr/local/bin/DropHere.jpg"},
        TDataCase{"Installed",
                  {"/usr/local/bin/../share/trayvane/DropHere.jpg"},
                  "/usr/local/bin/../share/trayvane/DropHere.jpg"},
        TDataCase{"BothBesideWins",
                  {"/usr/local/bin/DropHere.jpg", "/usr/local/bin/../share/trayvane/DropHere.jpg"},
                  "/usr/local/bin/DropHere.jpg"},
        TDataCase{"NeitherNamesTheFirst", {}, "/usr/local/bin/DropHere.jpg"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(DataFileOnDiskTest, FindsTheInstalledFileButNotAFolder) {
    TTempFolder Folder;
    Folder.MakeFolder("bin");
    Folder.MakeFolder("bin/DropHere.jpg"); // a folder of that name does not count
    Folder.MakeFolder("share");
    Folder.MakeFolder("share/trayvane");
    Folder.WriteFile("share/trayvane/DropHere.jpg", "jpeg");
    EXPECT_EQ(DataFilePath(Folder / "bin/trayvane", "DropHere.jpg"),
              Folder / "bin/../share/trayvane/DropHere.jpg");
}

} // namespace
