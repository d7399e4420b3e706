// The window's cut and the pictures it takes in, in-process on Qt's offscreen platform: the cut
// lines follow layout, slider and picture; dragging a line and "Find spine" recompose at the cut;
// a sideways photo gives the upright picture's inlay; PNG, TIFF and WebP covers open and drop.

#include "tests/app/MainFormTestSupport.h"

#include "composer/SpineFinder.h"
#include "composer/TrayInlay.h"
#include "jpeg_bridge/JPEGImage.h"
#include "jpeg_bridge/JpegFile.h"
#include "picture_codecs/CodecPictures.h"
#include "raster/Orientation.h"

#include "tests/support/BitmapSamples.h"
#include "tests/support/BitmapTestSupport.h"
#include "tests/support/ExifFixtures.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/MadeCovers.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QFileDialog>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

constexpr TColor32 SpineBlue = 0xFF1E2A44;
constexpr TColor32 PaperWhite = 0xFFF2EEE4;

class MainFormCutTest : public MainFormFixture {
protected:
    static void SetUpTestSuite() {
        MainFormFixture::SetUpTestSuite();
        RegisterCodecPictures();
    }

    // The made cover as a PNG file (lossless, so the window sees exactly its pixels).
    fs::path WriteCover(const TCoverDesign& Design, TBitmap32& Cover,
                        const char* Name = "cover.png") {
        MakeCover(Design, Cover);
        const fs::path Path = Folder.Path() / Name;
        WriteFileBytes(Path.string(), EncodePng(RgbSamplesOf(Cover)));
        return Path;
    }

    // Drags the input view's line from its place to bitmap column Column.
    void DragLine(TMainForm& Form, TCutLine Line, int Column) {
        TImgView32& View = Form.InputView();
        const auto Columns = View.CutLineColumns();
        ASSERT_TRUE(Columns);
        const int From = Line == TCutLine::Left ? Columns->first : Columns->second;
        const TRect Image = View.DisplayRect();
        const int To = ViewColumnOfBitmapColumn(Column, Image, View.Bitmap().Width());
        const int Y = (Image.Top + Image.Bottom) / 2;
        QTest::mousePress(&View, Qt::LeftButton, {}, QPoint(From, Y));
        QTest::mouseMove(&View, QPoint((From + To) / 2, Y));
        QTest::mouseMove(&View, QPoint(To, Y));
        QTest::mouseRelease(&View, Qt::LeftButton, {}, QPoint(To, Y));
    }
};

// The middle column of each spine strip of the inlay, at a row below the spine's lettering.
TColor32 LeftStripPixel(const TBitmap32& Inlay, int SpineWidth) {
    return Inlay.Pixel(SpineWidth / 2, Inlay.Height() / 10);
}
TColor32 RightStripPixel(const TBitmap32& Inlay, int SpineWidth) {
    return Inlay.Pixel(Inlay.Width() - 1 - SpineWidth / 2, Inlay.Height() * 9 / 10);
}

} // namespace

TEST_F(MainFormCutTest, NoLinesUntilTheFirstComposition) {
    const auto Form = MakeForm();
    EXPECT_FALSE(Form->InputView().CutLines());
}

TEST_F(MainFormCutTest, LinesFollowLayoutSliderAndPicture) {
    TBitmap32 Cover;
    const auto Form = MakeForm();
    Form->LoadInputImage(WriteCover(WiderBackCover(), Cover).string());
    const auto Lines = [&] { return Form->InputView().CutLines(); };
    const auto Described = [&](TInlayLayout Layout, double Position) {
        const TSpineCut Cut = DescribedSpineCut(1062, Layout, Position);
        return std::optional<TCutLines>(TCutLines{Cut.Left, Cut.Right});
    };
    EXPECT_TRUE(Form->BackFrontButton().Down());
    EXPECT_EQ(Lines(), Described(TInlayLayout::BackAndFront, 0));
    Form->SpineTrackBar().setFocus();
    QTest::keyClick(&Form->SpineTrackBar(), Qt::Key_End);
    EXPECT_EQ(Lines(), Described(TInlayLayout::BackAndFront, 20));
    QTest::mouseClick(&Form->BackButton(), Qt::LeftButton);
    EXPECT_EQ(Lines(), Described(TInlayLayout::Back, 20));

    TBitmap32 Back;
    Form->LoadInputImage(WriteCover(
                             [] {
                                 TCoverDesign Design;
                                 Design.Width = 600;
                                 Design.Height = 500;
                                 Design.SpineLeft = 570;
                                 Design.SpineRight = 600;
                                 return Design;
                             }(),
                             Back, "back.png")
                             .string());
    const TSpineCut Cut = DescribedSpineCut(600, TInlayLayout::Back, 20);
    EXPECT_EQ(Lines(), (TCutLines{Cut.Left, Cut.Right}));
}

