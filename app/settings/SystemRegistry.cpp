#include "app/settings/SystemRegistry.h"

#include <windows.h>

namespace {

class TSystemRegistryKey final : public TRegistryKey {
public:
    explicit TSystemRegistryKey(HKEY Key) : FKey(Key) {}
    TSystemRegistryKey(const TSystemRegistryKey&) = delete;
    TSystemRegistryKey& operator=(const TSystemRegistryKey&) = delete;
    ~TSystemRegistryKey() override { RegCloseKey(FKey); }

    std::optional<TRegistryValue> QueryValue(const std::string& Name) override {
        DWORD Type = 0;
        DWORD Size = 0;
        if (RegQueryValueExA(FKey, Name.c_str(), nullptr, &Type, nullptr, &Size) != ERROR_SUCCESS)
            return std::nullopt;
        TRegistryValue Value{Type, std::vector<std::uint8_t>(Size)};
        if (Size > 0 && RegQueryValueExA(FKey, Name.c_str(), nullptr, &Type, Value.Data.data(),
                                         &Size) != ERROR_SUCCESS)
            return std::nullopt;
        Value.Type = Type;
        Value.Data.resize(Size);
        return Value;
    }

    bool SetValue(const std::string& Name, const TRegistryValue& Value) override {
        return RegSetValueExA(FKey, Name.c_str(), 0, Value.Type, Value.Data.data(),
                              static_cast<DWORD>(Value.Data.size())) == ERROR_SUCCESS;
    }

private:
    HKEY FKey;
};

} // namespace

std::unique_ptr<TRegistryKey> TSystemRegistryStore::OpenKey(const std::string& Key,
                                                            bool CanCreate) {
    HKEY Opened = nullptr;
    const LONG Result =
        CanCreate
            ? RegCreateKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &Opened, nullptr)
            : RegOpenKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, KEY_ALL_ACCESS, &Opened);
    if (Result != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<TSystemRegistryKey>(Opened);
}
