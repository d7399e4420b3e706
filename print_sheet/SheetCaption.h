#pragma once

// The one line printed below the card, so that a stack of printed cards can be told apart.

#include "composer/InlayLayout.h"

#include <string>

// "cover.jpg · back and front · spine +5 %": the name of SourceFile without its folder, the
// layout and the spine setting (one of -20, -15, ..., 20); "card.jpg · tray card" for a whole
// tray card, which has no spine setting. UTF-8, as the file name is.
std::string SheetCaption(const std::string& SourceFile, TInlayLayout Layout, int Spine);

// The caption of a tray card printed with its front cover: CardCaption, then " · front cover from
// NAME", NAME being FrontFile's name without its folder (the cover's own for a front taken from
// the same picture).
std::string FrontCoverCaption(const std::string& CardCaption, const std::string& FrontFile);

// The caption of a page with one card printed twice: CardCaption, then " · twice".
std::string TwiceCaption(const std::string& CardCaption);

// The caption of a page with two cards: "above: UPPER — below: LOWER".
std::string TwoCardsCaption(const std::string& Upper, const std::string& Lower);
