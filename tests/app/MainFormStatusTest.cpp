// The window's status line in-process: what a person sees after a load, a save, an error that
// was logged and a drop that was ignored, and that the next action clears it; the save dialog's
// first proposal; a picture opened from the command line.

#include "tests/app/MainFormTestSupport.h"

#include "base/ErrorReporter.h"
#include "composer/TrayCard.h"

#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <gmock/gmock.h>

#include <fstream>
#include <iterator>

using testing::EndsWith;
using testing::StartsWith;

namespace {

class MainFormStatusTest : public MainFormFixture {
protected:
    std::string StatusText(const TMainForm& Form) const {
        return Form.Status().text().toStdString();
    }
    // The status line's sentence about a logged error ends by naming the log.
    std::string DetailsInLog() const { return ". Details in " + LogPath; }
    std::string InlayDpi(const TMainForm& Form) const {
        return std::to_string(
            TrayCardDensity(Form.OutputView().Bitmap().Width()).RoundedDotsPerInch());
    }
    std::string WriteDamaged(const std::string& Name) const {
        return Folder.WriteFile(Name, "\xFF\xD8 truncated");
    }
};

TEST_F(MainFormStatusTest, ALoadSaysNameSizeAndLayout) {
    const std::string Cover = Folder / "night-trains.jpg";
    WriteTestJpeg(Cover, 3000, 1000);
    const auto Form = MakeForm();
    EXPECT_EQ(StatusText(*Form), "") << "nothing happened yet";

    Form->LoadInputImage(Cover);

    EXPECT_EQ(StatusText(*Form), "night-trains.jpg, 3000 \u00D7 1000: back and front");
    EXPECT_FALSE(Form->Status().Warning());
}

TEST_F(MainFormStatusTest, ASmallPictureWarnsOfLowResolution) {
    const std::string Small = Folder / "small.jpg";
    WriteTestJpeg(Small, 600, 500);
    const auto Form = MakeForm();
    Form->LoadInputImage(Small);
    EXPECT_EQ(StatusText(*Form), "small.jpg, 600 \u00D7 500: back \u2014 Low resolution: " +
                                     InlayDpi(*Form) + " dpi at tray-card size");
    EXPECT_TRUE(Form->Status().Warning());
}

TEST_F(MainFormStatusTest, OpeningADamagedFileSaysWhyAndWhereTheLogIs) {
    const std::string Damaged = WriteDamaged("damaged.jpg");
    const auto Form = MakeForm();
    AnswerNextFileDialogWith(Damaged);
    QTest::mouseClick(&Form->OpenButton(), Qt::LeftButton);

    EXPECT_THAT(StatusText(*Form), StartsWith("Couldn't read damaged.jpg: The "));
    EXPECT_THAT(StatusText(*Form), EndsWith(DetailsInLog()));
    EXPECT_TRUE(Form->Status().Warning());
    EXPECT_EQ(LogRecords(), 1) << "the status line adds to the log";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no dialog";
}

// A file cut short that still ends in an end marker: libjpeg decodes it, its lower part grey. The
// window shows it as it always did, and says that it is damaged, in libjpeg's words.
TEST_F(MainFormStatusTest, APictureWithDamagedDataIsShownAndSaidToBeDamaged) {
    const std::string Cut = Folder / "cut.jpg";
    WriteTestJpeg(Cut, 3000, 1000);
    std::string Data;
    {
        std::ifstream In(Cut, std::ios::binary);
        Data.assign(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    }
    Data.resize(Data.size() * 3 / 5);
    Data += "\xFF\xD9";
    std::ofstream(Cut, std::ios::binary | std::ios::trunc) << Data;
    const auto Form = MakeForm();

    Form->LoadInputImage(Cut);

    EXPECT_EQ(Form->InputView().Bitmap().Width(), 3000);
    EXPECT_EQ(StatusText(*Form), "cut.jpg, 3000 \u00D7 1000: back and front \u2014 cut.jpg is "
                                 "damaged: premature end of data segment");
    EXPECT_TRUE(Form->Status().Warning());
    EXPECT_EQ(LogRecords(), 0) << "a picture that is shown is no error";
}

TEST_F(MainFormStatusTest, ASaveSaysWhereAndHowItPrints) {
    const std::string Cover = Folder / "cover.jpg";
    WriteTestJpeg(Cover, 3000, 1000);
    const auto Form = MakeForm();
    Form->LoadInputImage(Cover);
    AnswerNextFileDialogWith(Folder / "inlay");
    QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);

    EXPECT_EQ(StatusText(*Form),
              "Saved inlay.JPG: 151 \u00D7 117.5 mm at " + InlayDpi(*Form) + " dpi");
    EXPECT_FALSE(Form->Status().Warning());
    EXPECT_EQ(Log(), "");
}

TEST_F(MainFormStatusTest, SavingWithoutAPictureSaysSo) {
    const auto Form = MakeForm();
    AnswerNextFileDialogWith(Folder / "inlay.jpg");
    QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);
    EXPECT_EQ(StatusText(*Form), "Couldn't save inlay.jpg: No image to save" + DetailsInLog());
    EXPECT_TRUE(Form->Status().Warning());
    EXPECT_EQ(LogRecords(), 1);
}

TEST_F(MainFormStatusTest, AnyOtherErrorShowsItsMessageOnOneLine) {
    const auto Form = MakeForm();
    ReportError(Exception("Invalid data type\rfor 'Width'"));
    EXPECT_EQ(StatusText(*Form), "Invalid data type for 'Width'" + DetailsInLog());
    ReportError(EAbort("Operation aborted"));
    EXPECT_EQ(StatusText(*Form), "Invalid data type for 'Width'" + DetailsInLog())
        << "the silent error says nothing";
}

