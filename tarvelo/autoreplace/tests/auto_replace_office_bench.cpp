// Figures of the automatic replacement in a real headless Writer (run by hand; the office is
// driven over its pipe, so every call of a tick crosses the bridge, which an extension running
// inside the office does not pay):
//   BracketToCitation  time from the closing bracket's keystroke until the citation and the
//                      inserted verses stand in the document (a tick every 100 ms, so about
//                      50 ms of it is waiting for the next tick on average);
//   IdleCpu/0, /1, /2  CPU used while nobody types, mode off, mode on, and only the office timer
//                      ticking an empty procedure: the office's processes ("office_cpu_pct",
//                      percent of one core) and this process, where the ticks run here
//                      ("driver_cpu_pct").
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "tarvelo/autoreplace/tests/office_typing.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The office of this run: started in main and stopped there, before the process's static objects
// go away.
word::testing::Office* office = nullptr;

double OwnCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BracketToCitation(benchmark::State& state) {
    mTarvelo::testing::TypingSession session(*office);
    session.Click();
    for (auto _ : state) {
        session.Clear();
        session.Type(u"Before [QS2:1-2A", 0ms);
        const auto start = Clock::now();
        session.Key(u']');
        if (!session.WaitFor(u"<Arabic 2:1-2>")) {
            state.SkipWithError("the tag was not replaced");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    session.Click();
}
BENCHMARK(BracketToCitation)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

void IdleCpu(benchmark::State& state) {
    mTarvelo::testing::TypingSession session(*office);
    session.Type(u"Some text, and no tag before the insertion point.", 0ms);
    std::shared_ptr<mTarvelo::TimerService> bareTimer;
    if (state.range(0) == 1) session.Click();
    if (state.range(0) == 2) {
        bareTimer = mTarvelo::MakeOfficeTimerService(office->context());
        bareTimer->SetTimer(100, [] {});
    }
    std::this_thread::sleep_for(500ms);
    double officeCpu = 0, driverCpu = 0, wall = 0;
    for (auto _ : state) {
        const double office0 = mTarvelo::testing::ProcessGroupCpuSeconds(office->pid()), own0 = OwnCpuSeconds();
        const auto start = Clock::now();
        std::this_thread::sleep_for(5s);
        wall += std::chrono::duration<double>(Clock::now() - start).count();
        officeCpu += mTarvelo::testing::ProcessGroupCpuSeconds(office->pid()) - office0;
        driverCpu += OwnCpuSeconds() - own0;
    }
    state.counters["office_cpu_pct"] = 100 * officeCpu / wall;
    state.counters["driver_cpu_pct"] = 100 * driverCpu / wall;
    if (session.ModeOn()) session.Click();
}
BENCHMARK(IdleCpu)->Arg(0)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    word::testing::Office running;
    office = &running;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    office = nullptr;
    return 0;
}
