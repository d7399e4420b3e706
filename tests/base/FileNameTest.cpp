#include "base/FileName.h"

#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

struct TFileNameCase {
    const char* Name;
    const char* Extension;
    const char* WithLog;
    const char* Path;
};

class FileNameTest : public testing::TestWithParam<TFileNameCase> {};

TEST_P(FileNameTest, ExtensionPathAndReplacement) {
    const TFileNameCase& C = GetParam();
    EXPECT_EQ(ExtractFileExt(C.Name), C.Extension) << C.Name;
    EXPECT_EQ(ChangeFileExt(C.Name, ".log"), C.WithLog) << C.Name;
    EXPECT_EQ(ExtractFilePath(C.Name), C.Path) << C.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameTest,
    testing::Values(
        TFileNameCase{"cover.JPG", ".JPG", "cover.log", ""},
        TFileNameCase{"/scans/a.jpg.txt", ".txt", "/scans/a.jpg.log", "/scans/"},
        TFileNameCase{"/scans/pics.old/cover", "", "/scans/pics.old/cover.log", "/scans/pics.old/"},
        TFileNameCase{"C:\\Tools\\inlay.exe", ".exe", "C:\\Tools\\inlay.log", "C:\\Tools\\"},
        TFileNameCase{"C:\\pics.old\\cover", "", "C:\\pics.old\\cover.log", "C:\\pics.old\\"},
        TFileNameCase{"/opt/trayvane/trayvane", "", "/opt/trayvane/trayvane.log", "/opt/trayvane/"},
        TFileNameCase{"name.", ".", "name.log", ""}, TFileNameCase{"", "", ".log", ""}),
    [](const auto& Info) { return AsTestName(Info.param.Name); });

TEST(SameTextAsciiTest, IgnoresCaseOfAToZOnly) {
    EXPECT_TRUE(SameTextAscii(".JPEG", ".jpeg"));
    EXPECT_TRUE(SameTextAscii(".JpG", ".jPg"));
    EXPECT_FALSE(SameTextAscii(".jpg", ".jpeg"));
    EXPECT_FALSE(SameTextAscii("\xC4", "\xE4")); // Latin-1 A-umlaut and a-umlaut differ
}
