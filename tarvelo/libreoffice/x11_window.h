// Keeping a dialog above the other windows on X11, through the window manager's "above" state.
#pragma once

#include <cstdint>

namespace mTarvelo {

// `display` is the X11 Display pointer and `window` the X11 window of the dialog, as the
// office's system-dependent window peer gives them.
void KeepX11WindowAbove(std::uintptr_t display, std::uintptr_t window, bool onTop);

}  // namespace mTarvelo
