#pragma once

// The platform part of the registry access layer: a store of keys below HKEY_CURRENT_USER, each
// holding typed values. On Windows it is the system registry; elsewhere a file in the registry
// export format (TRegistryFileStore).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Value types, numbered as the registry numbers them.
constexpr std::uint32_t RegNone = 0;
constexpr std::uint32_t RegSz = 1;
constexpr std::uint32_t RegExpandSz = 2;
constexpr std::uint32_t RegBinary = 3;
constexpr std::uint32_t RegDword = 4; // 4 bytes, little-endian
constexpr std::uint32_t RegMultiSz = 7;
constexpr std::uint32_t RegQword = 11;

// A value as the registry holds it: its type and its raw data. A RegSz string's data are its
// 8-bit characters and a terminating zero byte.
struct TRegistryValue {
    std::uint32_t Type = RegNone;
    std::vector<std::uint8_t> Data;

    bool operator==(const TRegistryValue&) const = default;
};

// An open key. Destroying it closes the key.
class TRegistryKey {
public:
    virtual ~TRegistryKey() = default;

    // The value Name of the key (names compare without regard to case), or nothing when there is
    // none or it cannot be read.
    virtual std::optional<TRegistryValue> QueryValue(const std::string& Name) = 0;

    // Sets the value Name, replacing one of that name. False when the value cannot be stored;
    // the key then holds what it held before.
    virtual bool SetValue(const std::string& Name, const TRegistryValue& Value) = 0;
};

class TRegistryStore {
public:
    virtual ~TRegistryStore() = default;

    // Opens Key, a path below HKEY_CURRENT_USER such as "Software\Brenlow\Trayvane", with full
    // access; with CanCreate the key (and the keys above it) is created when missing. Returns
    // nullptr when the key does not exist (and is not to be created) or cannot be opened. The
    // key must not outlive the store.
    virtual std::unique_ptr<TRegistryKey> OpenKey(const std::string& Key, bool CanCreate) = 0;
};
