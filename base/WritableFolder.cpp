#include "base/WritableFolder.h"

#include <fcntl.h>
#include <unistd.h>

bool IsWritableFolder(const std::string& Folder) {
    // The effective user's rights, as the file would be created with them.
    return ::faccessat(AT_FDCWD, Folder.empty() ? "." : Folder.c_str(), W_OK | X_OK, AT_EACCESS) ==
           0;
}
