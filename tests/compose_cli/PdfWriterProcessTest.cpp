// The batch command's PDF writer as a process: it writes where the command's own outputs go
// (a link to /dev/stdout included), and it ends with the command, also when the command alone
// is killed with SIGKILL, so that it never writes an output after the command has gone. And
// what it takes from outside, the input's name, stays on one line of its document's title.

#include "tests/support/JpegFixtures.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// Starts the built trayvane-compose with Arguments, its standard output into OutFd (-1: as the
// test's); returns its process id, or -1.
pid_t StartCompose(const std::vector<std::string>& Arguments, int OutFd = -1) {
    std::vector<std::string> Words{TRAYVANE_COMPOSE_EXECUTABLE};
    Words.insert(Words.end(), Arguments.begin(), Arguments.end());
    std::vector<char*> Argv;
    for (auto& W : Words)
        Argv.push_back(W.data());
    Argv.push_back(nullptr);
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    if (OutFd >= 0)
        posix_spawn_file_actions_adddup2(&Actions, OutFd, 1);
    pid_t Child = -1;
    if (posix_spawn(&Child, Argv[0], &Actions, nullptr, Argv.data(), environ) != 0)
        Child = -1;
    posix_spawn_file_actions_destroy(&Actions);
    return Child;
}

// The children of Parent, from the system's process table.
std::vector<pid_t> ChildrenOf(pid_t Parent) {
    std::vector<pid_t> Children;
    std::error_code Error;
    for (const auto& Entry : std::filesystem::directory_iterator("/proc", Error)) {
        const std::string Name = Entry.path().filename();
        if (Name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream Stat(Entry.path() / "stat");
        std::string Line;
        std::getline(Stat, Line);
        // "pid (name) state ppid ...": the name may hold blanks, the last ")" ends it.
        const std::size_t Close = Line.rfind(')');
        if (Close == std::string::npos)
            continue;
        char State = 0;
        long ParentId = 0;
        std::istringstream(Line.substr(Close + 1)) >> State >> ParentId;
        if (ParentId == Parent)
            Children.push_back(static_cast<pid_t>(std::stol(Name)));
    }
    return Children;
}

// Whether Process still runs (neither gone nor a zombie waiting to be reaped).
bool Runs(pid_t Process) {
    std::ifstream Stat("/proc/" + std::to_string(Process) + "/stat");
    std::string Line;
    if (!std::getline(Stat, Line))
        return false;
    const std::size_t Close = Line.rfind(')');
    return Close != std::string::npos && Close + 2 < Line.size() && Line[Close + 2] != 'Z';
}

template <class TCondition>
bool WaitFor(TCondition&& Condition, std::chrono::seconds Limit) {
    const auto Deadline = std::chrono::steady_clock::now() + Limit;
    while (!Condition()) {
        if (std::chrono::steady_clock::now() > Deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::string SmallScan(const TTempFolder& Dir) {
    TFixtureImage Image{300, 200, 3, {}};
    for (int I = 0; I < 300 * 200 * 3; ++I)
        Image.Samples.push_back(static_cast<std::uint8_t>(40 + I % 160));
    const std::string Path = Dir.File("cover.jpg");
    WriteFileBytes(Path, EncodeJpeg(Image, TFixtureColor::YCbCr));
    return Path;
}

TEST(PdfWriterProcessTest, APdfLinkedToStandardOutputArrivesThere) {
    TTempFolder Dir;
    const std::string Link = Dir.File("card.pdf");
    std::filesystem::create_symlink("/dev/stdout", Link);
    const std::string Received = Dir.File("received");
    const int Out = ::open(Received.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(Out, 0);
    const pid_t Compose = StartCompose({SmallScan(Dir), Link}, Out);
    ::close(Out);
    ASSERT_GT(Compose, 0);
    int Status = 0;
    ASSERT_EQ(::waitpid(Compose, &Status, 0), Compose);
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);
    const std::vector<std::uint8_t> Bytes = ReadFileBytes(Received);
    ASSERT_GT(Bytes.size(), 1000u);
    EXPECT_EQ(std::string(Bytes.begin(), Bytes.begin() + 5), "%PDF-");
    EXPECT_TRUE(std::filesystem::is_symlink(Link));
}

// The writer is held in its output's open: a named pipe without a reader. The command alone is
// killed; the writer must end with it.
TEST(PdfWriterProcessTest, TheWriterEndsWhenTheCommandIsKilled) {
    TTempFolder Dir;
    const std::string Pipe = Dir.File("card.pdf");
    ASSERT_EQ(::mkfifo(Pipe.c_str(), 0600), 0);
    const pid_t Compose = StartCompose({SmallScan(Dir), Pipe});
    ASSERT_GT(Compose, 0);
    std::vector<pid_t> Writers;
    ASSERT_TRUE(WaitFor([&] { return !(Writers = ChildrenOf(Compose)).empty(); }, 30s))
        << "no PDF writer started";
    ::kill(Compose, SIGKILL);
    ::waitpid(Compose, nullptr, 0);
    const pid_t Writer = Writers.front();
    const bool Ended = WaitFor([&] { return !Runs(Writer); }, 10s);
    if (!Ended)
        ::kill(Writer, SIGKILL); // leave nothing behind
    EXPECT_TRUE(Ended) << "the PDF writer outlived the command";
}

// A line break in the input's name does not cut the document's title.
TEST(PdfWriterProcessTest, ALineBreakInTheNameKeepsTheTitleOnOneLine) {
    TTempFolder Dir;
    const std::string Scan = SmallScan(Dir);
    const std::string Name = Dir.File("night\ntrains.jpg");
    std::filesystem::rename(Scan, Name);
    const std::string Pdf = Dir.File("card.pdf");
    const pid_t Compose = StartCompose({Name, Pdf});
    ASSERT_GT(Compose, 0);
    int Status = 0;
    ASSERT_EQ(::waitpid(Compose, &Status, 0), Compose);
    ASSERT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);
    const TProgramRun Info = RunProgram({"pdfinfo", Pdf});
    ASSERT_EQ(Info.ExitCode, 0) << Info.Err;
    EXPECT_THAT(Info.Out, testing::HasSubstr("Title:           night trains.jpg \u00B7 back"));
}

} // namespace
