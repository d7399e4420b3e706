#include "base/AtomicFile.h"

#include "tests/support/JpegFixtures.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using testing::ElementsAre;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& Text) {
    return {Text.begin(), Text.end()};
}

// Unnamed temporary files (the default) or named ones while the object lives.
class TUnnamedFiles {
public:
    explicit TUnnamedFiles(bool Use) { TAtomicFile::UseUnnamedTemporaryFiles(Use); }
    ~TUnnamedFiles() { TAtomicFile::UseUnnamedTemporaryFiles(true); }
};

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

// The content is written into an unnamed file: nothing of it can be seen, or left behind,
// before it is complete. Where unnamed files are not to be had, a named one with a short name
// takes its place and goes as well.
TEST(AtomicFileTest, NothingOfAnUnfinishedFileIsSeenOrLeftBehind) {
    for (const bool Unnamed : {true, false}) {
        SCOPED_TRACE(Unnamed ? "unnamed temporary file" : "named temporary file");
        const TUnnamedFiles Mode(Unnamed);
        TTempFolder Dir;
        const std::string Target = Dir.File("inlay.jpg");
        WriteFileBytes(Target, Bytes("old"));
        {
            TAtomicFile File;
            ASSERT_EQ(File.Create(Target), 0);
            std::fputs("half", File.Stream());
            std::fflush(File.Stream());
            const std::vector<std::string> Entries = Dir.Entries();
            if (Unnamed) {
                EXPECT_THAT(Entries, ElementsAre("inlay.jpg"));
            } else {
                ASSERT_EQ(Entries.size(), 2u) << "the temporary file is beside the target";
                EXPECT_LE(Entries[0].size(), 32u) << Entries[0];
            }
        }
        EXPECT_TRUE(ReadFileBytes(Target) == Bytes("old"));
        EXPECT_THAT(Dir.Entries(), ElementsAre("inlay.jpg"));
    }
}

// A name of 250 bytes leaves no room for a temporary name built from it.
TEST(AtomicFileTest, LongNamesAreReplacedAndMade) {
    for (const bool Unnamed : {true, false}) {
        SCOPED_TRACE(Unnamed ? "unnamed temporary file" : "named temporary file");
        const TUnnamedFiles Mode(Unnamed);
        TTempFolder Dir;
        const std::string Name = std::string(246, 'x') + ".jpg";
        WriteFileBytes(Dir.File(Name), Bytes("old"));
        ASSERT_EQ(WriteAndCommit(Dir.File(Name), "new"), 0);
        EXPECT_TRUE(ReadFileBytes(Dir.File(Name)) == Bytes("new"));
        const std::string Other = std::string(250, 'y');
        ASSERT_EQ(WriteAndCommit(Dir.File(Other), "made"), 0);
        EXPECT_THAT(Dir.Entries(), ElementsAre(Name, Other));
    }
}

// A private target is never readable by others while it is written, whatever the umask; a new
// file gets 0666 less the umask.
TEST(AtomicFileTest, TheTemporaryFileHasTheTargetsPermissionsFromItsCreation) {
    for (const bool Unnamed : {true, false}) {
        SCOPED_TRACE(Unnamed ? "unnamed temporary file" : "named temporary file");
        const TUnnamedFiles Mode(Unnamed);
        TTempFolder Dir;
        const std::string Private = Dir.File("private.jpg");
        WriteFileBytes(Private, Bytes("old"));
        ::chmod(Private.c_str(), 0600);
        const mode_t SavedMask = ::umask(0);
        TAtomicFile File;
        const int Error = File.Create(Private);
        ::umask(SavedMask);
        ASSERT_EQ(Error, 0);
        struct stat Status {};
        ASSERT_EQ(::fstat(::fileno(File.Stream()), &Status), 0);
        EXPECT_EQ(Status.st_mode & 07777, 0600u);
        File.Discard();

        const mode_t Saved = ::umask(027);
        ASSERT_EQ(File.Create(Dir.File("new.jpg")), 0);
        ::umask(Saved);
        ASSERT_EQ(::fstat(::fileno(File.Stream()), &Status), 0);
        EXPECT_EQ(Status.st_mode & 07777, 0640u);
    }
}

// A save ended by SIGTERM or SIGINT leaves the old file and nothing else. (The child that is
// ended is a fork of this process, so that it works in this test's folder.)
TEST(AtomicFileTest, AnInterruptedSaveLeavesNoTemporaryFile) {
    GTEST_FLAG_SET(death_test_style, "fast");
    for (const bool Unnamed : {true, false})
        for (const int Signal : {SIGTERM, SIGINT}) {
            SCOPED_TRACE(std::string(Unnamed ? "unnamed" : "named") + " temporary file, " +
                         strsignal(Signal));
            TTempFolder Dir;
            const std::string Target = Dir.File("inlay.jpg");
            WriteFileBytes(Target, Bytes("old"));
            EXPECT_EXIT(
                {
                    TAtomicFile::UseUnnamedTemporaryFiles(Unnamed);
                    TAtomicFile File;
                    if (File.Create(Target) == 0) {
                        std::fputs("half", File.Stream());
                        std::fflush(File.Stream());
                        std::raise(Signal);
                    }
                    std::_Exit(0);
                },
                testing::KilledBySignal(Signal), "");
            EXPECT_TRUE(ReadFileBytes(Target) == Bytes("old"));
            EXPECT_THAT(Dir.Entries(), ElementsAre("inlay.jpg"));
        }
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

namespace {

// Runs Work in a child process as the user nobody; gives Work's result (-1 when the child could
// not switch user or did not end normally).
int AsNobody(const std::function<int()>& Work) {
    const passwd* Nobody = ::getpwnam("nobody");
    if (!Nobody)
        return -1;
    const pid_t Child = ::fork();
    if (Child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody->pw_gid) != 0 ||
            ::setuid(Nobody->pw_uid) != 0)
            std::_Exit(255);
        std::_Exit(Work());
    }
    int Status = 0;
    ::waitpid(Child, &Status, 0);
    return WIFEXITED(Status) && WEXITSTATUS(Status) != 255 ? WEXITSTATUS(Status) : -1;
}

} // namespace

