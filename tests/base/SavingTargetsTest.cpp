// Everything that saves goes through base/AtomicFile: the JPEG save of the window and the batch
// command, the batch command's PPM output and the settings store. Each of them is tried here on
// every kind of path a user can give: a regular file, a new one, links, a named pipe, a device,
// a very long name, a full disk and, as an unprivileged user, files and folders that may not be
// written.

#include "app/settings/RegistryFile.h"
#include "app/settings/WindowPlacement.h"
#include "compose_cli/PpmFile.h"
#include "jpeg_bridge/JpegFile.h"

#include "tests/support/BitmapTestSupport.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestNames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

using testing::ElementsAreArray;

namespace {

namespace fs = std::filesystem;

using TBytes = std::vector<std::uint8_t>;

TBytes Bytes(const std::string& Text) {
    return {Text.begin(), Text.end()};
}

// One of the program's writers: how it saves, what it writes and how it fails.
struct TWriter {
    const char* Name;
    bool WritesIntoDevices; // devices and named pipes are written into; else refused
    std::string OldContent; // what an existing target holds before the save
    // Saves to Path; returns "" or the message of the writer's own error (anything else fails
    // the test).
    std::function<std::string(const std::string& Path)> Save;
    std::function<bool(const TBytes& Written)> IsComplete;
};

const TBitmap32& Picture() {
    static TBitmap32 Bitmap;
    if (Bitmap.IsEmpty())
        FillWithCoordinates(Bitmap, 32, 24);
    return Bitmap;
}

const std::string EmptySettings = "Windows Registry Editor Version 5.00\n\n";

std::vector<TWriter> Writers() {
    return {
        {"JpegSave", true, "old picture",
         [](const std::string& Path) -> std::string {
             try {
                 SaveJpegFile(Picture(), Path, 95);
                 return {};
             } catch (const EIJLError& E) {
                 EXPECT_EQ(E.Message().rfind("Error Saving image:\r" + Path + "\r", 0), 0u)
                     << E.Message();
                 return E.Message();
             }
         },
         [](const TBytes& Written) {
             const TDecodedJpeg Decoded = DecodeJpeg(Written);
             return Decoded.Ok && Decoded.Width == 32 && Decoded.Height == 24;
         }},
        {"PpmOutput", true, "old picture",
         [](const std::string& Path) -> std::string {
             try {
                 SavePpmFile(Picture(), Path);
                 return {};
             } catch (const EFCreateError& E) {
                 return E.Message();
             } catch (const EWriteError& E) {
                 return E.Message();
             }
         },
         [](const TBytes& Written) {
             const std::string Header = "P6\n32 24\n255\n";
             return Written.size() == Header.size() + 32 * 24 * 3 &&
                    std::equal(Header.begin(), Header.end(), Written.begin());
         }},
        {"SettingsStore", false, EmptySettings,
         [](const std::string& Path) -> std::string {
             TRegistryFileStore Store(Path);
             TRegistry Registry(Store);
             try {
                 StoreWindowPlacement(Registry, {1, 2, 3, 4});
                 return {};
             } catch (const ERegistryException& E) {
                 return E.Message();
             }
         },
         [](const TBytes& Written) {
             const std::string Text(Written.begin(), Written.end());
             return Text.rfind(EmptySettings, 0) == 0 &&
                    Text.find("\"Top\"=dword:00000002\n") != std::string::npos;
         }},
    };
}

enum class TKind {
    RegularFile,
    NewFile,
    SymbolicLink,
    DanglingLink,
    NamedPipe,
    Device,
    LongNameReplaced,
    LongNameNew,
    DiskFull,
    ReadOnlyFile,
    WritableFileInReadOnlyFolder,
    NewFileInReadOnlyFolder,
};

struct TTargetCase {
    const char* Name;
    TKind Kind;
};

// Failures name the row, not its bytes.
void PrintTo(const TWriter& Writer, std::ostream* Out) {
    *Out << Writer.Name;
}
void PrintTo(const TTargetCase& Case, std::ostream* Out) {
    *Out << Case.Name;
}

unsigned ModeOf(const std::string& Path) {
    struct stat Status {};
    ::lstat(Path.c_str(), &Status);
    return Status.st_mode & 07777;
}

// Reads a named pipe on a thread of its own. The pipe is opened for reading at once, so that a
// writer finds its reader; the reading ends when the writer has come and gone, or when Finish
// is called and nothing more waits in the pipe.
class TPipeReader {
public:
    explicit TPipeReader(const std::string& Path)
        : FHandle(::open(Path.c_str(), O_RDONLY | O_NONBLOCK)) {
        FThread = std::thread([this] {
            std::uint8_t Buffer[4096];
            while (FHandle >= 0) {
                pollfd Poll{FHandle, POLLIN, 0};
                const int Ready = ::poll(&Poll, 1, 10);
                const ssize_t Count = Ready > 0 && (Poll.revents & POLLIN)
                                          ? ::read(FHandle, Buffer, sizeof Buffer)
                                          : 0;
                if (Count > 0) {
                    FReceived.insert(FReceived.end(), Buffer, Buffer + Count);
                    continue;
                }
                // Linux reports the hang-up only once a writer has been there.
                if ((Ready > 0 && (Poll.revents & POLLHUP)) || FStop)
                    break;
            }
        });
    }
    ~TPipeReader() {
        Finish();
        if (FHandle >= 0)
            ::close(FHandle);
    }

