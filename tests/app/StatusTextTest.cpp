// The status line's sentences, one row per thing that can happen: what the person sees after a
// load, a save, a recomposition, an error that was logged and a drop that was ignored.

#include "app/StatusText.h"

#include <gtest/gtest.h>

namespace {

const std::string IjlReadMessage = "Error reading parameters of image:\r/music/covers/broken.jpg\r"
                                   "Error: The file holds no JPEG data\rIJL Error number: -13";
const std::string IjlSaveMessage = "Error Saving image:\r/media/cd/inlay.jpg\r"
                                   "Error: Access to the file is denied\rIJL Error number: -8";

struct TStatusCase {
    const char* Name;
    TStatusEvent Event;
    const char* Text;
    bool Warning;
};

class StatusTextTest : public testing::TestWithParam<TStatusCase> {};

TEST_P(StatusTextTest, SaysWhatHappened) {
    const TStatusCase& C = GetParam();
    const TStatusText Status = StatusText(C.Event);
    EXPECT_EQ(Status.Text, C.Text);
    EXPECT_EQ(Status.Warning, C.Warning) << Status.Text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, StatusTextTest,
    testing::Values(
        TStatusCase{"LoadedWrapAround",
                    TLoadedStatus{"/music/night-trains.jpg", 2850, 1200, TInlayLayout::BackAndFront,
                                  255, ""},
                    "night-trains.jpg, 2850 \u00D7 1200: back and front", false},
        TStatusCase{"LoadedBackCard",
                    TLoadedStatus{"back.jpeg", 1510, 1175, TInlayLayout::Back, 254, ""},
                    "back.jpeg, 1510 \u00D7 1175: back", false},
        TStatusCase{"LoadedAtExactly150Dpi",
                    TLoadedStatus{"/a/b.jpg", 892, 600, TInlayLayout::Back, 150, ""},
                    "b.jpg, 892 \u00D7 600: back", false},
        TStatusCase{"LoadedBelow150DpiWarns",
                    TLoadedStatus{"/a/small.jpg", 600, 400, TInlayLayout::Back, 96, ""},
                    "small.jpg, 600 \u00D7 400: back \u2014 Low resolution: 96 dpi at tray-card "
                    "size",
                    true},
        TStatusCase{"LoadedDamagedWarns",
                    TLoadedStatus{"/scans/cut.jpg", 611, 297, TInlayLayout::BackAndFront, 300,
                                  "Corrupt JPEG data: premature end of data segment"},
                    "cut.jpg, 611 \u00D7 297: back and front \u2014 cut.jpg is damaged: "
                    "premature end of data segment",
                    true},
        TStatusCase{"LoadedDamagedAtLowResolution",
                    TLoadedStatus{"cut.jpg", 600, 400, TInlayLayout::Back, 96,
                                  "Premature end of JPEG file"},
                    "cut.jpg, 600 \u00D7 400: back \u2014 cut.jpg is damaged: Premature end of "
                    "JPEG file \u2014 Low resolution: 96 dpi at tray-card size",
                    true},
        TStatusCase{"LoadedWholeTrayCardIsSuggested",
                    TLoadedStatus{"/s/card.jpg", 1510, 1180, TInlayLayout::Back, 254, "", true},
                    "card.jpg, 1510 \u00D7 1180: back \u2014 This looks like a whole tray card: "
                    "TRAY CARD reprints it as it is",
                    false},
        TStatusCase{"LoadedAsTrayCardSuggestsNothing",
                    TLoadedStatus{"/s/card.jpg", 1510, 1180, TInlayLayout::TrayCard, 254, "", true},
                    "card.jpg, 1510 \u00D7 1180: tray card", false},
        TStatusCase{
            "LoadedSpineRightOfTheCut",
            TLoadedStatus{"/s/w.jpg", 2650, 1200, TInlayLayout::BackAndFront, 255, "", false, 2.4},
            "w.jpg, 2650 \u00D7 1200: back and front \u2014 The spine lies 2.4 mm right "
            "of the cut: Find spine (Ctrl+F) cuts there",
            false},
        TStatusCase{
            "LoadedSpineLeftOfTheCut",
            TLoadedStatus{"/s/w.jpg", 2650, 1200, TInlayLayout::BackAndFront, 96, "", false, -7.25},
            "w.jpg, 2650 \u00D7 1200: back and front \u2014 The spine lies 7.2 mm left "
            "of the cut: Find spine (Ctrl+F) cuts there \u2014 Low resolution: 96 dpi at "
            "tray-card size",
            true},
        TStatusCase{
            "LoadedSpineWithinAMillimetre",
            TLoadedStatus{"/s/w.jpg", 2650, 1200, TInlayLayout::BackAndFront, 255, "", false, -1.0},
            "w.jpg, 2650 \u00D7 1200: back and front", false},
        TStatusCase{"RecomposedBelow150DpiWarns", TComposedStatus{149},
                    "Low resolution: 149 dpi at tray-card size", true},
        TStatusCase{"RecomposedWellClears", TComposedStatus{300}, "", false},
        TStatusCase{"RecomposedNothingClears", TComposedStatus{0}, "", false},
        TStatusCase{"Saved", TSavedStatus{"/music/night-trains-inlay.jpg", 255},
                    "Saved night-trains-inlay.jpg: 151 \u00D7 117.5 mm at 255 dpi", false},
        TStatusCase{"SavedBelow150DpiWarns", TSavedStatus{"/tmp/tiny.JPG", 12},
                    "Saved tiny.JPG: 151 \u00D7 117.5 mm at 12 dpi \u2014 Low resolution: 12 dpi "
                    "at tray-card size",
                    true},
        TStatusCase{"CouldNotReadAJpeg",
                    TErrorStatus{TFileAction::Read, "/music/covers/broken.jpg", IjlReadMessage,
                                 "~/.local/state/trayvane/trayvane.log"},
                    "Couldn't read broken.jpg: The file holds no JPEG data. Details in "
                    "~/.local/state/trayvane/trayvane.log",
                    true},
        TStatusCase{"CouldNotSaveAJpeg",
                    TErrorStatus{TFileAction::Save, "/media/cd/inlay.jpg", IjlSaveMessage,
                                 "/opt/trayvane/trayvane.log"},
                    "Couldn't save inlay.jpg: Access to the file is denied. Details in "
                    "/opt/trayvane/trayvane.log",
                    true},
        TStatusCase{"SavingWithoutAPicture",
                    TErrorStatus{TFileAction::Save, "/home/ann/inlay.jpg", "No image to save",
                                 "~/trayvane/trayvane.log"},
                    "Couldn't save inlay.jpg: No image to save. Details in "
                    "~/trayvane/trayvane.log",
                    true},
        TStatusCase{"ReadErrorOfAnotherLibraryKeepsItsWholeMessage",
                    TErrorStatus{TFileAction::Read, "/srv/DropHere.jpg",
                                 "Cannot open file \"/srv/DropHere.jpg\". No such file or "
                                 "directory.",
                                 "/srv/trayvane.log"},
                    "Couldn't read DropHere.jpg: Cannot open file \"/srv/DropHere.jpg\". No such "
                    "file or directory. Details in /srv/trayvane.log",
                    true},
        TStatusCase{"OtherErrorWithLineBreaks",
                    TErrorStatus{TFileAction::None, "", "Invalid data\r\nfor 'Width'\rnow\n",
                                 "~/.local/state/trayvane/trayvane.log"},
                    "Invalid data for 'Width' now. Details in "
                    "~/.local/state/trayvane/trayvane.log",
                    true},
        TStatusCase{"ErrorThatNoLogTook", TErrorStatus{TFileAction::None, "", "Out of memory", ""},
                    "Out of memory. Details on standard error", true},
        TStatusCase{"DropWithoutAPicture", TDropIgnoredStatus{},
                    "No picture among the dropped files", true},
        TStatusCase{"SpineFoundInAWrapAround", TSpineFoundStatus{1378, 1442, 255},
                    "Spine found: 6.4 mm wide at 138.2 mm", false},
        TStatusCase{"SpineFoundWhereTheLayoutPutsIt", TSpineFoundStatus{1395, 1455, 255},
                    "Spine found: 6.0 mm wide at 139.0 mm", false},
        TStatusCase{"SpineFoundInASmallPictureWarns", TSpineFoundStatus{290, 304, 58},
                    "Spine found: 6.6 mm wide at 137.7 mm — Low resolution: 58 dpi at "
                    "tray-card size",
                    true},
        TStatusCase{"SpineFoundWithoutAStripSaysNothing", TSpineFoundStatus{10, 10, 255}, "",
                    false},
        TStatusCase{"PrintedToAFile", TPrintedStatus{"/home/ann/night-trains-inlay.pdf", true, 255},
                    "Printed to night-trains-inlay.pdf: 151 × 117.5 mm at 255 dpi", false},
        TStatusCase{"SentToAPrinter", TPrintedStatus{"Office", false, 300},
                    "Sent to printer Office: 151 × 117.5 mm at 300 dpi", false},
        TStatusCase{"PrintedBelow150DpiWarns", TPrintedStatus{"PDF", false, 96},
                    "Sent to printer PDF: 151 × 117.5 mm at 96 dpi — Low resolution: "
                    "96 dpi at tray-card size",
                    true},
        TStatusCase{"DroppedPictureUnreadable",
                    TDropIgnoredStatus{"/music/covers/broken.jpg", IjlReadMessage},
                    "Couldn't read broken.jpg: The file holds no JPEG data", true}),
    [](const auto& Info) { return std::string(Info.param.Name); });

struct TReasonCase {
    const char* Name;
    std::string Message;
    const char* Reason;
};

class ErrorReasonTest : public testing::TestWithParam<TReasonCase> {};

TEST_P(ErrorReasonTest, TakesTheLibrarysTextOrTheWholeMessageOnOneLine) {
    EXPECT_EQ(ErrorReason(GetParam().Message), GetParam().Reason);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrorReasonTest,
    testing::Values(TReasonCase{"JpegBridge", IjlReadMessage, "The file holds no JPEG data"},
                    TReasonCase{"JpegBridgeWithLineFeeds",
                                "Error reading image:\nx.jpg\nError: Damaged\nN", "Damaged"},
                    TReasonCase{"ErrorColonAtTheStart", "Error: alone", "alone"},
                    TReasonCase{"ErrorColonInsideALineIsNoMarker", "Parse Error: at 3\rline two",
                                "Parse Error: at 3 line two"},
                    TReasonCase{"CrLfIsOneSpace", "one\r\ntwo", "one two"},
                    TReasonCase{"BreaksAtTheEndsGo", "\r\nmiddle\n", "middle"},
                    TReasonCase{"Plain", "No image to save", "No image to save"},
                    TReasonCase{"Empty", "", ""}),
    [](const auto& Info) { return std::string(Info.param.Name); });

struct THomeCase {
    const char* Name;
    const char* Path;
    const char* Home;
    const char* Shown;
};

class AbbreviateHomeTest : public testing::TestWithParam<THomeCase> {};

TEST_P(AbbreviateHomeTest, WritesTheHomeFolderAsTilde) {
    EXPECT_EQ(AbbreviateHome(GetParam().Path, GetParam().Home), GetParam().Shown);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AbbreviateHomeTest,
    testing::Values(THomeCase{"InsideHome", "/home/ann/.local/state/trayvane/trayvane.log",
                              "/home/ann", "~/.local/state/trayvane/trayvane.log"},
                    THomeCase{"HomeWithSlash", "/home/ann/x.log", "/home/ann/", "~/x.log"},
                    THomeCase{"HomeIsTheFolder", "/home/ann", "/home/ann", "~"},
                    THomeCase{"SiblingWithLongerName", "/home/anna/x.log", "/home/ann",
                              "/home/anna/x.log"},
                    THomeCase{"OutsideHome", "/opt/trayvane/trayvane.log", "/home/ann",
                              "/opt/trayvane/trayvane.log"},
                    THomeCase{"HomeIsRoot", "/x.log", "/", "/x.log"},
                    THomeCase{"NoHome", "/x.log", "", "/x.log"},
                    THomeCase{"NoPath", "", "/home/ann", ""}),
    [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace
