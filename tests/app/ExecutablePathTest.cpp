#include "app/ExecutablePath.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ExecutablePathTest, NamesThisProgram) {
    const std::string Path = ExecutablePath();
    ASSERT_FALSE(Path.empty());
    EXPECT_TRUE(std::filesystem::path(Path).is_absolute()) << Path;
    EXPECT_TRUE(std::filesystem::equivalent(Path, "/proc/self/exe")) << Path;
}

} // namespace
