#pragma once

// The system registry of Windows as the registry store: HKEY_CURRENT_USER, keys opened with
// KEY_ALL_ACCESS. Built on Windows only.

#include "app/settings/RegistryStore.h"

class TSystemRegistryStore final : public TRegistryStore {
public:
    std::unique_ptr<TRegistryKey> OpenKey(const std::string& Key, bool CanCreate) override;
};
