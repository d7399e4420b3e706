#include "base/ErrorReporter.h"

#include "base/Exception.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

DECLARE_EXCEPTION_CLASS(ETestError, Exception);

class ErrorReporterTest : public testing::Test {
protected:
    void SetUp() override {
        SetErrorReporter([this](const std::exception& Error) {
            const auto* Own = dynamic_cast<const Exception*>(&Error);
            Reports.push_back(std::string(Own ? Own->ClassName() : "other") + ": " + Error.what());
        });
    }
    void TearDown() override { SetErrorReporter(nullptr); }

    std::vector<std::string> Reports;
};

} // namespace

TEST_F(ErrorReporterTest, HandsErrorsToTheInstalledReporter) {
    ReportError(ETestError("first"));
    ReportError(std::runtime_error("second"));
    EXPECT_EQ(Reports, (std::vector<std::string>{"ETestError: first", "other: second"}));
}

TEST_F(ErrorReporterTest, DropsTheSilentError) {
    ReportError(EAbort("abandoned"));
    EXPECT_TRUE(Reports.empty());
}

TEST_F(ErrorReporterTest, ReportsTheExceptionBeingHandled) {
    try {
        throw ETestError("from a handler");
    } catch (...) {
        ReportCurrentException();
    }
    try {
        throw 42;
    } catch (...) {
        ReportCurrentException();
    }
    EXPECT_EQ(Reports, (std::vector<std::string>{"ETestError: from a handler",
                                                 "Exception: Unknown exception"}));
}

TEST_F(ErrorReporterTest, AThrowingReporterDoesNotLetTheErrorEscape) {
    SetErrorReporter([](const std::exception&) { throw std::runtime_error("log is full"); });
    testing::internal::CaptureStderr();
    ReportError(ETestError("lost?"));
    const std::string Written = testing::internal::GetCapturedStderr();
    EXPECT_NE(Written.find("ETestError: lost?"), std::string::npos) << Written;
    EXPECT_NE(Written.find("log is full"), std::string::npos) << Written;
}

TEST_F(ErrorReporterTest, WithoutReporterWritesToStandardError) {
    SetErrorReporter(nullptr);
    testing::internal::CaptureStderr();
    ReportError(ETestError("Can't allocate the DIB handle"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ETestError: Can't allocate the DIB handle\n");
}
