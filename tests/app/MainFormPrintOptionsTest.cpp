// The print sheet's choices in the window, in-process on Qt's offscreen platform: the panel
// beside the print preview, the sheets the choices give (printed to PDF and measured), the front
// cover from this picture or another, a page too small refused in the status line, and the
// choices kept in the settings.

#include "app/MainForm.h"
#include "app/PrintOptionsPanel.h"
#include "app/settings/RegistryFile.h"
#include "base/RunHandler.h"
#include "jpeg_bridge/JPEGImage.h"
#include "picture_codecs/CodecPictures.h"
#include "tests/app/MainFormTestSupport.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/PdfRender.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using testing::HasSubstr;
using testing::Not;

namespace {

using TRgb = std::vector<std::uint8_t>;
const TRgb Mint{170, 230, 190};
const TRgb Rose{240, 170, 190};
const TRgb Sky{170, 200, 240};

class MainFormPrintOptionsTest : public MainFormFixture {
protected:
    static void SetUpTestSuite() {
        RegisterJpegPictures();
        RegisterCodecPictures();
    }

    MainFormPrintOptionsTest()
        : Wrap(Folder.File("wrap.jpg")), Back(Folder.File("back.jpg")),
          Other(Folder.File("other.jpg")) {
        TFixtureImage Image{1140, 480, 3, {}};
        for (int Y = 0; Y < Image.Height; ++Y)
            for (int X = 0; X < Image.Width; ++X)
                for (const std::uint8_t Sample : X < Image.Width / 2 ? Mint : Rose)
                    Image.Samples.push_back(Sample);
        WriteFileBytes(Wrap, EncodeJpeg(Image, TFixtureColor::YCbCr));
        WriteFileBytes(Back, EncodeJpeg(FlatImage(600, 470, Sky), TFixtureColor::YCbCr));
        WriteFileBytes(Other, EncodeJpeg(FlatImage(500, 520, Rose), TFixtureColor::YCbCr));
    }

    // Prints the form's sheet on Page into a PDF file as the print dialog's "Print to File"
    // does, through the error dispatch; true when a file was written.
    bool PrintToPdf(TMainForm& Form, const QPageSize& Page, const std::string& Pdf) {
        QPrinter Printer(QPrinter::HighResolution);
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setOutputFileName(QString::fromStdString(Pdf));
        Printer.setPageSize(Page);
        RunHandler([&] { Form.PrintSheet(Printer); });
        return std::filesystem::exists(Pdf);
    }

    std::string Wrap;
    std::string Back;
    std::string Other;
};

void ExpectPiece(const TRender& Page, double Xmm, double Ymm, double Width, double Height) {
    const TMeasuredPiece Piece = MeasurePiece(Page, Xmm, Ymm);
    EXPECT_NEAR(Piece.Width(), Width, 0.2) << "at (" << Xmm << ", " << Ymm << ")";
    EXPECT_NEAR(Piece.Height(), Height, 0.2) << "at (" << Xmm << ", " << Ymm << ")";
}

void ExpectColourAt(const TRender& Page, double Xmm, double Ymm, const TRgb& Colour) {
    const std::uint8_t* Got = Page.At(Page.Dot(Xmm), Page.Dot(Ymm));
    for (int C = 0; C < 3; ++C)
        EXPECT_NEAR(Got[C], Colour[C], 6)
            << "channel " << C << " at (" << Xmm << ", " << Ymm << ") mm";
}

} // namespace

