#pragma once

// The full way of the batch command from a cover's file to its inlay, as the window goes it:
// preparing the picture (loading any kind of picture, photos turned upright), the layout, the
// spine search or the explicit cut, the composition. Every output of the full way, the PDF
// writer's sheet included, starts here.

#include "base/Exception.h"
#include "compose_cli/ScanPreparation.h"
#include "composer/InlayLayout.h"
#include "composer/SpineCut.h"
#include "composer/TrayInlay.h"

#include <optional>
#include <string>
#include <vector>

class TBitmap32;

// What became of the spine search of one file.
enum class TSpineSearch { NotAsked, Found, NotFound };

// How a cover was composed.
struct TCoverComposition {
    TInlayLayout Layout;           // the layout asked for, or the one the proportions give
    TInlayComposition Composition; // the cut used, the sizes, the density
    TSpineSearch Search;
    TSpineCut Cut; // the spine's edges at slider position 0: the one found, or the layout's own
    int InlayWidth = 0; // the inlay's width, in pixels
    std::string Notice; // what preparing the picture has to tell (StraightenNotice), or empty
};

// What a cover's inlay is composed with.
struct TCoverRequest {
    std::optional<TInlayLayout> Layout; // none: chosen from the picture's proportions
    int Spine = 0;                      // one of SpineSettings
    bool LookForSpine = false;          // cut where FindSpine finds the spine
    std::optional<TSpineCut> Cut;       // an explicit cut, its edges at position 0, counted in
                                        // the prepared picture
    TScanPreparation Preparation;       // turned and straightened before all else
};

// What the batch command reports of a file it wrote: the spine search, the inlay's width (0: not
// known), from which its density at tray-card size follows, and the notes of the PDF writer.
struct TFileOutcome {
    TSpineSearch Search = TSpineSearch::NotAsked;
    int InlayWidth = 0;
    std::vector<std::string> Notices;
};

// "Low resolution: N dpi at tray-card size" for an inlay InlayWidth pixels wide that prints below
// LowResolutionDotsPerInch at tray-card size, as the window says it; empty otherwise and for 0.
std::string LowResolutionNotice(int InlayWidth);
// A JPEG file whose data libjpeg reports damaged (a segment cut short, codes that decode to
// nothing) is refused by the batch command, which would otherwise write an inlay with grey or
// garbled parts unseen; the message is libjpeg's words. The window shows such a picture and says
// it is damaged.
DECLARE_EXCEPTION_CLASS(EDamagedPicture, Exception);

// LoadCoverPicture as the batch command loads every picture, its covers and its front covers
// alike: throws EDamagedPicture for damaged JPEG data, Picture then being as it was.
void LoadSoundCoverPicture(TBitmap32& Picture, const std::string& Input);

// What straightening a scan has to tell of Finding: that the card's edge could not be told from
// the scanner's lid, where so; empty otherwise.
std::string StraightenNotice(const TCardFinding& Finding);

// The picture a composition starts from: Input loaded (LoadSoundCoverPicture, photos turned
// upright, damaged JPEG data refused with EDamagedPicture) and prepared as Preparation asks
// (PrepareScan: turned, straightened). The layout, the spine search and an explicit cut all see the
// picture as prepared.
std::string PrepareCoverPicture(const std::string& Input, const TScanPreparation& Preparation,
                                TBitmap32& Picture);

// Prepares Input and composes its inlay into Inlay (ComposeCoverPicture). Throws what the steps
// throw.
TCoverComposition ComposeCover(const std::string& Input, const TCoverRequest& Request,
                               TBitmap32& Inlay);

// Composes the inlay of a picture already loaded and prepared into Inlay in Request.Layout (or
// the one its proportions give) with the spine setting Request.Spine: at Request.Cut when given
// (checked with CheckExplicitCut: ESpineCutError), else with LookForSpine at the spine FindSpine
// finds, else, and when it finds none, at the layout's own cut. Request.Preparation plays no
// part here. Throws what the steps throw.
TCoverComposition ComposeCoverPicture(const TBitmap32& Picture, const TCoverRequest& Request,
                                      TBitmap32& Inlay);
