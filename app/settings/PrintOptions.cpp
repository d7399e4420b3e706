#include "app/settings/PrintOptions.h"

#include "app/settings/WindowPlacement.h"
#include "base/Finally.h"

void ReadPrintOptions(TRegistry& Registry, TPrintOptions& Options) {
    if (!Registry.OpenKey(PlacementKey, false))
        return;
    TryFinally(
        [&] {
            const auto Read = [&](const char* Name, int Low, int High, auto&& Take) {
                if (!Registry.ValueExists(Name))
                    return;
                const std::int32_t Value = Registry.ReadInteger(Name);
                if (Value >= Low && Value <= High)
                    Take(Value);
            };
            Read("PrintContent", 0, 2,
                 [&](int Value) { Options.Content = static_cast<TPrintContent>(Value); });
            Read("PrintBleed", 0, 30, [&](int Value) { Options.BleedTenths = Value; });
            Read("PrintCaption", 0, 1, [&](int Value) { Options.Caption = Value == 1; });
        },
        [&] { Registry.CloseKey(); });
}

void StorePrintOptions(TRegistry& Registry, const TPrintOptions& Options) {
    Registry.OpenKey(PlacementKey, true);
    TryFinally(
        [&] {
            Registry.WriteInteger("PrintContent", static_cast<std::int32_t>(Options.Content));
            Registry.WriteInteger("PrintBleed", Options.BleedTenths);
            Registry.WriteInteger("PrintCaption", Options.Caption ? 1 : 0);
        },
        [&] { Registry.CloseKey(); });
}
