#pragma once
// Shared pieces of the window's tests: small verse files of their own, a message-box recorder,
// a keyboard-layout recorder and a window set up on them.

#include "versend/code_page.h"
#include "versend/form1.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace versend::testing {

struct RecordedMessage {
    QString text;
    QString caption;
};

class RecordingMessageBox final : public MessageBoxService {
public:
    void show(const QString& text, const QString& caption) override { messages.push_back({text, caption}); }
    std::vector<RecordedMessage> messages;
};

class RecordingKeyboardLayout final : public KeyboardLayout {
public:
    void activateArabic() override { calls.push_back("arabic"); }
    void restoreDefault() override { calls.push_back("default"); }
    std::vector<std::string> calls;
};

// Writes text lines in the verse files' code page, each ended by CR LF.
inline void writeLines(const std::filesystem::path& path, const std::vector<QString>& lines, bool lastLineEnd = true) {
    std::ofstream out(path, std::ios::binary);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto bytes = encodeArabicCodePage(lines[i]);
        if (!bytes) throw std::runtime_error("fixture line outside the code page");
        out << *bytes;
        if (lastLineEnd || i + 1 < lines.size()) out << "\r\n";
    }
}

// Line `index` (0-based) of the real vocalised file that the build put beside the programs.
inline QString realVocalisedLine(int index) {
    std::ifstream in(std::filesystem::path(QV_VERSE_FOLDER) / "Qurant.Qur", std::ios::binary);
    std::string line;
    for (int i = 0; i <= index && std::getline(in, line); ++i) {
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return decodeArabicCodePage(line);
}

// The text of verse 2:282 from the real vocalised file, split after its words "أَلَّا تَكْتُبُوهَا"
// and the blank that follows them.
inline std::pair<QString, QString> realHalvesOf282() {
    const QString verse = realVocalisedLine(7 + 281);  // surah 1 has 7 verses
    const QString end = QString::fromUtf16(
        u"\u0623\u064E\u0644\u0651\u064E\u0627 "
        u"\u062A\u064E\u0643\u0652\u062A\u064F\u0628\u064F\u0648\u0647\u064E\u0627 ");
    const qsizetype at = verse.indexOf(end);
    if (at < 0) return {};
    return {verse.left(at + end.size()), verse.mid(at + end.size())};
}

// A small verse text: surah 1 with 7 verses, 2 with 286, 3 with 5 and 114 with 6, in that
// order. Search lines are "SSS words N"; vocalised lines name their verse.
struct VerseFixture {
    static inline const std::map<int, int> kVerseCounts{{1, 7}, {2, 286}, {3, 5}, {114, 6}};
    std::vector<QString> search;
    std::vector<QString> vocalised;

    VerseFixture() {
        for (const auto& [surah, count] : kVerseCounts) {
            for (int verse = 1; verse <= count; ++verse) {
                search.push_back(
                    QStringLiteral("%1 %2 %3").arg(surah, 3, 10, QLatin1Char('0')).arg(words(surah, verse)).arg(verse));
                vocalised.push_back(QStringLiteral("نَصُّ الآيَةِ %1:%2").arg(surah).arg(verse));
            }
        }
    }

    // " الله " stands in verse 1 of surah 1, in every tenth verse of surah 2 and in 114:1.
    static QString words(int surah, int verse) {
        if (surah == 1 && verse == 1) return QStringLiteral("بسم الله الرحمن الرحيم");
        if ((surah == 2 && verse % 10 == 0) || (surah == 114 && verse == 1)) return QStringLiteral("قال الله كلمة");
        if (surah == 3 && verse == 2) return QStringLiteral("فريدة  كلمتان");  // two blanks in a row
        return QStringLiteral("كلمة عادية");
    }
    static int godCount() { return 1 + 28 + 1; }

    void writeTo(const std::filesystem::path& folder) const {
        writeLines(folder / "QuranV.Qur", search);
        writeLines(folder / "Qurant.Qur", vocalised);
    }
};

// A window on the fixture files, with recorders in place of the message box and keyboard,
// and no animation. Settings come from a file in the temporary folder (absent at first).
class Form1Test : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = std::filesystem::path(dir.path().toStdString());
        fixture.writeTo(folder);
        form = std::make_unique<Form1>(folder);
        form->messageBox = &messages;
        form->keyboardLayout = &keyboard;
        form->settingsFile = folder / "Versend.ini";
        form->animationMs = 0;
        form->endProgram = [this] { ++endCount; };
        QObject::connect(&form->cmdcreate, &QPushButton::clicked, [this] { ++sendCount; });
        QObject::connect(&form->Command6, &QPushButton::clicked, [this] { ++rangeSendCount; });
    }
    void TearDown() override {
        form.reset();
        QCoreApplication::processEvents();
    }

    // Start-up with the given clipboard text.
    void startWithClipboard(const QString& text) {
        form->clipboard->setText(text);
        form->Form_Load();
        startQuery = form->Text1.text();
        form->show();
        // The window in front, as a user's window is: focus then moves as it does on a desktop.
        form->activateWindow();
        activated = QTest::qWaitForWindowActive(form.get(), 2000);
        QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
    std::filesystem::path folder;
    VerseFixture fixture;
    RecordingMessageBox messages;
    RecordingKeyboardLayout keyboard;
    std::unique_ptr<Form1> form;
    QString startQuery;      // the query box right after start-up
    bool activated = false;  // the window became the active one at start-up
    int sendCount = 0;
    int rangeSendCount = 0;
    int endCount = 0;
};

}  // namespace versend::testing
