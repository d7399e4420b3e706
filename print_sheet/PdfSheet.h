#pragma once

// A print sheet as a one-page PDF file, written with Qt's PDF writer. Needs a QGuiApplication
// (for the caption's font); Qt's offscreen platform serves where there is no display.

#include "print_sheet/Paper.h"
#include "print_sheet/PrintSheet.h"

#include <string>

class TBitmap32;

// Lays out the sheet for Inlay on a page of Paper with a bleed of BleedMm (ComputePrintSheet,
// with the page as the PDF measures it), draws it and writes the PDF to FileName. The file is
// replaced only once the new one is complete. Throws what ComputePrintSheet throws, and
// EPrintSheetError "Cannot create file "%s". %s" or "Cannot write file "%s". %s" with the
// system's text.
void WritePdfSheet(const std::string& FileName, const TPaper& Paper, double BleedMm,
                   const TBitmap32& Inlay, int SpineWidth, const std::string& Caption);
