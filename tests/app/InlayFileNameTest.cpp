// The save dialog's first proposal: the input's name with "-inlay.jpg", in the input's folder.

#include "app/InlayFileName.h"

#include <gtest/gtest.h>

namespace {

struct TNameCase {
    const char* Name;
    const char* Input;
    const char* Proposal;
};

class ProposedInlayFileNameTest : public testing::TestWithParam<TNameCase> {};

TEST_P(ProposedInlayFileNameTest, AppendsInlayAndTheJpegExtension) {
    EXPECT_EQ(ProposedInlayFileName(GetParam().Input), GetParam().Proposal);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProposedInlayFileNameTest,
    testing::Values(
        TNameCase{"Jpeg", "/music/night-trains.jpg", "/music/night-trains-inlay.jpg"},
        TNameCase{"UpperCaseExtension", "/music/COVER.JPEG", "/music/COVER-inlay.jpg"},
        TNameCase{"OnlyTheLastExtensionGoes", "/m/live.1999.jpg", "/m/live.1999-inlay.jpg"},
        TNameCase{"NoExtension", "/m/cover", "/m/cover-inlay.jpg"},
        TNameCase{"DotInTheFolderOnly", "/m/pics.old/cover", "/m/pics.old/cover-inlay.jpg"},
        TNameCase{"NoFolder", "cover.jpg", "cover-inlay.jpg"},
        TNameCase{"NothingOpenedYet", "", ""}, TNameCase{"AFolder", "/m/", ""}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// The proposal follows the picture: the picture's own name after each picture is opened, the
// name typed for it only while it is the same picture, the last save's folder where the
// picture's folder cannot be written (here: "/cdrom/").
struct TProposalCase {
    const char* Name;
    const char* Input;
    std::optional<TLastSave> LastSave;
    const char* Proposal;
};

class ProposedSaveFileNameTest : public testing::TestWithParam<TProposalCase> {};

TEST_P(ProposedSaveFileNameTest, FollowsThePicture) {
    const TProposalCase& C = GetParam();
    const auto Writable = [](const std::string& Folder) { return Folder != "/cdrom/"; };
    EXPECT_EQ(ProposedSaveFileName(C.Input, C.LastSave, Writable), C.Proposal);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProposedSaveFileNameTest,
    testing::Values(TProposalCase{"FirstSave", "/m/a.jpg", std::nullopt, "/m/a-inlay.jpg"},
                    TProposalCase{"SamePictureAgainKeepsTheTypedName", "/m/a.jpg",
                                  TLastSave{"/out/mine.JPG", "/m/a.jpg"}, "/out/mine.JPG"},
                    TProposalCase{"NextPictureGetsItsOwnName", "/m/b.jpg",
                                  TLastSave{"/m/a-inlay.jpg", "/m/a.jpg"}, "/m/b-inlay.jpg"},
                    TProposalCase{"NextPictureAfterATypedName", "/m/b.jpg",
                                  TLastSave{"/out/mine.JPG", "/m/a.jpg"}, "/m/b-inlay.jpg"},
                    TProposalCase{"ReadOnlyFolderGoesWhereTheLastSaveWent", "/cdrom/c.jpg",
                                  TLastSave{"/out/mine.JPG", "/m/a.jpg"}, "/out/c-inlay.jpg"},
                    TProposalCase{"ReadOnlyFolderBeforeAnySave", "/cdrom/c.jpg", std::nullopt,
                                  "/cdrom/c-inlay.jpg"},
                    TProposalCase{"NothingOpenedYet", "", std::nullopt, ""},
                    TProposalCase{"NothingOpenedAfterASave", "", TLastSave{"/out/x.JPG", ""},
                                  "/out/x.JPG"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace
