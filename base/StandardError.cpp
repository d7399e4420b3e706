#include "base/StandardError.h"

#include <cstdio>

void WriteToStandardError(const std::string& Text) noexcept {
    std::fwrite(Text.data(), 1, Text.size(), stderr);
    std::fflush(stderr);
}
