#pragma once

// System colours read from the application's palette, the stand-in for the system's colour table.

#include "raster/Color.h"

// The 00BBGGRR colour of a system colour: the button face (clBtnFace) is the palette's button
// colour; any other index gives the palette's window colour.
// Reads the palette of the running QGuiApplication; call it on the GUI thread.
TColor PaletteSystemColor(TColor SystemColor);
