#include "widgets/SplitterRules.h"

#include <algorithm>

int SplitterMaxSize(int ControlHeight, int FillingControlHeight) {
    return std::max(ControlHeight + FillingControlHeight - SplitterMinSize, 0);
}

int SplitterNewSize(int StartSize, int Delta, int MaxSize) {
    const long long Wanted = static_cast<long long>(StartSize) + Delta;
    if (Wanted <= SplitterMinSize)
        return 0;
    return static_cast<int>(std::min<long long>(Wanted, MaxSize));
}
