#include "base/EndWithParent.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

bool EndWithParent(long ParentId) noexcept {
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0)
        return false;
    // A parent that ended before the request left this process to another one.
    return static_cast<long>(::getppid()) == ParentId;
}
