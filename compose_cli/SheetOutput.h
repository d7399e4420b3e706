#pragma once

// trayvane-compose's PDF outputs: the job handed to the PDF writer, and what its report says in
// the command's words.

#include "compose_cli/PrintSheetHelper.h"

#include <string>
#include <vector>

struct TComposeOptions;

// The PDF writer's job for Options: the paper named, else the locale's.
TPrintSheetJob PrintSheetJobOf(const TComposeOptions& Options);

// Writes Output, the print sheets of Inputs, through the PDF writer and returns its report as
// trayvane-compose prints it, a line each: "trayvane-compose: FILE: CLASS: MESSAGE" for a
// failure (Failed is then set), "trayvane-compose: FILE: no spine found, the layout's own cut is
// used", "trayvane-compose: FILE: NOTICE". Throws what RunPrintSheetHelper throws.
std::string PrintSheetOutput(const std::vector<std::string>& Inputs, const std::string& Output,
                             const TComposeOptions& Options, bool& Failed);