// Each choice printed to PDF on A4 and measured: two cards, the card and this wrap-around's own
// front (the part right of the spine), a bleed, no caption.
TEST_F(MainFormPrintOptionsTest, TheChoicesShapeTheSheet) {
    const auto Form = MakeForm();
    Form->LoadInputImage(Wrap);
    const std::string Pdf = Folder.File("sheet.pdf");

    Form->SetPrintOptions({TPrintContent::CardTwice, 0, true});
    ASSERT_TRUE(PrintToPdf(*Form, QPageSize(QPageSize::A4), Pdf));
    TRender Page = RenderPdf(Folder, Pdf, 300, false);
    ExpectPiece(Page, 105, 25 + 58.75, 151, 117.5);
    ExpectPiece(Page, 105, 154.5 + 58.75, 151, 117.5);
    EXPECT_TRUE(BareMargins(Page, 5));
    EXPECT_THAT(PdfText(Pdf),
                HasSubstr("wrap.jpg \u00B7 back and front \u00B7 spine 0 % \u00B7 twice"));

    Form->SetPrintOptions({TPrintContent::CardAndFront, 20, true});
    ASSERT_TRUE(PrintToPdf(*Form, QPageSize(QPageSize::A4), Pdf));
    Page = RenderPdf(Folder, Pdf, 300, false);
    ExpectPiece(Page, 105, 23.75 + 58.75, 155, 121.5);
    ExpectPiece(Page, 105, 153.25 + 60, 124, 124);
    ExpectColourAt(Page, 105, 23.75 + 58.75, Mint);
    ExpectColourAt(Page, 105, 153.25 + 60, Rose);
    EXPECT_TRUE(BareMargins(Page, 5));
    EXPECT_THAT(PdfText(Pdf), HasSubstr("front cover from wrap.jpg"));

    Form->SetPrintOptions({TPrintContent::Card, 0, false});
    ASSERT_TRUE(PrintToPdf(*Form, QPageSize(QPageSize::Letter), Pdf));
    EXPECT_EQ(PdfText(Pdf), "\f") << "no caption, no text";
    EXPECT_EQ(ReadWholeFile(LogPath), "<missing>") << "nothing was logged";
}

// A back card alone has no front: the status line says to choose one; once another picture is
// chosen, it is printed, cut square.
TEST_F(MainFormPrintOptionsTest, TheFrontOfABackCardComesFromAnotherPicture) {
    const auto Form = MakeForm();
    Form->LoadInputImage(Back);
    Form->SetPrintOptions({TPrintContent::CardAndFront, 0, true});
    const std::string Pdf = Folder.File("sheet.pdf");
    EXPECT_FALSE(PrintToPdf(*Form, QPageSize(QPageSize::A4), Pdf));
    EXPECT_THAT(Form->Status().text().toStdString(),
                HasSubstr("This picture is the back card alone, which shows no front cover: "
                          "choose the picture of the front cover"));
    EXPECT_TRUE(Form->Status().Warning());

    Form->ChooseFrontCoverFile(Other);
    ASSERT_TRUE(PrintToPdf(*Form, QPageSize(QPageSize::A4), Pdf));
    const TRender Page = RenderPdf(Folder, Pdf, 300, false);
    ExpectPiece(Page, 105, 153.25 + 60, 120, 120);
    ExpectColourAt(Page, 105, 153.25 + 60, Rose);
    ExpectColourAt(Page, 105, 23.75 + 58.75, Sky);
    EXPECT_THAT(PdfText(Pdf), HasSubstr("back.jpg \u00B7 back card \u00B7 spine 0 % \u00B7 front "
                                        "cover from other.jpg"));
}

// At 100 % a smaller page would cut the card off: nothing is printed, and the status line names
// the paper that fits.
TEST_F(MainFormPrintOptionsTest, APageSmallerThanTheSheetIsRefusedNamingThePaperThatFits) {
    const auto Form = MakeForm();
    Form->LoadInputImage(Wrap);
    const struct {
        QPageSize Page;
        TPrintContent Content;
        std::string Sentence;
    } Cases[] = {
        {QPageSize(QPageSize::A5), TPrintContent::Card, "The page, 148 \u00D7 210 mm"},
        {QPageSize(QSizeF(4, 6), QPageSize::Inch), TPrintContent::Card,
         "The page, 102 \u00D7 152 mm"},
        {QPageSize(QPageSize::B5), TPrintContent::CardTwice, "The page, 176 \u00D7 250 mm"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Sentence);
        Form->SetPrintOptions({C.Content, 0, true});
        const std::string Pdf = Folder.File("small.pdf");
        EXPECT_FALSE(PrintToPdf(*Form, C.Page, Pdf)) << "nothing printed";
        EXPECT_THAT(Form->Status().text().toStdString(),
                    HasSubstr(C.Sentence + ", is too small for this sheet: print it on A4 or "
                                           "Letter paper, portrait"));
        EXPECT_TRUE(Form->Status().Warning());
    }
}

