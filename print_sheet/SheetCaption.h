#pragma once

// The one line printed below the card, so that a stack of printed cards can be told apart.

#include "composer/InlayLayout.h"

#include <string>

// "cover.jpg · back and front · spine +5 %": the name of SourceFile without its folder, the
// layout and the spine setting (one of -20, -15, ..., 20); "card.jpg · tray card" for a whole
// tray card, which has no spine setting. UTF-8, as the file name is.
std::string SheetCaption(const std::string& SourceFile, TInlayLayout Layout, int Spine);
