// Printing from the window, in-process on Qt's offscreen platform: Print and Ctrl+P open the print
// preview of the sheet, nothing to print is logged, and the sheet printed to a PDF file is the
// one trayvane-compose writes for the same picture.

#include "app/MainForm.h"
#include "app/settings/RegistryFile.h"
#include "jpeg_bridge/JPEGImage.h"
#include "jpeg_bridge/JpegFile.h"
#include "tests/app/MainFormTestSupport.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"

#include "composer/TrayCard.h"
#include <QApplication>

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

using testing::HasSubstr;

namespace {

// The next modal dialog, checked to be the print preview and closed; its page count on Pages.
void CloseNextPrintPreview(int& Seen, int& Pages) {
    QTimer::singleShot(0, [&] {
        auto* const Preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(Preview, nullptr) << "no print preview is open";
        ++Seen;
        if (auto* const Widget = Preview->findChild<QPrintPreviewWidget*>())
            Pages = Widget->pageCount();
        Preview->reject();
    });
}

class MainFormPrintTest : public MainFormFixture {
protected:
    MainFormPrintTest() : Cover(Folder.File("Blue Train.jpg")) {
        TFixtureImage Image{700, 330, 3, {}};
        std::mt19937 Random(3);
        for (int I = 0; I < 700 * 330 * 3; ++I)
            Image.Samples.push_back(static_cast<std::uint8_t>(Random() % 200));
        WriteFileBytes(Cover, EncodeJpeg(Image, TFixtureColor::YCbCr));
    }

    std::string Cover;
};

} // namespace

TEST_F(MainFormPrintTest, WithoutAnInlayPrintLogsNoImageToPrintAndOpensNothing) {
    const auto Form = MakeForm();
    int Seen = 0, Pages = 0;
    QTimer::singleShot(0, [&] {
        if (QWidget* const Dialog = QApplication::activeModalWidget()) {
            ++Seen;
            Dialog->close();
        }
    });
    Form->PrintButton().OnClick();
    QApplication::processEvents();
    EXPECT_EQ(Seen, 0);
    EXPECT_EQ(Pages, 0);
    EXPECT_THAT(Log(), HasSubstr("No image to print"));
}

TEST_F(MainFormPrintTest, PrintButtonAndCtrlPOpenThePreviewOfOnePage) {
    const auto Form = MakeForm();
    Form->LoadInputImage(Cover);
    int Seen = 0, Pages = 0;
    CloseNextPrintPreview(Seen, Pages);
    Form->PrintButton().OnClick();
    EXPECT_EQ(Seen, 1);
    EXPECT_EQ(Pages, 1);

    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    CloseNextPrintPreview(Seen, Pages);
    QTest::keyClick(Form.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(Seen, 2) << "Ctrl+P";
    EXPECT_FALSE(std::filesystem::exists(LogPath)) << "nothing was logged";

    const QPrinter& Printer = Form->SheetPrinter();
    EXPECT_TRUE(Printer.fullPage()) << "the sheet is laid out on the whole paper";
    EXPECT_EQ(Printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(Printer.docName(), "Blue Train-inlay");
}

// A sheet that went out is confirmed in the status line; a preview closed without printing says
// nothing.
TEST_F(MainFormPrintTest, APrintIsConfirmedInTheStatusLine) {
    const auto Form = MakeForm();
    Form->LoadInputImage(Cover);
    const std::string Loaded = Form->Status().text().toStdString();
    int Seen = 0, Pages = 0;
    CloseNextPrintPreview(Seen, Pages);
    Form->PrintButton().OnClick();
    ASSERT_EQ(Seen, 1);
    EXPECT_EQ(Form->Status().text().toStdString(), "");

    QPrinter& Printer = Form->SheetPrinter();
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(QString::fromStdString(Folder.File("sheet.pdf")));
    // The preview is accepted once it has printed (its print action, then the dialog).
    QTimer::singleShot(0, [] {
        if (auto* const Preview =
                qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget()))
            Preview->accept();
    });
    Form->PrintButton().OnClick();
    const int Dpi = TrayCardDensity(Form->OutputView().Bitmap().Width()).RoundedDotsPerInch();
    EXPECT_THAT(Form->Status().text().toStdString(),
                testing::StartsWith("Printed to sheet.pdf: 151 \u00D7 117.5 mm at " +
                                    std::to_string(Dpi) + " dpi"));
}

// Without a printer the window prints to PDF, on the paper of the user's locale.
TEST_F(MainFormPrintTest, WithoutAPrinterThePaperFollowsTheLocale) {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer, whose own paper counts";
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_PAPER");
    ::setenv("LANG", "en_CA.UTF-8", 1);
    const auto Form = MakeForm();
    EXPECT_EQ(Form->SheetPrinter().pageLayout().pageSize().id(), QPageSize::Letter);
    ::setenv("LANG", "C", 1);
    const auto Other = MakeForm();
    EXPECT_EQ(Other->SheetPrinter().pageLayout().pageSize().id(), QPageSize::A4);
}

// The window's sheet, printed to a PDF file as the print dialog's "Print to File (PDF)" does, and
// the batch command's sheet of the same picture render to the same pixels.
TEST_F(MainFormPrintTest, PrintedSheetIsTheOneTheBatchCommandWrites) {
    const auto Form = MakeForm();
    Form->LoadInputImage(Cover);
    Form->SpineTrackBar().setPosition(-15);
    Form->BuildOutput();

    QPrinter Printer(QPrinter::HighResolution);
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(QString::fromStdString(Folder.File("window.pdf")));
    Printer.setPageSize(QPageSize(QPageSize::A4));
    Form->PrintSheet(Printer);
    const TProgramRun Batch =
        RunProgram({TRAYVANE_COMPOSE_EXECUTABLE, "--paper", "a4", "--spine", "-15", "--layout",
                    "back-and-front", Cover, Folder.File("batch.pdf")});
    ASSERT_EQ(Batch.ExitCode, 0) << Batch.Err;

    for (const std::string Name : {"window", "batch"})
        ASSERT_EQ(RunProgram({"pdftoppm", "-r", "150", "-singlefile", Folder.File(Name + ".pdf"),
                              Folder.File(Name)})
                      .ExitCode,
                  0);
    const auto Window = ReadFileBytes(Folder.File("window.ppm"));
    const auto Batched = ReadFileBytes(Folder.File("batch.ppm"));
    ASSERT_EQ(Window.size(), Batched.size());
    std::size_t Differing = 0;
    for (std::size_t I = 0; I < Window.size(); ++I)
        Differing += Window[I] != Batched[I];
    EXPECT_EQ(Differing, 0u);
}
