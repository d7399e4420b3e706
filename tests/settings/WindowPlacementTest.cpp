#include "app/settings/WindowPlacement.h"
#include "app/settings/RegistryFile.h"

#include "tests/settings/RegistryFileText.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <sys/stat.h>

// Found by the test framework's printer, next to TWindowBounds.
inline std::ostream& operator<<(std::ostream& Out, const TWindowBounds& B) {
    return Out << "{Left " << B.Left << ", Top " << B.Top << ", Width " << B.Width << ", Height "
               << B.Height << "}";
}

namespace {

// The figures read, in order, as "Width=1024 Left=100 ".
std::string Describe(const TStoredPlacement& Stored) {
    std::string Text;
    const auto Add = [&](const char* Name, const std::optional<int>& Figure) {
        if (Figure)
            Text += std::string(Name) + "=" + std::to_string(*Figure) + " ";
    };
    Add("Width", Stored.Width);
    Add("Height", Stored.Height);
    Add("Left", Stored.Left);
    Add("Top", Stored.Top);
    return Text;
}

// One run of the program: its own store on the same file, as the next start would have.
struct TRun {
    explicit TRun(const std::string& Path) : Store(Path), Registry(Store) {}
    TRegistryFileStore Store;
    TRegistry Registry;
    TStoredPlacement Stored;
};

class WindowPlacementTest : public testing::Test {
protected:
    std::string WriteStore(const std::string& Text) const {
        Config.MakeFolder("Brenlow");
        return Config.WriteFile("Brenlow/Trayvane.reg", Text);
    }

    // The message of the ERegistryException restoring raises in Run, or "<none>".
    static std::string Restore(TRun& Run) {
        try {
            ReadWindowPlacement(Run.Registry, Run.Stored);
        } catch (const ERegistryException& Error) {
            EXPECT_FALSE(Run.Registry.HasCurrentKey()) << "the key must be closed";
            return Error.Message();
        }
        EXPECT_FALSE(Run.Registry.HasCurrentKey()) << "the key must be closed";
        return "<none>";
    }

    TTempFolder Config; // stands for $XDG_CONFIG_HOME
    const std::string StorePath = Config / "Brenlow/Trayvane.reg";
};

TEST_F(WindowPlacementTest, FirstStartReadsNothingAndStoresAllFour) {
    TRun First(StorePath);
    EXPECT_EQ(Restore(First), "<none>");
    EXPECT_TRUE(First.Stored.IsEmpty());

    StoreWindowPlacement(First.Registry, {10, 20, 900, 700});
    EXPECT_FALSE(First.Registry.HasCurrentKey());
    EXPECT_EQ(ReadWholeFile(StorePath), TrayvaneKeyHead + "\"Width\"=dword:00000384\n"
                                                          "\"Height\"=dword:000002bc\n"
                                                          "\"Left\"=dword:0000000a\n"
                                                          "\"Top\"=dword:00000014\n");

    TRun Second(StorePath);
    EXPECT_EQ(Restore(Second), "<none>");
    EXPECT_EQ(Describe(Second.Stored), "Width=900 Height=700 Left=10 Top=20 ");
}

TEST_F(WindowPlacementTest, StoredFiguresAreReadOneByOneInOrder) {
    const struct {
        const char* Values;
        const char* Applied;
        const char* Error;
    } Cases[] = {
        {"\"Left\"=dword:00000064\n\"Top\"=dword:00000032\n", "Left=100 Top=50 ", "<none>"},
        // Windows on a monitor left of or above the primary one.
        {"\"Top\"=dword:ffffff38\n\"Left\"=dword:fffffb00\n", "Left=-1280 Top=-200 ", "<none>"},
        // "Width" as a string: nothing is read, the designed placement stays.
        {"\"Width\"=\"1024\"\n\"Left\"=dword:00000064\n", "", "Failed to get data for 'Width'"},
        {"\"Width\"=\"abc\"\n", "", "Invalid data type for 'Width'"},
        // An error after Width: Width stays read, the rest keep their designed figures.
        {"\"Width\"=dword:00000400\n\"Height\"=hex:01\n\"Left\"=dword:00000064\n", "Width=1024 ",
         "Invalid data type for 'Height'"},
    };
    for (const auto& C : Cases) {
        WriteStore(TrayvaneKeyHead + C.Values);
        TRun Run(StorePath);
        EXPECT_EQ(Restore(Run), C.Error) << C.Values;
        EXPECT_EQ(Describe(Run.Stored), C.Applied) << C.Values;
    }
}

TEST_F(WindowPlacementTest, AStringWidthIsRewrittenAsDwordAtExit) {
    WriteStore(TrayvaneKeyHead + "\"Width\"=\"1024\"\n\"Left\"=dword:00000064\n");
    TRun Run(StorePath);
    EXPECT_EQ(Restore(Run), "Failed to get data for 'Width'");
    StoreWindowPlacement(Run.Registry, {-1280, -200, 800, 600});
    EXPECT_EQ(ReadWholeFile(StorePath), TrayvaneKeyHead + "\"Width\"=dword:00000320\n"
                                                          "\"Left\"=dword:fffffb00\n"
                                                          "\"Height\"=dword:00000258\n"
                                                          "\"Top\"=dword:ffffff38\n");
    TRun Next(StorePath);
    EXPECT_EQ(Restore(Next), "<none>");
    EXPECT_EQ(Describe(Next.Stored), "Width=800 Height=600 Left=-1280 Top=-200 ");
}

TEST_F(WindowPlacementTest, ADamagedStoreIsReportedOnceAndReplacedAtExit) {
    const std::string Damaged = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Softw";
    WriteStore(Damaged);
    TRun Run(StorePath);
    EXPECT_EQ(Restore(Run), "The settings file '" + StorePath +
                                "' cannot be used: line 3: a key line must end in ]");
    EXPECT_TRUE(Run.Stored.IsEmpty());
    EXPECT_EQ(ReadWholeFile(StorePath), Damaged);

    StoreWindowPlacement(Run.Registry, {1, 2, 3, 4});
    TRun Next(StorePath);
    EXPECT_EQ(Restore(Next), "<none>");
    EXPECT_EQ(Describe(Next.Stored), "Width=3 Height=4 Left=1 Top=2 ");
}

// A pipe, a device or a folder at the settings path: one report at the start of a run, none
// when the run ends and the placement is stored, and the thing at the path left as it was.
TEST_F(WindowPlacementTest, ASettingsPathThatIsNoFileIsReportedOnceARun) {
    Config.MakeFolder("Brenlow");
    const std::string Path = (Config.Path() / "Brenlow/Trayvane.reg").string();
    const std::function<void()> Makers[] = {
        [&] { ASSERT_EQ(::mkfifo(Path.c_str(), 0600), 0); },
        [&] { std::filesystem::create_symlink("/dev/zero", Path); },
        [&] { std::filesystem::create_directory(Path); },
    };
    for (const auto& Make : Makers) {
        std::filesystem::remove(Path);
        Make();
        const auto Kind = std::filesystem::symlink_status(Path).type();
        TRun Run(Path);
        EXPECT_NE(Restore(Run).find("cannot be used"), std::string::npos);
        EXPECT_NO_THROW(StoreWindowPlacement(Run.Registry, {1, 2, 3, 4}));
        EXPECT_EQ(std::filesystem::symlink_status(Path).type(), Kind);
    }
}

TEST_F(WindowPlacementTest, AFailedStoreLeavesTheOldFileWhole) {
    const std::string Old = TrayvaneKeyHead +
                            "\"Width\"=dword:00000384\n\"Height\"=dword:000002bc\n"
                            "\"Left\"=dword:0000000a\n\"Top\"=dword:00000014\n";
    WriteStore(Old);
    TRun Run(StorePath);
    EXPECT_EQ(Restore(Run), "<none>");
    try {
        const TFileSizeLimit DiskAlmostFull(Old.size() / 2);
        StoreWindowPlacement(Run.Registry, {50, 60, 1000, 800});
        ADD_FAILURE() << "storing on a full disk succeeded";
    } catch (const ERegistryException& Error) {
        EXPECT_EQ(Error.Message(), "Failed to set data for 'Width'");
    }
    EXPECT_FALSE(Run.Registry.HasCurrentKey());
    EXPECT_EQ(ReadWholeFile(StorePath), Old);
    for (const auto& Entry : std::filesystem::directory_iterator(Config / "Brenlow"))
        EXPECT_EQ(Entry.path().filename(), "Trayvane.reg") << "left behind: " << Entry.path();
}

// A store whose writes fail from a given value name on, recording what happens to its key.
class TFailingStore final : public TRegistryStore {
public:
    std::string FailFrom;
    bool CanOpen = true;
    std::string Log;

    std::unique_ptr<TRegistryKey> OpenKey(const std::string& Key, bool CanCreate) override {
        Log += "open " + Key + (CanCreate ? " creating; " : "; ");
        return CanOpen ? std::make_unique<TKey>(*this) : nullptr;
    }

private:
    class TKey final : public TRegistryKey {
    public:
        explicit TKey(TFailingStore& Store) : FStore(Store) {}
        ~TKey() override { FStore.Log += "close; "; }
        std::optional<TRegistryValue> QueryValue(const std::string&) override { return {}; }
        bool SetValue(const std::string& Name, const TRegistryValue& Value) override {
            FStore.Log += "set " + Name + "=" + std::to_string(Value.Data.at(0)) + "; ";
            return Name != FStore.FailFrom;
        }

