// The main window in-process, on Qt's offscreen platform: program start, loading pictures and
// choosing the layout, recomposing on every layout click and slider change, the placeholder
// picture, the open and save dialogs, drops on the input view, the error log and the window's
// placement.

#include "tests/app/MainFormTestSupport.h"

#include "app/WidgetPlacement.h"
#include "app/settings/RegistryFile.h"
#include "base/ErrorReporter.h"
#include "composer/TrayCard.h"
#include "composer/TrayInlay.h"
#include "jpeg_bridge/JPEGImage.h"
#include "jpeg_bridge/JpegFile.h"
#include "tests/support/BitmapTestSupport.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "tests/support/TestNames.h"
#include <gmock/gmock.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

using testing::HasSubstr;

namespace {

namespace fs = std::filesystem;

std::string Hex8(int Value) {
    char Text[9];
    std::snprintf(Text, sizeof Text, "%08x", static_cast<unsigned>(Value));
    return Text;
}

std::string BoundsText(const TWindowBounds& B) {
    return "(" + std::to_string(B.Left) + ", " + std::to_string(B.Top) + ", " +
           std::to_string(B.Width) + " x " + std::to_string(B.Height) + ")";
}

// Qt's offscreen platform moves a framed window right by its frame's width when it shows it;
// real platforms keep the position they are given. Everything else must come back exactly.
void ExpectSameBounds(const TWindowBounds& Actual, const TWindowBounds& Expected) {
    const int Shift = QGuiApplication::platformName() == QStringLiteral("offscreen") ? 2 : 0;
    EXPECT_TRUE(Actual.Left >= Expected.Left && Actual.Left <= Expected.Left + Shift &&
                Actual.Top == Expected.Top && Actual.Width == Expected.Width &&
                Actual.Height == Expected.Height)
        << BoundsText(Actual) << " instead of " << BoundsText(Expected);
}

// The inlay the window must show for its input picture and controls.
void ExpectOutputComposedFrom(const TMainForm& Form, bool BackAndFront, double Position) {
    TBitmap32 Expected;
    ComposeTrayInlay(Form.InputView().Bitmap(), BackAndFront, Position, Expected);
    EXPECT_TRUE(SameBitmaps(Form.OutputView().Bitmap(), Expected))
        << "output " << Form.OutputView().Bitmap().Width() << " x "
        << Form.OutputView().Bitmap().Height() << ", expected " << Expected.Width() << " x "
        << Expected.Height();
}

void CancelNextFileDialog() {
    QTimer::singleShot(0, [] {
        if (auto* const Dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
            Dialog->reject();
    });
}

class MainFormTest : public MainFormFixture {};

} // namespace

TEST_F(MainFormTest, StartShowsThePlaceholderOnThePaleBackgroundAndComposesNothing) {
    const auto Form = MakeForm();
    EXPECT_EQ(Form->windowTitle(), "Trayvane by Brenlow");
    // The offscreen screen (800 x 800, frames 2 pixels wide) is narrower than the designed
    // window: its width fits the screen, the designed height stays.
    EXPECT_EQ(Form->size(), QSize(796, 699));
    EXPECT_EQ(Form->InputView().height(), 276);
    EXPECT_EQ(Form->OutputView().height(), 303);
    EXPECT_EQ(Form->Status().geometry(), QRect(0, 679, 796, StatusLineHeight));
    EXPECT_EQ(Form->InputView().Bitmap().Width(), 80);
    EXPECT_EQ(Form->InputView().Bitmap().Height(), 30);
    EXPECT_EQ(Form->InputView().Color(), 15656932);
    EXPECT_EQ(Form->OutputView().Color(), 15656932);
    EXPECT_TRUE(Form->OutputView().Bitmap().IsEmpty());
    EXPECT_FALSE(Form->BackButton().Down());
    EXPECT_FALSE(Form->BackFrontButton().Down());
    EXPECT_EQ(Form->SpineTrackBar().Position(), 0.0);
    EXPECT_EQ(Log(), "");
}

TEST_F(MainFormTest, MissingPlaceholderLeavesTheInputEmptyAndLogsOneRecord) {
    fs::remove(Placeholder);
    const auto Form = MakeForm();
    EXPECT_TRUE(Form->InputView().Bitmap().IsEmpty());
    EXPECT_EQ(Form->InputView().Color(), 15656932);
    EXPECT_EQ(Form->OutputView().Color(), clBtnFace); // the rest of FormShow was skipped
    EXPECT_EQ(LogRecords(), 1);
    EXPECT_THAT(Log(), HasSubstr("Exception = EFOpenError\r\n"));
    EXPECT_THAT(Log(), HasSubstr("ActiveForm = "));
}

TEST_F(MainFormTest, LayoutClickBeforeAnyLoadComposesThePlaceholder) {
    const auto Form = MakeForm();
    QTest::mouseClick(&Form->BackFrontButton(), Qt::LeftButton);
    EXPECT_TRUE(Form->BackFrontButton().Down());
    ExpectOutputComposedFrom(*Form, true, 0);
    QTest::mouseClick(&Form->BackButton(), Qt::LeftButton);
    EXPECT_FALSE(Form->BackFrontButton().Down());
    ExpectOutputComposedFrom(*Form, false, 0);
}

TEST_F(MainFormTest, SliderChangeBeforeAnyLoadComposesInTheBackLayout) {
    const auto Form = MakeForm();
    Form->SpineTrackBar().setFocus();
    QTest::keyClick(&Form->SpineTrackBar(), Qt::Key_End);
    EXPECT_EQ(Form->SpineTrackBar().Position(), 20.0);
    ExpectOutputComposedFrom(*Form, false, 20);
}

struct TLayoutCase {
    int Width, Height;
    bool BackAndFront;
};

class LoadInputImageTest : public MainFormTest, public testing::WithParamInterface<TLayoutCase> {};

TEST_P(LoadInputImageTest, ChoosesTheLayoutFromTheProportionsAndComposes) {
    const auto [Width, Height, BackAndFront] = GetParam();
    const fs::path Cover = Folder.Path() / "cover.jpg";
    WriteTestJpeg(Cover, Width, Height);
    const auto Form = MakeForm();
    Form->SpineTrackBar().setPosition(-15);

    Form->LoadInputImage(Cover.string());

    EXPECT_EQ(Form->InputView().Bitmap().Width(), Width);
    EXPECT_EQ(Form->InputView().Bitmap().Height(), Height);
    EXPECT_EQ(Form->BackFrontButton().Down(), BackAndFront) << Width << " x " << Height;
    EXPECT_EQ(Form->BackButton().Down(), !BackAndFront) << Width << " x " << Height;
    EXPECT_EQ(Form->SpineTrackBar().Position(), -15.0); // the spine carries over
    ExpectOutputComposedFrom(*Form, BackAndFront, -15);
}

INSTANTIATE_TEST_SUITE_P(Proportions, LoadInputImageTest,
                         testing::Values(TLayoutCase{151, 100, true}, TLayoutCase{150, 100, false},
                                         TLayoutCase{1500, 1000, false},
                                         TLayoutCase{1501, 1000, true}, TLayoutCase{5, 3, true},
                                         TLayoutCase{4, 3, false}, TLayoutCase{1, 1, false}),
                         [](const auto& Info) {
                             return TestNameOf(Info.param.Width, "x", Info.param.Height);
                         });

TEST_F(MainFormTest, AFailedLoadChangesNothing) {
    const fs::path Cover = Folder.Path() / "cover.jpg";
    WriteTestJpeg(Cover, 300, 100);
    const auto Form = MakeForm();
    Form->LoadInputImage(Cover.string());
    TBitmap32 InputBefore;
    InputBefore.CopyFrom(&Form->InputView().Bitmap());
    TBitmap32 OutputBefore;
    OutputBefore.CopyFrom(&Form->OutputView().Bitmap());

    const fs::path Damaged = Folder.Path() / "damaged.jpg";
    std::ofstream(Damaged, std::ios::binary) << "no JPEG at all";
    EXPECT_THROW(Form->LoadInputImage(Damaged.string()), EIJLError);

    EXPECT_TRUE(SameBitmaps(Form->InputView().Bitmap(), InputBefore));
    EXPECT_TRUE(SameBitmaps(Form->OutputView().Bitmap(), OutputBefore));
    EXPECT_TRUE(Form->BackFrontButton().Down());
}

TEST_F(MainFormTest, OpenDialogLoadsTheChosenFileAndKeepsItsName) {
    const fs::path Cover = Folder.Path() / "cover.jpg";
    WriteTestJpeg(Cover, 400, 120);
    const auto Form = MakeForm();
    AnswerNextFileDialogWith(Cover.string());
    QTest::mouseClick(&Form->OpenButton(), Qt::LeftButton);
    EXPECT_EQ(Form->InputView().Bitmap().Width(), 400);
    EXPECT_TRUE(Form->BackFrontButton().Down());
    EXPECT_EQ(Form->OpenFileDialog().FileName(), Cover.string());

    CancelNextFileDialog();
    QTest::mouseClick(&Form->OpenButton(), Qt::LeftButton);
    EXPECT_EQ(Form->InputView().Bitmap().Width(), 400);
    EXPECT_EQ(Log(), "");
}

TEST_F(MainFormTest, OpeningADamagedFileLogsOneCodecRecordAndShowsNothing) {
    const fs::path Damaged = Folder.Path() / "damaged.jpg";
    std::ofstream(Damaged, std::ios::binary) << "\xFF\xD8 truncated";
    const auto Form = MakeForm();
    AnswerNextFileDialogWith(Damaged.string());
    QTest::mouseClick(&Form->OpenButton(), Qt::LeftButton);
    EXPECT_EQ(LogRecords(), 1);
    EXPECT_THAT(Log(), HasSubstr("\r\nException = EIJLError\r\n"));
    EXPECT_THAT(Log(), HasSubstr(Damaged.string()));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// Right after a modal dialog no window is active: the record names the window whose handler
// raised the error, and its focused control, instead of "(none)".
TEST_F(MainFormTest, AnErrorAfterADialogNamesTheMainWindowAndItsControl) {
    const auto Form = MakeForm();
    Form->SpineTrackBar().setFocus();
    AnswerNextFileDialogWith((Folder.Path() / "inlay.jpg").string());
    QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);
    EXPECT_EQ(LogRecords(), 1);
    EXPECT_THAT(Log(), HasSubstr(" : No image to save\r\nException = Exception\r\n"
                                 "ActiveForm = MainForm\r\nActiveControl = SpineSizeTrackBar\r\n"));
}

TEST_F(MainFormTest, SaveWritesTheInlayAndATypedNameGetsTheDefaultExtension) {
    const fs::path Cover = Folder.Path() / "cover.jpg";
    WriteTestJpeg(Cover, 600, 300);
    const auto Form = MakeForm();
    Form->LoadInputImage(Cover.string());

    AnswerNextFileDialogWith((Folder.Path() / "inlay").string());
    QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);

