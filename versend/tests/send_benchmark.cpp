// Figures of sending into Writer over its pipe, against a bare insertString of the same text:
// one whole verse (2:255) sent by the window's send button, and the range 1-286 of surah 2 sent
// by the range button, each also typed through the word layer alone. Each repetition is one send
// into an emptied document, so the median is that of single sends.
// A private headless office is started for the run and stopped at its end; the verse files are
// read from beside this program.
#include "versend/form1.h"
#include "versend/send.h"
#include "versend/surah_names.h"
#include "word/libreoffice/connection.h"
#include "word/libreoffice/libreoffice.h"
#include "word/testing/office.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>

#include <memory>
#include <optional>

namespace {

namespace css = ::com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

class QuietMessageBox final : public versend::MessageBoxService {
public:
    void show(const QString& text, const QString&) override { last = text; }
    QString last;
};

class FixedClipboard final : public versend::Clipboard {
public:
    QString text() const override { return QStringLiteral("qqq"); }  // found nowhere: no send at start-up
    void setText(const QString&) override {}
};

class NoKeyboardLayout final : public versend::KeyboardLayout {
public:
    void activateArabic() override {}
    void restoreDefault() override {}
};

// The office, one window listing surah 2 in range mode, and a Writer document to send into.
struct Bench {
    word::testing::Office office;
    QuietMessageBox messages;
    FixedClipboard clipboard;
    NoKeyboardLayout keyboard;
    std::unique_ptr<versend::Form1> form;
    Reference<css::text::XTextDocument> document;
    bool ready = false;

    Bench() {
        form = std::make_unique<versend::Form1>(QCoreApplication::applicationDirPath().toStdString());
        form->messageBox = &messages;
        form->clipboard = &clipboard;
        form->keyboardLayout = &keyboard;
        form->settingsFile = "/nonexistent/Versend.ini";  // the default sizes 16 and 12
        form->animationMs = 0;
        form->endProgram = [] {};
        form->wordGlobalFactory = [options = office.pipeOptions()] {
            return word::libreoffice::connectOverPipe(options);
        };
        form->Form_Load();
        form->Label23_Click();
        form->Combo1.setCurrentIndex(2);
        emit form->Combo1.activated(2);
        ready = form->List2.count() == 286;
        document = office.newWriterDocument();
    }
    ~Bench() {
        form.reset();  // office objects go before the office
        document.clear();
    }

    void clearDocument() { document->getText()->setString({}); }

    // The bare insertion at the document's insertion point.
    void insertString(const QString& text) {
        Reference<css::frame::XModel> model(document, UNO_QUERY_THROW);
        Reference<css::text::XTextViewCursorSupplier> supplier(model->getCurrentController(), UNO_QUERY_THROW);
        Reference<css::text::XTextViewCursor> cursor = supplier->getViewCursor();
        const std::u16string_view utf16(reinterpret_cast<const char16_t*>(text.utf16()),
                                        static_cast<std::size_t>(text.size()));
        document->getText()->insertString(Reference<css::text::XTextRange>(cursor.get()),
                                          word::libreoffice::toOUString(utf16), false);
    }

    // Verse 2:255 as the current verse, and the text that sending it types.
    QString setVerse255() {
        form->Label2.setText(form->List2.text(254));
        form->Label4.setText(QString::fromUtf16(versend::citationName(2).data(),
                                                static_cast<qsizetype>(versend::citationName(2).size())));
        form->Label5.setText(QStringLiteral("255"));
        return u'[' + form->Label2.text() + QStringLiteral("] {") + form->Label4.text() + QStringLiteral(":255} ");
    }

