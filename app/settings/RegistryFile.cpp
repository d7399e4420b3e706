#include "app/settings/RegistryFile.h"

#include "base/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

namespace {

class TRegistryFileKey final : public TRegistryKey {
public:
    TRegistryFileKey(TRegistryFileStore& Store, std::string Path)
        : FStore(Store), FPath(std::move(Path)) {}

    std::optional<TRegistryValue> QueryValue(const std::string& Name) override {
        return FStore.QueryValue(FPath, Name);
    }
    bool SetValue(const std::string& Name, const TRegistryValue& Value) override {
        return FStore.SetValue(FPath, Name, Value);
    }

private:
    TRegistryFileStore& FStore;
    std::string FPath;
};

// The key path without leading and trailing delimiters, or nothing when it cannot be a key.
std::optional<std::string> NormalizedKeyPath(const std::string& Key) {
    const std::size_t First = Key.find_first_not_of('\\');
    if (First == std::string::npos)
        return std::nullopt;
    const std::string Path = Key.substr(First, Key.find_last_not_of('\\') - First + 1);
    if (Path.find("\\\\") != std::string::npos || !IsRepresentableRegistryName(Path))
        return std::nullopt;
    return Path;
}

// The whole file as text; raises ERegistryStoreError when it exists but cannot be read.
std::optional<std::string> ReadFileIfPresent(const std::string& Path) {
    std::error_code Error;
    if (!std::filesystem::exists(Path, Error) && !Error)
        return std::nullopt;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> File(std::fopen(Path.c_str(), "rb"),
                                                               &std::fclose);
    if (!File || std::filesystem::is_directory(Path, Error))
        throw ERegistryStoreError("The settings file '" + Path + "' cannot be used: " +
                                  (File ? "it is a folder" : std::strerror(errno)));
    std::string Text;
    char Buffer[4096];
    std::size_t Count;
    while ((Count = std::fread(Buffer, 1, sizeof Buffer, File.get())) > 0)
        Text.append(Buffer, Count);
    if (std::ferror(File.get()))
        throw ERegistryStoreError("The settings file '" + Path +
                                  "' cannot be used: " + std::strerror(errno));
    return Text;
}

} // namespace

TRegistryFileStore::TRegistryFileStore(std::string Path) : FPath(std::move(Path)) {}

void TRegistryFileStore::LoadOnce() {
    if (FLoaded)
        return;
    // Whatever happens below, the store counts as read: a bad file is reported once only.
    FLoaded = true;
    const std::optional<std::string> Text = ReadFileIfPresent(FPath);
    if (!Text)
        return;
    try {
        FContent = ParseRegistryText(*Text);
    } catch (const ERegistryTextError& Error) {
        throw ERegistryStoreError("The settings file '" + FPath +
                                  "' cannot be used: " + Error.Message());
    }
}

std::unique_ptr<TRegistryKey> TRegistryFileStore::OpenKey(const std::string& Key, bool CanCreate) {
    LoadOnce();
    const std::optional<std::string> Path = NormalizedKeyPath(Key);
    if (!Path)
        return nullptr;
    if (FindRegistryKey(FContent, *Path) == nullptr) {
        if (!CanCreate)
            return nullptr;
        FContent.push_back({*Path, {}});
    }
    return std::make_unique<TRegistryFileKey>(*this, *Path);
}

std::optional<TRegistryValue> TRegistryFileStore::QueryValue(const std::string& Path,
                                                             const std::string& Name) {
    TRegistryKeyContent* Key = FindRegistryKey(FContent, Path);
    const TRegistryNamedValue* Value = Key ? FindRegistryValue(*Key, Name) : nullptr;
    return Value ? std::optional<TRegistryValue>(Value->Value) : std::nullopt;
}

bool TRegistryFileStore::SetValue(const std::string& Path, const std::string& Name,
                                  const TRegistryValue& Value) {
    if (!IsRepresentableRegistryName(Name)) {
        FLastWriteError = "the value name holds a line break or a zero byte";
        return false;
    }
    if (QueryValue(Path, Name) == Value)
        return true;
    TRegistryContent Changed = FContent;
    TRegistryKeyContent* Key = FindRegistryKey(Changed, Path);
    if (Key == nullptr)
        Key = &Changed.emplace_back(TRegistryKeyContent{Path, {}});
    SetRegistryValue(*Key, Name, Value);
    const std::string Failure = ReplaceFileAtomically(FPath, FormatRegistryText(Changed));
    if (!Failure.empty()) {
        FLastWriteError = Failure;
        return false;
    }
    FContent = std::move(Changed);
    return true;
}
