// The window's whole tray card, its hints on opening, the cut that stays a spine and the save
// name that follows the picture, in-process on Qt's offscreen platform.

#include "tests/app/MainFormTestSupport.h"

#include "composer/SpineCut.h"
#include "composer/TrayInlay.h"
#include "picture_codecs/CodecPictures.h"

#include "tests/support/BitmapSamples.h"
#include "tests/support/BitmapTestSupport.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/MadeCovers.h"
#include "tests/support/PictureFixtures.h"

#include <QApplication>
#include <QFileDialog>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

using testing::HasSubstr;
using testing::Not;

namespace {

namespace fs = std::filesystem;

class MainFormTrayCardTest : public MainFormFixture {
protected:
    static void SetUpTestSuite() {
        MainFormFixture::SetUpTestSuite();
        RegisterCodecPictures();
    }

    fs::path WriteCover(const TCoverDesign& Design, TBitmap32& Cover, const char* Name) {
        MakeCover(Design, Cover);
        const fs::path Path = Folder.Path() / Name;
        WriteFileBytes(Path.string(), EncodePng(RgbSamplesOf(Cover)));
        return Path;
    }

    static std::string StatusOf(TMainForm& Form) { return Form.Status().text().toStdString(); }
};

// Accepts the save dialog as it comes, with the name it proposes.
void AcceptNextFileDialog() {
    WithNextFileDialog([](QFileDialog& Dialog) { QMetaObject::invokeMethod(&Dialog, "accept"); });
}

} // namespace

// Done when: a whole tray card reprints column for column; while its button is down the slider,
// the cut lines and Find spine have no part and show it.
TEST_F(MainFormTrayCardTest, TrayCardReprintsThePictureAndSetsTheCutControlsAside) {
    TBitmap32 Cover;
    const auto Form = MakeForm();
    Form->LoadInputImage(WriteCover(WiderBackCover(), Cover, "wrap.png").string());
    ASSERT_TRUE(Form->BackFrontButton().Down());

    QTest::mouseClick(&Form->TrayCardButton(), Qt::LeftButton);
    EXPECT_TRUE(Form->TrayCardButton().Down());
    EXPECT_FALSE(Form->BackFrontButton().Down());
    EXPECT_FALSE(Form->BackButton().Down());
    EXPECT_FALSE(Form->SpineTrackBar().isEnabled());
    EXPECT_FALSE(Form->FindSpineButton().isEnabled());
    EXPECT_FALSE(Form->InputView().CutLines());
    TBitmap32 Expected;
    ComposeInlay(Cover, TInlayRequest{TInlayLayout::TrayCard, 0, {}}, Expected);
    EXPECT_EQ(Form->OutputView().Bitmap().Width(), Cover.Width());
    EXPECT_TRUE(SameBitmaps(Form->OutputView().Bitmap(), Expected));
    // Ctrl+F does nothing while the button is disabled.
    QTest::keyClick(Form.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_FALSE(Form->InputView().CutLines());
    EXPECT_EQ(Log(), "");

    QTest::mouseClick(&Form->BackFrontButton(), Qt::LeftButton);
    EXPECT_FALSE(Form->TrayCardButton().Down());
    EXPECT_TRUE(Form->SpineTrackBar().isEnabled());
    EXPECT_TRUE(Form->FindSpineButton().isEnabled());
    EXPECT_TRUE(Form->InputView().CutLines());
}

// The automatic choice stays as it was; a picture of a tray card's proportions gets a hint.
TEST_F(MainFormTrayCardTest, APictureOfATrayCardsProportionsIsSuggested) {
    TCoverDesign Card;
    Card.Width = 604;
    Card.Height = 470;
    Card.SpineLeft = 580;
    Card.SpineRight = 604;
    TBitmap32 Cover;
    const auto Form = MakeForm();
    Form->LoadInputImage(WriteCover(Card, Cover, "card.png").string());
    EXPECT_TRUE(Form->BackButton().Down());
    EXPECT_THAT(StatusOf(*Form), HasSubstr("card.png, 604 \u00D7 470: back \u2014 This looks like "
                                           "a whole tray card: TRAY CARD reprints it as it is"));
}

// A wrap-around whose back is wider than its front has its spine 9 mm right of the layout's cut
// (found about 552 to 578 against 520 to 542, in a 564 column inlay): the status line says so
// and names Find spine's key, which finds it.
TEST_F(MainFormTrayCardTest, ASpineAwayFromTheCutIsToldAndCtrlFFindsIt) {
    TBitmap32 Cover;
    const auto Form = MakeForm();
    Form->LoadInputImage(WriteCover(WiderBackCover(), Cover, "wider.png").string());
    EXPECT_THAT(StatusOf(*Form), HasSubstr(" mm right of the cut: Find spine (Ctrl+F) cuts there"));
    EXPECT_THAT(Form->FindSpineButton().toolTip().toStdString(), HasSubstr("(Ctrl+F)"));
    QTest::keyClick(Form.get(), Qt::Key_F, Qt::ControlModifier);
    const auto Lines = Form->InputView().CutLines();
    ASSERT_TRUE(Lines);
    EXPECT_LE(std::abs(Lines->Left - 552), 5) << Lines->Left;

    // A wrap-around cut where its spine is gets no hint.
    TCoverDesign Even = WiderBackCover();
    const TSpineCut Own = DescribedSpineCut(Even.Width, TInlayLayout::BackAndFront, 0);
    Even.SpineLeft = Own.Left;
    Even.SpineRight = Own.Right;
    TBitmap32 EvenCover;
    Form->LoadInputImage(WriteCover(Even, EvenCover, "even.png").string());
    EXPECT_THAT(StatusOf(*Form), Not(HasSubstr("Find spine")));
}

// A dragged line stops where the cut would stop being a spine: a quarter of the own strip.
TEST_F(MainFormTrayCardTest, ALineDraggedOntoTheOtherStopsAtAQuarterOfTheSpine) {
    TBitmap32 Cover;
    const auto Form = MakeForm();
    Form->LoadInputImage(WriteCover(WiderBackCover(), Cover, "wrap.png").string());
    const auto Before = Form->InputView().CutLines();
    ASSERT_TRUE(Before);
    emit Form->InputView().OnCutDragStarted();
    emit Form->InputView().OnCutLineMoved(TCutLine::Right, Before->Left);
    const auto After = Form->InputView().CutLines();
    ASSERT_TRUE(After);
    const TSpineCutWidths Widths = ExplicitCutWidths(Cover.Width(), TInlayLayout::BackAndFront);
    EXPECT_EQ(After->Left, Before->Left);
    EXPECT_EQ(After->Right - After->Left, Widths.Min);
}

// Done when: saving the second cover writes its own NAME-inlay.jpg and leaves the first untouched.
TEST_F(MainFormTrayCardTest, TheProposedSaveNameFollowsThePicture) {
    const fs::path First = Folder.Path() / "first.jpg";
    const fs::path Second = Folder.Path() / "second.jpg";
    WriteTestJpeg(First, 600, 300);
    WriteTestJpeg(Second, 300, 240);
    const auto Form = MakeForm();

    Form->LoadInputImage(First.string());
    AcceptNextFileDialog();
    QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);
    const fs::path FirstInlay = Folder.Path() / "first-inlay.jpg";
    ASSERT_TRUE(fs::exists(FirstInlay)) << Log();
    const auto FirstBytes = ReadFileBytes(FirstInlay.string());

    Form->LoadInputImage(Second.string());
    AcceptNextFileDialog();
    QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);
    ASSERT_TRUE(fs::exists(Folder.Path() / "second-inlay.jpg")) << Log();
    EXPECT_EQ(ReadFileBytes(FirstInlay.string()), FirstBytes) << "the first inlay was replaced";

    // A name typed for a picture is proposed again for it, and only for it. (Qt's own dialog
    // keeps a proposed file that exists selected in its list over a name set into its field, so
    // the proposal is made a new file first.)
    fs::remove(Folder.Path() / "second-inlay.jpg");
    AnswerNextFileDialogWith((Folder.Path() / "typed").string());
    QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);
    const auto Listing = [&] {
        std::string Names;
        for (const auto& Entry : fs::directory_iterator(Folder.Path()))
            Names += Entry.path().filename().string() + " ";
        return Names + Log();
    };
    ASSERT_TRUE(fs::exists(Folder.Path() / "typed.JPG")) << Listing();
    fs::remove(Folder.Path() / "typed.JPG");
    AcceptNextFileDialog();
    QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);
    EXPECT_TRUE(fs::exists(Folder.Path() / "typed.JPG")) << Listing();
    Form->LoadInputImage(First.string());
    fs::remove(FirstInlay);
    AcceptNextFileDialog();
    QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);
    EXPECT_TRUE(fs::exists(FirstInlay));
    EXPECT_EQ(Log(), "");
}

