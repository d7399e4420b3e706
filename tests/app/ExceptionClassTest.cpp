#include "app/ExceptionClass.h"
#include "app/ExecutablePath.h"

#include "raster/Exception.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>

namespace {

DECLARE_EXCEPTION_CLASS(ETestError, Exception);
DECLARE_EXCEPTION_CLASS(ETestAbort, EAbort);

TEST(ExceptionClassTest, AbortsAreSilentEverythingElseIsLogged) {
    EXPECT_FALSE(ShouldLog(EAbort("")));
    EXPECT_FALSE(ShouldLog(ETestAbort("")));
    EXPECT_TRUE(ShouldLog(Exception("x")));
    EXPECT_TRUE(ShouldLog(ETestError("x")));
    EXPECT_TRUE(ShouldLog(std::bad_alloc()));
}

TEST(ExceptionClassTest, ClassNameOfOwnAndForeignErrors) {
    const ETestError Own("x");
    const std::exception& AsBase = Own;
    EXPECT_EQ(ExceptionClassName(AsBase), "ETestError");
    EXPECT_EQ(ExceptionClassName(Exception("x")), "Exception");
    const std::out_of_range Foreign("x");
    const std::exception& ForeignAsBase = Foreign;
    EXPECT_EQ(ExceptionClassName(ForeignAsBase), "std::out_of_range");
    EXPECT_EQ(ExceptionClassName(std::bad_alloc()), "std::bad_alloc");
}

TEST(ExecutablePathTest, NamesThisProgram) {
    const std::string Path = ExecutablePath();
    ASSERT_FALSE(Path.empty());
    EXPECT_TRUE(std::filesystem::path(Path).is_absolute()) << Path;
    EXPECT_TRUE(std::filesystem::equivalent(Path, "/proc/self/exe")) << Path;
}

} // namespace
