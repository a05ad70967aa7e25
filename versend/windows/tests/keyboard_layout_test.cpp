// The Windows keyboard layer: Arabic on demand, and back to the layout the user had.
#include "versend/keyboard_layout.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace versend {
namespace {

LANGID activeLanguage() { return LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0))); }

TEST(WindowsKeyboardLayout, SwitchesToArabicAndBackToTheLayoutBefore) {
    const LANGID before = activeLanguage();
    ASSERT_NE(before, 0x0401) << "the test needs a non-Arabic layout to start from";
    const auto layout = makePlatformKeyboardLayout();
    layout->activateArabic();
    EXPECT_EQ(activeLanguage(), 0x0401);
    layout->activateArabic();  // again: the layout to go back to stays the first one
    EXPECT_EQ(activeLanguage(), 0x0401);
    layout->restoreDefault();
    EXPECT_EQ(activeLanguage(), before);
}

TEST(WindowsKeyboardLayout, GoingBackWithoutASwitchChangesNothing) {
    const LANGID before = activeLanguage();
    makePlatformKeyboardLayout()->restoreDefault();
    EXPECT_EQ(activeLanguage(), before);
}

}  // namespace
}  // namespace versend