// The choices stay from one run to the next, beside the window's own values; a run that changes
// none writes none.
TEST_F(MainFormPrintOptionsTest, TheChoicesAreKeptInTheSettings) {
    MakeForm().reset();
    EXPECT_THAT(ReadWholeFile(Settings.Path()), Not(HasSubstr("Print")))
        << "no choice changed: nothing written";

    {
        const auto Form = MakeForm();
        Form->SetPrintOptions({TPrintContent::CardAndFront, 15, false});
    }
    const std::string After = ReadWholeFile(Settings.Path());
    EXPECT_THAT(After, HasSubstr("\"Width\"="));
    EXPECT_THAT(After, HasSubstr("\"PrintContent\"=dword:00000002\n\"PrintBleed\"=dword:0000000f\n"
                                 "\"PrintCaption\"=dword:00000000\n"));
    TRegistryFileStore Next(Settings.Path());
    const TMainForm Again(Next, LogPath, Placeholder);
    EXPECT_EQ(Again.PrintOptions(), (TPrintOptions{TPrintContent::CardAndFront, 15, false}));
}

// The panel beside the preview shows the choices and changes them; the front from this picture
// is offered only for a wrap-around.
TEST_F(MainFormPrintOptionsTest, ThePanelBesideThePreviewChangesTheChoices) {
    const auto Form = MakeForm();
    for (const auto& Case : {std::pair{Wrap, true}, std::pair{Back, false}}) {
        // Named, not bound: a lambda below uses them.
        const auto& Picture = Case.first;
        const bool HasFront = Case.second;
        SCOPED_TRACE(Picture);
        Form->LoadInputImage(Picture);
        Form->SetPrintOptions({TPrintContent::Card, 0, true});
        bool Seen = false;
        int Pages = 0;
        QTimer::singleShot(0, [&] {
            auto* const Preview =
                qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(Preview, nullptr);
            auto* const Panel = Preview->findChild<TPrintOptionsPanel*>();
            ASSERT_NE(Panel, nullptr) << "no panel beside the preview";
            Seen = true;
            EXPECT_TRUE(Panel->isVisible());
            EXPECT_TRUE(Panel->CardButton().isChecked());
            EXPECT_FALSE(Panel->FrontFromThisButton().isEnabled());
            Panel->TwiceButton().click();
            EXPECT_EQ(Form->PrintOptions().Content, TPrintContent::CardTwice);
            Panel->BleedBox().setValue(1.5);
            EXPECT_EQ(Form->PrintOptions().BleedTenths, 15);
            Panel->CaptionBox().click();
            EXPECT_FALSE(Form->PrintOptions().Caption);
            Panel->FrontButton().click();
            EXPECT_EQ(Panel->FrontFromThisButton().isEnabled(), HasFront);
            EXPECT_EQ(Panel->FrontFromThisButton().isChecked(), HasFront);
            EXPECT_TRUE(Panel->ChooseFrontButton().isEnabled());
            QApplication::processEvents();
            // A back card without another picture: said beside the preview.
            EXPECT_EQ(Panel->Problem().isEmpty(), HasFront) << Panel->Problem().toStdString();
            if (auto* const View = Preview->findChild<QPrintPreviewWidget*>())
                Pages = View->pageCount();
            Preview->reject();
        });
        Form->PrintButton().OnClick();
        EXPECT_TRUE(Seen);
        EXPECT_EQ(Pages, 1);
    }
}
