#include "base/SysError.h"

#include <cstring>

std::string SysErrorMessage(int ErrorCode) {
    // The GNU strerror_r returns its text, which need not be the buffer it was given.
    char Buffer[256] = {};
    std::string Text = strerror_r(ErrorCode, Buffer, sizeof Buffer);
    while (!Text.empty()) {
        const auto Last = static_cast<unsigned char>(Text.back());
        if (Last > ' ' && Last != '.' && Last != 0x7F)
            break;
        Text.pop_back();
    }
    return Text;
}