TEST_F(MainFormStatusTest, AMissingPlaceholderIsAPictureThatCouldNotBeRead) {
    std::filesystem::remove(Placeholder);
    const auto Form = MakeForm();
    EXPECT_THAT(StatusText(*Form), StartsWith("Couldn't read DropHere.jpg: "));
    EXPECT_THAT(StatusText(*Form), EndsWith(DetailsInLog()));
}

TEST_F(MainFormStatusTest, TheNextActionClearsTheLine) {
    const std::string Cover = Folder / "cover.jpg";
    WriteTestJpeg(Cover, 3000, 1000);
    const auto Form = MakeForm();
    Form->LoadInputImage(Cover);
    ReportError(Exception("something"));
    ASSERT_NE(StatusText(*Form), "");

    QTest::mouseClick(&Form->BackButton(), Qt::LeftButton);
    EXPECT_EQ(StatusText(*Form), "");

    ReportError(Exception("something"));
    Form->SpineTrackBar().setFocus();
    QTest::keyClick(&Form->SpineTrackBar(), Qt::Key_Right);
    EXPECT_EQ(StatusText(*Form), "");
}

// Delivers a drop of Files on the input view in-process, as the platform's drag and drop would.
void DropOnInputView(TMainForm& Form, const std::vector<std::string>& Files) {
    QMimeData Data;
    QList<QUrl> Urls;
    for (const std::string& File : Files)
        Urls.append(QUrl::fromLocalFile(QString::fromStdString(File)));
    Data.setUrls(Urls);
    QDragEnterEvent Enter(QPoint(10, 10), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Form.InputView(), &Enter);
    QDropEvent Drop(QPointF(10, 10), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Form.InputView(), &Drop);
}

TEST_F(MainFormStatusTest, AnIgnoredDropSaysWhyAndLogsNothing) {
    const std::string Notes = Folder.WriteFile("notes.txt", "not a picture");
    const std::string Damaged = WriteDamaged("damaged.jpg");
    const auto Form = MakeForm();

    DropOnInputView(*Form, {Notes});
    EXPECT_EQ(StatusText(*Form), "No picture among the dropped files");
    EXPECT_TRUE(Form->Status().Warning());

    DropOnInputView(*Form, {Notes, Damaged});
    EXPECT_THAT(StatusText(*Form), StartsWith("Couldn't read damaged.jpg: The "));
    EXPECT_EQ(StatusText(*Form).find("Details"), std::string::npos);
    EXPECT_EQ(Log(), "");

    const std::string Cover = Folder / "cover.jpg";
    WriteTestJpeg(Cover, 3000, 1000);
    DropOnInputView(*Form, {Cover});
    EXPECT_EQ(StatusText(*Form), "cover.jpg, 3000 \u00D7 1000: back and front");
}

TEST_F(MainFormStatusTest, TheFirstSaveProposesTheInputsNameThenKeepsTheChosenOne) {
    const std::string Cover = Folder / "night-trains.jpg";
    WriteTestJpeg(Cover, 3000, 1000);
    const auto Form = MakeForm();
    const auto ProposedBySave = [&] {
        QString Proposed;
        WithNextFileDialog([&](QFileDialog& Dialog) {
            Proposed = Dialog.selectedFiles().value(0);
            Dialog.reject();
        });
        QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);
        return Proposed.toStdString();
    };

    Form->LoadInputImage(Cover);
    EXPECT_EQ(ProposedBySave(), Folder / "night-trains-inlay.jpg");

    AnswerNextFileDialogWith(Folder / "chosen.jpg");
    QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);
    ASSERT_TRUE(std::filesystem::exists(Folder / "chosen.jpg")) << Log();
    Form->LoadInputImage(Cover);
    EXPECT_EQ(ProposedBySave(), Folder / "chosen.jpg");
}

TEST_F(MainFormStatusTest, NothingIsProposedBeforeAPictureWasOpened) {
    const auto Form = MakeForm();
    QString Typed = QStringLiteral("no name field");
    WithNextFileDialog([&](QFileDialog& Dialog) {
        if (auto* const Field = Dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            Typed = Field->text();
        Dialog.reject();
    });
    QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);
    EXPECT_EQ(Typed.toStdString(), "");
}

TEST_F(MainFormStatusTest, AFileFromTheCommandLineOpensAsFromTheDialog) {
    const std::string Cover = Folder / "cover.jpg";
    WriteTestJpeg(Cover, 3000, 1000);
    const auto Form = MakeForm();

    Form->OpenFile(Cover);
    EXPECT_EQ(Form->InputView().Bitmap().Width(), 3000);
    EXPECT_TRUE(Form->BackFrontButton().Down());
    EXPECT_EQ(Form->OpenFileDialog().FileName(), Cover) << "the open dialog starts there";
    EXPECT_EQ(StatusText(*Form), "cover.jpg, 3000 \u00D7 1000: back and front");

    const std::string Missing = Folder / "missing.jpg";
    Form->OpenFile(Missing);
    EXPECT_EQ(Form->InputView().Bitmap().Width(), 3000) << "a failure changes nothing";
    EXPECT_EQ(LogRecords(), 1);
    EXPECT_THAT(Log(), testing::HasSubstr(Missing));
    EXPECT_THAT(StatusText(*Form), StartsWith("Couldn't read missing.jpg: "));
}

} // namespace
