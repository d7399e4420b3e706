#include "base/FileName.h"

#include <algorithm>

namespace {

constexpr const char* PathDelimiters = "\\:/";

// Position of the extension's dot, or npos when the name has no extension.
std::string::size_type ExtensionDot(const std::string& FileName) {
    const auto Dot = FileName.find_last_of('.');
    if (Dot == std::string::npos)
        return std::string::npos;
    const auto Delimiter = FileName.find_last_of(PathDelimiters);
    if (Delimiter != std::string::npos && Delimiter > Dot)
        return std::string::npos;
    return Dot;
}

char LowerAscii(char C) {
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

} // namespace

std::string ExtractFileExt(const std::string& FileName) {
    const auto Dot = ExtensionDot(FileName);
    return Dot == std::string::npos ? std::string{} : FileName.substr(Dot);
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Extension) {
    const auto Dot = ExtensionDot(FileName);
    return (Dot == std::string::npos ? FileName : FileName.substr(0, Dot)) + Extension;
}

std::string ExtractFilePath(const std::string& FileName) {
    const auto Delimiter = FileName.find_last_of(PathDelimiters);
    return Delimiter == std::string::npos ? std::string{} : FileName.substr(0, Delimiter + 1);
}

bool SameTextAscii(const std::string& A, const std::string& B) {
    return std::equal(A.begin(), A.end(), B.begin(), B.end(),
                      [](char X, char Y) { return LowerAscii(X) == LowerAscii(Y); });
}
