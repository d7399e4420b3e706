#include "compose_cli/PrintSheetFile.h"

#include "composer/TrayInlay.h"
#include "jpeg_bridge/JpegFile.h"
#include "print_sheet/PdfSheet.h"
#include "print_sheet/SheetCaption.h"
#include "raster/Bitmap32.h"

void WritePrintSheetFile(const std::string& Input, const std::string& Output,
                         const TPrintSheetJob& Job) {
    TBitmap32 Picture;
    LoadJpegFile(&Picture, Input);
    const TInlayLayout Layout = Job.Layout.value_or(ChooseInlayLayout(Picture));
    const TInlayGeometry Geometry =
        ComputeInlayGeometry(Picture.Width(), Picture.Height(), Layout, Job.Spine);
    TBitmap32 Inlay;
    ComposeTrayInlay(Picture, Layout, Job.Spine, Inlay);
    Picture.SetDimensions(0, 0);
    WritePdfSheet(Output, Job.Paper, Job.Bleed, Inlay, Geometry.SpineWidth,
                  SheetCaption(Input, Layout, Job.Spine));
}
