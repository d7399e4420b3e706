// Entry point of the widget tests that need one QApplication for all of them.

#include <QApplication>

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
// A test asks for a back buffer far beyond any memory; the sanitizer's allocator must then fail
// the way the system's does, by returning nothing, instead of ending the run.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}
#endif

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // The tests expect exact window sizes, which only the offscreen platform guarantees; it also
    // lets CTest list the tests on a machine without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication Application(argc, argv);
    return RUN_ALL_TESTS();
}
