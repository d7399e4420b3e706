#include "app/MainForm.h"

#include "app/DropCandidates.h"
#include "app/InlayFileName.h"
#include "app/WaitCursor.h"
#include "app/WidgetPlacement.h"
#include "base/ExceptionClassName.h"
#include "base/Finally.h"
#include "base/RunHandler.h"
#include "base/WritableFolder.h"
#include "composer/InlayLayout.h"
#include "composer/TrayCard.h"
#include "jpeg_bridge/JpegFile.h"
#include "picture_codecs/CoverPicture.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPrinter>
#include <QShowEvent>
#include <QTimer>
#include <QUrl>

namespace {

// The background of both views once the window is shown: a pale blue-grey (00BBGGRR).
constexpr TColor ViewColor = 15656932;

std::string NameOf(const QObject* Object) {
    if (!Object)
        return {};
    const QString Name = Object->objectName();
    return (Name.isEmpty() ? QString::fromLatin1(Object->metaObject()->className()) : Name)
        .toStdString();
}

} // namespace

TMainForm::TMainForm(TRegistryStore& Settings, std::string LogPath, std::string PlaceholderPath,
                     QWidget* Parent)
    : QWidget(Parent), FPlacement(*this),
      OpenDialog(TFileDialog::TKind::Open,
                 "All pictures|*.JPG;*.JPEG;*.PNG;*.TIF;*.TIFF;*.WEBP|JPEG images|*.JPG|"
                 "JPEG images|*.JPEG|PNG images|*.PNG|TIFF images|*.TIF;*.TIFF|WebP images|*.WEBP",
                 "JPG"),
      SaveDialog(TFileDialog::TKind::Save, "JPEG images|*.JPG", "JPG"), FSettings(Settings),
      FExceptionLog(std::move(LogPath)), FPlaceholderPath(std::move(PlaceholderPath)),
      FFrontDialog(TFileDialog::TKind::Open, "All pictures|*.JPG;*.JPEG;*.PNG;*.TIF;*.TIFF;*.WEBP",
                   "JPG") {
    // Tahoma at 11 pixels, as the window was designed; set before the components exist so that
    // they size themselves with it.
    QFont Font(QStringLiteral("Tahoma"));
    Font.setPixelSize(11);
    setFont(Font);
    setupUi(this);
    // The column of small scan buttons, in the ribbon's smaller type, takes the size its buttons
    // ask for; the toolbar lays it out as one control.
    QFont SmallFont = Font;
    SmallFont.setPixelSize(10);
    ScanButtonColumn->setFont(SmallFont);
    ScanButtonColumn->setFixedSize(ScanButtonColumn->sizeHint());
    // The status line is cleared before a handler runs: connected first.
    ConnectStatusLine();
    ConnectHandlers();
    SetUpKeysAndTips();

    ApplicationEvents1.OnException = [this](QObject* Sender, const std::exception& E) {
        ApplicationEvents1Exception(Sender, E);
    };
    DropFileTarget1.SetTarget(InputImgView);
    DropFileTarget1.OnDrop = [this](QObject* Sender, const TShiftState& ShiftState,
                                    const QPoint& APoint, int& Effect) {
        DropFileTarget1Drop(Sender, ShiftState, APoint, Effect);
    };

    RunHandler([this] { FormCreate(); });
    RunHandler([this] { ReadPrintChoices(); });
}

// The one place where controls meet their handlers: connections the compiler checks, so that a
// renamed handler or signal breaks the build.
void TMainForm::ConnectHandlers() {
    connect(FileOpenButton, &TAdvGlowButton::OnClick, this, &TMainForm::FileOpenButtonClick);
    connect(FileSaveButton, &TAdvGlowButton::OnClick, this, &TMainForm::FileSaveButtonClick);
    connect(FilePrintButton, &TAdvGlowButton::OnClick, this, &TMainForm::FilePrintButtonClick);
    connect(FormatBackButton, &TAdvGlowButton::OnClick, this, &TMainForm::FormatBackButtonClick);
    connect(FormatBackFrontButton, &TAdvGlowButton::OnClick, this,
            &TMainForm::FormatBackFrontButtonClick);
    connect(FormatTrayCardButton, &TAdvGlowButton::OnClick, this,
            &TMainForm::FormatTrayCardButtonClick);
    connect(SpineSizeTrackBar, &TAdvSmoothTrackBar::OnPositionChanged, this,
            &TMainForm::SpineSizeTrackBarPositionChanged);
    connect(InfoHomeButton, &TAdvGlowButton::OnClick, this, &TMainForm::InfoHomeButtonClick);
    connect(FormatFindSpineButton, &TAdvGlowButton::OnClick, this,
            &TMainForm::FormatFindSpineButtonClick);
    connect(InputImgView, &TImgView32::OnCutLineMoved, this, &TMainForm::InputImgViewCutLineMoved);
    connect(InputImgView, &TImgView32::OnCutDragStarted, this,
            &TMainForm::InputImgViewCutDragStarted);
    connect(InputImgView, &TImgView32::OnCutDragCancelled, this,
            &TMainForm::InputImgViewCutDragCancelled);
    connect(ScanRotateLeftButton, &TAdvGlowButton::OnClick, this,
            &TMainForm::ScanRotateLeftButtonClick);
    connect(ScanRotateRightButton, &TAdvGlowButton::OnClick, this,
            &TMainForm::ScanRotateRightButtonClick);
    connect(ScanStraightenButton, &TAdvGlowButton::OnClick, this,
            &TMainForm::ScanStraightenButtonClick);
}