// Done when: a wrap-around whose back is wider than its front gets its spine on both sides after
// one click of "Find spine".
TEST_F(MainFormCutTest, FindSpinePutsTheSpineOnBothSidesOfTheInlay) {
    TBitmap32 Cover;
    const auto Form = MakeForm();
    Form->LoadInputImage(WriteCover(WiderBackCover(), Cover).string());
    const TBitmap32& Inlay = Form->OutputView().Bitmap();
    // The layout's own cut takes its spine strips from the back card.
    const int DescribedWidth = DescribedSpineCut(1062, TInlayLayout::BackAndFront, 0).Width();
    EXPECT_EQ(RightStripPixel(Inlay, DescribedWidth), PaperWhite);

    QTest::mouseClick(&Form->FindSpineButton(), Qt::LeftButton);
    const auto Lines = Form->InputView().CutLines();
    ASSERT_TRUE(Lines);
    EXPECT_LE(std::abs(Lines->Left - 552), 5) << Lines->Left;
    EXPECT_LE(std::abs(Lines->Right - 578), 5) << Lines->Right;
    // What was found, in millimetres of the printed card: the strip and the back card before it
    // share the card's 151 mm with the second strip.
    const double MmPerColumn = 151.0 / (Lines->Left + 2.0 * (Lines->Right - Lines->Left));
    char Said[80];
    std::snprintf(Said, sizeof Said, "Spine found: %.1f mm wide at %.1f mm",
                  (Lines->Right - Lines->Left) * MmPerColumn, Lines->Left * MmPerColumn);
    EXPECT_THAT(Form->Status().text().toStdString(), testing::StartsWith(Said));
    const int Width = Lines->Right - Lines->Left;
    EXPECT_EQ(LeftStripPixel(Inlay, Width), SpineBlue);
    EXPECT_EQ(RightStripPixel(Inlay, Width), SpineBlue);
    TBitmap32 Expected;
    ComposeInlay(Cover, TInlayRequest{TInlayLayout::Back, 0, TSpineCut{Lines->Left, Lines->Right}},
                 Expected);
    EXPECT_TRUE(SameBitmaps(Inlay, Expected));
    EXPECT_EQ(Log(), "");

    // The slider widens the found spine around its centre.
    Form->SpineTrackBar().setFocus();
    QTest::keyClick(&Form->SpineTrackBar(), Qt::Key_End);
    ComposeInlay(Cover, TInlayRequest{TInlayLayout::Back, 20, TSpineCut{Lines->Left, Lines->Right}},
                 Expected);
    EXPECT_TRUE(SameBitmaps(Inlay, Expected));
}

TEST_F(MainFormCutTest, FindSpineThatFindsNothingOnlyLogs) {
    TCoverDesign Plain = WiderBackCover();
    Plain.Spine = Plain.Back; // a spine in the back's colour
    Plain.Front = Plain.Back;
    TBitmap32 Cover;
    const auto Form = MakeForm();
    Form->LoadInputImage(WriteCover(Plain, Cover).string());
    TBitmap32 Before;
    Before.CopyFrom(&Form->OutputView().Bitmap());
    const auto LinesBefore = Form->InputView().CutLines();

    QTest::mouseClick(&Form->FindSpineButton(), Qt::LeftButton);
    EXPECT_TRUE(SameBitmaps(Form->OutputView().Bitmap(), Before));
    EXPECT_EQ(Form->InputView().CutLines(), LinesBefore);
    EXPECT_THAT(Log(), testing::HasSubstr("Exception = ESpineNotFound\r\n"));
    EXPECT_THAT(Log(), testing::HasSubstr(SpineNotFoundMessage));
}

