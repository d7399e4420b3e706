#include "base/AtomicFile.h"

#include "tests/support/JpegFixtures.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using testing::ElementsAre;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& Text) {
    return {Text.begin(), Text.end()};
}

int WriteAndCommit(const std::string& Target, const std::string& Text) {
    TAtomicFile File;
    if (const int Error = File.Create(Target))
        return Error;
    std::fputs(Text.c_str(), File.Stream());
    return File.Commit();
}

unsigned ModeOf(const std::string& Path) {
    struct stat Status {};
    ::stat(Path.c_str(), &Status);
    return Status.st_mode & 07777;
}

} // namespace

TEST(AtomicFileTest, CommitReplacesTheTargetAndKeepsItsPermissions) {
    TTempFolder Dir;
    const std::string Target = Dir.File("inlay.jpg");
    WriteFileBytes(Target, Bytes("old"));
    ::chmod(Target.c_str(), 0640);
    ASSERT_EQ(WriteAndCommit(Target, "new"), 0);
    EXPECT_TRUE(ReadFileBytes(Target) == Bytes("new"));
    EXPECT_EQ(ModeOf(Target), 0640u);
    EXPECT_THAT(Dir.Entries(), ElementsAre("inlay.jpg"));
}

TEST(AtomicFileTest, NewFileGetsTheUsualPermissions) {
    TTempFolder Dir;
    const mode_t Saved = ::umask(022);
    const int Error = WriteAndCommit(Dir.File("fresh.jpg"), "x");
    ::umask(Saved);
    ASSERT_EQ(Error, 0);
    EXPECT_EQ(ModeOf(Dir.File("fresh.jpg")), 0644u);
}

TEST(AtomicFileTest, UncommittedFileLeavesNothingBehind) {
    TTempFolder Dir;
    const std::string Target = Dir.File("inlay.jpg");
    WriteFileBytes(Target, Bytes("old"));
    {
        TAtomicFile File;
        ASSERT_EQ(File.Create(Target), 0);
        std::fputs("half", File.Stream());
        EXPECT_EQ(Dir.Entries().size(), 2u) << "the temporary file is beside the target";
    }
    EXPECT_TRUE(ReadFileBytes(Target) == Bytes("old"));
    EXPECT_THAT(Dir.Entries(), ElementsAre("inlay.jpg"));
}

TEST(AtomicFileTest, SymbolicLinkStaysAndItsFileIsReplaced) {
    TTempFolder Dir;
    std::filesystem::create_directory(Dir.File("real"));
    WriteFileBytes(Dir.File("real/inlay.jpg"), Bytes("old"));
    std::filesystem::create_symlink("real/inlay.jpg", Dir.File("link.jpg"));
    ASSERT_EQ(WriteAndCommit(Dir.File("link.jpg"), "new"), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(Dir.File("link.jpg")));
    EXPECT_TRUE(ReadFileBytes(Dir.File("real/inlay.jpg")) == Bytes("new"));
    EXPECT_THAT(Dir.Entries(), ElementsAre("link.jpg", "real"));
}

TEST(AtomicFileTest, FailuresReportTheSystemError) {
    TTempFolder Dir;
    std::filesystem::create_directory(Dir.File("folder"));
    EXPECT_EQ(WriteAndCommit(Dir.File("missing/x.jpg"), "x"), ENOENT);
    EXPECT_EQ(WriteAndCommit(Dir.File("folder"), "x"), EISDIR);
    EXPECT_THAT(Dir.Entries(), ElementsAre("folder"));
    TAtomicFile Unused;
    EXPECT_EQ(Unused.Commit(), EBADF);
}
