#include "tarvelo/autoreplace/office_timer.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <com/sun/star/awt/AsyncCallback.hpp>
#include <com/sun/star/awt/XCallback.hpp>
#include <com/sun/star/awt/XRequestCallback.hpp>
#include <cppuhelper/implbase1.hxx>
#include <rtl/ref.hxx>

namespace mTarvelo {
namespace {

namespace uno = ::com::sun::star::uno;
namespace awt = ::com::sun::star::awt;
using Clock = std::chrono::steady_clock;

// The timers, shared by the service, its worker thread and the callbacks still queued in the
// office (which may run after the service is gone).
struct TimerTable {
    struct Timer {
        std::chrono::milliseconds period;
        Clock::time_point due;
        TimerService::TimerProc proc;
        bool queued = false;  // a tick is waiting in the office's queue or running
    };

    std::mutex mutex;
    std::condition_variable changed;
    std::map<std::uint32_t, Timer> timers;
    std::uint32_t nextId = 1;
    bool ending = false;
};

// Runs one tick on the office's main thread; the data is the timer's identifier.
class TickCallback : public cppu::WeakImplHelper1<awt::XCallback> {
public:
    explicit TickCallback(std::shared_ptr<TimerTable> table) : table_(std::move(table)) {}

    void SAL_CALL notify(const uno::Any& data) override {
        sal_Int32 rawId = 0;
        data >>= rawId;
        const auto id = static_cast<std::uint32_t>(rawId);
        TimerService::TimerProc proc;
        {
            std::lock_guard lock(table_->mutex);
            const auto it = table_->timers.find(id);
            if (table_->ending || it == table_->timers.end()) return;  // killed while queued
            proc = it->second.proc;
        }
        try {
            proc();
        } catch (...) {
            // A timer procedure handles its own failures; nothing may escape into the office.
        }
        std::lock_guard lock(table_->mutex);
        const auto it = table_->timers.find(id);
        if (it != table_->timers.end()) it->second.queued = false;
        table_->changed.notify_all();
    }

private:
    std::shared_ptr<TimerTable> table_;
};

class OfficeTimerService final : public TimerService {
public:
    explicit OfficeTimerService(const uno::Reference<uno::XComponentContext>& context)
        : async_(awt::AsyncCallback::create(context)),
          table_(std::make_shared<TimerTable>()),
          // UNO objects are reference-counted by the office: created with new, owned by rtl::Reference.
          callback_(new TickCallback(table_)),
          worker_([this] { Run(); }) {}

    ~OfficeTimerService() override {
        {
            std::lock_guard lock(table_->mutex);
            table_->ending = true;
            table_->timers.clear();
        }
        table_->changed.notify_all();
        worker_.join();
    }

    std::uint32_t SetTimer(std::uint32_t periodMs, TimerProc proc) override {
        if (periodMs == 0 || !proc) return 0;
        std::lock_guard lock(table_->mutex);
        if (table_->ending) return 0;
        std::uint32_t id = table_->nextId;
        while (id == 0 || table_->timers.contains(id)) ++id;
        table_->nextId = id + 1;
        const std::chrono::milliseconds period(periodMs);
        table_->timers.emplace(id, TimerTable::Timer{period, Clock::now() + period, std::move(proc)});
        table_->changed.notify_all();
        return id;
    }

    bool KillTimer(std::uint32_t id) override {
        std::lock_guard lock(table_->mutex);
        const bool killed = table_->timers.erase(id) > 0;
        if (killed) table_->changed.notify_all();
        return killed;
    }

private:
    void Run() {
        std::unique_lock lock(table_->mutex);
        while (!table_->ending) {
            // The earliest tick of a timer that has none waiting.
            std::optional<Clock::time_point> next;
            for (const auto& [id, timer] : table_->timers) {
                if (!timer.queued && (!next || timer.due < *next)) next = timer.due;
            }
            if (!next) {
                table_->changed.wait(lock);
                continue;
            }
            if (Clock::now() < *next) {
                table_->changed.wait_until(lock, *next);
                continue;
            }
            std::vector<std::uint32_t> due;
            const auto now = Clock::now();
            for (auto& [id, timer] : table_->timers) {
                if (timer.queued || timer.due > now) continue;
                timer.queued = true;
                // Ticks missed while busy are not made up.
                timer.due += timer.period;
                if (timer.due <= now) timer.due = now + timer.period;
                due.push_back(id);
            }
            lock.unlock();
            for (const auto id : due) Post(id);
            lock.lock();
        }
    }

    void Post(std::uint32_t id) {
        try {
            async_->addCallback(uno::Reference<awt::XCallback>(callback_.get()), uno::Any(static_cast<sal_Int32>(id)));
        } catch (const uno::Exception&) {
            // The office is going away: let the timer try again at its next period.
            std::lock_guard lock(table_->mutex);
            const auto it = table_->timers.find(id);
            if (it != table_->timers.end()) it->second.queued = false;
        }
    }

    uno::Reference<awt::XRequestCallback> async_;
    std::shared_ptr<TimerTable> table_;
    rtl::Reference<TickCallback> callback_;
    std::thread worker_;  // last: started when everything it uses exists
};

}  // namespace

std::shared_ptr<TimerService> MakeOfficeTimerService(const uno::Reference<uno::XComponentContext>& context) {
    return std::make_shared<OfficeTimerService>(context);
}

}  // namespace mTarvelo