TEST_F(MainFormCutTest, DraggingALineRecomposesAtTheCutUntilTheLayoutOrPictureChanges) {
    TBitmap32 Cover;
    const auto Form = MakeForm();
    const fs::path Path = WriteCover(WiderBackCover(), Cover);
    Form->LoadInputImage(Path.string());
    const TBitmap32& Inlay = Form->OutputView().Bitmap();
    const TImgView32& View = Form->InputView();
    AnswerNextFileDialogWith(Folder / "inlay.jpg");
    QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);
    ASSERT_THAT(Form->Status().text().toStdString(), testing::StartsWith("Saved inlay.jpg"));
    // The layout's own cut is (520, 542). Shown across the view (the picture is 1062 wide, wider
    // than the view, so it is shrunk a little), each line lands on the boundary the screen shows
    // nearest to where it was dropped.
    DragLine(*Form, TCutLine::Right, 578);
    EXPECT_THAT(Form->Status().text().toStdString(), testing::Not(testing::HasSubstr("Saved")))
        << "the saved file is not this inlay";
    DragLine(*Form, TCutLine::Left, 552);
    const auto Lines = View.CutLines();
    ASSERT_TRUE(Lines);
    EXPECT_LE(std::abs(Lines->Left - 552), 2);
    EXPECT_LE(std::abs(Lines->Right - 578), 2);
    TBitmap32 Expected;
    ComposeInlay(Cover, TInlayRequest{TInlayLayout::Back, 0, TSpineCut{Lines->Left, Lines->Right}},
                 Expected);
    EXPECT_TRUE(SameBitmaps(Inlay, Expected));
    EXPECT_EQ(RightStripPixel(Inlay, Lines->Right - Lines->Left), SpineBlue);

    // The slider keeps the cut; another layout, or the picture loaded anew, return to the
    // layout's own cut.
    Form->SpineTrackBar().setFocus();
    QTest::keyClick(&Form->SpineTrackBar(), Qt::Key_Home);
    ComposeInlay(Cover,
                 TInlayRequest{TInlayLayout::Back, -20, TSpineCut{Lines->Left, Lines->Right}},
                 Expected);
    EXPECT_TRUE(SameBitmaps(Inlay, Expected));
    QTest::mouseClick(&Form->BackFrontButton(), Qt::LeftButton); // the same layout: cut kept
    EXPECT_TRUE(SameBitmaps(Inlay, Expected));
    QTest::mouseClick(&Form->BackButton(), Qt::LeftButton);
    ComposeTrayInlay(Cover, TInlayLayout::Back, -20, Expected);
    EXPECT_TRUE(SameBitmaps(Inlay, Expected));
    QTest::mouseClick(&Form->BackFrontButton(), Qt::LeftButton);
    ComposeTrayInlay(Cover, TInlayLayout::BackAndFront, -20, Expected);
    EXPECT_TRUE(SameBitmaps(Inlay, Expected));

    DragLine(*Form, TCutLine::Right, 600);
    Form->LoadInputImage(Path.string());
    EXPECT_TRUE(SameBitmaps(Inlay, Expected)) << "loading did not return to the layout's cut";
}

// Esc while a line is dragged puts back the cut from before the drag, the layout's own as well as
// a found one. The key comes through the window, as a person's would, while another control has
// the focus: the view takes the keyboard for the drag.
TEST_F(MainFormCutTest, EscDuringADragPutsTheCutBack) {
    TBitmap32 Cover;
    const auto Form = MakeForm();
    const fs::path Path = WriteCover(WiderBackCover(), Cover);
    TImgView32& View = Form->InputView();
    const TBitmap32& Inlay = Form->OutputView().Bitmap();
    const auto DragAndEsc = [&] {
        const auto Columns = View.CutLineColumns();
        ASSERT_TRUE(Columns);
        const int Y = (View.DisplayRect().Top + View.DisplayRect().Bottom) / 2;
        Form->SpineTrackBar().setFocus();
        QTest::mousePress(&View, Qt::LeftButton, {}, QPoint(Columns->second, Y));
        QTest::mouseMove(&View, QPoint(Columns->second + 60, Y));
        ASSERT_NE(View.CutLineColumns(), Columns) << "the drag moved nothing";
        QTest::keyClick(Form->windowHandle(), Qt::Key_Escape);
        QTest::mouseMove(&View, QPoint(Columns->second + 90, Y)); // no longer dragged
        QTest::mouseRelease(&View, Qt::LeftButton, {}, QPoint(Columns->second + 90, Y));
    };
    TBitmap32 Expected;

    Form->LoadInputImage(Path.string());
    const auto OwnLines = View.CutLines();
    DragAndEsc();
    EXPECT_EQ(View.CutLines(), OwnLines);
    ComposeTrayInlay(Cover, TInlayLayout::BackAndFront, 0, Expected);
    EXPECT_TRUE(SameBitmaps(Inlay, Expected)) << "not the layout's own cut";

    QTest::mouseClick(&Form->FindSpineButton(), Qt::LeftButton);
    const auto Found = View.CutLines();
    ASSERT_TRUE(Found);
    DragAndEsc();
    EXPECT_EQ(View.CutLines(), Found);
    ComposeInlay(Cover, TInlayRequest{TInlayLayout::Back, 0, TSpineCut{Found->Left, Found->Right}},
                 Expected);
    EXPECT_TRUE(SameBitmaps(Inlay, Expected)) << "not the found cut";
    // The keyboard is the window's again.
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    EXPECT_EQ(Log(), "");
}

