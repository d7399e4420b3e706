#pragma once

// The paper a print sheet is laid out on: its size in millimetres, portrait. The program offers
// A4 and US Letter; the default follows the user's locale as most desktop programs do, Letter in
// the United States and Canada and A4 elsewhere.

#include <optional>
#include <string>

struct TPaper {
    std::string Name; // "A4", "Letter", or empty for a size given by a printer
    double Width;     // millimetres
    double Height;

    bool operator==(const TPaper&) const = default;
};

TPaper A4Paper();
TPaper LetterPaper();

// The paper a command-line value names: "a4" or "letter", in any case; none for another text.
std::optional<TPaper> PaperByName(const std::string& Value);

// The paper for a locale name such as "en_US.UTF-8" or "fr_CA@euro": Letter when its territory
// (the two letters after "_") is US or CA, A4 for every other name, "C" and "" included.
TPaper PaperForLocale(const std::string& LocaleName);

// The locale that chooses the paper, as the C library takes it: the first of LC_ALL, LC_PAPER
// and LANG that is set and not empty, else "".
std::string PaperLocaleName();
