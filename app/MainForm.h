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
#include "app/WidgetPlacement.h"
#include "app/settings/RegistryStore.h"
#include "base/FileIdentity.h"

#include "ui_MainForm.h"

#include <QWidget>

#include <exception>
#include <optional>
#include <string>

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
    // Saves the inlay as a JPEG of the tray card's quality and density. Throws Exception "The
    // inlay cannot be saved over the picture it was made from" when FileName names the file the
    // input picture was loaded from (by any name: a link, another path), which then stays as it
    // is; otherwise what SaveJpegFile throws.
    void SaveInlay(const std::string& FileName);

    // The components, for the program's tests.
    TImgView32& InputView() const { return *InputImgView; }
    TImgView32& OutputView() const { return *OutputImgView; }
    TAdvGlowButton& BackButton() const { return *FormatBackButton; }
    TAdvGlowButton& BackFrontButton() const { return *FormatBackFrontButton; }
    TAdvSmoothTrackBar& SpineTrackBar() const { return *SpineSizeTrackBar; }
    TAdvGlowButton& OpenButton() const { return *FileOpenButton; }
    TAdvGlowButton& SaveButton() const { return *FileSaveButton; }
    TAdvGlowButton& HomeButton() const { return *InfoHomeButton; }
    TSplitter& Splitter() const { return *Splitter1; }
    TDropFileTarget& DropTarget() { return DropFileTarget1; }
    TFileDialog& OpenFileDialog() { return OpenDialog; }
    TFileDialog& SaveFileDialog() { return SaveDialog; }

    // The handlers, connected to their controls by ConnectHandlers.
    void FileOpenButtonClick();
    void FileSaveButtonClick();
    void FormatBackButtonClick();
    void FormatBackFrontButtonClick();
    void SpineSizeTrackBarPositionChanged(double Position);
    void InfoHomeButtonClick();

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

    TWidgetPlacement FPlacement;
    TApplicationEvents ApplicationEvents1;
    TDropFileTarget DropFileTarget1;
    TFileDialog OpenDialog;
    TFileDialog SaveDialog;
    TRegistryStore& FSettings;
    TExceptionLog FExceptionLog;
    std::string FPlaceholderPath;
    // The file the input picture was loaded from (the placeholder at first): the inlay is never
    // saved over it.
    std::optional<TFileIdentity> FInputFile;
};
