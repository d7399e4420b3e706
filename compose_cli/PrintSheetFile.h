#pragma once

// The PDF writer's job (compose_cli/PrintSheetHelper.h): the print sheets of one or more inputs
// as one PDF file.

#include "compose_cli/PrintSheetHelper.h"

#include <string>
#include <vector>

// Loads each of Inputs in order, composes its inlay as trayvane-compose does (ComposeCover) and
// puts it on the pages of Output: a page each, or with Job.PerSheet 2 two a page (the first
// above; a cover left alone on the last page is printed twice), each with the front cover when
// the job asks for it (Job.Front, cut square from its middle, or the part right of each input's
// spine). A file that fails is reported and left out, the others are printed; Output is written
// when anything was printed. Captions name what is on the page unless Job.Caption is off.
// Returns the report (compose_cli/SheetReport.h). Needs a QGuiApplication.
TSheetReport WritePrintSheetFile(const std::vector<std::string>& Inputs, const std::string& Output,
                                 const TPrintSheetJob& Job);
