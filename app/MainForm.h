#pragma once

// TMainForm: the program's one window. Its components come from resources/MainForm.ui (the ribbon
// with the File, Format, Spine size and Info toolbars, the input view, the splitter, the output
// view and the status line); the non-visual ones (drop target, open and save dialogs, application
// events) are its members. The input picture and the inlay are the bitmaps of the two views, the
// layout is which layout button is down, the spine setting is the slider's position; the window's
// own working state is the cut the user moved or "Find spine" found (app/MainFormCut.cpp), which
// the input view shows as its cut lines, and the name of the picture last opened (for the save
// dialog's proposal).
//
// Every handler runs as a handler entry point (RunHandler): what it cannot handle goes to the
// application's error dispatch, which appends it to the exception log and says so in the status
// line; no message box is ever shown. The status line says what each action did and is cleared
// by the next one (app/MainFormStatus.cpp); keys, tooltips and accessible names are set in
// app/MainFormKeys.cpp.

#include "app/ApplicationEvents.h"
#include "app/DropFileTarget.h"
#include "app/ExceptionLog.h"
#include "app/FileActionScope.h"
#include "app/FileDialog.h"
#include "app/HelpWindow.h"
#include "app/InlayFileName.h"
#include "app/StatusText.h"
#include "app/WidgetPlacement.h"
#include "app/settings/PrintOptions.h"
#include "app/settings/RegistryStore.h"
#include "base/FileIdentity.h"
#include "composer/InlayLayout.h"
#include "composer/SpineCut.h"
#include "composer/TrayInlay.h"

#include "ui_MainForm.h"

#include <QKeySequence>
#include <QWidget>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QPrinter;
class TBitmap32;

// The keys of the scan's buttons: Ctrl+Shift+R, Ctrl+R and Ctrl+T.
QKeySequence RotateLeftKey();
QKeySequence RotateRightKey();
QKeySequence StraightenKey();

// The maker's home page, opened by the Homepage button.
inline constexpr const char* HomePageAddress = "https://www.brenlow.example/trayvane";

// The placeholder picture in the program's data folder (app/DataFile.h), shown until the first
// picture is loaded.
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

    // Loads the picture file FileName into the input view (PNG, TIFF and WebP files by their
    // extension, any other as a JPEG file turned upright by its orientation tag), returns to the
    // layout's own cut, chooses the layout from the picture's proportions, recomposes and says so
    // in the status line. A failure leaves picture, layout, cut and inlay as they were.
    void LoadInputImage(const std::string& FileName);
    // Opens FileName (a full path) as if it had been chosen in the open dialog: the program's
    // command line. An error goes to the error dispatch.
    void OpenFile(const std::string& FileName);
    // Recomposes the inlay from the input picture, the layout buttons, the slider and the cut
    // (the layout's own, or the explicit one made for this layout), and shows the cut in the
    // input view.
    void BuildOutput();
    // Saves the inlay as a JPEG of the tray card's quality and density (as a lossless PNG or
    // TIFF with that density when FileName ends in .png, .tif or .tiff). Throws Exception "The
    // inlay cannot be saved over the picture it was made from" when FileName names the file the
    // input picture was loaded from (by any name: a link, another path), which then stays as it
    // is; otherwise what the writer throws.
    void SaveInlay(const std::string& FileName);

    // The components, for the program's tests.
    TImgView32& InputView() const { return *InputImgView; }
    TImgView32& OutputView() const { return *OutputImgView; }
    TAdvGlowButton& BackButton() const { return *FormatBackButton; }
    TAdvGlowButton& BackFrontButton() const { return *FormatBackFrontButton; }
    TAdvGlowButton& TrayCardButton() const { return *FormatTrayCardButton; }
    TAdvGlowButton& FindSpineButton() const { return *FormatFindSpineButton; }
    TAdvSmoothTrackBar& SpineTrackBar() const { return *SpineSizeTrackBar; }
    TAdvGlowButton& OpenButton() const { return *FileOpenButton; }
    TAdvGlowButton& SaveButton() const { return *FileSaveButton; }
    TAdvGlowButton& PrintButton() const { return *FilePrintButton; }
    TAdvGlowButton& HomeButton() const { return *InfoHomeButton; }
    TAdvGlowButton& RotateLeftButton() const { return *ScanRotateLeftButton; }
    TAdvGlowButton& RotateRightButton() const { return *ScanRotateRightButton; }
    TAdvGlowButton& StraightenButton() const { return *ScanStraightenButton; }
    TSplitter& Splitter() const { return *Splitter1; }
    TStatusLine& Status() const { return *StatusLine; }
    TDropFileTarget& DropTarget() { return DropFileTarget1; }
    TFileDialog& OpenFileDialog() { return OpenDialog; }
    TFileDialog& SaveFileDialog() { return SaveDialog; }
    // The help window, once F1 has made it; null before.
    THelpWindow* HelpWindow() const { return FHelpWindow.get(); }

    // The handlers, connected to their controls by ConnectHandlers.
    void FileOpenButtonClick();
    void FileSaveButtonClick();
    // Print and Ctrl+P: a print preview of the inlay's print sheet, whose Print action opens the
    // print dialog (app/MainFormPrint.cpp).
    void FilePrintButtonClick();
    void FormatBackButtonClick();
    void FormatBackFrontButtonClick();
    // The whole tray card: the picture is brought to 1510 : 1175 as it is; the slider, the cut
    // lines and Find spine have no part in it and show it.
    void FormatTrayCardButtonClick();
    void SpineSizeTrackBarPositionChanged(double Position);
    void InfoHomeButtonClick();
    // F1: shows the help window "Trayvane Help" (app/MainFormHelp.cpp).
    void HelpKeyPressed();
    // The cut (app/MainFormCut.cpp).
    void FormatFindSpineButtonClick();
    void InputImgViewCutLineMoved(TCutLine Line, int Column);
    void InputImgViewCutDragStarted();
    void InputImgViewCutDragCancelled();
    // The scan (app/MainFormScan.cpp, the ribbon's Scan group before Info): quarter turns,
    // straightening, and Ctrl+Z back to the picture as opened.
    void ScanRotateLeftButtonClick();
    void ScanRotateRightButtonClick();
    void ScanStraightenButtonClick();
    void EditUndoClick();

    // Draws the print sheet of the inlay on Printer, laid out for its paper. Throws Exception "No
    // image to print" while there is no inlay.
    void PrintSheet(QPrinter& Printer);
    // The printer the window prints with, made at the first print and kept for the next ones.
    QPrinter& SheetPrinter();
    // The file the input view shows: the picture last opened, or the placeholder.
    std::string ShownFileName() const;
    // The print sheet's choices (app/settings/PrintOptions.h), as read at start and changed in
    // the print preview's panel; stored at close once changed.
    const TPrintOptions& PrintOptions() const { return FPrintOptions; }
    void SetPrintOptions(const TPrintOptions& Options);
    // Takes the picture FileName as the front cover printed with the card (cut square from its
    // middle), in place of this picture's own front (app/MainFormFrontCover.cpp). Throws what
    // loading throws; the front chosen before then stays.
    void ChooseFrontCoverFile(const std::string& FileName);
    // Whether the front comes from the picture chosen with ChooseFrontCoverFile.
    void SetFrontFromOtherPicture(bool Other) { FFrontFromOther = Other; }

