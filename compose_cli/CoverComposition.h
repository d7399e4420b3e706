#pragma once

// The full way of the batch command from a cover's file to its inlay, as the window goes it:
// loading (any kind of picture, photos turned upright), the layout, the spine search, the
// composition. The JPEG and PPM outputs and the PDF writer's sheet all start here.

#include "base/Exception.h"
#include "compose_cli/ScanPreparation.h"
#include "composer/InlayLayout.h"
#include "composer/SpineCut.h"

#include <optional>
#include <string>
#include <vector>

class TBitmap32;

// What became of the spine search of one file.
enum class TSpineSearch { NotAsked, Found, NotFound };

// How a cover was composed.
struct TCoverComposition {
    TInlayLayout Layout; // the layout asked for, or the one the picture's proportions give
    int SpineWidth;      // the width of each spine strip of the inlay, in pixels
    TSpineSearch Search;
    TSpineCut Cut; // the spine's edges at slider position 0: the one found, or the layout's own
    int InlayWidth = 0; // the inlay's width, in pixels
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

// Loads Input (LoadCoverPicture), prepares it as Preparation asks (PrepareScan: turned,
// straightened) and composes its inlay into Inlay in Layout (or the one its proportions give)
// with the spine setting Spine: with LookForSpine at the spine FindSpine finds, else, and when it
// finds none, at the layout's own cut. Throws EDamagedPicture for damaged JPEG data (nothing is
// composed), and what the steps throw.
TCoverComposition ComposeCover(const std::string& Input, std::optional<TInlayLayout> Layout,
                               int Spine, bool LookForSpine, TBitmap32& Inlay,
                               const TScanPreparation& Preparation = {});

// The same for a picture already loaded and prepared.
TCoverComposition ComposeCoverPicture(const TBitmap32& Picture, std::optional<TInlayLayout> Layout,
                                      int Spine, bool LookForSpine, TBitmap32& Inlay);
