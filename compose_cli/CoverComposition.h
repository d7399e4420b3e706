#pragma once

// The full way of the batch command from a cover's file to its inlay, as the window goes it:
// loading (any kind of picture, photos turned upright), the layout, the spine search, the
// composition. The JPEG and PPM outputs and the PDF writer's sheet all start here.

#include "composer/InlayLayout.h"
#include "composer/TrayInlay.h"

#include <optional>
#include <string>

class TBitmap32;

// What became of the spine search of one file.
enum class TSpineSearch { NotAsked, Found, NotFound };

// How a cover was composed.
struct TCoverComposition {
    TInlayLayout Layout;           // the layout asked for, or the one the proportions give
    TInlayComposition Composition; // the cut used, the sizes, the density
    TSpineSearch Search;
};

// Loads Input (LoadCoverPicture) and composes its inlay into Inlay in Layout (or the one its
// proportions give) with the spine setting Spine: with LookForSpine at the spine FindSpine finds,
// else, and when it finds none, at the layout's own cut. Throws what the steps throw.
TCoverComposition ComposeCover(const std::string& Input, std::optional<TInlayLayout> Layout,
                               int Spine, bool LookForSpine, TBitmap32& Inlay);
