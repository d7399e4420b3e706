#include "base/ExceptionClassName.h"

#include "base/Exception.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

DECLARE_EXCEPTION_CLASS(EOwnTestError, Exception);

TEST(ExceptionClassNameTest, OwnAndForeignErrors) {
    const EOwnTestError Own("x");
    const std::exception& AsBase = Own;
    EXPECT_EQ(ExceptionClassName(AsBase), "EOwnTestError");
    EXPECT_EQ(ExceptionClassName(Exception("x")), "Exception");
    const std::out_of_range Foreign("x");
    const std::exception& ForeignAsBase = Foreign;
    EXPECT_EQ(ExceptionClassName(ForeignAsBase), "std::out_of_range");
    EXPECT_EQ(ExceptionClassName(std::bad_alloc()), "std::bad_alloc");
}

} // namespace
