// The window's printing: the inlay's print sheet (print_sheet/) in Qt's print preview, with the
// sheet's choices beside it (app/PrintOptionsPanel.h), whose Print action opens the platform's
// print dialog, with its printers and "Print to File (PDF)". The sheet is always printed at
// 100 %: the card must come out 151 mm wide; a page too small for it is refused.

#include "app/MainForm.h"

#include "app/PrintOptionsPanel.h"
#include "app/WindowSheet.h"
#include "base/FileName.h"
#include "base/RunHandler.h"
#include "print_sheet/PrintSheet.h"
#include "print_sheet/PrintSheetError.h"
#include "print_sheet/SheetCaption.h"
#include "print_sheet/SheetPainter.h"

#include <QDockWidget>
#include <QLayout>
#include <QMainWindow>
#include <QPainter>
#include <QPrintEngine>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <cmath>

namespace {

// Qt's key for the job options it hands to CUPS (a list of name, value, name, value, ...): the key
// its own print dialog sets them under, which has no public name.
const auto CupsOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// CUPS shrinks a page larger than the printer's printable area to fit it unless the job says
// otherwise; the sheet's page is the whole paper, so it would always shrink.
void AskForHundredPercent(QPrinter& Printer) {
    if (Printer.outputFormat() != QPrinter::NativeFormat)
        return;
    QStringList Options = Printer.printEngine()->property(CupsOptionsKey).toStringList();
    const QString Name = QStringLiteral("print-scaling");
    const qsizetype At = Options.indexOf(Name);
    if (At >= 0 && At % 2 == 0 && At + 1 < Options.size())
        Options[At + 1] = QStringLiteral("none");
    else
        Options << Name << QStringLiteral("none");
    Printer.printEngine()->setProperty(CupsOptionsKey, Options);
}

// The panel on the right of the preview, in the main window Qt builds the dialog around (or below
// the preview where there is none).
void ShowBesidePreview(QPrintPreviewDialog& Preview, TPrintOptionsPanel& Panel) {
    if (auto* const Window = Preview.findChild<QMainWindow*>()) {
        auto* const Dock = new QDockWidget(QObject::tr("Sheet"), Window);
        Dock->setObjectName(QStringLiteral("PrintOptionsDock"));
        Dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
        Dock->setWidget(&Panel);
        Window->addDockWidget(Qt::RightDockWidgetArea, Dock);
    } else {
        Panel.setParent(&Preview);
        Preview.layout()->addWidget(&Panel);
    }
}

} // namespace

QPrinter& TMainForm::SheetPrinter() {
    if (!FPrinter) {
        // The default printer with its own paper; without one, PDF output on the locale's paper.
        FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (FPrinter->outputFormat() == QPrinter::PdfFormat)
            FPrinter->setPageSize(PageSizeOf(PaperForLocale(PaperLocaleName())));
        FPrinter->setPageOrientation(QPageLayout::Portrait);
        FPrinter->setFullPage(true);
    }
    return *FPrinter;
}

void TMainForm::PrintSheet(QPrinter& Printer) {
    const TBitmap32& Inlay = OutputImgView->Bitmap();
    if (Inlay.IsEmpty() || !FComposition)
        throw Exception(NoImageToPrintMessage);
    const TInlayLayout Layout = ChosenLayout();
    const double Position = SpineSizeTrackBar->Position();
    std::string FrontFile;
    const TBitmap32* const Front = FPrintOptions.Content == TPrintContent::CardAndFront
                                       ? &FrontCoverPicture(FrontFile)
                                       : nullptr;
    // The folds lie where the composition put the spine strips.
    const TWindowSheet Content =
        WindowSheet(FPrintOptions, Inlay, FComposition->Geometry.SpineWidth,
                    SheetCaption(ShownFileName(), Layout, static_cast<int>(std::lround(Position))),
                    Front, FrontFile);
    const TPaper Paper = PaperOf(Printer.pageLayout());
    const double Bleed = FPrintOptions.BleedMm();
    // At 100 % a page too small would cut pictures and marks off: nothing is printed.
    if (const std::string Refusal =
            PageTooSmallMessage(Paper, Bleed, Content.Items, Content.Caption);
        !Refusal.empty())
        throw EPrintSheetError(Refusal);
    const TPrintSheet Sheet = ComputePrintSheet(Paper, Bleed, Content.Items, Content.Caption);

    Printer.setFullPage(true);
    AskForHundredPercent(Printer);
    QPainter Painter;
    if (!Painter.begin(&Printer))
        throw EPrintSheetError("The printer cannot be used");
    PaintPrintSheet(Painter, Sheet, Content.Pictures);
}

std::string TMainForm::ShownFileName() const {
    return FInputFileName.empty() ? FPlaceholderPath : FInputFileName;
}

void TMainForm::FilePrintButtonClick() {
    RunHandler([this] {
        if (OutputImgView->Bitmap().IsEmpty())
            throw Exception(NoImageToPrintMessage);
        QPrinter& Printer = SheetPrinter();
        // The job's name, and the name the dialog offers for a PDF file: as trayvane-compose
        // names its outputs.
        const std::string Shown = ShownFileName();
        const std::string Name = Shown.substr(ExtractFilePath(Shown).size());
        Printer.setDocName(QString::fromStdString(ChangeFileExt(Name, "") + "-inlay"));
        QPrintPreviewDialog Preview(&Printer, this);
        Preview.resize(size()); // Qt's own default is too small to judge the sheet by
        auto* const Panel =
            new TPrintOptionsPanel(FPrintOptions, ChosenLayout() == TInlayLayout::BackAndFront,
                                   FFrontFile, FFrontFromOther);
        ShowBesidePreview(Preview, *Panel);
        bool LastSheetRefused = false;
        connect(&Preview, &QPrintPreviewDialog::paintRequested, this,
                [this, Panel, &LastSheetRefused](QPrinter* Target) {
                    // What refuses the sheet is said beside the preview too: the status line is
                    // behind it.
                    Panel->ShowProblem({});
                    LastSheetRefused = false;
                    RunHandler([&] {
                        try {
                            PrintSheet(*Target);
                        } catch (const std::exception& E) {
                            LastSheetRefused = true;
                            Panel->ShowProblem(QString::fromStdString(E.what()));
                            throw;
                        }
                    });
                });
        auto* const View = Preview.findChild<QPrintPreviewWidget*>();
        connect(Panel, &TPrintOptionsPanel::Changed, this, [this, Panel, View] {
            SetPrintOptions(Panel->Options());
            SetFrontFromOtherPicture(Panel->FrontFromOtherPicture());
            if (View)
                View->updatePreview();
        });
        connect(Panel, &TPrintOptionsPanel::ChooseFrontRequested, this, [this, Panel, &Preview] {
            RunHandler([&] {
                if (!FFrontDialog.Execute(&Preview))
                    return;
                ChooseFrontCoverFile(FFrontDialog.FileName());
                Panel->SetFrontFile(FFrontFile);
            });
        });
        // The preview is accepted once its sheet went to the printer or into a file; the last
        // sheet drawn is the one printed, and a refused one is told already.
        if (Preview.exec() != QDialog::Accepted || LastSheetRefused)
            return;
        const bool ToFile =
            Printer.outputFormat() == QPrinter::PdfFormat || !Printer.outputFileName().isEmpty();
        ShowStatus(TPrintedStatus{
            (ToFile ? Printer.outputFileName() : Printer.printerName()).toStdString(), ToFile,
            InlayDotsPerInch()});
    });
}