    const fs::path Saved = Folder.Path() / "inlay.JPG";
    ASSERT_TRUE(fs::exists(Saved)) << Log();
    const TDecodedJpeg Inlay = DecodeJpeg(ReadFileBytes(Saved.string()));
    ASSERT_TRUE(Inlay.Ok);
    EXPECT_EQ(Inlay.Width, Form->OutputView().Bitmap().Width());
    EXPECT_EQ(Inlay.Height, Form->OutputView().Bitmap().Height());
    EXPECT_EQ(Inlay.DensityUnit, 1) << "dots per inch";
    EXPECT_EQ(Inlay.XDensity, TrayCardDensity(Inlay.Width).RoundedDotsPerInch());
    EXPECT_EQ(Log(), "");
}

TEST_F(MainFormTest, TheSaveDialogKeepsANameInAMissingFolderOpen) {
    const fs::path Cover = Folder.Path() / "cover.jpg";
    WriteTestJpeg(Cover, 600, 300);
    const auto Form = MakeForm();
    Form->LoadInputImage(Cover.string());

    const QString Missing = QString::fromStdString((Folder.Path() / "missing" / "inlay").string());
    bool StayedOpen = false;
    QTimer::singleShot(0, [&] {
        auto* const Dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(Dialog, nullptr) << "no file dialog is open";
        Dialog->selectFile(Missing);
        QMetaObject::invokeMethod(Dialog, "accept");
        StayedOpen = Dialog->isVisible();
        QMetaObject::invokeMethod(Dialog, "reject");
    });
    QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);

    EXPECT_TRUE(StayedOpen);
    EXPECT_FALSE(fs::exists(Folder.Path() / "missing"));
    EXPECT_EQ(Log(), "");
}

