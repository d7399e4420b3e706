#pragma once

// Access to the per-user registry (HKEY_CURRENT_USER) through at most one open key at a time,
// with the operations the window placement needs. Errors are ERegistryException.

#include "app/settings/RegistryException.h"
#include "app/settings/RegistryStore.h"

#include <cstdint>
#include <memory>
#include <string>

class TRegistry {
public:
    // Works on Store, which must outlive this object. No key is open at first.
    explicit TRegistry(TRegistryStore& Store);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Closes the current key, then opens Key (below HKEY_CURRENT_USER, full access) as the
    // current key, creating it when missing if CanCreate. False, with no current key, when the
    // key does not exist or cannot be opened. A store that cannot read its data raises its own
    // ERegistryException once (see TRegistryFileStore).
    bool OpenKey(const std::string& Key, bool CanCreate);

    // Closes the current key, if any.
    void CloseKey() noexcept;

    bool HasCurrentKey() const noexcept { return FCurrentKey != nullptr; }

    // True when the current key holds a value Name, whatever its type; false without a key.
    bool ValueExists(const std::string& Name) const;

    // The value Name of the current key as a signed 32-bit integer. Raises "Failed to get data
    // for '<Name>'" when there is no such value (or no current key) or its data are longer than
    // 4 bytes, and "Invalid data type for '<Name>'" when they fit in 4 bytes but the value is no
    // REG_DWORD of exactly 4 bytes.
    std::int32_t ReadInteger(const std::string& Name) const;

    // Sets the value Name of the current key to Value as a REG_DWORD. Raises "Failed to set data
    // for '<Name>'" when it cannot be stored or no key is open.
    void WriteInteger(const std::string& Name, std::int32_t Value);

private:
    TRegistryStore& FStore;
    std::unique_ptr<TRegistryKey> FCurrentKey;
};

// The integer value Name of the registry's current key when a value of that name exists, else
// Default. Raises what ReadInteger raises for an existing value of the wrong type or size.
std::int32_t ReadIntegerDefault(const TRegistry& Registry, const std::string& Name,
                                std::int32_t Default);
