#include "app/DropCandidates.h"

#include "tests/support/TempFolder.h"

#include "tests/support/TestNames.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct TEffectCase {
    bool Ctrl;
    bool Shift;
    int Offered;
    int Expected;
};

std::ostream& operator<<(std::ostream& Out, const TEffectCase& C) {
    return Out << "Ctrl=" << C.Ctrl << " Shift=" << C.Shift << " Offered=" << C.Offered;
}

class DropEffectTest : public testing::TestWithParam<TEffectCase> {};

TEST_P(DropEffectTest, KeysAndOfferedEffectsGiveTheEffect) {
    const TEffectCase& C = GetParam();
    EXPECT_EQ(ChooseDropEffect(C.Ctrl, C.Shift, C.Offered), C.Expected) << C;
}

constexpr int CopyLink = DropEffectCopy | DropEffectLink;
constexpr int All = DropEffectCopy | DropEffectMove | DropEffectLink;
constexpr int ScrollFlag = static_cast<int>(0x80000000u);

INSTANTIATE_TEST_SUITE_P(
    Table, DropEffectTest,
    testing::Values(
        // No key wants move, which is never accepted: copy takes its place, else link.
        TEffectCase{false, false, CopyLink, DropEffectCopy},
        TEffectCase{false, false, All | ScrollFlag, DropEffectCopy},
        TEffectCase{false, false, DropEffectLink, DropEffectLink},
        TEffectCase{false, true, CopyLink, DropEffectCopy},
        TEffectCase{true, false, CopyLink, DropEffectCopy},
        TEffectCase{true, false, DropEffectMove | DropEffectLink, DropEffectLink},
        TEffectCase{true, true, CopyLink, DropEffectLink},
        TEffectCase{true, true, DropEffectLink, DropEffectLink},
        TEffectCase{true, true, DropEffectCopy | DropEffectMove, DropEffectCopy},
        // Nothing acceptable offered: the drop is refused.
        TEffectCase{false, false, DropEffectMove, DropEffectNone},
        TEffectCase{true, true, DropEffectMove | ScrollFlag, DropEffectNone},
        TEffectCase{false, false, DropEffectNone, DropEffectNone}),
    [](const auto& Info) {
        const TEffectCase& C = Info.param;
        const int Offered = C.Offered;
        return TestNameOf(
            C.Ctrl ? "Ctrl" : "", C.Shift ? "Shift" : "", C.Ctrl || C.Shift ? "_" : "", "Offers",
            (Offered & DropEffectCopy) ? "Copy" : "", (Offered & DropEffectMove) ? "Move" : "",
            (Offered & DropEffectLink) ? "Link" : "", Offered == 0 ? "Nothing" : "",
            (Offered & ScrollFlag) ? "Scroll" : "");
    });

// Files and folders of one drop: names in the cases are relative to the folder.
class DropCandidateTest : public testing::Test {
protected:
    void SetUp() override {
        Folder.WriteFile("notes.txt", "text");
        Folder.WriteFile("cover.JPG", "jpeg");
        Folder.WriteFile("back.jpeg", "jpeg");
        Folder.WriteFile("Upper.JpEg", "jpeg");
        Folder.WriteFile("a.jpg.txt", "text");
        Folder.MakeFolder("x.jpg");
        Folder.MakeFolder("pics.old");
        Folder.WriteFile("pics.old/cover", "jpeg");
    }

    std::vector<std::string> InFolder(const std::vector<std::string>& Names) const {
        std::vector<std::string> Paths;
        for (const std::string& Name : Names)
            Paths.push_back(Folder / Name);
        return Paths;
    }

    // The chosen name relative to the folder, or "<none>".
    std::string Choose(const std::vector<std::string>& Dropped,
                       const std::vector<std::string>& Mapped) const {
        const auto Chosen = ChooseDropCandidate(InFolder(Dropped), InFolder(Mapped));
        if (!Chosen)
            return "<none>";
        return std::filesystem::path(*Chosen).lexically_relative(Folder.Path()).string();
    }

    TTempFolder Folder;
};

TEST_F(DropCandidateTest, FirstExistingJpegFileWins) {
    struct TCase {
        std::vector<std::string> Dropped;
        std::string Expected;
    };
    const TCase Cases[] = {
        {{"notes.txt", "cover.JPG", "back.jpeg"}, "cover.JPG"},
        {{"back.jpeg", "cover.JPG"}, "back.jpeg"},
        {{"Upper.JpEg"}, "Upper.JpEg"},
        {{"x.jpg"}, "<none>"},
        {{"a.jpg.txt"}, "<none>"},
        {{"pics.old/cover"}, "<none>"},
        {{"missing.jpg", "x.jpg", "a.jpg.txt", "back.jpeg"}, "back.jpeg"},
        {{}, "<none>"},
    };
    for (const TCase& C : Cases) {
        std::string List;
        for (const std::string& Name : C.Dropped)
            List += Name + " ";
        EXPECT_EQ(Choose(C.Dropped, {}), C.Expected) << "dropped: " << List;
    }
}

TEST_F(DropCandidateTest, PngTiffAndWebPFilesCountInAnyCaseInTheSameOrder) {
    Folder.WriteFile("scan.PNG", "png");
    Folder.WriteFile("scan.Tif", "tiff");
    Folder.WriteFile("scan.tiff", "tiff");
    Folder.WriteFile("scan.WebP", "webp");
    Folder.WriteFile("scan.gif", "gif");
    EXPECT_EQ(Choose({"notes.txt", "scan.PNG", "cover.JPG"}, {}), "scan.PNG");
    EXPECT_EQ(Choose({"scan.gif", "scan.Tif"}, {}), "scan.Tif");
    EXPECT_EQ(Choose({"scan.tiff"}, {}), "scan.tiff");
    EXPECT_EQ(Choose({"scan.WebP", "scan.PNG"}, {}), "scan.WebP");
    EXPECT_EQ(Choose({"cover.JPG", "scan.WebP"}, {}), "cover.JPG");
    EXPECT_EQ(Choose({"scan.gif", "missing.png"}, {}), "<none>");
}

TEST_F(DropCandidateTest, MappedNamesStandInForDroppedOnesAsFarAsTheMappingReaches) {
    // The mapped name is tested in place of the dropped one, even when the dropped one would do.
    EXPECT_EQ(Choose({"cover.JPG"}, {"back.jpeg"}), "back.jpeg");
    EXPECT_EQ(Choose({"cover.JPG"}, {"missing.jpg"}), "<none>");
    // Beyond the end of a shorter mapping the dropped paths are used.
    EXPECT_EQ(Choose({"temp1", "cover.JPG"}, {"notes.txt"}), "cover.JPG");
    // Mapped names beyond the dropped list are never looked at.
    EXPECT_EQ(Choose({"notes.txt"}, {"notes.txt", "cover.JPG"}), "<none>");
}

TEST(DropCandidateNamesTest, NamesTheSystemCannotExamineDoNotQualify) {
    EXPECT_FALSE(ChooseDropCandidate({"", std::string(5000, 'a') + ".jpg", "/dev/null/x.jpg"}, {}));
}

} // namespace
