// Cost of Selection.Paste on Writer over the pipe: a composed verse of 30 glyph fields placed by
// the layer, the same fragment through the office's own Rich Text import for comparison (each
// paste in a paragraph of its own), surah 2's worth of such verses (286 pastes with the clipboard
// filled for each), and reading the Rich Text alone.
// Run: word_paste_benchmark (starts and stops a private headless office).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include <com/sun/star/datatransfer/XTransferableSupplier.hpp>
#include <com/sun/star/datatransfer/clipboard/SystemClipboard.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XModel.hpp>

#include "word/libreoffice/libreoffice.h"
#include "word/libreoffice/tests/clipboard_contents.h"
#include "word/rtf/rich_text.h"
#include "word/rtf/tests/rich_text_test_fragments.h"
#include "word/testing/office.h"

namespace {

namespace css = ::com::sun::star;

using word::testing::Office;

// A verse as the composer writes it: 30 glyph fields in words of three, fonts changing every field.
std::string thirtyFieldVerse() {
    using namespace word::rtf::fragments;
    std::string rtf = kHeader;
    for (int i = 0; i < 30; ++i) {
        rtf += glyphField(0xC1 + i, i % 6 == 5 ? "(normal text)" : "HQPB" + std::to_string(i % 6 + 1), "28", "56") +
               "\r\n";
        if (i % 3 == 2) rtf += kSpaceGroup;
    }
    rtf += kSpaceGroup;
    rtf += kClosingGroup;
    return rtf;
}

void putRichText(Office& office, const std::string& rtf) {
    word::testing::putRichTextOnClipboard(office.context(), rtf);
}

struct Writer {
    std::unique_ptr<word::Application> word;
    std::unique_ptr<word::Selection> selection;
    css::uno::Reference<css::text::XTextDocument> document;

    explicit Writer(Office& office) {
        office.closeAllDocuments();
        document = office.newWriterDocument();
        word = word::libreoffice::connectOverPipe(office.pipeOptions());
        selection = word->ActiveDocument()->ActiveWindow()->Selection();
    }
};

void PasteGlyphVerse(benchmark::State& state, Office& office) {
    Writer writer(office);
    putRichText(office, thirtyFieldVerse());
    for (auto _ : state) {
        writer.selection->Paste();
        state.PauseTiming();
        writer.selection->TypeParagraph();
        state.ResumeTiming();
    }
    state.counters["fields"] = 30;
}

void OfficeImportOfTheSameVerse(benchmark::State& state, Office& office) {
    Writer writer(office);
    putRichText(office, thirtyFieldVerse());
    auto clipboard = css::datatransfer::clipboard::SystemClipboard::create(office.context());
    css::uno::Reference<css::frame::XModel> model(writer.document, css::uno::UNO_QUERY_THROW);
    css::uno::Reference<css::datatransfer::XTransferableSupplier> supplier(model->getCurrentController(),
                                                                           css::uno::UNO_QUERY_THROW);
    for (auto _ : state) {
        supplier->insertTransferable(clipboard->getContents());
        state.PauseTiming();
        writer.selection->TypeParagraph();
        state.ResumeTiming();
    }
}

// Surah 2: 286 verses, each put on the clipboard and pasted, one paragraph each.
void PasteSurah2Verses(benchmark::State& state, Office& office) {
    Writer writer(office);
    const std::string verse = thirtyFieldVerse();
    for (auto _ : state) {
        for (int v = 0; v < 286; ++v) {
            putRichText(office, verse);
            writer.selection->Paste();
            writer.selection->TypeParagraph();
        }
    }
}

void ReadComposedVerse(benchmark::State& state) {
    const std::string verse = thirtyFieldVerse();
    for (auto _ : state) benchmark::DoNotOptimize(word::rtf::readRichText(verse));
}
BENCHMARK(ReadComposedVerse)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    {
        // A private office, gone before the process exits.
        Office office;
        benchmark::RegisterBenchmark("PasteGlyphVerse", [&](benchmark::State& s) { PasteGlyphVerse(s, office); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(20);
        benchmark::RegisterBenchmark("OfficeImportOfTheSameVerse",
                                     [&](benchmark::State& s) { OfficeImportOfTheSameVerse(s, office); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(20);
        benchmark::RegisterBenchmark("PasteSurah2Verses", [&](benchmark::State& s) { PasteSurah2Verses(s, office); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    return 0;
}
