#pragma once

// The per-user registry of this program's process: the system registry on Windows, elsewhere the
// file "$XDG_CONFIG_HOME/Brenlow/Trayvane.reg".

#include "app/settings/RegistryStore.h"

#include <string>

// The store's file for the given environment values (either may be null): XdgConfigHome when it
// is an absolute path, else "<Home>/.config"; then "/Brenlow/Trayvane.reg". "" when neither
// gives a folder.
std::string RegistryFilePath(const char* XdgConfigHome, const char* Home);

// The process's store, made at the first call and kept to the end of the process. Elsewhere than
// on Windows it is a TRegistryFileStore on RegistryFilePath($XDG_CONFIG_HOME, $HOME), with the
// user database's home folder when HOME is unset.
TRegistryStore& UserRegistryStore();