    // The text that sending verses 1-286 of surah 2 types.
    QString rangeText() const {
        QString body;
        for (int row = 0; row < form->List2.count(); ++row)
            body += form->List2.text(row) + u'(' + QString::number(row + 1) + QStringLiteral(") ");
        return u'[' + body + QStringLiteral("]. {") +
               QString::fromUtf16(versend::citationName(2).data(),
                                  static_cast<qsizetype>(versend::citationName(2).size())) +
               QStringLiteral("}. ");
    }
};

std::optional<Bench>& bench() {
    static std::optional<Bench> instance;
    return instance;
}

bool usable(benchmark::State& state) {
    if (!bench() || !bench()->ready) {
        state.SkipWithError("the verse files beside the program are missing");
        return false;
    }
    return true;
}

// Times `action` once per iteration, each time into an emptied document.
template <class Action>
void timeIntoEmptyDocument(benchmark::State& state, Bench& b, Action action) {
    for (auto _ : state) {
        state.PauseTiming();
        b.clearDocument();
        state.ResumeTiming();
        action();
    }
}

void BM_SendVerse(benchmark::State& state) {
    if (!usable(state)) return;
    auto& b = *bench();
    b.setVerse255();
    b.form->cmdcreate.click();  // connects: not part of the figure
    timeIntoEmptyDocument(state, b, [&] { b.form->cmdcreate.click(); });
    if (!b.messages.last.isEmpty()) state.SkipWithError(("the send failed: " + b.messages.last).toStdString().c_str());
    b.clearDocument();
}

void BM_InsertStringVerse(benchmark::State& state) {
    if (!usable(state)) return;
    auto& b = *bench();
    const QString text = b.setVerse255();
    timeIntoEmptyDocument(state, b, [&] { b.insertString(text); });
    state.counters["chars"] = static_cast<double>(text.size());
    b.clearDocument();
}

// The ten pieces of a verse send typed through the word layer alone (no window).
void BM_TypePiecesVerse(benchmark::State& state) {
    if (!usable(state)) return;
    auto& b = *bench();
    b.setVerse255();
    const versend::SendPieces pieces{16,
                                     12,
                                     QStringLiteral("["),
                                     b.form->Label2.text(),
                                     QStringLiteral("] "),
                                     QStringLiteral("{%1:255}").arg(b.form->Label4.text())};
    auto word = b.form->wordGlobalFactory();
    versend::typePieces(*word, pieces);  // connects: not part of the figure
    timeIntoEmptyDocument(state, b, [&] { versend::typePieces(*word, pieces); });
    b.clearDocument();
}

void BM_SendRange2_1_286(benchmark::State& state) {
    if (!usable(state)) return;
    auto& b = *bench();
    b.form->Text3.setText(QStringLiteral("1"));
    b.form->Text4.setText(QStringLiteral("286"));
    timeIntoEmptyDocument(state, b, [&] { b.form->Command6.click(); });
    if (!b.messages.last.isEmpty()) state.SkipWithError(("the send failed: " + b.messages.last).toStdString().c_str());
    b.clearDocument();
}

// The pieces of the same range typed through the word layer alone (no window).
void BM_TypePiecesRange2_1_286(benchmark::State& state) {
    if (!usable(state)) return;
    auto& b = *bench();
    QString body;
    for (int row = 0; row < b.form->List2.count(); ++row)
        body += b.form->List2.text(row) + u'(' + QString::number(row + 1) + QStringLiteral(") ");
    const auto name = versend::citationName(2);
    const versend::SendPieces pieces{
        16,
        12,
        QStringLiteral("["),
        body,
        QStringLiteral("]. "),
        u'{' + QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size())) + QStringLiteral("}.")};
    auto word = b.form->wordGlobalFactory();
    timeIntoEmptyDocument(state, b, [&] { versend::typePieces(*word, pieces); });
    b.clearDocument();
}

void BM_InsertStringRange2_1_286(benchmark::State& state) {
    if (!usable(state)) return;
    auto& b = *bench();
    const QString text = b.rangeText();
    timeIntoEmptyDocument(state, b, [&] { b.insertString(text); });
    state.counters["chars"] = static_cast<double>(text.size());
    b.clearDocument();
}

BENCHMARK(BM_SendVerse)
    ->Iterations(1)
    ->Repetitions(101)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertStringVerse)
    ->Iterations(1)
    ->Repetitions(101)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypePiecesVerse)
    ->Iterations(1)
    ->Repetitions(101)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SendRange2_1_286)
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypePiecesRange2_1_286)
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertStringRange2_1_286)
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench().emplace();
    benchmark::RunSpecifiedBenchmarks();
    bench().reset();
    benchmark::Shutdown();
    return 0;
}