// In a sticky folder (as /tmp) a file of another user may be written but not replaced: it is
// written in place, as a direct write would, and keeps its owner.
TEST(AtomicFileTest, AnotherUsersWritableFileInAStickyFolderIsWrittenInPlace) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root, to make a file of another user for an unprivileged one";
    TTempFolder Dir;
    ::chmod(Dir.Path().c_str(), 01777);
    const std::string Target = Dir.File("shared.jpg");
    WriteFileBytes(Target, Bytes("old"));
    ::chmod(Target.c_str(), 0666);
    const int Result = AsNobody([&] { return WriteAndCommit(Target, "new"); });
    ASSERT_NE(Result, -1) << "could not run as the user nobody";
    EXPECT_EQ(Result, 0) << std::strerror(Result);
    EXPECT_TRUE(ReadFileBytes(Target) == Bytes("new"));
    struct stat Status {};
    ::stat(Target.c_str(), &Status);
    EXPECT_EQ(Status.st_uid, 0u);
    EXPECT_THAT(Dir.Entries(), ElementsAre("shared.jpg"));
}

// A small tmpfs, mounted for a test and unmounted after it.
class TSmallDisk {
public:
    TSmallDisk(const std::string& Folder, const char* Size) : FFolder(Folder) {
        ::mkdir(Folder.c_str(), 0755);
        const std::string Options = std::string("size=") + Size + ",mode=0755";
        FMounted = ::mount("tmpfs", Folder.c_str(), "tmpfs", 0, Options.c_str()) == 0;
        FError = FMounted ? 0 : errno;
    }
    ~TSmallDisk() {
        if (FMounted)
            ::umount2(FFolder.c_str(), MNT_DETACH);
    }
    TSmallDisk(const TSmallDisk&) = delete;
    TSmallDisk& operator=(const TSmallDisk&) = delete;
    bool Mounted() const { return FMounted; }
    int Error() const { return FError; }

private:
    std::string FFolder;
    bool FMounted = false;
    int FError = 0;
};

// A file nobody may write in a folder where nobody can make no temporary file is written in
// place. On a disk too full for its new content it stays as it was, and the write fails with
// the disk's error; content that fits is written whole and the file cut to its length.
TEST(AtomicFileTest, AnInPlaceWriteOnAFullDiskLeavesTheFileAsItWas) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root, to mount a small tmpfs and write on it as the user nobody";
    TTempFolder Dir;
    ::chmod(Dir.Path().c_str(), 0755); // open to nobody, but closed to its files
    const std::string Folder = Dir.File("disk");
    const TSmallDisk Disk(Folder, "256k");
    if (!Disk.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(Disk.Error());
    const std::string Target = Folder + "/inlay.jpg";
    const std::string Old(100 * 1024, 'o');
    WriteFileBytes(Target, Bytes(Old));
    ::chmod(Target.c_str(), 0666);
    WriteFileBytes(Folder + "/filler", std::vector<std::uint8_t>(136 * 1024, 'f'));

    const int Full = AsNobody([&] { return WriteAndCommit(Target, std::string(200 * 1024, 'n')); });
    ASSERT_NE(Full, -1) << "could not run as the user nobody";
    EXPECT_EQ(Full, ENOSPC) << std::strerror(Full);
    EXPECT_TRUE(ReadFileBytes(Target) == Bytes(Old)) << "the old file was changed";

    const std::string Fits(60 * 1024, 'm');
    EXPECT_EQ(AsNobody([&] { return WriteAndCommit(Target, Fits); }), 0);
    EXPECT_TRUE(ReadFileBytes(Target) == Bytes(Fits));
}

// Root replacing a user's file leaves it the user's.
TEST(AtomicFileTest, AReplacedFileKeepsItsOwnerWhereTheSystemAllows) {
    const passwd* Nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !Nobody)
        GTEST_SKIP() << "needs root and the user nobody";
    TTempFolder Dir;
    const std::string Target = Dir.File("inlay.jpg");
    WriteFileBytes(Target, Bytes("old"));
    ASSERT_EQ(::chown(Target.c_str(), Nobody->pw_uid, Nobody->pw_gid), 0);
    ASSERT_EQ(WriteAndCommit(Target, "new"), 0);
    struct stat Status {};
    ::stat(Target.c_str(), &Status);
    EXPECT_EQ(Status.st_uid, Nobody->pw_uid);
    EXPECT_EQ(Status.st_gid, Nobody->pw_gid);
}
