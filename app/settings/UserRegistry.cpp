#include "app/settings/UserRegistry.h"

#ifdef _WIN32
#include "app/settings/SystemRegistry.h"
#else
#include "app/settings/RegistryFile.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>
#endif

namespace {

#ifndef _WIN32
// The home folder from the user database, for a process started without HOME.
std::string UserDatabaseHome() {
    passwd Entry{};
    passwd* Found = nullptr;
    std::vector<char> Buffer(16384);
    if (::getpwuid_r(::getuid(), &Entry, Buffer.data(), Buffer.size(), &Found) != 0 ||
        Found == nullptr || Found->pw_dir == nullptr)
        return {};
    return Found->pw_dir;
}
#endif

} // namespace

std::string RegistryFilePath(const char* XdgConfigHome, const char* Home) {
    std::string Folder;
    if (XdgConfigHome != nullptr && XdgConfigHome[0] == '/')
        Folder = XdgConfigHome;
    else if (Home != nullptr && Home[0] != '\0')
        Folder = std::string(Home) + "/.config";
    else
        return {};
    return Folder + "/Brenlow/Trayvane.reg";
}

TRegistryStore& UserRegistryStore() {
#ifdef _WIN32
    static TSystemRegistryStore Store;
#else
    static TRegistryFileStore Store([] {
        const char* Home = std::getenv("HOME");
        const std::string DatabaseHome =
            Home != nullptr && Home[0] != '\0' ? "" : UserDatabaseHome();
        return RegistryFilePath(std::getenv("XDG_CONFIG_HOME"),
                                DatabaseHome.empty() ? Home : DatabaseHome.c_str());
    }());
#endif
    return Store;
}
