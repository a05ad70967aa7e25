// libFuzzer target: the reading of typed tags by the automatic replacement. The input (one
// character per byte) is the paragraph typed before the insertion point; the tag reader reads it
// as a tag, and one timer tick runs over a recording document holding it, with the real surah
// table's verse counts. Whatever was typed, the composers may only be asked for verses that exist
// (first verse 1 or more, last verse at most the surah's count and not below the first), and
// nothing may crash.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "tarvelo/addin_state.h"
#include "tarvelo/autoreplace/auto_replace.h"
#include "tarvelo/autoreplace/tag_reader.h"
#include "tarvelo/autoreplace/timer_service.h"
#include "word/recording/recording.h"

using namespace mTarvelo;

namespace {

constexpr std::array<int, 114> verseCounts = {
    7,  286, 200, 176, 120, 165, 206, 75, 129, 109, 123, 111, 43, 52,  99, 128, 111, 110, 98, 135, 112, 78, 118,
    64, 77,  227, 93,  88,  69,  60,  34, 30,  73,  54,  45,  83, 182, 88, 75,  85,  54,  53, 89,  59,  37, 35,
    38, 29,  18,  45,  60,  49,  62,  55, 78,  96,  29,  22,  24, 13,  14, 11,  11,  18,  12, 12,  30,  52, 52,
    44, 28,  28,  20,  56,  40,  31,  50, 40,  46,  42,  29,  19, 36,  25, 22,  17,  19,  26, 30,  20,  15, 21,
    11, 8,   8,   19,  5,   8,   8,   11, 11,  8,   3,   9,   5,  4,   7,  3,   6,   3,   5,  4,   5,   6};

void CheckVerses(std::int16_t surah, std::int16_t from, std::int16_t to) {
    if (surah < 1 || surah > 114 || from < 1 || to < from || to > verseCounts[std::size_t(surah - 1)]) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string typed;
    for (std::size_t i = 0; i < size; ++i) typed += static_cast<char16_t>(data[i]);

    if (const auto request = ReadTag(UpperCaseTag(typed))) {
        RequestedInsertMode(*request);
        CitationText(request->surah, u"Al-Baqarah", request->from, request->to);
    }
    NumberValue(typed);

    auto word = std::make_shared<word::recording::Recorder>();
    word->document().setContent(typed);
    WordApp = word;
    InsertMode = 0;
    auto timers = std::make_shared<ManualTimerService>();
    AutoReplaceHost host;
    host.timers = timers;
    host.insertArabic = [](std::int16_t s, std::int16_t f, std::int16_t t, bool) { CheckVerses(s, f, t); };
    host.insertTranslation = [](std::int16_t s, std::int16_t f, std::int16_t t) { CheckVerses(s, f, t); };
    host.surah = [](std::int64_t s) -> std::optional<SurahInfo> {
        if (s < 1 || s > 114) return std::nullopt;
        return SurahInfo{u"Surah                         ", verseCounts[std::size_t(s - 1)]};
    };
    InstallAutoReplace(std::move(host));
    AutoReplaceOn = true;
    StartAutoReplaceTimer();
    timers->Tick();
    UninstallAutoReplace();
    WordApp.reset();
    return 0;
}
