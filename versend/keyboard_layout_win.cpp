// Keyboard layouts on Windows: LoadKeyboardLayoutA("00000401", KLF_ACTIVATE) for Arabic, results
// ignored. Going back activates the layout that was active before the first switch to Arabic:
// "00000400" (the layout id the window was once written to go back with) names no installed
// layout: Windows refuses it and leaves the keyboard in Arabic after the program ends, and Wine
// switches to that non-layout.
#include "versend/keyboard_layout.h"

#include <windows.h>

namespace versend {
namespace {

class WindowsKeyboardLayout final : public KeyboardLayout {
public:
    void activateArabic() override {
        if (!before_) before_ = GetKeyboardLayout(0);
        LoadKeyboardLayoutA("00000401", KLF_ACTIVATE);
    }
    void restoreDefault() override {
        if (before_) ActivateKeyboardLayout(before_, 0);  // never switched: nothing to undo
    }

private:
    HKL before_ = nullptr;
};

}  // namespace

std::unique_ptr<KeyboardLayout> makePlatformKeyboardLayout() { return std::make_unique<WindowsKeyboardLayout>(); }

}  // namespace versend
