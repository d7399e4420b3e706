#include "print_sheet/PdfSheet.h"

#include "base/AtomicFile.h"
#include "base/FileStream.h"
#include "base/SysError.h"
#include "print_sheet/PrintSheetError.h"
#include "print_sheet/SheetPainter.h"
#include "raster/Bitmap32.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <cerrno>
#include <cstdio>

namespace {

// Fine enough that the marks and the picture's place need no rounding worth a thought (a PDF
// page is measured in points; the writer maps its dots to them).
constexpr int PdfDotsPerInch = 1200;

void WriteWhole(const std::string& FileName, const QByteArray& Content) {
    const auto Quoted = [&] { return "\"" + ExpandFileName(FileName) + "\". "; };
    TAtomicFile File;
    if (const int Error = File.Create(FileName))
        throw EPrintSheetError("Cannot create file " + Quoted() + SysErrorMessage(Error));
    const auto Size = static_cast<std::size_t>(Content.size());
    const bool Written = std::fwrite(Content.constData(), 1, Size, File.Stream()) == Size;
    const int Error = Written ? File.Commit() : (errno != 0 ? errno : EIO);
    if (Error != 0)
        throw EPrintSheetError("Cannot write file " + Quoted() + SysErrorMessage(Error));
}

// The document's title: the caption on one line. A line break or another control character
// (from a file name) becomes a blank, so that no reader cuts the title there.
QString TitleOf(const std::string& Caption) {
    QString Title = QString::fromStdString(Caption);
    for (QChar& C : Title)
        if (C.category() == QChar::Other_Control)
            C = QLatin1Char(' ');
    return Title;
}

} // namespace

TPdfSheetWriter::TPdfSheetWriter(const TPaper& Paper) {
    FBuffer.open(QIODevice::WriteOnly);
    FWriter = std::make_unique<QPdfWriter>(&FBuffer);
    FWriter->setCreator(QStringLiteral("Trayvane"));
    FWriter->setResolution(PdfDotsPerInch);
    FWriter->setPageLayout(QPageLayout(PageSizeOf(Paper), QPageLayout::Portrait, QMarginsF()));
    FPage = PaperOf(FWriter->pageLayout());
}

// The painter ends before the writer it paints on.
TPdfSheetWriter::~TPdfSheetWriter() {
    FPainter.reset();
}

void TPdfSheetWriter::AddPage(const TPrintSheet& Sheet,
                              const std::vector<const TBitmap32*>& Pictures) {
    if (!FPainter) {
        // The title is read when painting begins.
        FWriter->setTitle(TitleOf(Sheet.Caption));
        FPainter = std::make_unique<QPainter>();
        if (!FPainter->begin(FWriter.get())) {
            FPainter.reset();
            throw EPrintSheetError("Cannot start the PDF");
        }
    } else if (!FWriter->newPage()) {
        throw EPrintSheetError("Cannot start a new page of the PDF");
    }
    ++FPageCount;
    PaintPrintSheet(*FPainter, Sheet, Pictures);
}

void TPdfSheetWriter::Save(const std::string& FileName) {
    if (FPainter)
        FPainter->end();
    FPainter.reset();
    FWriter.reset();
    WriteWhole(FileName, FBuffer.data());
}

void WritePdfSheet(const std::string& FileName, const TPaper& Paper, double BleedMm,
                   const TBitmap32& Inlay, int SpineWidth, const std::string& Caption) {
    TPdfSheetWriter Writer(Paper);
    const TPrintSheet Sheet = ComputePrintSheet(
        Writer.Page(), BleedMm, TSheetInlay{Inlay.Width(), Inlay.Height(), SpineWidth}, Caption);
    Writer.AddPage(Sheet, {&Inlay});
    Writer.Save(FileName);
}
