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

} // namespace