    private:
        TFailingStore& FStore;
    };
};

TEST(StoreWindowPlacementTest, TheFirstFailingWriteEndsTheStore) {
    const struct {
        const char* FailFrom;
        bool CanOpen;
        const char* Log;
        const char* Error;
    } Cases[] = {
        {"", true,
         "open Software\\Brenlow\\Trayvane creating; set Width=4; set Height=3; set Left=1; set "
         "Top=2; "
         "close; ",
         "<none>"},
        {"Height", true,
         "open Software\\Brenlow\\Trayvane creating; set Width=4; set Height=3; close; ",
         "Failed to set data for 'Height'"},
        {"", false, "open Software\\Brenlow\\Trayvane creating; ",
         "Failed to set data for 'Width'"},
    };
    for (const auto& C : Cases) {
        TFailingStore Store;
        Store.FailFrom = C.FailFrom;
        Store.CanOpen = C.CanOpen;
        TRegistry Registry(Store);
        std::string Error = "<none>";
        try {
            StoreWindowPlacement(Registry, {1, 2, 4, 3});
        } catch (const ERegistryException& E) {
            Error = E.Message();
        }
        EXPECT_EQ(Store.Log, C.Log) << C.FailFrom << " " << C.CanOpen;
        EXPECT_EQ(Error, C.Error) << C.FailFrom << " " << C.CanOpen;
    }
}

} // namespace

namespace {

// Two screens side by side: the primary, whose work area leaves 24 pixels for a panel, and a
// wider one on its right.
const std::vector<TWindowBounds> TwoScreens{{0, 0, 1280, 1000}, {1280, 0, 1920, 1080}};
// Outer bounds of the designed window at the top-left of the work area, and the smallest outer
// size (a 400 x 300 client area in its frame).
const TWindowBounds DesignedBounds{0, 0, 884, 718};
constexpr int MinWidth = 404, MinHeight = 339;

struct TFitCase {
    const char* Name;
    TStoredPlacement Stored;
    std::vector<TWindowBounds> Screens;
    TWindowBounds Expected;
};

void PrintTo(const TFitCase& Case, std::ostream* Out) {
    *Out << Case.Name;
}

class FitWindowBoundsTest : public testing::TestWithParam<TFitCase> {};

TEST_P(FitWindowBoundsTest, StoredFiguresComeBackVisibleAndUsable) {
    const TFitCase& C = GetParam();
    EXPECT_EQ(FitWindowBounds(C.Stored, DesignedBounds, C.Screens, MinWidth, MinHeight),
              C.Expected);
}

constexpr int Huge = 2147483647;

const TFitCase FitCases[] = {
    {"nothing stored", {}, TwoScreens, DesignedBounds},
    {"nothing stored, a screen just the designed size", {}, {{0, 0, 884, 718}}, DesignedBounds},
    {"nothing stored, a netbook screen", {}, {{0, 0, 1024, 600}}, {0, 0, 884, 600}},
    {"nothing stored, a screen smaller both ways", {}, {{0, 0, 800, 480}}, {0, 0, 800, 480}},
    {"nothing stored, a panel above a small work area",
     {},
     {{0, 24, 1024, 576}},
     {0, 24, 884, 576}},
    {"within the primary screen", {900, 700, 100, 50}, TwoScreens, {100, 50, 900, 700}},
    {"within the second screen", {800, 600, 1500, 100}, TwoScreens, {1500, 100, 800, 600}},
    {"filling a work area", {1280, 1000, 0, 0}, TwoScreens, {0, 0, 1280, 1000}},
    {"0 x 0", {0, 0, 50, 50}, TwoScreens, {198, 141, 884, 718}},
    {"negative size", {-300, -200, 50, 50}, TwoScreens, {198, 141, 884, 718}},
    {"negative width only", {-1, 600, 50, 50}, TwoScreens, {198, 141, 884, 718}},
    {"tiny", {50, 40, 10, 10}, TwoScreens, {10, 10, MinWidth, MinHeight}},
    {"100000 x 100000", {100000, 100000, 0, 0}, TwoScreens, {1280, 0, 1920, 1080}},
    {"largest figures", {Huge, Huge, Huge, Huge}, TwoScreens, {1280, 0, 1920, 1080}},
    {"smallest figures", {Huge, Huge, -Huge - 1, -Huge - 1}, TwoScreens, {0, 0, 1280, 1000}},
    {"far left and above", {800, 600, -5000, -5000}, TwoScreens, {0, 0, 800, 600}},
    {"far right and below", {800, 600, 5000, 5000}, TwoScreens, {2400, 480, 800, 600}},
    {"mostly on the second screen", {800, 600, 1000, 100}, TwoScreens, {1280, 100, 800, 600}},
    {"hanging over the top-left corner", {900, 700, -100, -50}, TwoScreens, {0, 0, 900, 700}},
    {"below the work area", {800, 600, 100, 900}, TwoScreens, {100, 400, 800, 600}},
    {"width only", {1000, {}, {}, {}}, TwoScreens, {0, 0, 1000, 718}},
    {"height and position only", {{}, 500, 30, 40}, TwoScreens, {30, 40, 884, 500}},
    {"a screen smaller than the minimum", {800, 600, 0, 0}, {{0, 0, 320, 240}}, {0, 0, 320, 240}},
    {"no screens", {-5, 0, -5000, 7}, {}, {-5000, 7, -5, 0}},
};

INSTANTIATE_TEST_SUITE_P(Cases, FitWindowBoundsTest, testing::ValuesIn(FitCases),
                         [](const auto& Info) { return AsTestName(Info.param.Name); });

} // namespace
