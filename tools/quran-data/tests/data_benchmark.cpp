// Figures for the data build: the spelling conversion of every verse and the add-in's files, the
// glyph form shaped in the source font of the glyph fonts.
#include "quran/quran_text.h"
#include "tools/quran-data/arabic_files.h"
#include "tools/quran-data/glyph_shaping.h"
#include "tools/quran-data/glyph_slots.h"
#include "tools/quran-data/source.h"
#include "tools/quran-data/spelling.h"
#include "tools/quran-data/translations.h"
#include "tools/quran-data/verse_files.h"

#include <benchmark/benchmark.h>

using namespace quran_data;

namespace {

const Source& source() {
    static const Source s = load_arabic(QURAN_JSON_DIST);
    return s;
}

void ConvertAllVerses(benchmark::State& state) {
    for (auto _ : state) {
        SpellingConverter conv;
        benchmark::DoNotOptimize(build_verse_texts(source(), conv));
    }
    state.SetItemsProcessed(state.iterations() * quran::kVerseCount);
}
BENCHMARK(ConvertAllVerses)->Unit(benchmark::kMillisecond);

void BuildArabicFiles(benchmark::State& state) {
    std::vector<std::u32string> mushaf;
    for (const auto& v : source().verses) mushaf.push_back(mushaf_text(v));
    const Shaper shaper(HQPB_SOURCE_FONT);
    std::size_t slots_used = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(build_unicode_arabic(source()));
        SlotTable slots;
        const ShapedGlyphs mapping(shaper, slots);  // shapes every distinct word afresh
        benchmark::DoNotOptimize(build_arabic_glyphs(source(), mushaf, mapping, verse_end_text));
        slots_used = slots.slots().size();
    }
    state.counters["glyph_slots"] = static_cast<double>(slots_used);
}
BENCHMARK(BuildArabicFiles)->Unit(benchmark::kMillisecond);

void LoadAndBuildOneTranslation(benchmark::State& state) {
    const Language& english = languages()[1];
    for (auto _ : state)
        benchmark::DoNotOptimize(build_translation(load_translation(QURAN_JSON_DIST, english.code, source()), english));
}
BENCHMARK(LoadAndBuildOneTranslation)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
