#pragma once

// The per-user registry kept in a file in the registry export format (RegistryText.h), for
// systems without a registry. The file is read once, at the first opening of a key; after that
// the store works on its copy in memory, and every change of a value replaces the whole file
// atomically (base/AtomicFile.h), so the file always holds either the old or the new content.
// Only a regular file of at most 1 MB serves: a folder, a named pipe or a device at the path is
// neither read (nothing waits for it) nor written.

#include "app/settings/RegistryException.h"
#include "app/settings/RegistryStore.h"
#include "app/settings/RegistryText.h"

#include <string>

// The file of the store cannot be used: "The settings file '<path>' cannot be used: <why>".
DECLARE_EXCEPTION_CLASS(ERegistryStoreError, ERegistryException);

class TRegistryFileStore final : public TRegistryStore {
public:
    // A store kept in the file Path; nothing is read yet.
    explicit TRegistryFileStore(std::string Path);

    const std::string& Path() const noexcept { return FPath; }

    // The first call reads the file. A missing file is an empty store. A file that cannot be
    // read or parsed (or is no regular file, or is larger than 1 MB) is taken as an empty store
    // too, and that first call raises
    // ERegistryStoreError saying why, once; the file is left alone until the first change of a
    // value replaces it. Creating a key changes the file only when a value is set in it. Key
    // paths compare without regard to case; a path with an empty part or a line break cannot be
    // opened.
    std::unique_ptr<TRegistryKey> OpenKey(const std::string& Key, bool CanCreate) override;

    // Sets the value Name of the key Path and replaces the file, unless the key already holds
    // exactly that value. False, with memory and file unchanged, when the file cannot be
    // replaced or the name cannot be written; LastWriteError() then says why. When the first
    // reading found a folder, a named pipe or a device at the path (and said so), that is left
    // alone for the whole run: the value is kept in memory only, and true returned, so that the
    // same fault is not reported a second time.
    bool SetValue(const std::string& Path, const std::string& Name, const TRegistryValue& Value);

    // The value Name of the key Path, or nothing.
    std::optional<TRegistryValue> QueryValue(const std::string& Path, const std::string& Name);

    // Why the last failed change of a value could not be stored, or "".
    const std::string& LastWriteError() const noexcept { return FLastWriteError; }

private:
    void LoadOnce();

    std::string FPath;
    bool FLoaded = false;
    bool FLeftAlone = false; // no regular file at the path when it was read: never written
    TRegistryContent FContent;
    std::string FLastWriteError;
};
