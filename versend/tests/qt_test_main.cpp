// Test entry point for the window's tests: one QApplication for the whole test program.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // Without a platform chosen (for example when CTest lists the tests), draw off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
