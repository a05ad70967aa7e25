// Figures of the verse store over the real verse files beside this program: the scan for a
// word into the result table, the bare byte search over the same bytes (the floor), the whole
// word search of the window, and the listing of surah 2 with its per-line event processing.
#include "versend/code_page.h"
#include "versend/form1.h"
#include "versend/result_rows.h"
#include "versend/verse_scan.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace versend;

const QString kQuery = QStringLiteral(" الله ");

std::filesystem::path verseFolder() { return QCoreApplication::applicationDirPath().toStdString(); }

std::size_t countMatches(std::string_view bytes, const std::string& needle) {
    std::size_t count = 0;
    const char* at = bytes.data();
    const char* end = bytes.data() + bytes.size();
    while (const void* hit = memmem(at, static_cast<std::size_t>(end - at), needle.data(), needle.size())) {
        ++count;
        at = static_cast<const char*>(hit) + needle.size();
    }
    return count;
}

// Message boxes would wait for a person: a failure ends the figure instead.
class FailingMessageBox final : public MessageBoxService {
public:
    void show(const QString& text, const QString&) override { last = text; }
    QString last;
};

// The verse scan for the word into the result table, over the texts that the store keeps
// between searches (as the word search runs it).
void BM_ScanIntoResultTable(benchmark::State& state) {
    VerseStore store;
    const auto files = VerseFiles::in(verseFolder());
    ResultTable rows;
    for (auto _ : state) {
        rows.clear();
        collectContaining(store.texts(files), kQuery, rows);
    }
    state.counters["rows"] = rows.count();
}

// The same bytes as a scan that reads its files (both files) read and run through memmem alone.
void BM_BareMemmemPass(benchmark::State& state) {
    const auto files = VerseFiles::in(verseFolder());
    const std::string needle = *encodeArabicCodePage(kQuery);
    std::size_t hits = 0;
    for (auto _ : state) {
        const std::string search = readVerseFile(files.search);
        const std::string vocalised = readVerseFile(files.vocalised);
        hits = countMatches(search, needle);
        benchmark::DoNotOptimize(countMatches(vocalised, needle));
    }
    state.counters["hits"] = static_cast<double>(hits);
}

// memmem over the search file alone, already in memory: no file is read.
void BM_BareMemmemInMemory(benchmark::State& state) {
    const std::string search = readVerseFile(VerseFiles::in(verseFolder()).search);
    const std::string needle = *encodeArabicCodePage(kQuery);
    std::size_t hits = 0;
    for (auto _ : state) {
        hits = countMatches(search, needle);
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = static_cast<double>(hits);
}

struct BenchWindow {
    FailingMessageBox messages;
    Form1 form{verseFolder()};
    BenchWindow() {
        form.messageBox = &messages;
        form.endProgram = [] {};
        form.show();
        QCoreApplication::processEvents();
    }
};

// The whole word search of the window: scan, list fill, counts, layout and first selection.
void BM_WordSearch(benchmark::State& state) {
    BenchWindow window;
    for (auto _ : state) {
        window.form.Text1.setText(kQuery);
        window.form.wordSearch();
    }
    if (!window.messages.last.isEmpty()) state.SkipWithError(window.messages.last.toStdString().c_str());
    state.counters["rows"] = window.form.List1.count();
}

// Choosing surah 2: the listing lets pending events run after every line it reads.
void BM_SurahListing2(benchmark::State& state) {
    BenchWindow window;
    for (auto _ : state) window.form.chooseSurah(2);
    if (!window.messages.last.isEmpty()) state.SkipWithError(window.messages.last.toStdString().c_str());
    state.counters["rows"] = window.form.List1.count();
}

// The floor of the listing: letting pending events run once per line of the files.
void BM_ListingEventFloor(benchmark::State& state) {
    BenchWindow window;
    for (auto _ : state) {
        for (int line = 0; line < kVerseLineLimit; ++line) QCoreApplication::processEvents();
    }
}

BENCHMARK(BM_ScanIntoResultTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareMemmemPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareMemmemInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WordSearch)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_SurahListing2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListingEventFloor)->Unit(benchmark::kMillisecond);

// Prints the figures as usual, then the three targets: the scan against a bare pass over the
// same bytes in memory, the median word search, and the listing of surah 2.
// Times are wall-clock; the processor time is printed beside them, since a busy machine stretches
// the first and not the second.
class TargetReporter final : public benchmark::ConsoleReporter {
public:
    TargetReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0) continue;
            // In the run's unit, milliseconds here.
            const Figure figure{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            const std::string name = run.run_name.function_name;
            if (run.run_type == Run::RT_Iteration) {
                if (name == "BM_WordSearch") wordSearch_.push_back(figure);
                else times_[name] = figure;
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto at = [this](const char* name) { return times_.count(name) ? times_[name] : Figure{}; };
        std::sort(wordSearch_.begin(), wordSearch_.end(),
                  [](const Figure& a, const Figure& b) { return a.real < b.real; });
        const Figure scan = at("BM_ScanIntoResultTable"), bare = at("BM_BareMemmemInMemory");
        std::printf("\nTargets (wall clock; processor time in brackets)\n");
        if (scan.real > 0 && bare.real > 0)
            std::printf(
                "  scan for \" الله \" / bare pass in memory: %.3f ms / %.3f ms = %.2fx [%.2fx] (target: 2x or less)\n",
                scan.real, bare.real, scan.real / bare.real, scan.cpu / bare.cpu);
        if (!wordSearch_.empty()) {
            const Figure median = wordSearch_[wordSearch_.size() / 2];
            std::printf("  word search for \" الله \", median of %zu: %.3f ms [%.3f ms] (target: under 1.5 ms)\n",
                        wordSearch_.size(), median.real, median.cpu);
        }
        if (at("BM_SurahListing2").real > 0)
            std::printf("  listing of surah 2: %.1f ms [%.1f ms] (event floor %.1f ms)\n", at("BM_SurahListing2").real,
                        at("BM_SurahListing2").cpu, at("BM_ListingEventFloor").real);
    }

private:
    struct Figure {
        double real = 0;
        double cpu = 0;
    };
    std::map<std::string, Figure> times_;
    std::vector<Figure> wordSearch_;
};

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
