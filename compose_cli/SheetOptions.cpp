#include "compose_cli/SheetOptions.h"

#include "compose_cli/ComposeCommand.h"

bool ParseSheetOption(const std::string& Name, const std::function<std::string()>& TakeValue,
                      TComposeOptions& Options) {
    if (Name == "--per-sheet") {
        const std::string Value = TakeValue();
        if (Value != "1" && Value != "2")
            throw EUsageError("--per-sheet takes 1 or 2, not \"" + Value + "\"");
        Options.PerSheet = Value == "2" ? 2 : 1;
    } else if (Name == "--front") {
        Options.Front = TakeValue();
        if (Options.Front.empty())
            throw EUsageError("--front needs a picture");
    } else if (Name == "--front-from-cover") {
        Options.FrontFromCover = true;
    } else if (Name == "--no-caption") {
        Options.NoCaption = true;
    } else {
        return false;
    }
    return true;
}

bool IsSheetFlag(const std::string& Name) {
    return Name == "--front-from-cover" || Name == "--no-caption";
}

void CheckSheetOptions(const TComposeOptions& Options) {
    const bool Pdf = Options.OutputDir.empty()
                         ? OutputFormatOf(Options.Output) == TOutputFormat::Pdf
                         : Options.Format == TOutputFormat::Pdf;
    const char* const Used = Options.PerSheet         ? "--per-sheet"
                             : !Options.Front.empty() ? "--front"
                             : Options.FrontFromCover ? "--front-from-cover"
                             : Options.NoCaption      ? "--no-caption"
                                                      : nullptr;
    if (Used && !Pdf)
        throw EUsageError(std::string(Used) + " goes with a PDF output only");
    const bool AnyFront = !Options.Front.empty() || Options.FrontFromCover;
    if (!Options.Front.empty() && Options.FrontFromCover)
        throw EUsageError("--front and --front-from-cover do not go together");
    if (!Options.Front.empty() && Options.Inputs.size() > 1)
        throw EUsageError("--front goes with a single INPUT; for several covers use "
                          "--front-from-cover");
    if (AnyFront && Options.PerSheet == 2)
        throw EUsageError(std::string(Options.FrontFromCover ? "--front-from-cover" : "--front") +
                          " does not go with --per-sheet 2");
}
