#include "compose_cli/CoverComposition.h"

#include "composer/SpineCut.h"
#include "composer/SpineFinder.h"
#include "composer/TrayCard.h"
#include "composer/TrayInlay.h"
#include "composer/TrayInlayAtCut.h"
#include "picture_codecs/CoverPicture.h"
#include "raster/Bitmap32.h"
#include "raster/Orientation.h"

void LoadSoundCoverPicture(TBitmap32& Picture, const std::string& Input) {
    TBitmap32 Loaded;
    std::string Damage;
    LoadCoverPicture(Loaded, Input, Damage);
    if (!Damage.empty())
        throw EDamagedPicture(Damage);
    TakePixelsKeepingSettings(Picture, Loaded);
}

TCoverComposition ComposeCover(const std::string& Input, std::optional<TInlayLayout> Layout,
                               int Spine, bool LookForSpine, TBitmap32& Inlay,
                               const TScanPreparation& Preparation) {
    TBitmap32 Picture;
    LoadSoundCoverPicture(Picture, Input);
    PrepareScan(Picture, Preparation);
    return ComposeCoverPicture(Picture, Layout, Spine, LookForSpine, Inlay);
}

TCoverComposition ComposeCoverPicture(const TBitmap32& Picture, std::optional<TInlayLayout> Layout,
                                      int Spine, bool LookForSpine, TBitmap32& Inlay) {
    const TInlayLayout Chosen = Layout.value_or(ChooseInlayLayout(Picture));
    const std::optional<TSpineFinding> Found =
        LookForSpine ? FindSpine(Picture, Chosen) : std::nullopt;
    const TSpineCut Cut = Found ? ScaledSpineCut(Found->Cut, Spine, Picture.Width())
                                : DescribedSpineCut(Picture.Width(), Chosen, Spine);
    if (Found)
        ComposeTrayInlayAtCut(Picture, Found->Cut, Spine, Inlay);
    else
        ComposeTrayInlay(Picture, Chosen, Spine, Inlay);
    const TSpineSearch Search = !LookForSpine ? TSpineSearch::NotAsked
                                : Found       ? TSpineSearch::Found
                                              : TSpineSearch::NotFound;
    return TCoverComposition{Chosen, Cut.Width(), Search,
                             Found ? Found->Cut : DescribedSpineCut(Picture.Width(), Chosen, 0),
                             Inlay.Width()};
}

std::string LowResolutionNotice(int InlayWidth) {
    if (InlayWidth <= 0)
        return {};
    const int Dpi = TrayCardDensity(InlayWidth).RoundedDotsPerInch();
    return Dpi < LowResolutionDotsPerInch
               ? "Low resolution: " + std::to_string(Dpi) + " dpi at tray-card size"
               : std::string();
}
