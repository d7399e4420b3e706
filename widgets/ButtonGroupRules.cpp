#include "widgets/ButtonGroupRules.h"

TDownChange ApplyDownRequest(bool CurrentDown, bool RequestedDown, int GroupIndex,
                             bool AllowAllUp) {
    if (GroupIndex == 0)
        return TDownChange{false, false};
    if (RequestedDown == CurrentDown)
        return TDownChange{CurrentDown, false};
    if (RequestedDown)
        return TDownChange{true, true};
    return TDownChange{!AllowAllUp, false};
}
