#include "app/ExceptionLog.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <unistd.h>

namespace {

std::tm LocalTime(int Year, int Month, int Day, int Hour, int Minute, int Second) {
    std::tm Time{};
    Time.tm_year = Year - 1900;
    Time.tm_mon = Month - 1;
    Time.tm_mday = Day;
    Time.tm_hour = Hour;
    Time.tm_min = Minute;
    Time.tm_sec = Second;
    return Time;
}

// Memory figures beyond 31 and 32 bits, so a cut or signed figure shows.
const TMemoryStatus BigMemory{81, 17179869184ull, 3221225472ull};

// The records of these tests use the "C" time formats: "%x" is MM/DD/YY, "%X" is HH:MM:SS.
class ExceptionLogTest : public testing::Test {
protected:
    void SetUp() override {
        FOldLocale = std::setlocale(LC_TIME, nullptr);
        std::setlocale(LC_TIME, "C");
    }
    void TearDown() override { std::setlocale(LC_TIME, FOldLocale.c_str()); }

    // A log at Path with a fixed clock and memory reading; records it cannot take go to
    // Fallback, or with "" to standard error.
    TExceptionLog LogAt(const std::string& Path, std::tm Time = LocalTime(2024, 3, 5, 14, 7, 9),
                        const std::string& Fallback = "") {
        return TExceptionLog(
            Path, [Time] { return Time; }, [] { return BigMemory; }, Fallback);
    }

