#include "app/WindowSheet.h"

#include "print_sheet/SheetCaption.h"
#include "raster/Bitmap32.h"

TWindowSheet WindowSheet(const TPrintOptions& Options, const TBitmap32& Inlay, int SpineWidth,
                         const std::string& CardCaption, const TBitmap32* Front,
                         const std::string& FrontFile) {
    const TSheetItem Card{TSheetPieceKind::TrayCard, {Inlay.Width(), Inlay.Height(), SpineWidth}};
    TWindowSheet Sheet{{Card}, {&Inlay}, CardCaption};
    if (Options.Content == TPrintContent::CardTwice) {
        Sheet.Items.push_back(Card);
        Sheet.Pictures.push_back(&Inlay);
        Sheet.Caption = TwiceCaption(CardCaption);
    } else if (Options.Content == TPrintContent::CardAndFront && Front) {
        Sheet.Items.push_back({TSheetPieceKind::FrontCover, {Front->Width(), Front->Height(), 0}});
        Sheet.Pictures.push_back(Front);
        Sheet.Caption = FrontCoverCaption(CardCaption, FrontFile);
    }
    if (!Options.Caption)
        Sheet.Caption.clear();
    return Sheet;
}