public:
    void DropFileTarget1Drop(QObject* Sender, const TShiftState& ShiftState, const QPoint& APoint,
                             int& Effect);
    void ApplicationEvents1Exception(QObject* Sender, const std::exception& E);

protected:
    void showEvent(QShowEvent* Event) override;
    bool event(QEvent* Event) override;

private:
    void ConnectHandlers();
    void ConnectStatusLine();
    void SetUpKeysAndTips();
    void ShowStatus(const TStatusEvent& Event);
    void ClearStatus();
    // Damage: libjpeg's words for damaged data the picture was loaded with, or empty.
    void ShowLoadedStatus(const std::string& FileName, const std::string& Damage = {});
    void ShowComposedStatus();
    void ShowSavedStatus(const std::string& FileName);
    void ShowErrorStatus(const std::exception& E, const std::string& LoggedTo) noexcept;
    int InlayDotsPerInch() const;
    void FormCreate();
    void FormShow();
    void FormDestroy();
    TInlayLayout ChosenLayout() const;
    TInlayRequest CompositionRequest() const;
    TSpineCut ShownSpineCut() const;
    void ShowLayoutControls();
    std::string SaveProposal() const;
    // The front cover printed with the card, square, and the file it comes from: the picture
    // chosen for it, or this picture's part right of the spine. Throws when there is none.
    const TBitmap32& FrontCoverPicture(std::string& FromFile);
    void ReadPrintChoices();
    void StorePrintChoices();
    void ChangeInputPicture(const std::function<void(TBitmap32&)>& Change);
    void InputPictureChanged();
    void ShowTurnedStatus(bool Right);

    TWidgetPlacement FPlacement;
    TApplicationEvents ApplicationEvents1;
    TDropFileTarget DropFileTarget1;
    TFileDialog OpenDialog;
    TFileDialog SaveDialog;
    TRegistryStore& FSettings;
    TExceptionLog FExceptionLog;
    std::string FPlaceholderPath;
    // The picture last loaded, for the save dialog's proposal; "" before the first.
    std::string FInputFileName;
    // The inlay saved last and the picture it came from, for the save dialog's proposal.
    std::optional<TLastSave> FLastSave;
    // The file being read or saved, for the status line's sentence about an error.
    TFileActionNote FFileAction;
    // A cut the user moved or "Find spine" found, for the layout it was made in; none: the
    // layout's own cut. Forgotten when a picture is loaded or the layout changes.
    struct TExplicitCut {
        TSpineCut Cut;
        TInlayLayout Layout;
    };
    std::optional<TExplicitCut> FExplicitCut;
    // While a cut line is dragged: the cut as it was before, for Esc to put back. Forgotten when
    // a picture is loaded.
    struct TCutDrag {
        std::optional<TExplicitCut> CutBefore;
    };
    std::optional<TCutDrag> FCutDrag;
    // What the last composition gave besides the inlay (its cut, its density); none before the
    // first and after one that failed.
    std::optional<TInlayComposition> FComposition;
    std::unique_ptr<QPrinter> FPrinter;
    TPrintOptions FPrintOptions;
    bool FPrintOptionsChanged = false;
    // The front cover from another picture: its file and its square, once chosen.
    TFileDialog FFrontDialog;
    std::string FFrontFile;
    std::unique_ptr<TBitmap32> FOtherFront;
    bool FFrontFromOther = false;
    // This picture's front, cut at each print.
    std::unique_ptr<TBitmap32> FOwnFront;
    // The file the input picture was loaded from (the placeholder at first): the inlay is never
    // saved over it.
    std::optional<TFileIdentity> FInputFile;
    // The help window, made at the first F1 and kept (hidden when closed) for the next.
    std::unique_ptr<THelpWindow> FHelpWindow;
    // The input picture as it was opened, kept from its first turn or straightening until the
    // next picture is loaded or Ctrl+Z puts it back.
    std::unique_ptr<TBitmap32> FOpenedPicture;
};