    TTempFolder Folder;
    const std::string LogPath = Folder / "trayvane.log";

private:
    std::string FOldLocale;
};

const char* const OneRecord = "03/05/24 14:07:09 : Cannot open the file\r\n"
                              "Exception = EIJLError\r\n"
                              "ActiveForm = MainForm\r\n"
                              "ActiveControl = InputImgView\r\n"
                              "MemoryLoad = 81\r\n"
                              "TotalPhys = 17179869184\r\n"
                              "AvailPhys = 3221225472\r\n";

TEST_F(ExceptionLogTest, TheFirstRecordCreatesTheFileWithSevenLines) {
    const TExceptionLog Log = LogAt(LogPath);
    EXPECT_FALSE(std::filesystem::exists(LogPath)) << "the log must not exist before a record";

    Log.Append("EIJLError", "Cannot open the file", "MainForm", "InputImgView");

    EXPECT_EQ(ReadWholeFile(LogPath), OneRecord);
}

TEST_F(ExceptionLogTest, RecordsAreAppendedInOrderAfterWhatIsThere) {
    Folder.WriteFile("trayvane.log", "earlier\r\n");
    const TExceptionLog Log = LogAt(LogPath);

    Log.Append("EIJLError", "first", "MainForm", "InputImgView");
    Log.Append("ERegistryException", "second", "MainForm", "SpineSizeTrackBar");

    const std::string Text = ReadWholeFile(LogPath);
    std::vector<std::string> Lines;
    for (std::size_t Start = 0, End; (End = Text.find("\r\n", Start)) != std::string::npos;
         Start = End + 2)
        Lines.push_back(Text.substr(Start, End - Start));
    ASSERT_EQ(Lines.size(), 15u) << Text;
    EXPECT_EQ(Lines[0], "earlier");
    EXPECT_EQ(Lines[1], "03/05/24 14:07:09 : first");
    EXPECT_EQ(Lines[2], "Exception = EIJLError");
    EXPECT_EQ(Lines[8], "03/05/24 14:07:09 : second");
    EXPECT_EQ(Lines[9], "Exception = ERegistryException");
    EXPECT_EQ(Lines[11], "ActiveControl = SpineSizeTrackBar");
    EXPECT_EQ(Lines[14], "AvailPhys = 3221225472");
    EXPECT_EQ(Text.substr(Text.size() - 2), "\r\n");
}

TEST_F(ExceptionLogTest, MessageIsWrittenUnchangedAndMissingNamesAreNamedNone) {
    const std::string Message = "Error loading image:\rcover.jpg\rError: bad\rIJL Error number: -5";
    LogAt(LogPath).Append("EIJLError", Message, "", "");

    EXPECT_EQ(ReadWholeFile(LogPath), "03/05/24 14:07:09 : " + Message +
                                          "\r\nException = EIJLError\r\n"
                                          "ActiveForm = (none)\r\n"
                                          "ActiveControl = (none)\r\n"
                                          "MemoryLoad = 81\r\nTotalPhys = 17179869184\r\n"
                                          "AvailPhys = 3221225472\r\n");
}

// Text from outside (a file name, a system's message, a class name reported by another program)
// never starts a line of the log: each record keeps its seven lines, its line breaks escaped;
// the carriage returns of the JPEG bridge's messages stay.
struct TForgeryCase {
    const char* Name;
    std::string ClassName;
    std::string Message;
    std::string Line1; // after "<time> : "
    std::string Line2; // after "Exception = "
};

class LogForgeryTest : public ExceptionLogTest, public testing::WithParamInterface<TForgeryCase> {};

TEST_P(LogForgeryTest, KeepsEveryRecordAtSevenLines) {
    const TForgeryCase& C = GetParam();
    LogAt(LogPath).Append(C.ClassName, C.Message, "MainForm", "InputImgView");
    LogAt(LogPath).Append("EIJLError", "Cannot open the file", "MainForm", "InputImgView");
    const std::string Text = ReadWholeFile(LogPath);
    std::vector<std::string> Lines;
    for (std::size_t Start = 0, End; (End = Text.find('\n', Start)) != std::string::npos;
         Start = End + 1)
        Lines.push_back(Text.substr(Start, End - Start));
    ASSERT_EQ(Lines.size(), 14u) << Text;
    EXPECT_EQ(Lines[0], "03/05/24 14:07:09 : " + C.Line1 + "\r");
    EXPECT_EQ(Lines[1], "Exception = " + C.Line2 + "\r");
    EXPECT_EQ(Lines[2], "ActiveForm = MainForm\r");
    EXPECT_TRUE(Text.ends_with(OneRecord)) << Text;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, LogForgeryTest,
    testing::Values(
        TForgeryCase{"JpegMessageWithLineBreaksInItsName", "EIJLError",
                     "Error loading image:\ra\r\nException = EForged\r\nActiveForm = X.jpg\r"
                     "Error: bad\rIJL Error number: -5",
                     "Error loading image:\ra\\r\\nException = EForged\\r\\nActiveForm = "
                     "X.jpg\rError: bad\rIJL Error number: -5",
                     "EIJLError"},
        TForgeryCase{"FileNameWithLineFeeds", "EFOpenError",
                     "Cannot open file \"/tmp/a\nException = EForged\nb.png\". Not a regular file",
                     "Cannot open file \"/tmp/a\\nException = EForged\\nb.png\". Not a regular "
                     "file",
                     "EFOpenError"},
        TForgeryCase{"ControlAndUnicodeBreaks", "E\nForged",
                     "a\x0b\x0c\x1b[2Jb\xC2\x85"
                     "c\xE2\x80\xA8"
                     "d\xE2\x80\xA9"
                     "e\tf",
                     "a\\x0B\\x0C\\x1B[2Jb\\u0085c\\u2028d\\u2029e\tf", "E\\nForged"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// The record is built whole, the memory reading included, before anything goes into the file.
TEST_F(ExceptionLogTest, TheRecordGoesIntoTheFileInOnePiece) {
    std::string FileAtReading;
    const TExceptionLog Log(
        LogPath, [] { return LocalTime(2024, 3, 5, 14, 7, 9); },
        [&] {
            FileAtReading = ReadWholeFile(LogPath);
            return BigMemory;
        });
    Log.Append("EIJLError", "late", "MainForm", "InputImgView");
    EXPECT_EQ(FileAtReading, "<missing>");
    EXPECT_EQ(ReadWholeFile(LogPath).substr(0, 26), "03/05/24 14:07:09 : late\r\n");
}

// Two copies of the program logging into one file at once: every record arrives whole.
TEST_F(ExceptionLogTest, RecordsOfParallelWritersNeverMix) {
    constexpr int Records = 1000;
    std::vector<pid_t> Writers;
    for (const char* Writer : {"first", "second"}) {
        const pid_t Child = ::fork();
        if (Child == 0) {
            const TExceptionLog Log = LogAt(LogPath);
            for (int I = 0; I < Records; ++I)
                Log.Append("EIJLError",
                           std::string(Writer) + " writer, record " + std::to_string(I), "MainForm",
                           "InputImgView");
            std::_Exit(0);
        }
        ASSERT_GT(Child, 0);
        Writers.push_back(Child);
    }
    for (const pid_t Child : Writers) {
        int Status = 0;
        ::waitpid(Child, &Status, 0);
        ASSERT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);
    }

    const std::string Text = ReadWholeFile(LogPath);
    std::vector<std::string> Lines;
    for (std::size_t Start = 0, End; (End = Text.find("\r\n", Start)) != std::string::npos;
         Start = End + 2)
        Lines.push_back(Text.substr(Start, End - Start));
    ASSERT_EQ(Lines.size(), 2u * Records * 7);
    std::map<std::string, int> Next{{"first", 0}, {"second", 0}};
    int Malformed = 0;
    for (std::size_t R = 0; R < Lines.size(); R += 7) {
        const std::string& First = Lines[R];
        const std::string Writer = First.substr(
            First.find(" : ") + 3, First.find(' ', First.find(" : ") + 3) - First.find(" : ") - 3);
        const bool Whole =
            Next.count(Writer) != 0 &&
            First == "03/05/24 14:07:09 : " + Writer + " writer, record " +
                         std::to_string(Next[Writer]) &&
            Lines[R + 1] == "Exception = EIJLError" && Lines[R + 2] == "ActiveForm = MainForm" &&
            Lines[R + 3] == "ActiveControl = InputImgView" && Lines[R + 4] == "MemoryLoad = 81" &&
            Lines[R + 5] == "TotalPhys = 17179869184" && Lines[R + 6] == "AvailPhys = 3221225472";
        if (!Whole && ++Malformed <= 3)
            ADD_FAILURE() << "record at line " << R << " is malformed: " << First;
        if (Whole)
            ++Next[Writer];
    }
    EXPECT_EQ(Malformed, 0);
    EXPECT_EQ(Next["first"], Records);
    EXPECT_EQ(Next["second"], Records);
}

// A named pipe, a device or a folder at the log's path never holds the program up: the record
// goes where an unwritable log's records go.
TEST_F(ExceptionLogTest, ANonRegularLogIsNotWaitedFor) {
    const std::string Pipe = Folder / "pipe.log";
    ASSERT_EQ(::mkfifo(Pipe.c_str(), 0600), 0);
    for (const std::string& Path : {Pipe, std::string("/dev/zero"), Folder.Path().string()}) {
        testing::internal::CaptureStderr();
        LogAt(Path).Append("EIJLError", "Cannot open the file", "MainForm", "InputImgView");
        const std::string Reported = testing::internal::GetCapturedStderr();
        EXPECT_NE(Reported.find(OneRecord), std::string::npos) << Path << ":\n" << Reported;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(Pipe));
}

TEST_F(ExceptionLogTest, DateAloneAtMidnight) {
    struct TCase {
        std::tm Time;
        const char* Expected;
    };
    const TCase Cases[] = {
        {LocalTime(2024, 12, 31, 0, 0, 0), "12/31/24"},
        {LocalTime(2024, 12, 31, 0, 0, 1), "12/31/24 00:00:01"},
        {LocalTime(2024, 12, 31, 0, 1, 0), "12/31/24 00:01:00"},
        {LocalTime(2024, 12, 31, 12, 0, 0), "12/31/24 12:00:00"},
        {LocalTime(2024, 12, 31, 23, 59, 59), "12/31/24 23:59:59"},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(FormatLogDateTime(C.Time), C.Expected)
            << C.Time.tm_hour << ":" << C.Time.tm_min << ":" << C.Time.tm_sec;

    LogAt(LogPath, LocalTime(2024, 1, 2, 0, 0, 0)).Append("EAccessViolation", "m", "MainForm", "");
    EXPECT_EQ(ReadWholeFile(LogPath).substr(0, 14), "01/02/24 : m\r\n");
}

// Where the record cannot go into the file, the file stays as it was and the record is on
// standard error.
TEST_F(ExceptionLogTest, UnwritableLogLeavesTheFileAndReportsOnStandardError) {
    const std::string ReadOnlyLog = Folder.WriteFile("readonly.log", "kept\r\n");
    std::filesystem::permissions(ReadOnlyLog, std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::group_read |
                                                  std::filesystem::perms::others_read);
    Folder.WriteFile("plain", "");
    const struct {
        std::string Path;
        const char* Why;
    } Cases[] = {
        {ReadOnlyLog, "read-only"},
        {Folder / "plain/inside.log", ""}, // its folder is a file
        {Folder / "missing/inside.log", ""},
        {Folder.Path().string(), ""}, // a folder
        {"", "no log file name"},
    };
    for (const auto& C : Cases) {
        testing::internal::CaptureStderr();
        LogAt(C.Path).Append("EIJLError", "Cannot open the file", "MainForm", "InputImgView");
        const std::string Reported = testing::internal::GetCapturedStderr();
        EXPECT_NE(Reported.find(OneRecord), std::string::npos) << C.Path << ":\n" << Reported;
        EXPECT_NE(Reported.find(C.Why), std::string::npos) << C.Path << ":\n" << Reported;
    }
    EXPECT_EQ(ReadWholeFile(ReadOnlyLog), "kept\r\n");
    EXPECT_FALSE(std::filesystem::exists(Folder / "missing"));
}

TEST_F(ExceptionLogTest, FailedWriteIsReportedOnStandardError) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    testing::internal::CaptureStderr();
    LogAt("/dev/full").Append("EIJLError", "Cannot open the file", "MainForm", "InputImgView");
    const std::string Reported = testing::internal::GetCapturedStderr();
    EXPECT_NE(Reported.find(OneRecord), std::string::npos) << Reported;
}

TEST_F(ExceptionLogTest, FailingClockOrMemoryReaderDoesNotEscape) {
    testing::internal::CaptureStderr();
    const TExceptionLog Log(
        LogPath, []() -> std::tm { throw std::runtime_error("no clock"); },
        [] { return BigMemory; });
    Log.Append("EIJLError", "m", "MainForm", "");
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}

// Where the log beside the executable cannot take a record, the record goes whole to the
// fallback log, whose folders are made for their owner only, and nothing to standard error.
TEST_F(ExceptionLogTest, AReadOnlyLogSendsTheRecordToTheFallback) {
    const std::string ReadOnlyLog = Folder.WriteFile("readonly.log", "kept\r\n");
    std::filesystem::permissions(ReadOnlyLog, std::filesystem::perms::owner_read);
    const std::string Fallback = Folder / "state/trayvane/trayvane.log";

    testing::internal::CaptureStderr();
    const std::string Taken =
        LogAt(ReadOnlyLog, LocalTime(2024, 3, 5, 14, 7, 9), Fallback)
            .Append("EIJLError", "Cannot open the file", "MainForm", "InputImgView");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    EXPECT_EQ(Taken, Fallback);
    EXPECT_EQ(ReadWholeFile(Fallback), OneRecord);
    EXPECT_EQ(ReadWholeFile(ReadOnlyLog), "kept\r\n");
    for (const char* Made : {"state", "state/trayvane"})
        EXPECT_EQ(std::filesystem::status(Folder / Made).permissions(),
                  std::filesystem::perms::owner_all)
            << Made;
}

TEST_F(ExceptionLogTest, AWritableLogSaysItTookTheRecord) {
    EXPECT_EQ(LogAt(LogPath, LocalTime(2024, 3, 5, 14, 7, 9), Folder / "state/trayvane.log")
                  .Append("EIJLError", "Cannot open the file", "MainForm", "InputImgView"),
              LogPath);
    EXPECT_FALSE(std::filesystem::exists(Folder / "state"));
}

TEST_F(ExceptionLogTest, WhenTheFallbackFailsTooTheRecordIsOnStandardError) {
    Folder.WriteFile("plain", "");
    testing::internal::CaptureStderr();
    const std::string Taken =
        LogAt("", LocalTime(2024, 3, 5, 14, 7, 9), Folder / "plain/x/t.log")
            .Append("EIJLError", "Cannot open the file", "MainForm", "InputImgView");
    const std::string Reported = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Taken, "");
    EXPECT_NE(Reported.find(OneRecord), std::string::npos) << Reported;
    EXPECT_NE(Reported.find(Folder / "plain/x/t.log"), std::string::npos) << Reported;
}

struct TFallbackCase {
    const char* Name;
    const char* StateHome;
    const char* Home;
    const char* Expected;
};

class FallbackExceptionLogPathTest : public testing::TestWithParam<TFallbackCase> {};

TEST_P(FallbackExceptionLogPathTest, InTheUsersStateFolder) {
    const TFallbackCase& C = GetParam();
    EXPECT_EQ(FallbackExceptionLogPath(C.StateHome, C.Home), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FallbackExceptionLogPathTest,
    testing::Values(TFallbackCase{"StateHome", "/home/ann/.state", "/home/ann",
                                  "/home/ann/.state/trayvane/trayvane.log"},
                    TFallbackCase{"StateHomeWithSlash", "/var/st/", "/home/ann",
                                  "/var/st/trayvane/trayvane.log"},
                    TFallbackCase{"NoStateHome", nullptr, "/home/ann",
                                  "/home/ann/.local/state/trayvane/trayvane.log"},
                    TFallbackCase{"EmptyStateHome", "", "/home/ann/",
                                  "/home/ann/.local/state/trayvane/trayvane.log"},
                    // A relative XDG_STATE_HOME is invalid and ignored.
                    TFallbackCase{"RelativeStateHome", "state", "/home/ann",
                                  "/home/ann/.local/state/trayvane/trayvane.log"},
                    TFallbackCase{"NeitherSet", nullptr, nullptr, ""},
                    TFallbackCase{"RelativeHome", nullptr, "home", ""}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// Folder permissions hold only for an unprivileged user: root writes into any folder. The CTest
// entry exception_log_fallback_as_unprivileged_user runs these as "nobody".
class ExceptionLogAsUserTest : public ExceptionLogTest {
protected:
    void SetUp() override {
        if (geteuid() == 0)
            GTEST_SKIP() << "runs as an unprivileged user (CTest: "
                            "exception_log_fallback_as_unprivileged_user)";
        ExceptionLogTest::SetUp();
    }
};

// A system-wide install: the program's folder cannot be written, so the record goes to the
// user's state folder, which is created.
TEST_F(ExceptionLogAsUserTest, AnUnwritableProgramFolderSendsTheRecordToTheStateFolder) {
    const std::string Program = Folder.MakeFolder("bin");
    std::filesystem::permissions(Program, std::filesystem::perms::owner_read |
                                              std::filesystem::perms::owner_exec);
    const std::string Beside = Program + "/trayvane.log";
    const std::string Fallback = Folder / "home/.local/state/trayvane/trayvane.log";

    testing::internal::CaptureStderr();
    const std::string Taken =
        LogAt(Beside, LocalTime(2024, 3, 5, 14, 7, 9), Fallback)
            .Append("EIJLError", "Cannot open the file", "MainForm", "InputImgView");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    EXPECT_EQ(Taken, Fallback);
    EXPECT_EQ(ReadWholeFile(Fallback), OneRecord);
    EXPECT_FALSE(std::filesystem::exists(Beside));

    // The next record goes after it.
    LogAt(Beside, LocalTime(2024, 3, 5, 14, 7, 9), Fallback)
        .Append("EIJLError", "Cannot open the file", "MainForm", "InputImgView");
    EXPECT_EQ(ReadWholeFile(Fallback), std::string(OneRecord) + OneRecord);
}

TEST_F(ExceptionLogAsUserTest, AnUnwritableStateFolderLeavesStandardError) {
    const std::string Locked = Folder.MakeFolder("locked");
    std::filesystem::permissions(Locked, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_exec);
    testing::internal::CaptureStderr();
    const std::string Taken =
        LogAt(Locked + "/trayvane.log", LocalTime(2024, 3, 5, 14, 7, 9),
              Locked + "/state/trayvane/trayvane.log")
            .Append("EIJLError", "Cannot open the file", "MainForm", "InputImgView");
    const std::string Reported = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Taken, "");
    EXPECT_NE(Reported.find(OneRecord), std::string::npos) << Reported;
    EXPECT_FALSE(std::filesystem::exists(Locked + "/state"));
}

TEST(ExceptionLogPathTest, BesideTheExecutable) {
    EXPECT_EQ(ExceptionLogPath("/opt/trayvane/trayvane"), "/opt/trayvane/trayvane.log");
    EXPECT_EQ(ExceptionLogPath("/opt/tray.vane/inlay.bin"), "/opt/tray.vane/inlay.log");
    EXPECT_EQ(ExceptionLogPath(""), "");
}

} // namespace
