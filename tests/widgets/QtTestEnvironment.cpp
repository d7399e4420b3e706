// One QApplication for all widget tests, created when the tests start (not while CTest only
// lists them), on the offscreen platform unless another is asked for.

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TQtEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        FApplication = std::make_unique<QApplication>(FArgc, FArgv);
    }
    void TearDown() override { FApplication.reset(); }

private:
    int FArgc = 1;
    char FName[16] = "widgets_tests";
    char* FArgv[2] = {FName, nullptr};
    std::unique_ptr<QApplication> FApplication;
};

[[maybe_unused]] testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TQtEnvironment);

} // namespace
