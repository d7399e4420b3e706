#pragma once

// Draws a print sheet (print_sheet/PrintSheet.h) with QPainter, on a printer, a PDF writer or a
// print preview alike: the inlay as one image at its own resolution, embedded losslessly, the
// marks as vector hairlines, the caption as text.

#include "print_sheet/Paper.h"
#include "print_sheet/PrintSheet.h"

#include <vector>

class QPageLayout;
class QPageSize;
class QPainter;
class TBitmap32;

// The page size a device with this layout really has, in millimetres (a PDF page measures whole
// points, so A4 is 595 x 842 points there, 209.9 x 297.0 mm).
TPaper PaperOf(const QPageLayout& Layout);

// The page size for Paper: Qt's own A4 or Letter for those, else a custom size in millimetres.
QPageSize PageSizeOf(const TPaper& Paper);

// Draws Sheet with Pictures, one for each of its pieces in order (the pictures it was laid out
// for), on Painter's device, at 100 %: one millimetre of the sheet is the device's logical dots
// per inch / 25.4 units; an empty caption draws no text. The device's origin must be the page's
// top-left corner (a QPrinter set to full page, a QPdfWriter without margins). Throws
// EPrintSheetError when the number of pictures is not the number of pieces, and what
// SetDimensions throws when a bleed picture cannot be had.
void PaintPrintSheet(QPainter& Painter, const TPrintSheet& Sheet,
                     const std::vector<const TBitmap32*>& Pictures);

// The same with Inlay for every piece.
void PaintPrintSheet(QPainter& Painter, const TPrintSheet& Sheet, const TBitmap32& Inlay);
