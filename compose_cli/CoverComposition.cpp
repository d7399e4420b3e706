#include "compose_cli/CoverComposition.h"

#include "composer/SpineFinder.h"
#include "composer/TrayCard.h"
#include "composer/TrayInlay.h"
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

std::string StraightenNotice(const TCardFinding& Finding) {
    return Finding.EdgeUncertain ? "the card's edge could not be told from the scanner's lid, so "
                                   "the cut follows what differs from the lid"
                                 : std::string();
}

std::string PrepareCoverPicture(const std::string& Input, const TScanPreparation& Preparation,
                                TBitmap32& Picture) {
    LoadSoundCoverPicture(Picture, Input);
    return StraightenNotice(PrepareScan(Picture, Preparation));
}

TCoverComposition ComposeCover(const std::string& Input, const TCoverRequest& Request,
                               TBitmap32& Inlay) {
    TBitmap32 Picture;
    const std::string Notice = PrepareCoverPicture(Input, Request.Preparation, Picture);
    TCoverComposition Composed = ComposeCoverPicture(Picture, Request, Inlay);
    Composed.Notice = Notice;
    return Composed;
}

TCoverComposition ComposeCoverPicture(const TBitmap32& Picture, const TCoverRequest& Request,
                                      TBitmap32& Inlay) {
    const TInlayLayout Chosen = Request.Layout.value_or(ChooseInlayLayout(Picture));
    std::optional<TSpineCut> Cut = Request.Cut;
    if (Cut)
        CheckExplicitCut(Picture.Width(), Chosen, *Cut);
    const std::optional<TSpineFinding> Found =
        Request.LookForSpine && !Cut ? FindSpine(Picture, Chosen) : std::nullopt;
    if (Found)
        Cut = Found->Cut;
    const TInlayComposition Composed = ComposeInlay(
        Picture, TInlayRequest{Chosen, static_cast<double>(Request.Spine), Cut}, Inlay);
    const TSpineSearch Search = !Request.LookForSpine ? TSpineSearch::NotAsked
                                : Found               ? TSpineSearch::Found
                                                      : TSpineSearch::NotFound;
    return TCoverComposition{
        Chosen,        Composed,
        Search,        Cut.value_or(DescribedSpineCut(Picture.Width(), Chosen, 0)),
        Inlay.Width(), {}};
}

std::string LowResolutionNotice(int InlayWidth) {
    if (InlayWidth <= 0)
        return {};
    const int Dpi = TrayCardDensity(InlayWidth).RoundedDotsPerInch();
    return Dpi < LowResolutionDotsPerInch
               ? "Low resolution: " + std::to_string(Dpi) + " dpi at tray-card size"
               : std::string();
}
