#include "compose_cli/PrintSheetFile.h"

#include "print_sheet/PdfSheet.h"
#include "print_sheet/SheetCaption.h"
#include "raster/Bitmap32.h"

TSpineSearch WritePrintSheetFile(const std::string& Input, const std::string& Output,
                                 const TPrintSheetJob& Job) {
    TBitmap32 Inlay;
    const TCoverComposition Composed = ComposeCover(
        Input, TCoverRequest{Job.Layout, Job.Spine, Job.FindSpine, Job.Cut, Job.Scan}, Inlay);
    WritePdfSheet(Output, Job.Paper, Job.Bleed, Inlay, Composed.Composition.Geometry.SpineWidth,
                  SheetCaption(Input, Composed.Layout, Job.Spine));
    return Composed.Search;
}
