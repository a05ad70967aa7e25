#pragma once
// A window whose word processor is the recording backend, for the tests of sending.

#include "versend/send.h"
#include "versend/surah_names.h"
#include "versend/tests/form1_fixture.h"
#include "versend/texts.h"
#include "word/recording/recording.h"

#include <QTest>
#include <QTextCursor>

namespace versend::testing {

inline QString q(std::u16string_view text) { return fromU16(text); }
inline std::u16string u(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), text.size());
}

class SendTest : public Form1Test {
protected:
    void SetUp() override {
        Form1Test::SetUp();
        form->wordGlobalFactory = [this] {
            ++factoryCalls;
            auto recorder = std::make_unique<word::recording::Recorder>();
            if (prepare) prepare(*recorder);
            word = recorder.get();
            return recorder;
        };
        form->ftx1.setText(QStringLiteral("16"));
        form->ftx2.setText(QStringLiteral("12"));
    }

    void setVerse(const QString& text, int surah, const QString& number) {
        form->Label2.setText(text);
        form->Label4.setText(q(citationName(surah)));
        form->Label5.setText(number);
    }

    // Opens the part box on `text` with [start, start + length) selected.
    void markPart(const QString& text, int start, int length) {
        form->Text5.setPlainText(text);
        form->Text5.show();
        QTextCursor cursor = form->Text5.textCursor();
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        form->Text5.setTextCursor(cursor);
    }

    std::u16string documentText() const { return word ? word->document().text() : std::u16string(); }
    bool noticeShown() const { return isShown(form->Picture1) && form->Label10.text() == kSentNotice; }

    static std::vector<std::u16string> pieces(double verseSize, const QString& opening, const QString& body,
                                              const QString& closing, double citationSize, const QString& citation) {
        const auto size = [](double s) { return u"SizeBi " + u(QString::number(s)); };
        return {size(verseSize),    u"TypeText " + u(opening),
                u"BoldRun",         u"TypeText " + u(body),
                u"BoldRun",         u"TypeText " + u(closing),
                size(citationSize), u"TypeText " + u(citation),
                size(verseSize),    u"TypeText  "};
    }

    word::recording::Recorder* word = nullptr;  // owned by the window
    std::function<void(word::recording::Recorder&)> prepare;
    int factoryCalls = 0;
};

}  // namespace versend::testing
