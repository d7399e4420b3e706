#include "app/LogField.h"

#include <cstdio>
#include <regex>

std::string LogFieldText(const std::string& Text) {
    std::string Out;
    Out.reserve(Text.size());
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const auto C = static_cast<unsigned char>(Text[I]);
        if (C == '\r') {
            Out += "\\r";
        } else if (C == '\n') {
            Out += "\\n";
        } else if ((C < 0x20 && C != '\t') || C == 0x7F) {
            char Code[8];
            std::snprintf(Code, sizeof Code, "\\x%02X", C);
            Out += Code;
        } else if (C == 0xC2 && I + 1 < Text.size() &&
                   static_cast<unsigned char>(Text[I + 1]) == 0x85) {
            Out += "\\u0085";
            ++I;
        } else if (C == 0xE2 && I + 2 < Text.size() &&
                   static_cast<unsigned char>(Text[I + 1]) == 0x80 &&
                   (static_cast<unsigned char>(Text[I + 2]) == 0xA8 ||
                    static_cast<unsigned char>(Text[I + 2]) == 0xA9)) {
            Out += static_cast<unsigned char>(Text[I + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
            I += 2;
        } else {
            Out += Text[I];
        }
    }
    return Out;
}

std::string LogMessageText(const std::string& Message) {
    // The stage holds no line break and the reason (the codec's own text) none either: the
    // first and the last two carriage returns are the template's, whatever the name holds.
    static const std::regex JpegBridgeMessage(
        "(Error [^\r\n]* image:)\r([\\s\\S]*)\rError: ([^\r]*)\rIJL Error number: (-?[0-9]+)");
    std::smatch Parts;
    if (!std::regex_match(Message, Parts, JpegBridgeMessage))
        return LogFieldText(Message);
    return LogFieldText(Parts[1]) + "\r" + LogFieldText(Parts[2]) +
           "\rError: " + LogFieldText(Parts[3]) + "\rIJL Error number: " + Parts[4].str();
}