// Done when: a sideways phone photo gives the same inlay as the upright picture. The photo is
// stored turned counter-clockwise with the tag 6; JPEG's blocks fall differently on the turned
// picture, so the two inlays agree up to the codec's small differences.
TEST_F(MainFormCutTest, ASidewaysPhotoGivesTheUprightPicturesInlay) {
    TBitmap32 Upright;
    MakeCover(WiderBackCover(), Upright);
    const fs::path UprightPath = Folder.Path() / "upright.jpg";
    SaveJpegFile(Upright, UprightPath.string(), 95);
    TBitmap32 Stored;
    Stored.CopyFrom(&Upright);
    OrientUpright(Stored, 8); // turned counter-clockwise: what tag 6 turns back
    const fs::path StoredPath = Folder.Path() / "sideways.jpg";
    SaveJpegFile(Stored, StoredPath.string(), 95);
    WriteFileBytes(StoredPath.string(), WithExifOrientation(ReadFileBytes(StoredPath.string()), 6));

    const auto Form = MakeForm();
    Form->LoadInputImage(UprightPath.string());
    TBitmap32 FromUpright;
    FromUpright.CopyFrom(&Form->OutputView().Bitmap());
    Form->LoadInputImage(StoredPath.string());
    EXPECT_EQ(Form->InputView().Bitmap().Width(), 1062);
    EXPECT_TRUE(Form->BackFrontButton().Down());
    const TBitmap32& FromSideways = Form->OutputView().Bitmap();
    ASSERT_EQ(FromSideways.Width(), FromUpright.Width());
    ASSERT_EQ(FromSideways.Height(), FromUpright.Height());
    double Difference = 0;
    for (int Y = 0; Y < FromUpright.Height(); ++Y)
        for (int X = 0; X < FromUpright.Width(); ++X)
            for (const int Shift : {0, 8, 16})
                Difference +=
                    std::abs(static_cast<int>((FromUpright.Pixel(X, Y) >> Shift) & 0xFF) -
                             static_cast<int>((FromSideways.Pixel(X, Y) >> Shift) & 0xFF));
    EXPECT_LT(Difference / (3.0 * FromUpright.Width() * FromUpright.Height()), 2.0);
}

TEST_F(MainFormCutTest, TiffAndWebPCoversOpenAndPngCoversDrop) {
    TBitmap32 Cover;
    MakeCover(WiderBackCover(), Cover);
    const fs::path Tiff = Folder.Path() / "cover.TIF";
    WriteFileBytes(Tiff.string(), EncodeTiff(RgbSamplesOf(Cover), TTiffCompression::Lzw));
    const auto Form = MakeForm();

    QTimer::singleShot(0, [&] {
        auto* const Dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(Dialog, nullptr);
        // The first filter, selected at first, lists every picture the program reads.
        EXPECT_EQ(Dialog->selectedNameFilter(),
                  "All pictures (*.JPG *.JPEG *.PNG *.TIF *.TIFF *.WEBP *.jpg *.jpeg *.png *.tif "
                  "*.tiff *.webp)");
        Dialog->selectFile(QString::fromStdString(Tiff.string()));
        QMetaObject::invokeMethod(Dialog, "accept");
    });
    QTest::mouseClick(&Form->OpenButton(), Qt::LeftButton);
    EXPECT_TRUE(SameBitmaps(Form->InputView().Bitmap(), Cover));
    EXPECT_TRUE(Form->BackFrontButton().Down());

    TSampleImage Rgba = RgbSamplesOf(Cover);
    TSampleImage WithAlpha{Rgba.Width, Rgba.Height, 4, 8, {}};
    for (std::size_t I = 0; I < Rgba.Samples.size(); I += 3)
        for (const std::uint16_t V :
             {Rgba.Samples[I], Rgba.Samples[I + 1], Rgba.Samples[I + 2], std::uint16_t{255}})
            WithAlpha.Samples.push_back(V);
    const fs::path WebP = Folder.Path() / "cover.webp";
    WriteFileBytes(WebP.string(), EncodeWebP(WithAlpha, true));
    Form->LoadInputImage(WebP.string());
    EXPECT_TRUE(SameBitmaps(Form->InputView().Bitmap(), Cover));

    const fs::path Png = WriteCover(WiderBackCover(), Cover, "cover.Png");
    Form->LoadInputImage(Placeholder);
    QMimeData Data;
    Data.setUrls({QUrl::fromLocalFile(QString::fromStdString(Png.string()))});
    QDragEnterEvent Enter(QPoint(5, 5), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Form->InputView(), &Enter);
    ASSERT_TRUE(Enter.isAccepted());
    QDropEvent Drop(QPointF(5, 5), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Form->InputView(), &Drop);
    EXPECT_TRUE(SameBitmaps(Form->InputView().Bitmap(), Cover));
    EXPECT_EQ(Log(), "");
}
