#pragma once
// Switching the keyboard's input language. A switch that cannot be made (no Arabic layout
// installed, no display that supports it) does nothing: it is never an error.

#include <memory>

namespace versend {

class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // Loads and activates the Arabic layout.
    virtual void activateArabic() = 0;
    // Activates the layout that was active before the first switch to Arabic.
    virtual void restoreDefault() = 0;
};

// The implementation for the platform the program runs on.
std::unique_ptr<KeyboardLayout> makePlatformKeyboardLayout();

}  // namespace versend
