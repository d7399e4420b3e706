#include "app/settings/Registry.h"

namespace {

std::string ValueMessage(const char* Start, const std::string& Name) {
    return Start + (" for '" + Name + "'");
}

} // namespace

TRegistry::TRegistry(TRegistryStore& Store) : FStore(Store) {}

TRegistry::~TRegistry() {
    CloseKey();
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate) {
    // Closed first, so that after a failed open no later write can land in the old key.
    CloseKey();
    FCurrentKey = FStore.OpenKey(Key, CanCreate);
    return FCurrentKey != nullptr;
}

void TRegistry::CloseKey() noexcept {
    FCurrentKey.reset();
}

bool TRegistry::ValueExists(const std::string& Name) const {
    return FCurrentKey && FCurrentKey->QueryValue(Name).has_value();
}

std::int32_t TRegistry::ReadInteger(const std::string& Name) const {
    const auto Value = FCurrentKey ? FCurrentKey->QueryValue(Name) : std::nullopt;
    if (!Value || Value->Data.size() > 4)
        throw ERegistryException(ValueMessage("Failed to get data", Name));
    // A REG_DWORD of fewer than 4 bytes would leave part of the integer undefined.
    if (Value->Type != RegDword || Value->Data.size() != 4)
        throw ERegistryException(ValueMessage("Invalid data type", Name));
    const auto& D = Value->Data;
    return static_cast<std::int32_t>(std::uint32_t{D[0]} | std::uint32_t{D[1]} << 8 |
                                     std::uint32_t{D[2]} << 16 | std::uint32_t{D[3]} << 24);
}

void TRegistry::WriteInteger(const std::string& Name, std::int32_t Value) {
    const auto Bits = static_cast<std::uint32_t>(Value);
    const TRegistryValue Dword{
        RegDword,
        {static_cast<std::uint8_t>(Bits), static_cast<std::uint8_t>(Bits >> 8),
         static_cast<std::uint8_t>(Bits >> 16), static_cast<std::uint8_t>(Bits >> 24)}};
    if (!FCurrentKey || !FCurrentKey->SetValue(Name, Dword))
        throw ERegistryException(ValueMessage("Failed to set data", Name));
}

std::int32_t ReadIntegerDefault(const TRegistry& Registry, const std::string& Name,
                                std::int32_t Default) {
    return Registry.ValueExists(Name) ? Registry.ReadInteger(Name) : Default;
}