// A name that asks for PNG or TIFF gets that file, with the inlay's pixels; any other gets JPEG.
TEST_F(MainFormTrayCardTest, SavingUnderAPngOrTiffNameWritesThatFile) {
    const fs::path Cover = Folder.Path() / "cover.jpg";
    WriteTestJpeg(Cover, 600, 300);
    const auto Form = MakeForm();
    Form->LoadInputImage(Cover.string());
    struct TCase {
        const char* Name;
        std::vector<std::uint8_t> Signature;
    };
    for (const TCase& C :
         {TCase{"inlay.png", {0x89, 'P', 'N', 'G'}}, TCase{"inlay.TIF", {'I', 'I', 42, 0}},
          TCase{"inlay.tiff", {'I', 'I', 42, 0}}, TCase{"inlay.jpeg", {0xFF, 0xD8, 0xFF}}}) {
        const fs::path Saved = Folder.Path() / C.Name;
        Form->SaveInlay(Saved.string());
        const auto Bytes = ReadFileBytes(Saved.string());
        ASSERT_GE(Bytes.size(), C.Signature.size()) << C.Name;
        EXPECT_TRUE(std::equal(C.Signature.begin(), C.Signature.end(), Bytes.begin())) << C.Name;
    }
    TBitmap32 Read;
    Read.LoadPictureFile((Folder.Path() / "inlay.png").string());
    TBitmap32 Opaque;
    Opaque.CopyFrom(&Form->OutputView().Bitmap());
    EXPECT_TRUE(SameBitmaps(Read, Opaque));
}
