#include "tarvelo/libreoffice/x11_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace mTarvelo {

void KeepX11WindowAbove(std::uintptr_t displayPointer, std::uintptr_t windowHandle, bool onTop) {
    auto* display = reinterpret_cast<Display*>(displayPointer);
    const auto window = static_cast<Window>(windowHandle);
    if (!display || !window) return;
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = state;
    event.xclient.format = 32;
    event.xclient.data.l[0] = onTop ? 1 : 0;  // _NET_WM_STATE_ADD / _REMOVE
    event.xclient.data.l[1] = static_cast<long>(above);
    event.xclient.data.l[3] = 1;  // sent by an application
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    // A window not mapped yet takes its state from this property when it is.
    if (onTop)
        XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&above), 1);
    else XDeleteProperty(display, window, state);
    XFlush(display);
}

}  // namespace mTarvelo
