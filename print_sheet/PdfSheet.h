#pragma once

// Print sheets as a PDF file, written with Qt's PDF writer, a page per sheet. Needs a
// QGuiApplication (for the caption's font); Qt's offscreen platform serves where there is no
// display.

#include "print_sheet/Paper.h"
#include "print_sheet/PrintSheet.h"

#include <QBuffer>

#include <memory>
#include <string>
#include <vector>

class QPainter;
class QPdfWriter;
class TBitmap32;

// A PDF of print sheets on one paper, made page by page in memory and written whole.
class TPdfSheetWriter {
public:
    explicit TPdfSheetWriter(const TPaper& Paper);
    ~TPdfSheetWriter();
    TPdfSheetWriter(const TPdfSheetWriter&) = delete;
    TPdfSheetWriter& operator=(const TPdfSheetWriter&) = delete;

    // The page as the PDF measures it (whole points), to lay the sheets out on.
    const TPaper& Page() const noexcept { return FPage; }
    int PageCount() const noexcept { return FPageCount; }

    // Draws Sheet with its Pictures (PaintPrintSheet) on a new page. The first page's caption
    // becomes the document's title. Throws EPrintSheetError when the PDF cannot be started, and
    // what PaintPrintSheet throws.
    void AddPage(const TPrintSheet& Sheet, const std::vector<const TBitmap32*>& Pictures);

    // Ends the document and writes it to FileName, replaced only once the new one is complete.
    // Throws EPrintSheetError "Cannot create file "%s". %s" or "Cannot write file "%s". %s" with
    // the system's text.
    void Save(const std::string& FileName);

private:
    QBuffer FBuffer;
    std::unique_ptr<QPdfWriter> FWriter;
    std::unique_ptr<QPainter> FPainter;
    TPaper FPage;
    int FPageCount = 0;
};

// Lays out the sheet for Inlay on a page of Paper with a bleed of BleedMm (ComputePrintSheet,
// with the page as the PDF measures it), draws it and writes the one-page PDF to FileName as
// TPdfSheetWriter::Save does. Throws what ComputePrintSheet and Save throw.
void WritePdfSheet(const std::string& FileName, const TPaper& Paper, double BleedMm,
                   const TBitmap32& Inlay, int SpineWidth, const std::string& Caption);
