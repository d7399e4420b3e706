#include "app/settings/RegistryFile.h"

#include "base/AtomicFile.h"
#include "base/FileHandle.h"
#include "base/ReadableFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <unistd.h>
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

// Settings files are small; anything larger is not one.
constexpr std::size_t MaxSettingsFileBytes = std::size_t{1} << 20;

[[noreturn]] void ThrowUnusable(const std::string& Path, const std::string& Why) {
    throw ERegistryStoreError("The settings file '" + Path + "' cannot be used: " + Why);
}

// The whole file as text; raises ERegistryStoreError when it exists but cannot be read. Only a
// regular file of at most 1 MB is read: a named pipe, a device or a folder at the path is
// refused without waiting for it, and LeftAlone set.
std::optional<std::string> ReadFileIfPresent(const std::string& Path, bool& LeftAlone) {
    TFileHandle File;
    std::uint64_t Size = 0;
    if (const int Error = OpenFileForReading(Path, File, &Size)) {
        // No file, or a file where a folder of its path belongs: nothing is stored yet.
        if (Error == ENOENT || Error == ENOTDIR)
            return std::nullopt;
        LeftAlone = Error == EISDIR || Error == NotAFileToReadError;
        if (Error == EISDIR)
            ThrowUnusable(Path, "it is a folder");
        if (Error == NotAFileToReadError)
            ThrowUnusable(Path, "it is not a regular file");
        ThrowUnusable(Path, std::strerror(Error));
    }
    if (Size > MaxSettingsFileBytes)
        ThrowUnusable(Path, "it is larger than 1 MB");
    std::string Text;
    char Buffer[4096];
    for (;;) {
        const ssize_t Count = ::read(File.Get(), Buffer, sizeof Buffer);
        if (Count < 0 && errno == EINTR)
            continue;
        if (Count < 0)
            ThrowUnusable(Path, std::strerror(errno));
        if (Count == 0)
            break;
        Text.append(Buffer, static_cast<std::size_t>(Count));
        if (Text.size() > MaxSettingsFileBytes)
            ThrowUnusable(Path, "it is larger than 1 MB");
    }
    return Text;
}

} // namespace

TRegistryFileStore::TRegistryFileStore(std::string Path) : FPath(std::move(Path)) {}

void TRegistryFileStore::LoadOnce() {
    if (FLoaded)
        return;
    // Whatever happens below, the store counts as read: a bad file is reported once only.
    FLoaded = true;
    const std::optional<std::string> Text = ReadFileIfPresent(FPath, FLeftAlone);
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
    if (FLeftAlone) {
        // What stands at the path was reported when it was read: the change is kept for this
        // run only, and not reported again.
        TRegistryKeyContent* Key = FindRegistryKey(FContent, Path);
        if (Key == nullptr)
            Key = &FContent.emplace_back(TRegistryKeyContent{Path, {}});
        SetRegistryValue(*Key, Name, Value);
        return true;
    }
    TRegistryContent Changed = FContent;
    TRegistryKeyContent* Key = FindRegistryKey(Changed, Path);
    if (Key == nullptr)
        Key = &Changed.emplace_back(TRegistryKeyContent{Path, {}});
    SetRegistryValue(*Key, Name, Value);
    const std::string Failure =
        ReplaceFileAtomically(FPath, FormatRegistryText(Changed), TSpecialTarget::Refuse);
    if (!Failure.empty()) {
        FLastWriteError = Failure;
        return false;
    }
    FContent = std::move(Changed);
    return true;
}
