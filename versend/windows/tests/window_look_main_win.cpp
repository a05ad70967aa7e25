// The look test's main() on Windows: the display font from beside the programs, and Qt's Windows
// platform when the test run offers a display (QV_TEST_DISPLAY, shown through Wine's X11 driver),
// otherwise off screen.
#include "versend/windows/display_font.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QV_TEST_DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    versend::loadDisplayFont(QStringLiteral(QV_VERSE_FOLDER));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
