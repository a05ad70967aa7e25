// Figures of the automatic replacement as the installed extension runs it, inside a private
// headless office (run by hand):
//   BracketToCitation  time from the closing bracket's keystroke of "[QS2:1-2A]" until the
//                      citation stands in the document (a tick every 100 ms: about 50 ms of it is
//                      waiting for the next tick on average);
//   BracketToVerses    the same, until the Arabic text of both verses stands there too;
//   IdleCpu/0, /1      CPU used by the office's processes while nobody types, mode off and on
//                      ("office_cpu_pct", percent of one core).
#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <thread>

#include "tarvelo/autoreplace/tests/office_typing.h"
#include "tarvelo/libreoffice/tests/extension_office.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The office of this run: started in main and stopped there.
tarvelo::testing::ExtensionOffice* office = nullptr;

// The end of verse 2 of surah 2 in the add-in's Arabic text.
constexpr std::u16string_view verse2End =
    u"\u0644\u0650\u0644\u0652\u0645\u064f\u062a\u0651\u064e\u0642\u0650\u064a\u0646\u064e";

// A document with the add-in's menu, and its automatic replacement switch.
struct Document {
    com::sun::star::uno::Reference<com::sun::star::text::XTextDocument> document = office->office().newWriterDocument();
    std::optional<mTarvelo::testing::Keyboard> keyboard;

    Document() {
        if (!tarvelo::testing::WaitForQuranMenus(document, 1)) throw std::runtime_error("no menu");
        keyboard.emplace(office->office().context(), document);
    }
    ~Document() { office->office().closeAllDocuments(); }
    void Switch() {
        tarvelo::testing::Dispatch(document, tarvelo::testing::QuranMenus(document).front().items.at(3).command);
    }
};

void BracketTo(benchmark::State& state, std::u16string_view result) {
    Document doc;
    doc.Switch();
    for (auto _ : state) {
        doc.keyboard->Clear();
        doc.keyboard->Type(u"Before [QS2:1-2A", 0ms);
        const auto start = Clock::now();
        doc.keyboard->Key(u']');
        if (!doc.keyboard->WaitFor(result, 10s)) {
            state.SkipWithError("the tag was not replaced");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        std::this_thread::sleep_for(300ms);  // the insertion's last steps
    }
    doc.Switch();
}
void BracketToCitation(benchmark::State& state) { BracketTo(state, u"ayat 1-2)"); }
void BracketToVerses(benchmark::State& state) { BracketTo(state, verse2End); }
BENCHMARK(BracketToCitation)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BracketToVerses)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

void IdleCpu(benchmark::State& state) {
    Document doc;
    doc.keyboard->Type(u"Some text, and no tag before the insertion point.", 0ms);
    if (state.range(0) != 0) doc.Switch();
    std::this_thread::sleep_for(500ms);
    const auto group = office->office().pid();
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        const double before = mTarvelo::testing::ProcessGroupCpuSeconds(group);
        const auto start = Clock::now();
        std::this_thread::sleep_for(10s);
        wall += std::chrono::duration<double>(Clock::now() - start).count();
        cpu += mTarvelo::testing::ProcessGroupCpuSeconds(group) - before;
    }
    state.counters["office_cpu_pct"] = 100 * cpu / wall;
    if (state.range(0) != 0) doc.Switch();
}
BENCHMARK(IdleCpu)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    tarvelo::testing::ExtensionOffice running;
    office = &running;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    office = nullptr;
    return 0;
}
