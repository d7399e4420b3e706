#pragma once

// The window's choices for printing, kept in the per-user registry beside the window's placement
// (under the same key): what is printed, the bleed and the caption. The values are "PrintContent"
// (0 the tray card, 1 the tray card twice, 2 the tray card and the front cover), "PrintBleed"
// (tenths of a millimetre, 0 to 30) and "PrintCaption" (0 or 1), all REG_DWORD.

#include "app/settings/Registry.h"

#include <cstdint>

enum class TPrintContent : std::uint8_t { Card = 0, CardTwice = 1, CardAndFront = 2 };

struct TPrintOptions {
    TPrintContent Content = TPrintContent::Card;
    int BleedTenths = 0; // the bleed in tenths of a millimetre, 0 to 30
    bool Caption = true;

    double BleedMm() const noexcept { return BleedTenths / 10.0; }
    bool operator==(const TPrintOptions&) const = default;
};

// Reads the stored choices into Options, each when its value exists and holds one of its
// choices; any other stays as it is. Opens the key without creating it. Raises what ReadInteger
// raises for a value of the wrong type; the key is closed on every path.
void ReadPrintOptions(TRegistry& Registry, TPrintOptions& Options);

// Stores Options, creating the key when missing. Raises ERegistryException "Failed to set data
// for '<name>'" at the first value that cannot be written. The key is closed on every path.
void StorePrintOptions(TRegistry& Registry, const TPrintOptions& Options);
