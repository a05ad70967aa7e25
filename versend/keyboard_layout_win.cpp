// Keyboard layouts on Windows: LoadKeyboardLayout with KLF_ACTIVATE; the result is ignored.
#include "versend/keyboard_layout.h"

#include <windows.h>

namespace versend {
namespace {

class WindowsKeyboardLayout final : public KeyboardLayout {
public:
    void activateArabic() override { LoadKeyboardLayoutA("00000401", KLF_ACTIVATE); }
    void restoreDefault() override { LoadKeyboardLayoutA("00000400", KLF_ACTIVATE); }
};

}  // namespace

std::unique_ptr<KeyboardLayout> makePlatformKeyboardLayout() {
    return std::make_unique<WindowsKeyboardLayout>();
}

}  // namespace versend
