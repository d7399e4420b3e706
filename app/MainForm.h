#pragma once

// TMainForm: the program's one window. Its components come from resources/MainForm.ui (the ribbon
// with the File, Format, Spine size and Info toolbars, the input view, the splitter and the
// output view); the non-visual ones (drop target, open and save dialogs, application events) are
// its members. The window holds no working state of its own: the input picture and the inlay
// are the bitmaps of the two views, the layout is which layout button is down, the spine setting
// is the slider's position.
//
// Every handler runs as a handler entry point (RunHandler): what it cannot handle goes to the
// application's error dispatch, which appends it to the exception log and shows nothing.

#include "app/ApplicationEvents.h"
#include "app/DropFileTarget.h"
#include "app/ExceptionLog.h"
#include "app/FileDialog.h"
#include "app/settings/RegistryStore.h"

#include "ui_MainForm.h"

#include <QShortcut>
#include <QSize>
#include <QWidget>

#include <exception>
#include <memory>
#include <optional>
#include <string>

class QPrinter;

// The maker's home page, opened by the Homepage button.
inline constexpr const char* HomePageAddress = "https://www.brenlow.example/trayvane";

// The placeholder picture in the executable's folder, shown until the first picture is loaded.
inline constexpr const char* PlaceholderFileName = "DropHere.jpg";

class TMainForm : public QWidget, private Ui::MainForm {
    Q_OBJECT

public:
    // Creates the window and its components, then runs FormCreate. Settings keeps the window's
    // placement, LogPath is the exception log and PlaceholderPath the picture shown at first
    // (DropHere.jpg beside the executable, in the program).
    TMainForm(TRegistryStore& Settings, std::string LogPath, std::string PlaceholderPath,
              QWidget* Parent = nullptr);
    // Runs FormDestroy while every component still exists.
    ~TMainForm() override;

    // Loads the JPEG file FileName into the input view, chooses the layout from the picture's
    // proportions and recomposes. A failure leaves picture, layout and inlay as they were.
    void LoadInputImage(const std::string& FileName);
    // Recomposes the inlay from the input picture, the layout buttons and the slider.
    void BuildOutput();

    // The components, for the program's tests.
    TImgView32& InputView() const { return *InputImgView; }
    TImgView32& OutputView() const { return *OutputImgView; }
    TAdvGlowButton& BackButton() const { return *FormatBackButton; }
    TAdvGlowButton& BackFrontButton() const { return *FormatBackFrontButton; }
    TAdvSmoothTrackBar& SpineTrackBar() const { return *SpineSizeTrackBar; }
    TAdvGlowButton& OpenButton() const { return *FileOpenButton; }
    TAdvGlowButton& SaveButton() const { return *FileSaveButton; }
    TAdvGlowButton& PrintButton() const { return *FilePrintButton; }
    TAdvGlowButton& HomeButton() const { return *InfoHomeButton; }
    TSplitter& Splitter() const { return *Splitter1; }
    TDropFileTarget& DropTarget() { return DropFileTarget1; }
    TFileDialog& OpenFileDialog() { return OpenDialog; }
    TFileDialog& SaveFileDialog() { return SaveDialog; }

    // The handlers, connected to their controls by ConnectHandlers.
    void FileOpenButtonClick();
    void FileSaveButtonClick();
    // Print and Ctrl+P: a print preview of the inlay's print sheet, whose Print action opens the
    // print dialog (app/MainFormPrint.cpp).
    void FilePrintButtonClick();
    void FormatBackButtonClick();
    void FormatBackFrontButtonClick();
    void SpineSizeTrackBarPositionChanged(double Position);
    void InfoHomeButtonClick();

    // Draws the print sheet of the inlay on Printer, laid out for its paper. Throws Exception "No
    // image to print" while there is no inlay.
    void PrintSheet(QPrinter& Printer);
    // The printer the window prints with, made at the first print and kept for the next ones.
    QPrinter& SheetPrinter();

public:
    void DropFileTarget1Drop(QObject* Sender, const TShiftState& ShiftState, const QPoint& APoint,
                             int& Effect);
    void ApplicationEvents1Exception(QObject* Sender, const std::exception& E);

protected:
    void showEvent(QShowEvent* Event) override;
    bool event(QEvent* Event) override;

private:
    void ConnectHandlers();
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void ApplyPendingOuterSize();

    TApplicationEvents ApplicationEvents1;
    TDropFileTarget DropFileTarget1;
    TFileDialog OpenDialog;
    TFileDialog SaveDialog;
    TRegistryStore& FSettings;
    TExceptionLog FExceptionLog;
    std::string FPlaceholderPath;
    // The stored outer size, applied again once the window manager has put a frame around the
    // window (until then the frame's size is not known).
    std::optional<QSize> FPendingOuterSize;
    // The file the input view shows, named in the caption of a printed sheet.
    std::string FInputFileName;
    std::unique_ptr<QPrinter> FPrinter;
    // Last: making it tells the window of a new child, and event() reads the members above.
    QShortcut FilePrintShortcut{QKeySequence::Print, this};
};
