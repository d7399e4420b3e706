#pragma once

// The PDF writer's job (compose_cli/PrintSheetHelper.h): one input's print sheet as a PDF file.

#include "compose_cli/PrintSheetHelper.h"

#include <string>

// Loads Input, composes its inlay as trayvane-compose does (ComposeCover), and writes its print
// sheet to Output (WritePdfSheet) with the caption of Input's name, the layout and the spine.
// Returns how it was composed. Needs a QGuiApplication. Throws what the steps throw.
TCoverComposition WritePrintSheetFile(const std::string& Input, const std::string& Output,
                                      const TPrintSheetJob& Job);
