#include "compose_cli/CoverComposition.h"

#include "composer/SpineFinder.h"
#include "composer/TrayInlay.h"
#include "picture_codecs/CoverPicture.h"
#include "raster/Bitmap32.h"

TCoverComposition ComposeCover(const std::string& Input, std::optional<TInlayLayout> Layout,
                               int Spine, bool LookForSpine, TBitmap32& Inlay) {
    TBitmap32 Picture;
    LoadCoverPicture(Picture, Input);
    const TInlayLayout Chosen = Layout.value_or(ChooseInlayLayout(Picture));
    const std::optional<TSpineFinding> Found =
        LookForSpine ? FindSpine(Picture, Chosen) : std::nullopt;
    const TInlayComposition Composed =
        ComposeInlay(Picture,
                     TInlayRequest{Chosen, static_cast<double>(Spine),
                                   Found ? std::optional<TSpineCut>(Found->Cut) : std::nullopt},
                     Inlay);
    const TSpineSearch Search = !LookForSpine ? TSpineSearch::NotAsked
                                : Found       ? TSpineSearch::Found
                                              : TSpineSearch::NotFound;
    return TCoverComposition{Chosen, Composed, Search};
}
