// Figures of the composers on Writer: surah 2 (286 verses) in the Unicode form, the same with its
// English translation, a part of it in the glyph form (every glyph placed one by one), and for
// comparison the whole Unicode text of surah 2 pasted by the office in one block.
// The add-in's logic runs in this process and reaches a private headless office over its pipe,
// so every office call crosses the bridge; inside the office (the extension) calls are cheaper.
// Run: tarvelo_composer_benchmark (starts and stops its own office).
#include <benchmark/benchmark.h>

#include <string>

#include "tarvelo/addin_services.h"
#include "tarvelo/addin_state.h"
#include "tarvelo/composer.h"
#include "tarvelo/data/data_files.h"
#include "tarvelo/frm_choose.h"
#include "tarvelo/libreoffice/adapters.h"
#include "tarvelo/libreoffice/office_ui.h"
#include "word/libreoffice/libreoffice.h"
#include "word/testing/office.h"

namespace {

using namespace mTarvelo;

void Connect() {
    static bool connected = false;
    if (connected) return;
    auto& office = word::testing::sharedOffice();
    DataFolderOverride = std::filesystem::path(QV_DATA_DIR);
    SetServices({MakeModuleData(), MakeOfficeHost(office.context())});
    Data().loade();
    Data().SetTranslationName(u"English");
    Data().loadeFile(1);
    word::libreoffice::PipeOptions pipe;
    pipe.pipeName = office.pipeName();
    pipe.launch = {};
    WordApp = word::libreoffice::connectOverPipe(pipe);
    connected = true;
}

// A fresh document and the hidden dialog with the Unicode option as given.
void Prepare(bool unicode) {
    Connect();
    word::testing::sharedOffice().closeAllDocuments();
    word::testing::sharedOffice().newWriterDocument();
    StopRequested = false;
    InsertMode = 1;
    LoadFrmChoose()->Controls().SetValue(ChooseControl::chUnicod, unicode ? 1 : 0);
}

void Report(benchmark::State& state, int verses) {
    state.counters["verses"] = verses;
    state.counters["verses_per_s"] = benchmark::Counter(verses, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Surah2Unicode(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Prepare(true);
        state.ResumeTiming();
        InsertArabic(2, 1, 286, false);
    }
    Report(state, 286);
}
BENCHMARK(BM_Surah2Unicode)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_Surah2UnicodeWithTranslation(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Prepare(true);
        state.ResumeTiming();
        InsertArabic(2, 1, 286, false);
        InsertTranslation(2, 1, 286);
    }
    Report(state, 286);
}
BENCHMARK(BM_Surah2UnicodeWithTranslation)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_Surah2GlyphsFirst20Verses(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Prepare(false);
        state.ResumeTiming();
        InsertArabic(2, 1, 20, false);
    }
    Report(state, 20);
}
BENCHMARK(BM_Surah2GlyphsFirst20Verses)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The same Unicode text as BM_Surah2Unicode, put on the clipboard once and pasted by the office.
void BM_Surah2UnicodeOneBlockPaste(benchmark::State& state) {
    Connect();
    std::string text;
    for (int a = 1; a <= 286; ++a)
        text += Data().AmbilUnicode(Data().SurahVerseOffset(2) + a, static_cast<std::int16_t>(a)) +
                std::string("\r\0\n\0", 4);
    for (auto _ : state) {
        state.PauseTiming();
        Prepare(true);
        state.ResumeTiming();
        auto clipboard = Host().NewClipboard();
        clipboard->ClipboardOpen(1);
        clipboard->ClearClipboard();
        clipboard->SetTextData(13, text);
        clipboard->ClipboardClose();
        WordApp->Selection()->PasteAndFormat(word::wdPasteDefault);
    }
    Report(state, 286);
}
BENCHMARK(BM_Surah2UnicodeOneBlockPaste)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (auto form = LoadedFrmChoose()) form->Controls().Close();
    UnloadFrmChoose();
    WordApp.reset();
    SetServices({});
    CloseDataFiles();
    return 0;
}