TEST_F(MainFormTest, SavingBeforeAnyCompositionLogsAndWritesNoFile) {
    const auto Form = MakeForm();
    AnswerNextFileDialogWith((Folder.Path() / "inlay.jpg").string());
    QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);
    EXPECT_FALSE(fs::exists(Folder.Path() / "inlay.jpg"));
    EXPECT_EQ(LogRecords(), 1);
    EXPECT_THAT(Log(), HasSubstr(" : No image to save\r\nException = Exception\r\n"));
}

// The save dialog asks before no overwrite: the picture the inlay was made from is protected by
// the window itself, under every name it has.
TEST_F(MainFormTest, TheInlayIsNeverSavedOverThePictureItWasMadeFrom) {
    const fs::path Cover = Folder.Path() / "cover.jpg";
    WriteTestJpeg(Cover, 600, 300);
    fs::create_hard_link(Cover, Folder.Path() / "hard.jpg");
    fs::create_symlink("cover.jpg", Folder.Path() / "soft.jpg");
    fs::create_directory(Folder.Path() / "sub");
    const std::string Scanned = ReadWholeFile(Cover);
    const auto Form = MakeForm();
    Form->LoadInputImage(Cover.string());

    const std::string Names[] = {Cover.string(), (Folder.Path() / "hard.jpg").string(),
                                 (Folder.Path() / "soft.jpg").string(),
                                 (Folder.Path() / "sub" / ".." / "cover.jpg").string()};
    for (const std::string& Name : Names) {
        SCOPED_TRACE(Name);
        AnswerNextFileDialogWith(Name);
        QTest::mouseClick(&Form->SaveButton(), Qt::LeftButton);
        EXPECT_EQ(ReadWholeFile(Cover), Scanned) << "the scan was replaced";
    }
    EXPECT_EQ(LogRecords(), 4);
    EXPECT_THAT(Log(), HasSubstr(" : The inlay cannot be saved over the picture it was made "
                                 "from\r\nException = Exception\r\n"));
    EXPECT_TRUE(fs::is_symlink(Folder.Path() / "soft.jpg"));

    // Anywhere else it is saved; so is the first scan once another one is shown.
    Form->SaveInlay((Folder.Path() / "inlay.jpg").string());
    EXPECT_TRUE(DecodeJpeg(ReadFileBytes((Folder.Path() / "inlay.jpg").string())).Ok);
    const fs::path Other = Folder.Path() / "other.jpg";
    WriteTestJpeg(Other, 300, 300);
    Form->LoadInputImage(Other.string());
    Form->SaveInlay(Cover.string());
    EXPECT_NE(ReadWholeFile(Cover), Scanned);
    EXPECT_THROW(Form->SaveInlay(Other.string()), Exception);
}

