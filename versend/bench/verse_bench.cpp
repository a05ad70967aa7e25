// Figures of the verse store over the real verse files beside this program: the scan for a
// word into the three lists, the bare byte search over the same bytes (the floor), the whole
// word search of the window, and the listing of surah 2 with its per-line event processing.
#include "versend/code_page.h"
#include "versend/form1.h"
#include "versend/result_rows.h"
#include "versend/verse_scan.h"

#include <QApplication>
#include <QListWidget>

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

using namespace versend;

const QString kQuery = QStringLiteral(" الله ");

std::filesystem::path verseFolder() {
    return QCoreApplication::applicationDirPath().toStdString();
}

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

void setUniform(QListWidget& list) {
    list.setUniformItemSizes(true);
}

// The verse scan for the word into the three (hidden) lists.
void BM_ScanIntoLists(benchmark::State& state) {
    QListWidget list1, list2, list3;
    for (QListWidget* list : {&list1, &list2, &list3}) setUniform(*list);
    const auto files = VerseFiles::in(verseFolder());
    for (auto _ : state) {
        list1.clear();
        list2.clear();
        list3.clear();
        const ResultRows rows = collectContaining(files, kQuery);
        list1.addItems(rows.visible);
        list2.addItems(rows.vocalised);
        list3.addItems(rows.codes);
    }
    state.counters["rows"] = list1.count();
}

// The scan alone: the rows as text, without the list items.
void BM_ScanRowsOnly(benchmark::State& state) {
    const auto files = VerseFiles::in(verseFolder());
    int rows = 0;
    for (auto _ : state) {
        const ResultRows found = collectContaining(files, kQuery);
        rows = static_cast<int>(found.visible.size());
        benchmark::DoNotOptimize(found.vocalised.data());
    }
    state.counters["rows"] = rows;
}

// The same bytes as the scan (both files) read and run through memmem alone: the physical
// floor of the scan. The hits are those of the search file.
void BM_BareMemmemPass(benchmark::State& state) {
    const auto files = VerseFiles::in(verseFolder());
    const std::string needle = *encodeArabicCodePage(kQuery);
    std::size_t hits = 0;
    for (auto _ : state) {
        const FileBytes search = readVerseFile(files.search);
        const FileBytes vocalised = readVerseFile(files.vocalised);
        hits = countMatches(search.view(), needle);
        benchmark::DoNotOptimize(countMatches(vocalised.view(), needle));
    }
    state.counters["hits"] = static_cast<double>(hits);
}

// memmem over the search file alone, already in memory: no file is read.
void BM_BareMemmemInMemory(benchmark::State& state) {
    const FileBytes search = readVerseFile(VerseFiles::in(verseFolder()).search);
    const std::string needle = *encodeArabicCodePage(kQuery);
    std::size_t hits = 0;
    for (auto _ : state) {
        hits = countMatches(search.view(), needle);
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

BENCHMARK(BM_ScanIntoLists)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanRowsOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareMemmemPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareMemmemInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WordSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurahListing2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListingEventFloor)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
