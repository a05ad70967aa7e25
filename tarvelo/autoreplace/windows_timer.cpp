#ifdef _WIN32

#include "tarvelo/autoreplace/windows_timer.h"

#include <windows.h>

#include <map>

namespace mTarvelo {
namespace {

// A window-less timer's callback receives only the timer's identifier: the procedures are looked
// up by it. Used only on the thread that owns the timers, like the timers themselves.
std::map<UINT_PTR, TimerService::TimerProc>& Procedures() {
    static std::map<UINT_PTR, TimerService::TimerProc> procedures;
    return procedures;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    const auto it = Procedures().find(id);
    if (it == Procedures().end()) return;
    const TimerService::TimerProc proc = it->second;  // the procedure may kill its own timer
    try {
        proc();
    } catch (...) {
        // Nothing may escape into the host's message loop.
    }
}

class WindowsTimerService final : public TimerService {
public:
    ~WindowsTimerService() override {
        for (const auto& [id, proc] : Procedures()) ::KillTimer(nullptr, id);
        Procedures().clear();
    }

    std::uint32_t SetTimer(std::uint32_t periodMs, TimerProc proc) override {
        const UINT_PTR id = ::SetTimer(nullptr, 0, periodMs, &Tick);
        if (id == 0) return 0;
        Procedures()[id] = std::move(proc);
        return static_cast<std::uint32_t>(id);
    }

    bool KillTimer(std::uint32_t id) override {
        Procedures().erase(id);
        return ::KillTimer(nullptr, id) != 0;
    }
};

}  // namespace

std::shared_ptr<TimerService> MakeWindowsTimerService() { return std::make_shared<WindowsTimerService>(); }

}  // namespace mTarvelo

#endif