TEST_F(MainFormTest, ThePlaceholderIsNeverSavedOverEither) {
    const std::string Shown = ReadWholeFile(Placeholder);
    const auto Form = MakeForm();
    QTest::mouseClick(&Form->BackButton(), Qt::LeftButton);
    ASSERT_FALSE(Form->OutputView().Bitmap().IsEmpty());
    EXPECT_THROW(Form->SaveInlay(Placeholder), Exception);
    EXPECT_EQ(ReadWholeFile(Placeholder), Shown);
}

namespace {

// Delivers a drop of Files on Target in-process, as the platform's drag and drop would.
Qt::DropAction DropFiles(QWidget& Target, const std::vector<fs::path>& Files,
                         Qt::KeyboardModifiers Keys = Qt::NoModifier) {
    QMimeData Data;
    QList<QUrl> Urls;
    for (const fs::path& File : Files)
        Urls.append(QUrl::fromLocalFile(QString::fromStdString(File.string())));
    Data.setUrls(Urls);
    const QPointF Point(10, 10);
    const Qt::DropActions Offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent Enter(Point.toPoint(), Offered, &Data, Qt::LeftButton, Keys);
    QApplication::sendEvent(&Target, &Enter);
    if (!Enter.isAccepted())
        return Qt::IgnoreAction;
    QDropEvent Drop(Point, Offered, &Data, Qt::LeftButton, Keys);
    QApplication::sendEvent(&Target, &Drop);
    return Drop.isAccepted() ? Drop.dropAction() : Qt::IgnoreAction;
}

} // namespace

