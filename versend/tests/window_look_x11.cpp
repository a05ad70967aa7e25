// The X11 keyboard layer on the test run's display, and the main() of the look test on Linux:
// a real X display when the test run offers one (QV_TEST_DISPLAY), otherwise off screen.
#include "versend/keyboard_layout.h"

#include <QApplication>
#include <QGuiApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace versend {
namespace {

bool onRealDisplay() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// With an Arabic group added to the display's keymap.
class X11KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!onRealDisplay()) GTEST_SKIP() << "needs an X display (QV_TEST_DISPLAY)";
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        if (!setLayouts(QStringLiteral("us,ara"))) GTEST_SKIP() << "setxkbmap is not available";
    }
    void TearDown() override {
        if (display) {
            setLayouts(QStringLiteral("us"));
            XCloseDisplay(display);
        }
    }
    static bool setLayouts(const QString& layouts) {
        return QProcess::execute(QStringLiteral("setxkbmap"), {QStringLiteral("-layout"), layouts}) == 0;
    }
    int lockedGroup() {
        XkbStateRec state{};
        XkbGetState(display, XkbUseCoreKbd, &state);
        return state.locked_group;
    }
    Display* display = nullptr;
};

TEST_F(X11KeyboardTest, SwitchesToTheArabicGroupAndBack) {
    const auto layout = makePlatformKeyboardLayout();
    ASSERT_EQ(lockedGroup(), 0);
    layout->activateArabic();
    EXPECT_EQ(lockedGroup(), 1);
    layout->activateArabic();  // again: the group to go back to stays the first one
    EXPECT_EQ(lockedGroup(), 1);
    layout->restoreDefault();
    EXPECT_EQ(lockedGroup(), 0);

    // Without an Arabic group nothing changes, and nothing fails.
    ASSERT_TRUE(setLayouts(QStringLiteral("us,de")));
    layout->activateArabic();
    EXPECT_EQ(lockedGroup(), 0);
    layout->restoreDefault();
    EXPECT_EQ(lockedGroup(), 0);
}

}  // namespace
}  // namespace versend

int main(int argc, char* argv[]) {
    // A real X display when the test run offers one; otherwise off screen (no pictures).
    const QByteArray display = qgetenv("QV_TEST_DISPLAY");
    if (!display.isEmpty()) {
        qputenv("DISPLAY", display);
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
