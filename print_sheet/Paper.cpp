#include "print_sheet/Paper.h"

#include "base/FileName.h"

#include <cstdlib>

TPaper A4Paper() {
    return {"A4", 210.0, 297.0};
}

TPaper LetterPaper() {
    // 8.5 x 11 inches.
    return {"Letter", 215.9, 279.4};
}

std::optional<TPaper> PaperByName(const std::string& Value) {
    if (SameTextAscii(Value, "a4"))
        return A4Paper();
    if (SameTextAscii(Value, "letter"))
        return LetterPaper();
    return std::nullopt;
}

TPaper PaperForLocale(const std::string& LocaleName) {
    // language[_territory][.codeset][@modifier]
    const std::size_t Underscore = LocaleName.find('_');
    if (Underscore == std::string::npos)
        return A4Paper();
    const std::size_t End = LocaleName.find_first_of(".@", Underscore);
    const std::string Territory = LocaleName.substr(Underscore + 1, End - Underscore - 1);
    return Territory == "US" || Territory == "CA" ? LetterPaper() : A4Paper();
}

std::string PaperLocaleName() {
    for (const char* Variable : {"LC_ALL", "LC_PAPER", "LANG"})
        if (const char* Value = std::getenv(Variable); Value && *Value)
            return Value;
    return {};
}
