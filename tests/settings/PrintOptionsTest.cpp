// The print choices kept beside the window's placement: stored and read back, values that are no
// choice left at their defaults, the placement's values untouched.

#include "app/settings/PrintOptions.h"
#include "app/settings/RegistryFile.h"
#include "app/settings/WindowPlacement.h"

#include "tests/settings/RegistryFileText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

class PrintOptionsTest : public testing::Test {
protected:
    TTempFolder Config;
    const std::string StorePath = Config / "Brenlow/Trayvane.reg";
};

TEST_F(PrintOptionsTest, StoredBesideThePlacementAndReadBack) {
    {
        TRegistryFileStore Store(StorePath);
        TRegistry Registry(Store);
        StoreWindowPlacement(Registry, {10, 20, 900, 700});
        StorePrintOptions(Registry, {TPrintContent::CardAndFront, 25, false});
        EXPECT_FALSE(Registry.HasCurrentKey());
    }
    EXPECT_EQ(ReadWholeFile(StorePath), TrayvaneKeyHead + "\"Width\"=dword:00000384\n"
                                                          "\"Height\"=dword:000002bc\n"
                                                          "\"Left\"=dword:0000000a\n"
                                                          "\"Top\"=dword:00000014\n"
                                                          "\"PrintContent\"=dword:00000002\n"
                                                          "\"PrintBleed\"=dword:00000019\n"
                                                          "\"PrintCaption\"=dword:00000000\n");
    TRegistryFileStore Store(StorePath);
    TRegistry Registry(Store);
    TPrintOptions Options;
    ReadPrintOptions(Registry, Options);
    EXPECT_EQ(Options, (TPrintOptions{TPrintContent::CardAndFront, 25, false}));
    EXPECT_DOUBLE_EQ(Options.BleedMm(), 2.5);
    TStoredPlacement Placement;
    ReadWindowPlacement(Registry, Placement);
    EXPECT_EQ(Placement.Width, 900);
}

TEST_F(PrintOptionsTest, NothingStoredOrNoChoiceKeepsTheDefaults) {
    const struct {
        const char* Values;
        TPrintOptions Read;
    } Cases[] = {
        {"", {}},
        {"\"PrintContent\"=dword:00000003\n\"PrintBleed\"=dword:0000001f\n"
         "\"PrintCaption\"=dword:00000002\n",
         {}},
        {"\"PrintContent\"=dword:ffffffff\n\"PrintBleed\"=dword:ffffffff\n", {}},
        {"\"PrintContent\"=dword:00000001\n\"PrintBleed\"=dword:0000001e\n",
         {TPrintContent::CardTwice, 30, true}},
    };
    for (const auto& C : Cases) {
        Config.MakeFolder("Brenlow");
        Config.WriteFile("Brenlow/Trayvane.reg", TrayvaneKeyHead + C.Values);
        TRegistryFileStore Store(StorePath);
        TRegistry Registry(Store);
        TPrintOptions Options;
        ReadPrintOptions(Registry, Options);
        EXPECT_EQ(Options, C.Read) << C.Values;
        EXPECT_FALSE(Registry.HasCurrentKey());
    }
}

TEST_F(PrintOptionsTest, AValueOfTheWrongTypeIsRaisedAndTheKeyClosed) {
    Config.MakeFolder("Brenlow");
    Config.WriteFile("Brenlow/Trayvane.reg", TrayvaneKeyHead + "\"PrintContent\"=dword:00000001\n"
                                                               "\"PrintBleed\"=\"2\"\n");
    TRegistryFileStore Store(StorePath);
    TRegistry Registry(Store);
    TPrintOptions Options;
    EXPECT_THROW(ReadPrintOptions(Registry, Options), ERegistryException);
    EXPECT_EQ(Options.Content, TPrintContent::CardTwice) << "what was read before stays";
    EXPECT_FALSE(Registry.HasCurrentKey());
}

} // namespace
