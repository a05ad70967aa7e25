// Cost of one timer tick of the automatic replacement, apart from the word processor: an idle
// tick (no tag before the insertion point) and a tick that replaces a tag, on the recording
// backend.
#include <benchmark/benchmark.h>

#include "tarvelo/addin_state.h"
#include "tarvelo/autoreplace/auto_replace.h"
#include "tarvelo/autoreplace/timer_service.h"
#include "word/recording/recording.h"

namespace {

struct Installed {
    std::shared_ptr<mTarvelo::ManualTimerService> timers = std::make_shared<mTarvelo::ManualTimerService>();
    std::shared_ptr<word::recording::Recorder> word = std::make_shared<word::recording::Recorder>();

    Installed() {
        mTarvelo::WordApp = word;
        mTarvelo::AutoReplaceHost host;
        host.timers = timers;
        host.surah = [](std::int64_t s) -> std::optional<mTarvelo::SurahInfo> {
            if (s < 1 || s > 114) return std::nullopt;
            return mTarvelo::SurahInfo{u"Al-Baqarah                    ", 286};
        };
        mTarvelo::InstallAutoReplace(std::move(host));
        mTarvelo::ctrl6_Click();
    }
    ~Installed() {
        mTarvelo::UninstallAutoReplace();
        mTarvelo::WordApp.reset();
    }
};

void IdleTick(benchmark::State& state) {
    Installed installed;
    installed.word->document().setContent(u"Some text typed so far, and no tag before the point");
    for (auto _ : state) {
        installed.timers->Tick();
        installed.word->clearLog();
    }
}
BENCHMARK(IdleTick);

void ReplacingTick(benchmark::State& state) {
    Installed installed;
    for (auto _ : state) {
        state.PauseTiming();
        installed.word->document().setContent(u"Some text [QS2:1-2A]");
        installed.word->clearLog();
        state.ResumeTiming();
        installed.timers->Tick();
    }
}
BENCHMARK(ReplacingTick);

}  // namespace

BENCHMARK_MAIN();
