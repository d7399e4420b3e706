// Whether a folder may be written: as anyone (a folder of one's own, a missing one), and as an
// unprivileged user, for whom a read-only folder counts (root may write anywhere).

#include "base/WritableFolder.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(WritableFolderTest, AnyUser) {
    const TTempFolder Folder;
    EXPECT_TRUE(IsWritableFolder(Folder.Path().string()));
    EXPECT_TRUE(IsWritableFolder(Folder.Path().string() + "/"));
    EXPECT_FALSE(IsWritableFolder((Folder.Path() / "missing").string()));
}

TEST(WritableFolderTest, AsAnUnprivilegedUserAReadOnlyFolderIsNot) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write anywhere; run through RunUnprivileged.sh";
    const TTempFolder Folder;
    const fs::path ReadOnly = Folder.Path() / "cdrom";
    fs::create_directory(ReadOnly);
    fs::permissions(ReadOnly, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(IsWritableFolder(ReadOnly.string()));
    fs::permissions(ReadOnly, fs::perms::owner_all);
}
