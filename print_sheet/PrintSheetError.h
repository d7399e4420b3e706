#pragma once

// The errors of laying out, drawing and writing a print sheet.

#include "base/Exception.h"

DECLARE_EXCEPTION_CLASS(EPrintSheetError, Exception);

inline constexpr const char* NoImageToPrintMessage = "No image to print";
inline constexpr const char* BleedRangeMessage = "The bleed must be 0 to 3 mm";
