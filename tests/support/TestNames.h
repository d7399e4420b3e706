#pragma once

// Names for the rows of a GoogleTest table, so that CTest lists each row in words
// ("Table/DropEffectTest.Case/CtrlShift_OffersCopyLink") instead of by its index.

#include <sstream>
#include <string>

// Text as a test name: letters and digits stay, a "-" before a digit becomes "Minus", every other
// run of characters one "_". An empty text gives "Empty".
inline std::string AsTestName(const std::string& Text) {
    const auto IsDigit = [](char C) { return C >= '0' && C <= '9'; };
    std::string Name;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const char C = Text[I];
        if ((C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || IsDigit(C))
            Name += C;
        else if (C == '-' && I + 1 < Text.size() && IsDigit(Text[I + 1]))
            Name += "Minus";
        else if (!Name.empty() && Name.back() != '_')
            Name += '_';
    }
    while (!Name.empty() && Name.back() == '_')
        Name.pop_back();
    return Name.empty() ? "Empty" : Name;
}

// The parts streamed one after another, as a test name.
template <class... TParts>
std::string TestNameOf(const TParts&... Parts) {
    std::ostringstream Text;
    (Text << ... << Parts);
    return AsTestName(Text.str());
}
