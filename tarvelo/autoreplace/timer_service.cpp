#include "tarvelo/autoreplace/timer_service.h"

#include <vector>

namespace mTarvelo {

std::uint32_t ManualTimerService::SetTimer(std::uint32_t periodMs, TimerProc proc) {
    if (failing_) return 0;
    lastPeriod_ = periodMs;
    const std::uint32_t id = nextId_++;
    if (nextId_ == 0) nextId_ = 1;
    timers_.emplace(id, std::move(proc));
    return id;
}

bool ManualTimerService::KillTimer(std::uint32_t id) { return timers_.erase(id) > 0; }

int ManualTimerService::Tick() {
    std::vector<std::uint32_t> due;
    for (const auto& entry : timers_) due.push_back(entry.first);
    int ran = 0;
    for (const auto id : due) {
        const auto it = timers_.find(id);
        if (it == timers_.end()) continue;
        // The procedure may kill its own timer: keep a copy alive while it runs.
        const TimerProc proc = it->second;
        proc();
        ++ran;
    }
    return ran;
}

}  // namespace mTarvelo
