// Keyboard layouts on X11: the XKB group of an installed Arabic layout is locked while the
// user types Arabic, and the group that was active before is locked again at the end.
#include "versend/keyboard_layout.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace versend {
namespace {

// The comma-separated layout codes ("us,ara") from the root window's _XKB_RULES_NAMES.
std::vector<std::string> layoutCodes(Display* display) {
    std::vector<std::string> codes;
    const Atom rules = XInternAtom(display, "_XKB_RULES_NAMES", True);
    if (rules == None) return codes;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), rules, 0, 1024, False, XA_STRING, &type, &format,
                           &count, &after, &data) != Success ||
        !data) {
        return codes;
    }
    // Five NUL-separated strings: rules, model, layout, variant, options.
    const char* p = reinterpret_cast<const char*>(data);
    const char* end = p + count;
    for (int field = 0; field < 2 && p < end; ++field) p += std::strlen(p) + 1;
    if (p < end) {
        std::string layouts(p, strnlen(p, static_cast<std::size_t>(end - p)));
        std::size_t start = 0;
        while (start <= layouts.size()) {
            const std::size_t comma = layouts.find(',', start);
            codes.push_back(layouts.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    XFree(data);
    return codes;
}

// The group names ("English (US)", "Arabic") that XKB reports.
std::vector<std::string> groupNames(Display* display) {
    std::vector<std::string> names;
    XkbDescPtr desc = XkbAllocKeyboard();
    if (!desc) return names;
    if (XkbGetNames(display, XkbGroupNamesMask, desc) == Success && desc->names) {
        for (int g = 0; g < XkbNumKbdGroups; ++g) {
            const Atom atom = desc->names->groups[g];
            if (atom == None) break;
            char* name = XGetAtomName(display, atom);
            names.emplace_back(name ? name : "");
            if (name) XFree(name);
        }
    }
    XkbFreeKeyboard(desc, 0, True);
    return names;
}

std::optional<int> arabicGroup(Display* display) {
    const auto codes = layoutCodes(display);
    for (std::size_t i = 0; i < codes.size() && i < XkbNumKbdGroups; ++i) {
        if (codes[i].rfind("ara", 0) == 0) return static_cast<int>(i);
    }
    const auto names = groupNames(display);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].find("Arabic") != std::string::npos) return static_cast<int>(i);
    }
    return std::nullopt;
}

// The program may also end by a signal (the session ending, kill, Ctrl+C in a terminal). The
// handler only writes the signal's number into a socket; the event loop reads it, gives the
// user's layout back and ends the program by the same signal.
class EndSignals {
public:
    explicit EndSignals(std::function<void()> beforeEnd) : beforeEnd_(std::move(beforeEnd)) {
        if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds_) != 0) return;
        writeEnd() = fds_[0];
        notifier_ = std::make_unique<QSocketNotifier>(fds_[1], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
            int number = 0;
            if (::read(fds_[1], &number, sizeof number) != sizeof number) return;
            beforeEnd_();
            std::signal(number, SIG_DFL);
            std::raise(number);
        });
        for (int number : {SIGTERM, SIGINT, SIGHUP}) std::signal(number, &EndSignals::handle);
    }
    ~EndSignals() {
        if (!notifier_) return;
        for (int number : {SIGTERM, SIGINT, SIGHUP}) std::signal(number, SIG_DFL);
        writeEnd() = -1;
        notifier_.reset();
        ::close(fds_[0]);
        ::close(fds_[1]);
    }
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

private:
    static int& writeEnd() {
        static int fd = -1;
        return fd;
    }
    static void handle(int number) {
        if (writeEnd() < 0) return;
        [[maybe_unused]] const auto written = ::write(writeEnd(), &number, sizeof number);
    }

    std::function<void()> beforeEnd_;
    int fds_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

class X11KeyboardLayout final : public KeyboardLayout {
public:
    X11KeyboardLayout() {
        // Only a program shown through X11 itself may touch the server's keyboard state.
        if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
        display_ = XOpenDisplay(nullptr);
        if (!display_) return;
        int opcode = 0, event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
        if (!XkbQueryExtension(display_, &opcode, &event, &error, &major, &minor)) {
            XCloseDisplay(display_);
            display_ = nullptr;
            return;
        }
        endSignals_ = std::make_unique<EndSignals>([this] { restoreDefault(); });
    }
    ~X11KeyboardLayout() override {
        // The group is the whole desktop's: the user's layout comes back however the program ends.
        endSignals_.reset();
        restoreDefault();
        if (display_) XCloseDisplay(display_);
    }
    X11KeyboardLayout(const X11KeyboardLayout&) = delete;
    X11KeyboardLayout& operator=(const X11KeyboardLayout&) = delete;

    void activateArabic() override {
        if (!display_) return;
        const auto group = arabicGroup(display_);
        if (!group) return;
        XkbStateRec state{};
        if (XkbGetState(display_, XkbUseCoreKbd, &state) != Success) return;
        if (!previousGroup_ && state.locked_group != *group) previousGroup_ = state.locked_group;
        XkbLockGroup(display_, XkbUseCoreKbd, static_cast<unsigned>(*group));
        XSync(display_, False);  // done when the call returns
    }

    void restoreDefault() override {
        if (!display_ || !previousGroup_) return;
        XkbLockGroup(display_, XkbUseCoreKbd, static_cast<unsigned>(*previousGroup_));
        XSync(display_, False);  // done when the call returns
        previousGroup_.reset();
    }

private:
    Display* display_ = nullptr;
    std::optional<int> previousGroup_;
    std::unique_ptr<EndSignals> endSignals_;
};

}  // namespace

std::unique_ptr<KeyboardLayout> makePlatformKeyboardLayout() { return std::make_unique<X11KeyboardLayout>(); }

}  // namespace versend
