// Printing from the window into a real CUPS queue: the print preview's Print action, the print
// dialog with the queue chosen, and the PDF the queue's printer (Debian's cups-pdf) writes,
// measured. Run by CupsQueuePrintTest.sh, which starts a CUPS scheduler of its own with that
// queue and names it in TRAYVANE_CUPS_QUEUE, the folder the printer writes to in
// TRAYVANE_CUPS_OUTPUT and the scheduler's log in TRAYVANE_CUPS_LOG.

#include "app/MainForm.h"
#include "app/settings/RegistryFile.h"
#include "jpeg_bridge/JPEGImage.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/PdfRender.h"
#include "tests/support/TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <thread>

using testing::HasSubstr;

namespace {

std::string Environment(const char* Name) {
    const char* const Value = std::getenv(Name);
    return Value ? Value : "";
}

// Answers the modal dialogs as they come: the preview's Print action, then the print dialog with
// Queue chosen, accepted. Gives up after Tries polls.
void AnswerPrintDialogs(const QString& Queue, bool& Chosen, int Tries = 600) {
    QTimer::singleShot(50, [Queue, &Chosen, Tries] {
        QWidget* const Modal = QApplication::activeModalWidget();
        if (auto* const Dialog = qobject_cast<QPrintDialog*>(Modal)) {
            for (auto* const Printers : Dialog->findChildren<QComboBox*>()) {
                const int At = Printers->findText(Queue);
                if (At >= 0) {
                    Printers->setCurrentIndex(At);
                    Chosen = true;
                }
            }
            Dialog->accept();
            return;
        }
        if (auto* const Preview = qobject_cast<QPrintPreviewDialog*>(Modal)) {
            for (QAction* const Action : Preview->findChildren<QAction*>())
                if (Action->text() == QStringLiteral("Print")) {
                    // The action opens the print dialog modally: after this poll has returned.
                    QTimer::singleShot(0, Action, &QAction::trigger);
                    break;
                }
        }
        if (Tries > 0)
            AnswerPrintDialogs(Queue, Chosen, Tries - 1);
        else
            ADD_FAILURE() << "the print dialog did not come";
    });
}

// The first PDF in Folder, waited for up to Seconds.
std::string WaitForPdf(const std::string& Folder, int Seconds) {
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(Seconds);
    while (std::chrono::steady_clock::now() < Deadline) {
        std::error_code Error;
        for (const auto& Entry : std::filesystem::directory_iterator(Folder, Error))
            if (Entry.path().extension() == ".pdf" && Entry.file_size(Error) > 0) {
                // cups-pdf writes the file in place: done once pdfinfo reads it whole.
                if (RunProgram({"pdfinfo", Entry.path().string()}).ExitCode == 0)
                    return Entry.path().string();
            }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
}

} // namespace

TEST(CupsQueuePrintTest, TheSheetPrintedThroughTheQueueKeepsItsSize) {
    const std::string Queue = Environment("TRAYVANE_CUPS_QUEUE");
    const std::string Output = Environment("TRAYVANE_CUPS_OUTPUT");
    ASSERT_FALSE(Queue.empty()) << "run by CupsQueuePrintTest.sh, which starts the queue";
    RegisterJpegPictures();

    TTempFolder Folder;
    TRegistryFileStore Settings(Folder.File("Trayvane.reg"));
    const std::string Placeholder = Folder.File("DropHere.jpg");
    const std::string Cover = Folder.File("cover.jpg");
    WriteFileBytes(Placeholder,
                   EncodeJpeg(FlatImage(80, 30, {200, 200, 220}), TFixtureColor::YCbCr));
    WriteFileBytes(Cover, EncodeJpeg(NoiseImage(900, 420, 3, 5), TFixtureColor::YCbCr));
    TMainForm Form(Settings, Folder.File("trayvane.log"), Placeholder);
    Form.show();
    QApplication::processEvents();
    Form.LoadInputImage(Cover);

    bool Chosen = false;
    AnswerPrintDialogs(QString::fromStdString(Queue), Chosen);
    Form.PrintButton().OnClick();
    EXPECT_TRUE(Chosen) << "the queue was not offered in the print dialog";
    EXPECT_EQ(ReadWholeFile(Folder.File("trayvane.log")), "<missing>") << "nothing was logged";

    const std::string Pdf = WaitForPdf(Output, 40);
    ASSERT_FALSE(Pdf.empty()) << "the queue wrote no PDF into " << Output;
    const TRender Page = RenderPdf(Folder, Pdf, 300, true);
    const double Middle = Page.Mm(Page.Width) / 2, Centre = Page.Mm(Page.Height) / 2;
    const TMeasuredPiece Card = MeasurePiece(Page, Middle, Centre);
    std::cout << "The queue printed the card at " << Card.Width() << " x " << Card.Height()
              << " mm on a page of " << Page.Mm(Page.Width) << " x " << Page.Mm(Page.Height)
              << " mm\n";
    EXPECT_NEAR(Card.Width(), 151.0, 0.3) << "printed at " << 100 * Card.Width() / 151 << " %";
    EXPECT_NEAR(Card.Height(), 117.5, 0.3);
    // The job itself asked for no scaling: what the queue's first filter was told.
    const std::string Log = ReadWholeFile(Environment("TRAYVANE_CUPS_LOG"));
    // Its line reads: pdftopdf: \"print-scaling\" IPP attribute: none
    const std::string Said = "print-scaling\\\" IPP attribute: ";
    const std::size_t At = Log.find(Said);
    ASSERT_NE(At, std::string::npos) << "the scheduler's log does not say how the job scales";
    EXPECT_EQ(Log.substr(At + Said.size(), Log.find('\n', At) - At - Said.size()), "none");
}