    const TBytes& Finish() {
        if (FThread.joinable()) {
            FStop = true;
            FThread.join();
        }
        return FReceived;
    }

private:
    int FHandle;
    TBytes FReceived;
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

// A null device of our own where the system allows one (as root), so that a save that wrongly
// replaced it would not replace the system's /dev/null; /dev/null otherwise.
std::string NullDevice(const TTempFolder& Dir) {
    const std::string Own = Dir.File("null");
    if (::mknod(Own.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        const int Handle = ::open(Own.c_str(), O_WRONLY);
        if (Handle >= 0) {
            ::close(Handle);
            return Own;
        }
        ::unlink(Own.c_str()); // a file system without devices
    }
    return "/dev/null";
}

bool IsUnprivilegedCase(TKind Kind) {
    return Kind == TKind::ReadOnlyFile || Kind == TKind::WritableFileInReadOnlyFolder ||
           Kind == TKind::NewFileInReadOnlyFolder;
}

class SavingTargetTest : public testing::TestWithParam<std::tuple<TTargetCase, TWriter>> {};

TEST_P(SavingTargetTest, SavesWhereADirectWriteWouldAndNeverLeavesAnythingBehind) {
    const auto& [Case, Writer] = GetParam();
    if (IsUnprivilegedCase(Case.Kind) && ::geteuid() == 0)
        GTEST_SKIP() << "root writes whatever it likes: this case runs as an unprivileged user "
                        "in the CTest test saving_targets_as_an_unprivileged_user";
    TTempFolder Dir;
    const std::string LongName = std::string(246, 'a') + ".jpg";
    const auto Write = [&](const std::string& Name, const std::string& Text) {
        WriteFileBytes(Dir.File(Name), Bytes(Text));
        return Dir.File(Name);
    };

    std::string Path;     // what the writer is given
    std::string File;     // the file that must hold the result
    bool Refused = false; // the save must fail and leave File as it was
    std::optional<TPipeReader> Reader;
    std::optional<TFileSizeLimit> DiskFull;
    switch (Case.Kind) {
    case TKind::RegularFile:
        Path = File = Write("target", Writer.OldContent);
        ::chmod(Path.c_str(), 0640);
        break;
    case TKind::NewFile:
        Path = File = Dir.File("target");
        break;
    case TKind::SymbolicLink:
        Dir.MakeFolder("real");
        File = Write("real/target", Writer.OldContent);
        fs::create_symlink("real/target", Path = Dir.File("link"));
        break;
    case TKind::DanglingLink:
        fs::create_symlink("target", Path = Dir.File("link"));
        File = Dir.File("target");
        break;
    case TKind::NamedPipe:
        Path = Dir.File("pipe");
        ASSERT_EQ(::mkfifo(Path.c_str(), 0600), 0);
        Reader.emplace(Path);
        Refused = !Writer.WritesIntoDevices;
        break;
    case TKind::Device:
        Path = NullDevice(Dir);
        Refused = !Writer.WritesIntoDevices;
        break;
    case TKind::LongNameReplaced:
        Path = File = Write(LongName, Writer.OldContent);
        break;
    case TKind::LongNameNew:
        Path = File = Dir.File(LongName);
        break;
    case TKind::DiskFull:
        Path = File = Write("target", Writer.OldContent);
        DiskFull.emplace(16);
        Refused = true;
        break;
    case TKind::ReadOnlyFile:
        Path = File = Write("target", Writer.OldContent);
        ::chmod(Path.c_str(), 0444);
        Refused = true;
        break;
    case TKind::WritableFileInReadOnlyFolder:
        Dir.MakeFolder("closed");
        Path = File = Write("closed/target", Writer.OldContent);
        ::chmod(Dir.File("closed").c_str(), 0555);
        break;
    case TKind::NewFileInReadOnlyFolder:
        Dir.MakeFolder("closed");
        ::chmod(Dir.File("closed").c_str(), 0555);
        Path = File = Dir.File("closed/target");
        Refused = true;
        break;
    }
    const bool Existed = !File.empty() && fs::exists(File);
    const std::vector<std::string> EntriesBefore = Dir.Entries();

    const std::string Error = Writer.Save(Path);
    DiskFull.reset();

    if (Refused) {
        EXPECT_NE(Error, "") << "the save succeeded";
    } else {
        EXPECT_EQ(Error, "");
    }
    if (Reader) {
        const TBytes& Received = Reader->Finish();
        if (Refused) {
            EXPECT_TRUE(Received.empty()) << Received.size() << " bytes went into the pipe";
        } else {
            EXPECT_TRUE(Writer.IsComplete(Received))
                << "the pipe received " << Received.size() << " bytes, not the whole output";
        }
        EXPECT_TRUE(fs::is_fifo(Path)) << "the named pipe was replaced";
    } else if (Case.Kind == TKind::Device) {
        EXPECT_TRUE(fs::is_character_file(Path)) << Path << " was replaced";
    } else if (Refused) {
        if (Existed) {
            EXPECT_TRUE(ReadFileBytes(File) == Bytes(Writer.OldContent)) << "the target changed";
        } else {
            EXPECT_FALSE(fs::exists(File)) << "a file was made";
        }
    } else {
        ASSERT_TRUE(fs::is_regular_file(File)) << File;
        EXPECT_TRUE(Writer.IsComplete(ReadFileBytes(File))) << "the target is not the new output";
    }
    if (Case.Kind == TKind::RegularFile) {
        EXPECT_EQ(ModeOf(File), 0640u) << "the permissions changed";
    }
    if (Case.Kind == TKind::SymbolicLink || Case.Kind == TKind::DanglingLink) {
        EXPECT_TRUE(fs::is_symlink(Path)) << "the link was replaced";
    }

    // Nothing but the result is left: no temporary file anywhere.
    std::vector<std::string> Expected = EntriesBefore;
    if (!Existed && !Refused && !File.empty() && fs::path(File).parent_path() == Dir.Path())
        Expected.push_back(fs::path(File).filename().string());
    std::sort(Expected.begin(), Expected.end());
    EXPECT_THAT(Dir.Entries(), ElementsAreArray(Expected));
    for (const char* Folder : {"real", "closed"}) {
        if (!fs::is_directory(Dir.File(Folder)))
            continue;
        std::vector<std::string> Inside;
        for (const auto& Entry : fs::directory_iterator(Dir.File(Folder)))
            Inside.push_back(Entry.path().filename().string());
        EXPECT_THAT(Inside, ElementsAreArray(fs::exists(File) ? std::vector<std::string>{"target"}
                                                              : std::vector<std::string>{}))
            << "in " << Folder;
    }
}

const TTargetCase AnyUserCases[] = {
    {"regular file", TKind::RegularFile},
    {"new file", TKind::NewFile},
    {"symbolic link", TKind::SymbolicLink},
    {"dangling link", TKind::DanglingLink},
    {"named pipe", TKind::NamedPipe},
    {"device", TKind::Device},
    {"250 byte name replaced", TKind::LongNameReplaced},
    {"250 byte name new", TKind::LongNameNew},
    {"disk full", TKind::DiskFull},
};

const TTargetCase UnprivilegedCases[] = {
    {"read-only file", TKind::ReadOnlyFile},
    {"writable file in read-only folder", TKind::WritableFileInReadOnlyFolder},
    {"new file in read-only folder", TKind::NewFileInReadOnlyFolder},
};

std::string CaseName(const testing::TestParamInfo<std::tuple<TTargetCase, TWriter>>& Info) {
    return TestNameOf(std::get<1>(Info.param).Name, " ", std::get<0>(Info.param).Name);
}

INSTANTIATE_TEST_SUITE_P(AnyUser, SavingTargetTest,
                         testing::Combine(testing::ValuesIn(AnyUserCases),
                                          testing::ValuesIn(Writers())),
                         CaseName);

// Run by the CTest test saving_targets_as_an_unprivileged_user through
// tests/support/RunUnprivileged.sh; skipped when the tests run as root.
INSTANTIATE_TEST_SUITE_P(AsAnUnprivilegedUser, SavingTargetTest,
                         testing::Combine(testing::ValuesIn(UnprivilegedCases),
                                          testing::ValuesIn(Writers())),
                         CaseName);

} // namespace
