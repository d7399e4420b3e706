#include "base/ReadableFile.h"
#include "base/FileStream.h"

#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A folder holding one of each kind of name a reader may be given.
class ReadableFileTest : public testing::Test {
protected:
    void SetUp() override {
        FFolder = fs::temp_directory_path() / ("readable-" + std::to_string(::getpid()));
        fs::create_directories(FFolder);
        std::ofstream(FFolder / "cover.png", std::ios::binary) << "12345";
        fs::create_directory(FFolder / "folder.png");
        ASSERT_EQ(::mkfifo((FFolder / "pipe.png").c_str(), 0600), 0);
        fs::create_symlink("/dev/null", FFolder / "device.png");
        fs::create_symlink(FFolder / "cover.png", FFolder / "link.png");
    }
    void TearDown() override { fs::remove_all(FFolder); }

    std::string Path(const char* Name) const { return (FFolder / Name).string(); }

    fs::path FFolder;
};

struct TKindCase {
    const char* Name;
    int Error;
};

class ReadableKindTest : public ReadableFileTest, public testing::WithParamInterface<TKindCase> {};

// A pipe without a writer would block an open without O_NONBLOCK: this test would hang.
TEST_P(ReadableKindTest, OpensRegularFilesOnlyWithoutWaiting) {
    const TKindCase& C = GetParam();
    TFileHandle File;
    std::uint64_t Size = 99;
    EXPECT_EQ(OpenFileForReading(Path(C.Name), File, &Size), C.Error);
    EXPECT_EQ(File.IsOpen(), C.Error == 0);
    EXPECT_EQ(Size, C.Error == 0 ? 5u : 99u);
    if (File.IsOpen()) { // the flag that kept the open from blocking is gone
        EXPECT_EQ(::fcntl(File.Get(), F_GETFL) & O_NONBLOCK, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReadableKindTest,
                         testing::Values(TKindCase{"cover.png", 0}, TKindCase{"link.png", 0},
                                         TKindCase{"missing.png", ENOENT},
                                         TKindCase{"folder.png", EISDIR},
                                         TKindCase{"pipe.png", NotAFileToReadError},
                                         TKindCase{"device.png", NotAFileToReadError}),
                         [](const auto& Info) { return AsTestName(Info.param.Name); });

TEST_F(ReadableFileTest, StreamsNameWhatIsNotARegularFile) {
    for (const char* Name : {"pipe.png", "device.png"}) {
        try {
            TFileStream Stream(Path(Name));
            ADD_FAILURE() << Name << " was opened";
        } catch (const EFOpenError& Error) {
            EXPECT_EQ(Error.Message(),
                      "Cannot open file \"" + Path(Name) + "\". Not a regular file");
        }
    }
}

TEST_F(ReadableFileTest, StreamsReadInPiecesAndAtOffsets) {
    TFileStream Stream(Path("cover.png"));
    EXPECT_EQ(Stream.Size(), 5u);
    char Text[8] = {};
    EXPECT_EQ(Stream.ReadAt(3, Text, sizeof Text), 2u);
    EXPECT_STREQ(Text, "45");
    EXPECT_EQ(Stream.Read(Text, 2), 2u);
    EXPECT_EQ(std::string(Text, 2), "12");
    EXPECT_EQ(Stream.Read(Text, sizeof Text), 3u);
    EXPECT_EQ(std::string(Text, 3), "345");
    EXPECT_EQ(Stream.Read(Text, sizeof Text), 0u);
}

} // namespace
