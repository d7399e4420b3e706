#include "app/settings/WindowPlacement.h"
#include "app/settings/RegistryFile.h"

#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>

// Found by the test framework's printer, next to TWindowBounds.
inline std::ostream& operator<<(std::ostream& Out, const TWindowBounds& B) {
    return Out << "{Left " << B.Left << ", Top " << B.Top << ", Width " << B.Width << ", Height "
               << B.Height << "}";
}

namespace {

// The designed placement: left 0, top 0, outer size of a 868 x 679 client area.
const TWindowBounds Designed{0, 0, 884, 718};

// A window that records each figure applied to it.
class TFakeWindow final : public TPlacementTarget {
public:
    TWindowBounds Bounds = Designed;
    std::string Applied;

    int Width() const override { return Bounds.Width; }
    int Height() const override { return Bounds.Height; }
    int Left() const override { return Bounds.Left; }
    int Top() const override { return Bounds.Top; }
    void SetWidth(int Value) override { Apply("Width", Bounds.Width, Value); }
    void SetHeight(int Value) override { Apply("Height", Bounds.Height, Value); }
    void SetLeft(int Value) override { Apply("Left", Bounds.Left, Value); }
    void SetTop(int Value) override { Apply("Top", Bounds.Top, Value); }

private:
    void Apply(const char* Name, int& Figure, int Value) {
        Figure = Value;
        Applied += std::string(Name) + "=" + std::to_string(Value) + " ";
    }
};

const std::string Head = "Windows Registry Editor Version 5.00\n\n"
                         "[HKEY_CURRENT_USER\\Software\\Brenlow\\Trayvane]\n";

// One run of the program: its own store on the same file, as the next start would have.
struct TRun {
    explicit TRun(const std::string& Path) : Store(Path), Registry(Store) {}
    TRegistryFileStore Store;
    TRegistry Registry;
    TFakeWindow Window;
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
            RestoreWindowPlacement(Run.Registry, Run.Window);
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

TEST_F(WindowPlacementTest, FirstStartKeepsTheDesignedPlacementAndStoresAllFour) {
    TRun First(StorePath);
    EXPECT_EQ(Restore(First), "<none>");
    EXPECT_EQ(First.Window.Applied, "");
    EXPECT_EQ(First.Window.Bounds, Designed);

    StoreWindowPlacement(First.Registry, {10, 20, 900, 700});
    EXPECT_FALSE(First.Registry.HasCurrentKey());
    EXPECT_EQ(ReadWholeFile(StorePath), Head + "\"Width\"=dword:00000384\n"
                                               "\"Height\"=dword:000002bc\n"
                                               "\"Left\"=dword:0000000a\n"
                                               "\"Top\"=dword:00000014\n");

    TRun Second(StorePath);
    EXPECT_EQ(Restore(Second), "<none>");
    EXPECT_EQ(Second.Window.Applied, "Width=900 Height=700 Left=10 Top=20 ");
}

TEST_F(WindowPlacementTest, StoredFiguresAreAppliedOneByOneInOrder) {
    const struct {
        const char* Values;
        const char* Applied;
        const char* Error;
    } Cases[] = {
        {"\"Left\"=dword:00000064\n\"Top\"=dword:00000032\n",
         "Width=884 Height=718 Left=100 Top=50 ", "<none>"},
        // Windows on a monitor left of or above the primary one.
        {"\"Top\"=dword:ffffff38\n\"Left\"=dword:fffffb00\n",
         "Width=884 Height=718 Left=-1280 Top=-200 ", "<none>"},
        // "Width" as a string: nothing is applied, the designed placement stays.
        {"\"Width\"=\"1024\"\n\"Left\"=dword:00000064\n", "", "Failed to get data for 'Width'"},
        {"\"Width\"=\"abc\"\n", "", "Invalid data type for 'Width'"},
        // An error after Width: Width stays applied, the rest keep their designed figures.
        {"\"Width\"=dword:00000400\n\"Height\"=hex:01\n\"Left\"=dword:00000064\n", "Width=1024 ",
         "Invalid data type for 'Height'"},
    };
    for (const auto& C : Cases) {
        WriteStore(Head + C.Values);
        TRun Run(StorePath);
        EXPECT_EQ(Restore(Run), C.Error) << C.Values;
        EXPECT_EQ(Run.Window.Applied, C.Applied) << C.Values;
    }
}

TEST_F(WindowPlacementTest, AStringWidthIsRewrittenAsDwordAtExit) {
    WriteStore(Head + "\"Width\"=\"1024\"\n\"Left\"=dword:00000064\n");
    TRun Run(StorePath);
    EXPECT_EQ(Restore(Run), "Failed to get data for 'Width'");
    StoreWindowPlacement(Run.Registry, {-1280, -200, 800, 600});
    EXPECT_EQ(ReadWholeFile(StorePath), Head + "\"Width\"=dword:00000320\n"
                                               "\"Left\"=dword:fffffb00\n"
                                               "\"Height\"=dword:00000258\n"
                                               "\"Top\"=dword:ffffff38\n");
    TRun Next(StorePath);
    EXPECT_EQ(Restore(Next), "<none>");
    EXPECT_EQ(Next.Window.Bounds, (TWindowBounds{-1280, -200, 800, 600}));
}

TEST_F(WindowPlacementTest, ADamagedStoreIsReportedOnceAndReplacedAtExit) {
    const std::string Damaged = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Softw";
    WriteStore(Damaged);
    TRun Run(StorePath);
    EXPECT_EQ(Restore(Run), "The settings file '" + StorePath +
                                "' cannot be used: line 3: a key line must end in ]");
    EXPECT_EQ(Run.Window.Bounds, Designed);
    EXPECT_EQ(ReadWholeFile(StorePath), Damaged);

    StoreWindowPlacement(Run.Registry, {1, 2, 3, 4});
    TRun Next(StorePath);
    EXPECT_EQ(Restore(Next), "<none>");
    EXPECT_EQ(Next.Window.Bounds, (TWindowBounds{1, 2, 3, 4}));
}

TEST_F(WindowPlacementTest, AFailedStoreLeavesTheOldFileWhole) {
    const std::string Old = Head + "\"Width\"=dword:00000384\n\"Height\"=dword:000002bc\n"
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
