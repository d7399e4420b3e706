#include "print_sheet/SheetCaption.h"

#include "base/FileName.h"

std::string SheetCaption(const std::string& SourceFile, TInlayLayout Layout, int Spine) {
    const std::string Separator = " \u00B7 ";
    const std::string Name = SourceFile.substr(ExtractFilePath(SourceFile).size());
    const std::string LayoutText = Layout == TInlayLayout::BackAndFront ? "back and front"
                                   : Layout == TInlayLayout::TrayCard   ? "tray card"
                                                                        : "back card";
    // A whole tray card is reprinted as it is: no spine setting plays a part.
    if (Layout == TInlayLayout::TrayCard)
        return Name + Separator + LayoutText;
    const std::string SpineText = (Spine > 0 ? "+" : "") + std::to_string(Spine) + " %";
    return Name + Separator + LayoutText + Separator + "spine " + SpineText;
}