TEST_F(MainFormTest, DroppedFilesLoadTheFirstJpegOnly) {
    const fs::path Text = Folder.Path() / "notes.txt";
    std::ofstream(Text) << "not a picture";
    const fs::path First = Folder.Path() / "cover.JPG";
    const fs::path Second = Folder.Path() / "back.jpeg";
    WriteTestJpeg(First, 300, 100);
    WriteTestJpeg(Second, 100, 100);
    const auto Form = MakeForm();

    // No keys want a move, which the input view does not take: the drop becomes a copy.
    EXPECT_EQ(DropFiles(Form->InputView(), {Text, First, Second}), Qt::CopyAction);
    EXPECT_EQ(Form->InputView().Bitmap().Width(), 300);
    EXPECT_TRUE(Form->BackFrontButton().Down());
    ExpectOutputComposedFrom(*Form, true, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainFormTest, DropEffectFollowsTheKeys) {
    const fs::path Cover = Folder.Path() / "cover.jpg";
    WriteTestJpeg(Cover, 300, 100);
    const auto Form = MakeForm();
    EXPECT_EQ(DropFiles(Form->InputView(), {Cover}, Qt::ShiftModifier), Qt::CopyAction);
    EXPECT_EQ(DropFiles(Form->InputView(), {Cover}, Qt::ControlModifier | Qt::ShiftModifier),
              Qt::LinkAction);
}

TEST_F(MainFormTest, ADroppedDamagedJpegChangesNothingAndLogsNothing) {
    const auto Form = MakeForm();
    QTest::mouseClick(&Form->BackButton(), Qt::LeftButton);
    TBitmap32 OutputBefore;
    OutputBefore.CopyFrom(&Form->OutputView().Bitmap());

    const fs::path Damaged = Folder.Path() / "damaged.jpg";
    std::ofstream(Damaged, std::ios::binary) << "\xFF\xD8\xFF\xE0 broken";
    DropFiles(Form->InputView(), {Damaged});

    EXPECT_EQ(Form->InputView().Bitmap().Width(), 80); // still the placeholder
    EXPECT_TRUE(Form->BackButton().Down());
    EXPECT_TRUE(SameBitmaps(Form->OutputView().Bitmap(), OutputBefore));
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainFormTest, DropsOnTheOutputViewAreRefused) {
    const fs::path Cover = Folder.Path() / "cover.jpg";
    WriteTestJpeg(Cover, 300, 100);
    const auto Form = MakeForm();
    EXPECT_EQ(DropFiles(Form->OutputView(), {Cover}), Qt::IgnoreAction);
    EXPECT_EQ(Form->InputView().Bitmap().Width(), 80);
}

TEST_F(MainFormTest, DataWithoutFilesIsRefused) {
    const auto Form = MakeForm();
    QMimeData Data;
    Data.setText(QStringLiteral("cover.jpg"));
    QDragEnterEvent Enter(QPoint(5, 5), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Form->InputView(), &Enter);
    EXPECT_FALSE(Enter.isAccepted());
}

// The window reopens with the outer bounds (frame included) it had when it was closed. Qt's
// offscreen platform puts a 2-pixel frame around windows, so the frame is part of the test.
TEST_F(MainFormTest, PlacementIsStoredAtCloseAndRestoredAtTheNextStart) {
    TWindowBounds Closed;
    {
        const auto Form = MakeForm();
        Form->setGeometry(40, 25, 700, 500);
        QApplication::processEvents();
        Closed = RestoredFrameBounds(*Form);
    }
    EXPECT_THAT(ReadWholeFile(Folder.Path() / "Trayvane.reg"),
                HasSubstr("\"Width\"=dword:" + Hex8(Closed.Width)));
    const auto Form = MakeForm();
    QApplication::processEvents();
    ExpectSameBounds(RestoredFrameBounds(*Form), Closed);
}

TEST_F(MainFormTest, AMaximisedWindowStoresItsNormalBounds) {
    TWindowBounds Normal;
    {
        const auto Form = MakeForm();
        Form->setGeometry(50, 60, 640, 480);
        QApplication::processEvents();
        Normal = RestoredFrameBounds(*Form);
        Form->showMaximized();
        QApplication::processEvents();
        ASSERT_TRUE(Form->isMaximized());
        ASSERT_NE(Form->frameGeometry().width(), Normal.Width);
    }
    const auto Form = MakeForm();
    QApplication::processEvents();
    EXPECT_FALSE(Form->isMaximized());
    ExpectSameBounds(RestoredFrameBounds(*Form), Normal);
}

namespace {

struct TStoredPlacementCase {
    const char* Name;
    const char* Values; // lines of the settings file
    // The outer bounds expected on the offscreen platform's screen of 800 x 800, whose frames
    // are 2 pixels wide: the designed window is 1270 x 703 outside, the smallest 404 x 304.
    TWindowBounds Expected;
};

void PrintTo(const TStoredPlacementCase& Case, std::ostream* Out) {
    *Out << Case.Name;
}

class StoredPlacementTest : public MainFormTest,
                            public testing::WithParamInterface<TStoredPlacementCase> {};

} // namespace

// What the settings hold is made to fit the screen before the window takes it; partial values
// keep the designed figures for the rest.
TEST_P(StoredPlacementTest, TheWindowComesBackVisibleAndUsable) {
    const TStoredPlacementCase& C = GetParam();
    std::ofstream(Folder.Path() / "Trayvane.reg")
        << "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_CURRENT_USER\\Software\\Brenlow\\Trayvane]\n"
        << C.Values;
    ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 800, 800))
        << "the expected bounds are those of another screen";
    const auto Form = MakeForm();
    QApplication::processEvents();
    const QMargins Frame = FrameMargins(*Form);
    const TWindowBounds Bounds = RestoredFrameBounds(*Form);
    ExpectSameBounds(Bounds, C.Expected);
    EXPECT_GE(Form->width(), 400);
    EXPECT_GE(Form->height(), 300);
    EXPECT_FALSE(Frame.isNull()) << "no frame: the test sees nothing of the frame's part";
    EXPECT_EQ(Log(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredPlacementTest,
    testing::Values(
        TStoredPlacementCase{"Within",
                             "\"Width\"=dword:000002bc\n\"Height\"=dword:000001f4\n"
                             "\"Left\"=dword:0000000a\n\"Top\"=dword:00000014\n",
                             {10, 20, 700, 500}},
        TStoredPlacementCase{"ZeroByZero",
                             "\"Width\"=dword:00000000\n\"Height\"=dword:00000000\n",
                             {0, 48, 800, 703}},
        TStoredPlacementCase{
            "Huge", "\"Width\"=dword:7fffffff\n\"Height\"=dword:000186a0\n", {0, 0, 800, 800}},
        TStoredPlacementCase{"Tiny",
                             "\"Width\"=dword:00000005\n\"Height\"=dword:00000005\n"
                             "\"Left\"=dword:00000064\n\"Top\"=dword:00000064\n",
                             {100, 100, 404, 304}},
        TStoredPlacementCase{"OffScreen",
                             "\"Width\"=dword:000002bc\n\"Height\"=dword:000001f4\n"
                             "\"Left\"=dword:ffffec78\n\"Top\"=dword:00001388\n",
                             {0, 300, 700, 500}},
        TStoredPlacementCase{"HeightAndPositionOnly",
                             "\"Height\"=dword:000001f4\n\"Left\"=dword:00000000\n"
                             "\"Top\"=dword:00000000\n",
                             {0, 0, 800, 500}},
        TStoredPlacementCase{"WidthOnly", "\"Width\"=dword:000002bc\n", {0, 0, 700, 703}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(MainFormTest, AStoredStringWidthIsLoggedAndRewritten) {
    std::ofstream(Folder.Path() / "Trayvane.reg")
        << "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_CURRENT_USER\\Software\\Brenlow\\Trayvane]\n\"Width\"=\"wide\"\n"
           "\"Left\"=dword:00000010\n";
    TRegistryFileStore Damaged((Folder.Path() / "Trayvane.reg").string());
    {
        TMainForm Form(Damaged, LogPath, Placeholder);
        // Nothing read: the designed window, as wide as the 800 pixels of the screen allow.
        EXPECT_EQ(Form.size(), QSize(800, 699));
        EXPECT_EQ(Form.pos(), QPoint(0, 0)); // the error ended the restore before Left
    }
    EXPECT_EQ(LogRecords(), 1);
    EXPECT_THAT(Log(), HasSubstr("Exception = ERegistryException\r\n"));
    EXPECT_THAT(ReadWholeFile(Folder.Path() / "Trayvane.reg"),
                HasSubstr("\"Width\"=dword:00000320"));
}

TEST_F(MainFormTest, SplitterDragSetsTheInputHeightWithinItsLimits) {
    const auto Form = MakeForm();
    TSplitter& Splitter = Form->Splitter();
    const QPoint Middle(Splitter.width() / 2, 1);
    const auto Drag = [&](int Dy, bool Cancel = false) {
        QTest::mousePress(&Splitter, Qt::LeftButton, Qt::NoModifier, Middle);
        QMouseEvent Move(QEvent::MouseMove, QPointF(Middle + QPoint(0, Dy)),
                         Splitter.mapToGlobal(QPointF(Middle + QPoint(0, Dy))), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&Splitter, &Move);
        if (Cancel)
            QTest::keyClick(&Splitter, Qt::Key_Escape);
        QTest::mouseRelease(&Splitter, Qt::LeftButton, Qt::NoModifier, Middle + QPoint(0, Dy));
        QApplication::processEvents();
        return Form->InputView().height();
    };
    EXPECT_EQ(Drag(-76), 200);
    EXPECT_EQ(Drag(+10000), 679 - 130); // the output view keeps 30 pixels
    EXPECT_EQ(Drag(-50, true), 679 - 130);
    EXPECT_EQ(Drag(-(679 - 130 - 31)), 31);
    EXPECT_EQ(Drag(-1), 0); // ending at 30 or less collapses the view
}

// The error dispatch: what a handler cannot handle is appended to the log, record after record,
// naming the active window and the focused control; EAbort stays silent.
TEST_F(MainFormTest, UnhandledErrorsAreLoggedInOrderAndEAbortIsSilent) {
    const auto Form = MakeForm();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    Form->SpineTrackBar().setFocus();

    ReportError(EAbort("Operation aborted"));
    EXPECT_EQ(Log(), "");

    ReportError(Exception("first"));
    ReportError(std::bad_alloc());
    const std::string Text = Log();
    const std::size_t First = Text.find(" : first\r\nException = Exception\r\n");
    const std::size_t Second = Text.find("\r\nException = std::bad_alloc\r\n");
    ASSERT_NE(First, std::string::npos) << Text;
    ASSERT_NE(Second, std::string::npos) << Text;
    EXPECT_LT(First, Second);
    EXPECT_EQ(LogRecords(), 2);
    EXPECT_THAT(Text,
                HasSubstr("\r\nActiveForm = MainForm\r\nActiveControl = SpineSizeTrackBar\r\n"));
}

namespace {

// Receives the addresses the program asks the desktop to open.
class TUrlCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> Opened;

public slots:
    void Open(const QUrl& Url) { Opened.append(Url); }
};

} // namespace

TEST(FileDialogFilterTest, EachLabelKeepsItsPatternsAndMatchesLowerCaseToo) {
    EXPECT_EQ(QtNameFilters("JPEG images|*.JPG|JPEG images|*.JPEG"),
              QStringList({"JPEG images (*.JPG *.jpg)", "JPEG images (*.JPEG *.jpeg)"}));
    EXPECT_EQ(QtNameFilters("Scans|*.jpg;*.JPEG"), QStringList({"Scans (*.jpg *.JPEG *.jpeg)"}));
    EXPECT_EQ(QtNameFilters(""), QStringList());
}

TEST_F(MainFormTest, HomepageButtonOpensTheMakersHomePage) {
    TUrlCatcher Catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &Catcher, "Open");
    const auto Form = MakeForm();
    QTest::mouseClick(&Form->HomeButton(), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(Catcher.Opened.size(), 1);
    EXPECT_EQ(Catcher.Opened.first(), QUrl(QStringLiteral("https://www.brenlow.example/trayvane")));
    EXPECT_EQ(Log(), "");
}

#include "MainFormTest.moc"
