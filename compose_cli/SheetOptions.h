#pragma once

// The options of trayvane-compose's print sheets beyond paper and bleed: --per-sheet 1|2,
// --front PICTURE, --front-from-cover and --no-caption, and the rules on what goes together.

#include <functional>
#include <string>

struct TComposeOptions;

// Takes the sheet option Name into Options, reading its value with TakeValue where it has one;
// false when Name is none of them. Throws EUsageError for a wrong value.
bool ParseSheetOption(const std::string& Name, const std::function<std::string()>& TakeValue,
                      TComposeOptions& Options);

// Whether Name is a sheet option that takes no value.
bool IsSheetFlag(const std::string& Name);

// Throws EUsageError when the sheet options do not go with the rest: any of them with an output
// that is not a PDF, --front with --front-from-cover, --front with more than one INPUT, either
// front with --per-sheet 2.
void CheckSheetOptions(const TComposeOptions& Options);
