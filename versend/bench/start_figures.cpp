// Figures of Versend's start and word search over the real verse files beside this program, built
// for Linux and for Windows alike (no benchmark library, which the Windows build lacks):
//   - start to first hit: from main() to the window built, loaded (which searches for the word on
//     the clipboard, here " الله ") and shown with its rows listed (the launcher adds the process
//     start: scripts/bench-versend.sh);
//   - the word search for " الله " in the shown window, median and fastest of --rounds;
//   - the forgiving search for " ان الله " (typed without its hamza: the exact search finds
//     nothing, the folded one finds the verses) against the exact search for " إن الله ".
// Options: --font FILE (a font to register first, as Versend.exe does with its display font),
// --rounds N (0: stop after the first hit).
#include "versend/form1.h"

#include <QApplication>
#include <QFontDatabase>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Message boxes would wait for a person: the figure reports the text instead.
class RecordingMessageBox final : public versend::MessageBoxService {
public:
    void show(const QString& text, const QString&) override { last = text; }
    QString last;
};

// At start the window searches for the word on the clipboard, between blanks: the word is there.
class WordClipboard final : public versend::Clipboard {
public:
    QString text() const override { return QStringLiteral("الله"); }
    void setText(const QString&) override {}
};

}  // namespace

int main(int argc, char* argv[]) {
    const Clock::time_point start = Clock::now();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString font;
    int rounds = 20;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--font")) font = args[i + 1];
        if (args[i] == QLatin1String("--rounds")) rounds = args[i + 1].toInt();
    }
    if (!font.isEmpty() && QFontDatabase::addApplicationFont(font) < 0)
        std::fprintf(stderr, "start_figures: could not load the font %s\n", qPrintable(font));

    const QString query = QStringLiteral(" الله ");
    RecordingMessageBox messages;
    WordClipboard clipboard;
    versend::Form1 form(QCoreApplication::applicationDirPath().toStdWString());
    form.messageBox = &messages;
    form.clipboard = &clipboard;
    form.endProgram = [] {};
    form.Form_Load();  // searches for " الله " from the clipboard
    form.show();
    QCoreApplication::processEvents();
    const double firstHit = millisecondsSince(start);
    if (form.List1.count() == 0) {
        std::printf("ERROR: no hit for the query (%s)\n", qPrintable(messages.last));
        return 1;
    }
    std::printf("start to first hit: %.1f ms (from main() to the window shown with its %d rows)\n", firstHit,
                form.List1.count());

    // The median and fastest of the rounds of a word search for the query, and the rows it found.
    const auto timeSearch = [&](const QString& query) {
        std::vector<double> times;
        for (int i = 0; i < rounds; ++i) {
            const Clock::time_point t = Clock::now();
            form.Text1.setText(query);
            form.wordSearch();
            QCoreApplication::processEvents();
            times.push_back(millisecondsSince(t));
        }
        std::sort(times.begin(), times.end());
        return std::make_pair(times[times.size() / 2], times.front());
    };
    if (rounds > 0) {
        const auto [median, fastest] = timeSearch(query);
        std::printf("word search \" الله \": median %.2f ms, fastest %.2f ms over %d rounds (%d rows)\n", median,
                    fastest, rounds, form.List1.count());
        const auto exact = timeSearch(QStringLiteral(" إن الله "));
        const int exactRows = form.List1.count();
        timeSearch(QStringLiteral(" ان الله "));  // the first folded search makes the folded copy
        const auto folded = timeSearch(QStringLiteral(" ان الله "));
        if (!form.FoldedSign.isVisibleTo(&form)) {
            std::printf("ERROR: \" ان الله \" was not found by the forgiving search\n");
            return 1;
        }
        std::printf(
            "forgiving search \" ان الله \" (%d rows) against exact \" إن الله \" (%d rows): median %.2f ms / "
            "%.2f ms = %.2fx, fastest %.2f ms / %.2f ms = %.2fx\n",
            form.List1.count(), exactRows, folded.first, exact.first, folded.first / exact.first, folded.second,
            exact.second, folded.second / exact.second);
    }
    return 0;
}
