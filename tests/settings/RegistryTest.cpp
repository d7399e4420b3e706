#include "app/settings/Registry.h"
#include "app/settings/RegistryFile.h"
#include "app/settings/UserRegistry.h"

#include "tests/settings/RegistryFileText.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

namespace {

const char* const Key = "Software\\Brenlow\\Trayvane";

// The message of the ERegistryException that Action raises, or "<none>".
template <class TAction>
std::string RegistryError(TAction&& Action) {
    try {
        Action();
    } catch (const ERegistryException& Error) {
        return Error.Message();
    }
    return "<none>";
}

std::vector<std::string> FolderEntries(const std::filesystem::path& Folder) {
    std::vector<std::string> Names;
    for (const auto& Entry : std::filesystem::directory_iterator(Folder))
        Names.push_back(Entry.path().filename().string());
    std::sort(Names.begin(), Names.end());
    return Names;
}

class RegistryTest : public testing::Test {
protected:
    std::string WriteStore(const std::string& Text) const {
        Folder.MakeFolder("Brenlow");
        return Folder.WriteFile("Brenlow/Trayvane.reg", Text);
    }

    TTempFolder Folder;
    const std::string StorePath = Folder / "Brenlow/Trayvane.reg";
    TRegistryFileStore Store{StorePath};
    TRegistry Registry{Store};
};

TEST_F(RegistryTest, ReadsOnlyFourByteDwordsAsIntegers) {
    const struct {
        const char* Data; // as written after "Width"=
        const char* Expected;
    } Cases[] = {
        {"dword:00000364", "868"},
        {"dword:fffffb00", "-1280"},
        {"dword:7fffffff", "2147483647"},
        {"dword:80000000", "-2147483648"},
        // Strings: "abc" and its zero byte fit in 4 bytes, "1024" and its zero byte do not.
        {"\"abc\"", "Invalid data type for 'Width'"},
        {"\"\"", "Invalid data type for 'Width'"},
        {"\"1024\"", "Failed to get data for 'Width'"},
        {"hex:64,03,00,00", "Invalid data type for 'Width'"},
        {"hex(5):00,00,03,64", "Invalid data type for 'Width'"},
        {"hex(4):64,03", "Invalid data type for 'Width'"},
        {"hex(4):", "Invalid data type for 'Width'"},
        {"hex(4):64,03,00,00,00", "Failed to get data for 'Width'"},
        {"hex(b):64,03,00,00,00,00,00,00", "Failed to get data for 'Width'"},
    };
    for (const auto& C : Cases) {
        TRegistryFileStore CaseStore(
            WriteStore(RegistryFileHead + TrayvaneKeyLine + "\"Width\"=" + C.Data + "\n"));
        TRegistry CaseRegistry(CaseStore);
        ASSERT_TRUE(CaseRegistry.OpenKey(Key, false));
        EXPECT_TRUE(CaseRegistry.ValueExists("Width")) << C.Data;
        EXPECT_TRUE(CaseRegistry.ValueExists("WIDTH")) << C.Data;
        std::string Result;
        const std::string Error = RegistryError(
            [&] { Result = std::to_string(ReadIntegerDefault(CaseRegistry, "Width", 5)); });
        EXPECT_EQ(Error == "<none>" ? Result : Error, C.Expected) << C.Data;
    }
}

TEST_F(RegistryTest, MissingValuesAndKeys) {
    WriteStore(RegistryFileHead + TrayvaneKeyLine + "\"Left\"=dword:00000010\n");
    EXPECT_FALSE(Registry.OpenKey("Software\\Brenlow\\Other", false));
    EXPECT_FALSE(Registry.ValueExists("Left"));
    EXPECT_EQ(RegistryError([&] { Registry.ReadInteger("Left"); }),
              "Failed to get data for 'Left'");
    EXPECT_EQ(RegistryError([&] { Registry.WriteInteger("Left", 1); }),
              "Failed to set data for 'Left'");

    ASSERT_TRUE(Registry.OpenKey("\\software\\brenlow\\TRAYVANE\\", false));
    EXPECT_EQ(ReadIntegerDefault(Registry, "Left", 5), 16);
    EXPECT_EQ(Registry.ReadInteger("LEFT"), 16);
    EXPECT_EQ(ReadIntegerDefault(Registry, "Top", 5), 5);
    EXPECT_EQ(RegistryError([&] { Registry.ReadInteger("Top"); }), "Failed to get data for 'Top'");

    // A failed open leaves no key behind to write into.
    EXPECT_FALSE(Registry.OpenKey("Software\\\\Brenlow", true));
    EXPECT_FALSE(Registry.HasCurrentKey());
    EXPECT_FALSE(Registry.OpenKey("", true));
    Registry.CloseKey();
    EXPECT_EQ(ReadWholeFile(StorePath),
              RegistryFileHead + TrayvaneKeyLine + "\"Left\"=dword:00000010\n");
}

TEST_F(RegistryTest, WritesReplaceTheFileAndKeepEverythingElse) {
    const std::string Other = "[HKEY_CURRENT_USER\\Software\\Other]\n\"Name\"=\"kept\"\n";
    WriteStore(RegistryFileHead + Other + "\n" + TrayvaneKeyLine + "\"Top\"=hex:01\n");
    ASSERT_TRUE(Registry.OpenKey(Key, true));
    Registry.WriteInteger("Width", 868);
    Registry.WriteInteger("TOP", -200);
    EXPECT_EQ(Registry.ReadInteger("top"), -200);
    EXPECT_EQ(ReadWholeFile(StorePath), RegistryFileHead + Other + "\n" + TrayvaneKeyLine +
                                            "\"Top\"=dword:ffffff38\n"
                                            "\"Width\"=dword:00000364\n");
    EXPECT_EQ(FolderEntries(Folder / "Brenlow"), std::vector<std::string>{"Trayvane.reg"});

    // Writing what is there already leaves the file alone.
    struct stat Before {};
    struct stat After {};
    ASSERT_EQ(stat(StorePath.c_str(), &Before), 0);
    Registry.WriteInteger("Width", 868);
    ASSERT_EQ(stat(StorePath.c_str(), &After), 0);
    EXPECT_EQ(Before.st_ino, After.st_ino);
}

TEST_F(RegistryTest, CreatingAKeyWritesNothingUntilAValueIsSet) {
    ASSERT_TRUE(Registry.OpenKey(Key, true));
    EXPECT_FALSE(std::filesystem::exists(Folder / "Brenlow"));
    EXPECT_TRUE(Registry.OpenKey(Key, false)); // the store remembers it
    Registry.WriteInteger("Width", 1);
    EXPECT_EQ(ReadWholeFile(StorePath),
              RegistryFileHead + TrayvaneKeyLine + "\"Width\"=dword:00000001\n");
}

TEST_F(RegistryTest, AFileThatCannotBeUsedIsReportedOnceAndReadAsEmpty) {
    const std::string Damaged = RegistryFileHead + TrayvaneKeyLine + "Width=868\n";
    WriteStore(Damaged);
    EXPECT_EQ(RegistryError([&] { Registry.OpenKey(Key, false); }),
              "The settings file '" + StorePath +
                  "' cannot be used: line 4: expected a key in brackets or a value");
    EXPECT_FALSE(Registry.OpenKey(Key, false));
    EXPECT_EQ(ReadWholeFile(StorePath), Damaged);

    ASSERT_TRUE(Registry.OpenKey(Key, true));
    Registry.WriteInteger("Width", 868);
    EXPECT_EQ(ReadWholeFile(StorePath),
              RegistryFileHead + TrayvaneKeyLine + "\"Width\"=dword:00000364\n");

    // A folder where the file should be cannot be read, nor replaced.
    Folder.MakeFolder("Folder.reg");
    TRegistryFileStore FolderStore(Folder / "Folder.reg");
    TRegistry FolderRegistry(FolderStore);
    EXPECT_EQ(RegistryError([&] { FolderRegistry.OpenKey(Key, true); }),
              "The settings file '" + (Folder / "Folder.reg") + "' cannot be used: it is a folder");
    // It was reported once; it is left alone for the rest of the run without a second report.
    ASSERT_TRUE(FolderRegistry.OpenKey(Key, true));
    EXPECT_EQ(RegistryError([&] { FolderRegistry.WriteInteger("Width", 1); }), "<none>");
    EXPECT_EQ(FolderRegistry.ReadInteger("Width"), 1);
    EXPECT_EQ(FolderStore.LastWriteError(), "");
    EXPECT_TRUE(std::filesystem::is_directory(Folder / "Folder.reg"));
}

// Whatever stands at the settings path, start-up never waits for it: a named pipe without a
// writer, a device that never ends, a file too large to be settings. Each is reported once, read
// as an empty store, and never written.
TEST_F(RegistryTest, ANonRegularOrHugeSettingsFileIsRefusedWithoutWaiting) {
    Folder.MakeFolder("pipe");
    ASSERT_EQ(::mkfifo(Folder.File("pipe/Trayvane.reg").c_str(), 0600), 0);
    Folder.MakeFolder("zero");
    std::filesystem::create_symlink("/dev/zero", Folder.File("zero/Trayvane.reg"));
    Folder.MakeFolder("huge");
    Folder.WriteFile("huge/Trayvane.reg",
                     RegistryFileHead + std::string(std::size_t{1} << 20, ';'));
    const struct {
        const char* Name;
        const char* Why;
    } Cases[] = {
        {"pipe", "it is not a regular file"},
        {"zero", "it is not a regular file"},
        {"huge", "it is larger than 1 MB"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        const std::string Path = Folder.File(std::string(C.Name) + "/Trayvane.reg");
        TRegistryFileStore Odd(Path);
        TRegistry OddRegistry(Odd);
        EXPECT_EQ(RegistryError([&] { OddRegistry.OpenKey(Key, false); }),
                  "The settings file '" + Path + "' cannot be used: " + C.Why);
        EXPECT_FALSE(OddRegistry.OpenKey(Key, false));
        ASSERT_TRUE(OddRegistry.OpenKey(Key, true));
        if (std::string(C.Name) != "huge") { // reported once: not again when the run ends
            EXPECT_EQ(RegistryError([&] { OddRegistry.WriteInteger("Width", 1); }), "<none>");
            EXPECT_EQ(Odd.LastWriteError(), "");
        }
    }
    EXPECT_TRUE(std::filesystem::is_fifo(Folder.File("pipe/Trayvane.reg")));
    EXPECT_TRUE(std::filesystem::is_symlink(Folder.File("zero/Trayvane.reg")));
}

TEST_F(RegistryTest, AFailedWriteLeavesFileAndMemoryAsTheyWere) {
    const std::string Old = RegistryFileHead + TrayvaneKeyLine + "\"Width\"=dword:00000364\n";
    WriteStore(Old);
    ASSERT_TRUE(Registry.OpenKey(Key, true));
    {
        const TFileSizeLimit DiskAlmostFull(Old.size() / 2);
        EXPECT_EQ(RegistryError([&] { Registry.WriteInteger("Width", 1000); }),
                  "Failed to set data for 'Width'");
    }
    EXPECT_NE(Store.LastWriteError().find("cannot write"), std::string::npos)
        << Store.LastWriteError();
    EXPECT_EQ(ReadWholeFile(StorePath), Old);
    EXPECT_EQ(Registry.ReadInteger("Width"), 868);
    EXPECT_EQ(FolderEntries(Folder / "Brenlow"), std::vector<std::string>{"Trayvane.reg"});
}

TEST_F(RegistryTest, AFolderThatCannotBeMadeFailsTheWrite) {
    Folder.WriteFile("Brenlow", "a file where the folder belongs");
    ASSERT_TRUE(Registry.OpenKey(Key, true));
    EXPECT_EQ(RegistryError([&] { Registry.WriteInteger("Width", 1); }),
              "Failed to set data for 'Width'");
    EXPECT_EQ(ReadWholeFile(Folder / "Brenlow"), "a file where the folder belongs");
}

TEST_F(RegistryTest, ValueNamesThatCannotBeStoredFailTheWrite) {
    ASSERT_TRUE(Registry.OpenKey(Key, true));
    EXPECT_EQ(RegistryError([&] { Registry.WriteInteger("a\nb", 1); }),
              "Failed to set data for 'a\nb'");
    EXPECT_FALSE(std::filesystem::exists(StorePath));
}

TEST(RegistryFileStoreTest, AStoreWithoutAFileIsEmptyAndCannotBeWritten) {
    TRegistryFileStore Store("");
    TRegistry Registry(Store);
    EXPECT_FALSE(Registry.OpenKey(Key, false));
    ASSERT_TRUE(Registry.OpenKey(Key, true));
    EXPECT_EQ(RegistryError([&] { Registry.WriteInteger("Width", 1); }),
              "Failed to set data for 'Width'");
    EXPECT_EQ(Store.LastWriteError(), "no file name");
}

TEST(RegistryFilePathTest, ConfigFolderFromTheEnvironment) {
    EXPECT_EQ(RegistryFilePath("/xdg", "/home/u"), "/xdg/Brenlow/Trayvane.reg");
    EXPECT_EQ(RegistryFilePath(nullptr, "/home/u"), "/home/u/.config/Brenlow/Trayvane.reg");
    EXPECT_EQ(RegistryFilePath("", "/home/u"), "/home/u/.config/Brenlow/Trayvane.reg");
    EXPECT_EQ(RegistryFilePath("relative", "/home/u"), "/home/u/.config/Brenlow/Trayvane.reg");
    EXPECT_EQ(RegistryFilePath(nullptr, nullptr), "");
    EXPECT_EQ(RegistryFilePath("", ""), "");
}

} // namespace
