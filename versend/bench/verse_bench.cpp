// Figures of the verse store over the real verse files beside this program: the scan for a
// word into the result table, the bare byte search over the same bytes (the floor), the whole
// word search of the window, and the listing of surah 2 with its per-line event processing; and
// the forgiving search: a phrase typed without its hamzas, which the exact search misses and the
// folded search finds, against the same phrase written as in the file (exact).
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
// The same verses, once written as in the search file and once as people type it.
const QString kWrittenPhrase = QStringLiteral(" إن الله ");
const QString kLoosePhrase = QStringLiteral(" ان الله ");

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

// The word search over the store's texts for a phrase: exact for the written phrase, exact and
// then folded for the loose one (the folded copy of the search file is made before the timing).
void BM_ScanPhrase(benchmark::State& state, const QString& phrase) {
    VerseStore store;
    const auto files = VerseFiles::in(verseFolder());
    store.texts(files)->foldedSearch();
    ResultTable rows;
    WordSearchOutcome outcome;
    for (auto _ : state) {
        rows.clear();
        outcome = collectWordSearch(store.texts(files), phrase, rows);
    }
    state.counters["rows"] = rows.count();
    state.counters["folded"] = outcome.folded;
}
void BM_ScanWrittenPhrase(benchmark::State& state) { BM_ScanPhrase(state, kWrittenPhrase); }
void BM_ScanLoosePhrase(benchmark::State& state) { BM_ScanPhrase(state, kLoosePhrase); }

// Making the folded copy of the search file: once per reading of the files, at the first
// forgiving search.
void BM_FoldSearchFile(benchmark::State& state) {
    const auto texts = VerseTexts::read(VerseFiles::in(verseFolder()));
    for (auto _ : state) benchmark::DoNotOptimize(texts->search.folded().lineCount());
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
void BM_WordSearchPhrase(benchmark::State& state, const QString& phrase) {
    BenchWindow window;
    for (auto _ : state) {
        window.form.Text1.setText(phrase);
        window.form.wordSearch();
    }
    if (!window.messages.last.isEmpty()) state.SkipWithError(window.messages.last.toStdString().c_str());
    state.counters["rows"] = window.form.List1.count();
    state.counters["folded"] = isShown(window.form.FoldedSign);
}
void BM_WordSearch(benchmark::State& state) { BM_WordSearchPhrase(state, kQuery); }
void BM_WordSearchWrittenPhrase(benchmark::State& state) { BM_WordSearchPhrase(state, kWrittenPhrase); }
void BM_WordSearchLoosePhrase(benchmark::State& state) { BM_WordSearchPhrase(state, kLoosePhrase); }

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
BENCHMARK(BM_ScanWrittenPhrase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanLoosePhrase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FoldSearchFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WordSearchWrittenPhrase)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_WordSearchLoosePhrase)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_SurahListing2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListingEventFloor)->Unit(benchmark::kMillisecond);

// Prints the figures as usual, then the targets: the scan against a bare pass over the same
// bytes in memory, the median word search, the listing of surah 2, and the forgiving search
// against the exact search of the same phrase written as in the file.
// Times are wall-clock; the processor time is printed beside them, since a busy machine stretches
// the first and not the second.
class TargetReporter final : public benchmark::ConsoleReporter {
public:
    TargetReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration) continue;
            // In the run's unit, milliseconds here; repeated figures are kept for their median.
            times_[run.run_name.function_name].push_back({run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()});
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const Figure scan = at("BM_ScanIntoResultTable"), bare = at("BM_BareMemmemInMemory");
        std::printf("\nTargets (wall clock; processor time in brackets)\n");
        if (scan.real > 0 && bare.real > 0)
            std::printf(
                "  scan for \" الله \" / bare pass in memory: %.3f ms / %.3f ms = %.2fx [%.2fx] (target: 2x or less)\n",
                scan.real, bare.real, scan.real / bare.real, scan.cpu / bare.cpu);
        if (const Figure search = at("BM_WordSearch"); search.real > 0)
            std::printf("  word search for \" الله \", median of %zu: %.3f ms [%.3f ms] (target: under 1.5 ms)\n",
                        times_["BM_WordSearch"].size(), search.real, search.cpu);
        if (at("BM_SurahListing2").real > 0)
            std::printf("  listing of surah 2: %.1f ms [%.1f ms] (event floor %.1f ms)\n", at("BM_SurahListing2").real,
                        at("BM_SurahListing2").cpu, at("BM_ListingEventFloor").real);
        printRatio("scan", "BM_ScanLoosePhrase", "BM_ScanWrittenPhrase");
        printRatio("word search", "BM_WordSearchLoosePhrase", "BM_WordSearchWrittenPhrase");
        if (at("BM_FoldSearchFile").real > 0)
            std::printf("  folding the search file (once per reading of the files): %.3f ms [%.3f ms]\n",
                        at("BM_FoldSearchFile").real, at("BM_FoldSearchFile").cpu);
    }

private:
    struct Figure {
        double real = 0;
        double cpu = 0;
    };
    // The figure of a benchmark; of a repeated one, the median of each time.
    Figure at(const std::string& name) {
        std::vector<Figure> runs = times_[name];
        if (runs.empty()) return {};
        const auto median = [&runs](double Figure::*time) {
            std::sort(runs.begin(), runs.end(), [time](const Figure& a, const Figure& b) { return a.*time < b.*time; });
            return runs[runs.size() / 2].*time;
        };
        return {median(&Figure::real), median(&Figure::cpu)};
    }
    void printRatio(const char* what, const std::string& loose, const std::string& written) {
        const Figure folded = at(loose), exact = at(written);
        if (folded.real <= 0 || exact.real <= 0) return;
        std::printf(
            "  forgiving %s for \" ان الله \" / exact for \" إن الله \": %.3f ms / %.3f ms = %.2fx [%.2fx] (target: 2x "
            "or less)\n",
            what, folded.real, exact.real, folded.real / exact.real, folded.cpu / exact.cpu);
    }

    std::map<std::string, std::vector<Figure>> times_;
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
