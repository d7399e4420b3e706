#pragma once

// A table of command lines that trayvane-compose refuses as usage errors, each with a part of the
// one-line reason it gives. The test that runs a table is in UsageErrorTest.cpp; the tables are
// beside the tests of their options (INSTANTIATE_TEST_SUITE_P(..., UsageErrorTest, ...)).

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct TUsageCase {
    std::string Name;
    std::vector<std::string> Arguments;
    std::string Reason; // a part of the one-line reason
};

class UsageErrorTest : public testing::TestWithParam<TUsageCase> {};
