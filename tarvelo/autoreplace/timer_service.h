// Periodic timers in the manner of a system's thread timers (SetTimer / KillTimer): a timer calls
// its procedure every period on the thread that owns the word processor's objects until it is
// killed. One implementation per platform, and a manual one for tests.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

namespace mTarvelo {

class TimerService {
public:
    using TimerProc = std::function<void()>;

    virtual ~TimerService() = default;
    // Starts a timer that calls `proc` every `periodMs` milliseconds, the first time one period
    // from now. Returns the timer's identifier, never 0; 0 when no timer could be created.
    virtual std::uint32_t SetTimer(std::uint32_t periodMs, TimerProc proc) = 0;
    // Ends the timer; a tick of it that is due but has not started yet does not run.
    // False when there is no such timer.
    virtual bool KillTimer(std::uint32_t id) = 0;
};

// Timers that tick only when a test says so.
class ManualTimerService final : public TimerService {
public:
    std::uint32_t SetTimer(std::uint32_t periodMs, TimerProc proc) override;
    bool KillTimer(std::uint32_t id) override;

    // Runs one tick of every timer alive now, oldest first; a timer killed by an earlier
    // procedure of the same tick does not run. Returns how many procedures ran.
    int Tick();
    std::size_t ActiveCount() const { return timers_.size(); }
    std::uint32_t LastPeriod() const { return lastPeriod_; }
    // While set, SetTimer fails (returns 0).
    void SetFailing(bool failing) { failing_ = failing; }

private:
    std::map<std::uint32_t, TimerProc> timers_;
    std::uint32_t nextId_ = 1;
    std::uint32_t lastPeriod_ = 0;
    bool failing_ = false;
};

}  // namespace mTarvelo
