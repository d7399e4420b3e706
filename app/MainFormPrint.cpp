// The window's printing: the inlay's print sheet (print_sheet/) in Qt's print preview, whose Print
// action opens the platform's print dialog, with its printers and "Print to File (PDF)". The
// sheet is always printed at 100 %: the card must come out 151 mm wide.

#include "app/MainForm.h"

#include "base/FileName.h"
#include "base/RunHandler.h"
#include "print_sheet/PrintSheet.h"
#include "print_sheet/PrintSheetError.h"
#include "print_sheet/SheetCaption.h"
#include "print_sheet/SheetPainter.h"

#include <QPainter>
#include <QPrintEngine>
#include <QPrintPreviewDialog>
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
    // The folds lie where the composition put the spine strips.
    const TPrintSheet Sheet = ComputePrintSheet(
        PaperOf(Printer.pageLayout()), 0,
        TSheetInlay{Inlay.Width(), Inlay.Height(), FComposition->Geometry.SpineWidth},
        SheetCaption(ShownFileName(), Layout, static_cast<int>(std::lround(Position))));

    Printer.setFullPage(true);
    AskForHundredPercent(Printer);
    QPainter Painter;
    if (!Painter.begin(&Printer))
        throw EPrintSheetError("The printer cannot be used");
    PaintPrintSheet(Painter, Sheet, Inlay);
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
        connect(&Preview, &QPrintPreviewDialog::paintRequested, this,
                [this](QPrinter* Target) { RunHandler([&] { PrintSheet(*Target); }); });
        Preview.exec();
    });
}
