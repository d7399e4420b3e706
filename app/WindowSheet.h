#pragma once

// What the window prints on a sheet, from the print choices (app/settings/PrintOptions.h): the
// pieces with their pictures and the caption naming them.

#include "app/settings/PrintOptions.h"
#include "print_sheet/PrintSheet.h"

#include <string>
#include <vector>

class TBitmap32;

struct TWindowSheet {
    std::vector<TSheetItem> Items;
    std::vector<const TBitmap32*> Pictures; // one for each item
    std::string Caption;                    // "" with the caption off
};

// The sheet of Inlay (whose spine strips are SpineWidth columns; CardCaption its caption) as
// Options choose: the card alone, twice, or with Front (square, from FrontFile; needed only for
// the card and the front cover).
TWindowSheet WindowSheet(const TPrintOptions& Options, const TBitmap32& Inlay, int SpineWidth,
                         const std::string& CardCaption, const TBitmap32* Front,
                         const std::string& FrontFile);
