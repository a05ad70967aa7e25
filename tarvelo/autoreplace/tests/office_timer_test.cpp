// The office's timer service against a real headless office: the office's main thread runs the
// ticks (here they reach this process over the office's bridge, one at a time, as the office's
// main thread calls them).
#include "tarvelo/autoreplace/office_timer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "word/testing/office.h"

namespace mTarvelo {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Records the ticks of one procedure and whether two of them ever ran at once.
struct TickLog {
    std::mutex mutex;
    std::vector<Clock::time_point> ticks;
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};

    void Enter() {
        if (inside.fetch_add(1) != 0) overlapped = true;
        std::lock_guard lock(mutex);
        ticks.push_back(Clock::now());
    }
    void Leave() { inside.fetch_sub(1); }
    std::size_t Count() {
        std::lock_guard lock(mutex);
        return ticks.size();
    }
    std::vector<double> IntervalsMs() {
        std::lock_guard lock(mutex);
        std::vector<double> intervals;
        for (std::size_t i = 1; i < ticks.size(); ++i) {
            intervals.push_back(std::chrono::duration<double, std::milli>(ticks[i] - ticks[i - 1]).count());
        }
        return intervals;
    }
};

TEST(OfficeTimer, TicksEveryPeriodNeverOverlappingAndStopsWhenKilled) {
    auto timers = MakeOfficeTimerService(word::testing::sharedOffice().context());
    TickLog log;
    const auto started = Clock::now();
    const auto id = timers->SetTimer(100, [&] {
        log.Enter();
        // One slow tick: the ticks due meanwhile are neither queued up nor run alongside it.
        if (log.Count() == 3) std::this_thread::sleep_for(350ms);
        log.Leave();
    });
    ASSERT_NE(id, 0u);
    // Some ticks, the slow one among them; a busy machine's office takes longer to get there.
    const auto limit = Clock::now() + word::testing::kOfficeReplyLimit;
    while (log.Count() < 8 && Clock::now() < limit) std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(timers->KillTimer(id));
    const auto killedAt = log.Count();
    const double ranMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
    std::this_thread::sleep_for(350ms);

    EXPECT_FALSE(log.overlapped);
    EXPECT_EQ(log.Count(), killedAt) << "ticks after KillTimer";
    EXPECT_FALSE(timers->KillTimer(id));
    EXPECT_GE(killedAt, 8u);
    // Never more ticks than the period allows, whatever the machine's load (which only delays them).
    EXPECT_LE(static_cast<double>(killedAt), ranMs / 100.0 + 1.0);
    ASSERT_FALSE(log.ticks.empty());
    const double firstMs = std::chrono::duration<double, std::milli>(log.ticks.front() - started).count();
    EXPECT_GE(firstMs, 95.0);
    auto intervals = log.IntervalsMs();
    ASSERT_GE(intervals.size(), 4u);
    std::sort(intervals.begin(), intervals.end());
    const double median = intervals[intervals.size() / 2];
    EXPECT_GT(median, 90.0);
    std::printf("office timer: %zu ticks, first after %.1f ms, median interval %.1f ms\n", killedAt, firstMs, median);
}

TEST(OfficeTimer, ProcedureCanKillItsOwnTimerAndStartANewOne) {
    // The way the automatic replacement restarts itself on every tick.
    auto timers = MakeOfficeTimerService(word::testing::sharedOffice().context());
    std::atomic<std::uint32_t> current{0};
    std::atomic<int> ticks{0};
    std::atomic<bool> failed{false};
    std::function<void()> proc;
    proc = [&] {
        if (!timers->KillTimer(current)) failed = true;
        if (++ticks < 5) current = timers->SetTimer(100, proc);
    };
    current = timers->SetTimer(100, proc);
    const auto deadline = Clock::now() + word::testing::kOfficeReplyLimit;
    while (ticks < 5 && Clock::now() < deadline) std::this_thread::sleep_for(20ms);
    std::this_thread::sleep_for(250ms);
    EXPECT_EQ(ticks, 5);
    EXPECT_FALSE(failed);
}

TEST(OfficeTimer, TimersAreIndependentAndTheServiceEndsCleanly) {
    auto timers = MakeOfficeTimerService(word::testing::sharedOffice().context());
    std::atomic<int> fast{0}, slow{0};
    const auto fastId = timers->SetTimer(50, [&] { ++fast; });
    const auto slowId = timers->SetTimer(200, [&] { ++slow; });
    EXPECT_NE(fastId, slowId);
    EXPECT_EQ(timers->SetTimer(0, [] {}), 0u);
    const auto deadline = Clock::now() + word::testing::kOfficeReplyLimit;
    while (slow < 2 && Clock::now() < deadline) std::this_thread::sleep_for(20ms);
    EXPECT_GE(slow.load(), 2);
    EXPECT_GT(fast.load(), slow.load());
    // Ending the service with timers running (and a tick possibly queued in the office) stops
    // them all; a tick still queued finds nothing to run.
    timers.reset();
    const int fastAtEnd = fast, slowAtEnd = slow;
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(fast.load(), fastAtEnd);
    EXPECT_EQ(slow.load(), slowAtEnd);
}

}  // namespace
}  // namespace mTarvelo