TMainForm::~TMainForm() {
    RunHandler([this] { FormDestroy(); });
    RunHandler([this] { StorePrintChoices(); });
}

void TMainForm::FormCreate() {
    TRegistry Registry(FSettings);
    TStoredPlacement Stored;
    // What was read before an error is applied all the same.
    TryFinally([&] { ReadWindowPlacement(Registry, Stored); }, [&] { FPlacement.Place(Stored); });
}

void TMainForm::FormShow() {
    InputImgView->SetColor(ViewColor);
    {
        const TFileActionScope Reading(FFileAction, TFileAction::Read, FPlaceholderPath);
        InputImgView->Bitmap().LoadPictureFile(FPlaceholderPath);
    }
    FInputFile = FileIdentityOf(FPlaceholderPath);
    OutputImgView->SetColor(ViewColor);
}

void TMainForm::FormDestroy() {
    TRegistry Registry(FSettings);
    StoreWindowPlacement(Registry, FPlacement.RestoredBounds());
}

void TMainForm::showEvent(QShowEvent* Event) {
    QWidget::showEvent(Event);
    // A window restored from the task bar is shown again by the system: that is no new showing.
    if (Event->spontaneous())
        return;
    RunHandler([this] { FormShow(); });
    // The frame may be known by now, or only after a later move or resize.
    QTimer::singleShot(0, this, [this] { RunHandler([this] { FPlacement.WindowChanged(); }); });
}

bool TMainForm::event(QEvent* Event) {
    const bool Result = QWidget::event(Event);
    const QEvent::Type Type = Event->type();
    if (Type == QEvent::Move || Type == QEvent::Resize || Type == QEvent::WindowStateChange)
        RunHandler([this] { FPlacement.WindowChanged(); });
    return Result;
}

void TMainForm::LoadInputImage(const std::string& FileName) {
    const TFileActionScope Reading(FFileAction, TFileAction::Read, FileName);
    std::string Damage;
    LoadCoverPicture(InputImgView->Bitmap(), FileName, Damage);
    FInputFileName = FileName;
    FInputFile = FileIdentityOf(FileName);
    FExplicitCut.reset();
    FCutDrag.reset();
    FOpenedPicture.reset();
    if (ChooseInlayLayout(InputImgView->Bitmap()) == TInlayLayout::BackAndFront)
        FormatBackFrontButton->setDown(true);
    else
        FormatBackButton->setDown(true);
    BuildOutput();
    ShowLoadedStatus(FileName, Damage);
}

void TMainForm::FileOpenButtonClick() {
    RunHandler([this] {
        if (OpenDialog.Execute(this))
            LoadInputImage(OpenDialog.FileName());
    });
}

std::string TMainForm::SaveProposal() const {
    return ProposedSaveFileName(FInputFileName, FLastSave, IsWritableFolder);
}

void TMainForm::FileSaveButtonClick() {
    RunHandler([this] {
        // The proposal follows the picture: saving the next cover never proposes the last one's
        // inlay, which Enter would replace without a word.
        SaveDialog.SetFileName(SaveProposal());
        if (!SaveDialog.Execute(this))
            return;
        const TFileActionScope Saving(FFileAction, TFileAction::Save, SaveDialog.FileName());
        SaveInlay(SaveDialog.FileName());
        FLastSave = TLastSave{SaveDialog.FileName(), FInputFileName};
        ShowSavedStatus(SaveDialog.FileName());
    });
}

void TMainForm::FormatBackButtonClick() {
    RunHandler([this] {
        BuildOutput();
        ShowComposedStatus();
    });
}

void TMainForm::FormatBackFrontButtonClick() {
    RunHandler([this] {
        BuildOutput();
        ShowComposedStatus();
    });
}

void TMainForm::FormatTrayCardButtonClick() {
    RunHandler([this] {
        BuildOutput();
        ShowComposedStatus();
    });
}

void TMainForm::SpineSizeTrackBarPositionChanged(double /*Position*/) {
    RunHandler([this] {
        BuildOutput();
        ShowComposedStatus();
    });
}

void TMainForm::InfoHomeButtonClick() {
    RunHandler([] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(HomePageAddress))); });
}

void TMainForm::DropFileTarget1Drop(QObject* /*Sender*/, const TShiftState& /*ShiftState*/,
                                    const QPoint& /*APoint*/, int& Effect) {
    Effect &= ~DropEffectScroll;
    const TWaitCursor Hourglass;
    // A drop that fails to load changes nothing and logs nothing: the picture the user sees
    // stays, and the status line says why the drop was ignored.
    try {
        const auto Candidate = ChooseDropCandidate(DropFileTarget1.DroppedFileNames(),
                                                   DropFileTarget1.MappedFileNames());
        if (Candidate)
            LoadInputImage(*Candidate);
        else
            ShowStatus(TDropIgnoredStatus{});
    } catch (const std::exception& E) {
        ShowStatus(TDropIgnoredStatus{TakeFileAction(FFileAction).FileName, E.what()});
    } catch (...) {
        TakeFileAction(FFileAction);
    }
}

void TMainForm::ApplicationEvents1Exception(QObject* /*Sender*/, const std::exception& E) {
    const QWidget* Form = QApplication::activeWindow();
    const QWidget* Control = QApplication::focusWidget();
    // Right after a modal dialog has closed no window is active yet: the error then comes from
    // a handler of this window, with the control it gives the focus to.
    if (!Form) {
        Form = this;
        Control = focusWidget();
    }
    const std::string LoggedTo =
        FExceptionLog.Append(ExceptionClassName(E), E.what(), NameOf(Form), NameOf(Control));
    ShowErrorStatus(E, LoggedTo);
}
