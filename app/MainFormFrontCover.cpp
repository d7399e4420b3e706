// The front cover the window prints with the tray card: this picture's part right of the spine
// when it is a wrap-around, or another picture chosen in the print preview, cut square from its
// middle (composer/FrontCover.h); and the print choices kept in the settings.

#include "app/MainForm.h"

#include "app/settings/Registry.h"
#include "composer/FrontCover.h"
#include "picture_codecs/CoverPicture.h"

void TMainForm::ChooseFrontCoverFile(const std::string& FileName) {
    TBitmap32 Picture;
    LoadCoverPicture(Picture, FileName);
    auto Square = std::make_unique<TBitmap32>();
    CopyPictureArea(Picture, MiddleSquare({0, 0, Picture.Width(), Picture.Height()}).Area, *Square);
    FOtherFront = std::move(Square);
    FFrontFile = FileName;
    FFrontFromOther = true;
}

const TBitmap32& TMainForm::FrontCoverPicture(std::string& FromFile) {
    if (FFrontFromOther) {
        if (!FOtherFront)
            throw EFrontCoverError("Choose the picture of the front cover");
        FromFile = FFrontFile;
        return *FOtherFront;
    }
    if (ChosenLayout() != TInlayLayout::BackAndFront)
        throw EFrontCoverError("This picture is the back card alone, which shows no front cover: "
                               "choose the picture of the front cover");
    // Right of the spine as the cut in use puts it, at slider position 0: the spine's own edges.
    const TBitmap32& Input = InputImgView->Bitmap();
    const TSpineCut Cut = FExplicitCut
                              ? FExplicitCut->Cut
                              : DescribedSpineCut(Input.Width(), TInlayLayout::BackAndFront, 0);
    auto Square = std::make_unique<TBitmap32>();
    CopyPictureArea(Input, MiddleSquare(FrontOfCover(Input.Width(), Input.Height(), Cut)).Area,
                    *Square);
    FOwnFront = std::move(Square);
    FromFile = ShownFileName();
    return *FOwnFront;
}

void TMainForm::SetPrintOptions(const TPrintOptions& Options) {
    if (Options == FPrintOptions)
        return;
    FPrintOptions = Options;
    FPrintOptionsChanged = true;
}

void TMainForm::ReadPrintChoices() {
    TRegistry Registry(FSettings);
    ReadPrintOptions(Registry, FPrintOptions);
}

// Only choices the user changed are written: a settings file stays as it was otherwise.
void TMainForm::StorePrintChoices() {
    if (!FPrintOptionsChanged)
        return;
    TRegistry Registry(FSettings);
    StorePrintOptions(Registry, FPrintOptions);
}
