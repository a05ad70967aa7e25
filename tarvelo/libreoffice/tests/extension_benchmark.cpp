// Figures of the add-in inside the office (the extension installed in a private headless office):
// the chooser's OK for the whole of surah 2 in the Unicode form (in one paragraph, and a paragraph
// per verse) and for its first 20 verses in the Unicode and the glyph form, from the click until the dialog has closed.
// Every office call of the composer is an in-process call here; compare tarvelo_composer_benchmark (the same work over
// the pipe). Run: tarvelo_extension_benchmark (installs the extension, starts and stops its own office).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <thread>

#include <com/sun/star/accessibility/AccessibleRole.hpp>

#include "tarvelo/libreoffice/tests/extension_office.h"

namespace {

namespace role = ::com::sun::star::accessibility::AccessibleRole;
using namespace tarvelo::testing;

// Ended in main before the UNO runtime goes away at exit.
std::unique_ptr<ExtensionOffice>& OfficeHolder() {
    static std::unique_ptr<ExtensionOffice> office;
    return office;
}

ExtensionOffice& Office() {
    if (!OfficeHolder()) OfficeHolder() = std::make_unique<ExtensionOffice>();
    return *OfficeHolder();
}

// Opens the chooser over a new document and fills it in; returns its OK button.
::com::sun::star::uno::Reference<::com::sun::star::text::XTextDocument>& Document() {
    static ::com::sun::star::uno::Reference<::com::sun::star::text::XTextDocument> document;
    return document;
}

AccessibleContext PrepareChooser(std::u16string_view to, bool unicode, bool newLine) {
    auto& office = Office().office();
    office.closeAllDocuments();
    auto doc = office.newWriterDocument();
    Document() = doc;
    if (!WaitForQuranMenus(doc, 1)) throw std::runtime_error("no menu");
    Dispatch(doc, QuranMenus(doc).front().items[1].command);  // Get Arabic
    if (!WaitForTopWindow(office.context(), u"Choose Surah  & Ayah")) throw std::runtime_error("no chooser");
    auto dialog = TopWindow(office.context(), u"Choose Surah  & Ayah");
    std::vector<AccessibleContext> combos;
    FindAll(dialog, role::COMBO_BOX, combos);
    if (combos.size() < 3) throw std::runtime_error("no combo boxes");
    SetComboText(combos[0], u"002. Al-Baqarah");
    SetComboText(combos[2], to);
    auto box = FindControl(dialog, role::CHECK_BOX, u"Unicode");
    if (unicode) Press(box);
    if (newLine) Press(FindControl(dialog, role::CHECK_BOX, u"New Line"));
    return FindControl(dialog, role::PUSH_BUTTON, u"OK");
}

// Looks every 20 ms: every look needs the office's main thread for a moment.
void WaitUntilClosed() {
    while (TopWindow(Office().office().context(), u"Choose Surah  & Ayah").is())
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

void Run(benchmark::State& state, std::u16string_view to, bool unicode, int verses, bool newLine = false) {
    for (auto _ : state) {
        state.PauseTiming();
        auto ok = PrepareChooser(to, unicode, newLine);
        state.ResumeTiming();
        Press(ok);
        WaitUntilClosed();
    }
    // What arrived, counted by the verse numbers "(n)" of the Unicode form (0 for glyphs).
    const auto text = word::testing::documentText(Document());
    state.counters["numbers_in_document"] = static_cast<double>(std::count(text.begin(), text.end(), u'('));
    // The same figures before and after a change of speed: nothing else changed in the document.
    state.counters["paragraphs_in_document"] = static_cast<double>(std::count(text.begin(), text.end(), u'\n') + 1);
    state.counters["characters_in_document"] = static_cast<double>(text.size());
    Document().clear();
    state.counters["verses_per_s"] = benchmark::Counter(verses, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_InOfficeSurah2Unicode(benchmark::State& state) { Run(state, u"286", true, 286); }
BENCHMARK(BM_InOfficeSurah2Unicode)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// Every verse a paragraph of its own ("New Line"), as in tarvelo_composer_benchmark. Without it
// the whole surah grows one paragraph: laid out again after every verse, it took 45 s; the pastes
// keep the views waiting until the end instead.
void BM_InOfficeSurah2UnicodeNewLine(benchmark::State& state) { Run(state, u"286", true, 286, true); }
BENCHMARK(BM_InOfficeSurah2UnicodeNewLine)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_InOfficeSurah2UnicodeFirst20Verses(benchmark::State& state) { Run(state, u"20", true, 20); }
BENCHMARK(BM_InOfficeSurah2UnicodeFirst20Verses)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_InOfficeSurah2GlyphsFirst20Verses(benchmark::State& state) { Run(state, u"20", false, 20); }
BENCHMARK(BM_InOfficeSurah2GlyphsFirst20Verses)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (OfficeHolder()) {
        OfficeHolder()->office().closeAllDocuments();
        OfficeHolder().reset();
    }
    return 0;
}
