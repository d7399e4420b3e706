#include "print_sheet/SheetCaption.h"

#include "base/FileName.h"

namespace {

const std::string Separator = " \u00B7 ";

std::string NameOf(const std::string& File) {
    return File.substr(ExtractFilePath(File).size());
}

} // namespace

std::string SheetCaption(const std::string& SourceFile, TInlayLayout Layout, int Spine) {
    const std::string LayoutText = Layout == TInlayLayout::BackAndFront ? "back and front"
                                   : Layout == TInlayLayout::TrayCard   ? "tray card"
                                                                        : "back card";
    // A whole tray card is reprinted as it is: no spine setting plays a part.
    if (Layout == TInlayLayout::TrayCard)
        return NameOf(SourceFile) + Separator + LayoutText;
    const std::string SpineText = (Spine > 0 ? "+" : "") + std::to_string(Spine) + " %";
    return NameOf(SourceFile) + Separator + LayoutText + Separator + "spine " + SpineText;
}

std::string FrontCoverCaption(const std::string& CardCaption, const std::string& FrontFile) {
    return CardCaption + Separator + "front cover from " + NameOf(FrontFile);
}

std::string TwiceCaption(const std::string& CardCaption) {
    return CardCaption + Separator + "twice";
}

std::string TwoCardsCaption(const std::string& Upper, const std::string& Lower) {
    return "above: " + Upper + " \u2014 below: " + Lower;
}
