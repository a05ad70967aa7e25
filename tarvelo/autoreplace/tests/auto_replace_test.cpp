#include "tarvelo/autoreplace/auto_replace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tarvelo/addin_state.h"
#include "tarvelo/autoreplace/tag_reader.h"
#include "tarvelo/autoreplace/timer_service.h"
#include "word/recording/recording.h"

namespace mTarvelo {
namespace {

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// Names padded to 30 characters, as the surah table holds them.
std::optional<SurahInfo> SurahTableEntry(std::int64_t s) {
    if (s < 1 || s > 114) return std::nullopt;
    if (s == 1) return SurahInfo{u"Al-Fatihah                    ", 7};
    if (s == 2) return SurahInfo{u"Al-Baqarah                    ", 286};
    return SurahInfo{u"Surah " + std::u16string(1, char16_t(u'0' + s % 10)), 6};
}

class AutoReplace : public ::testing::Test {
protected:
    void SetUp() override {
        WordApp = word;
        button = word->CommandBars().ActiveMenuBar().Controls().Add(word::msoControlButton);
        button->SetCaption(u"Automatic Replace eg [QS2:1-2A]");
        ctrl6 = button;
        word->clearLog();
        InsertMode = 0;
        AutoReplaceOn = false;
        AutoReplaceTimerId = 0;

        AutoReplaceHost host;
        host.timers = timers;
        host.insertArabic = [this](std::int16_t s, std::int16_t f, std::int16_t t, bool sameLine) {
            inserted.push_back("A " + std::to_string(s) + ":" + std::to_string(f) + "-" + std::to_string(t) +
                               (sameLine ? "" : " N"));
            if (duringInsertion) duringInsertion();
        };
        host.insertTranslation = [this](std::int16_t s, std::int16_t f, std::int16_t t) {
            inserted.push_back("T " + std::to_string(s) + ":" + std::to_string(f) + "-" + std::to_string(t));
            if (duringInsertion) duringInsertion();
        };
        host.surah = &SurahTableEntry;
        host.message = [this](std::u16string_view text) { messages.emplace_back(text); };
        InstallAutoReplace(std::move(host));
    }

    void TearDown() override {
        UninstallAutoReplace();
        WordApp.reset();
        ctrl6.reset();
        InsertMode = 0;
    }

    // Types as a user's keystrokes arrive.
    void Type(std::u16string_view text) {
        for (const char16_t c : text) word->Selection()->TypeText(std::u16string(1, c));
    }
    // The same, with a timer tick after each keystroke.
    void TypeWithTicks(std::u16string_view text) {
        for (const char16_t c : text) {
            Type(std::u16string(1, c));
            timers->Tick();
        }
    }
    void NewDocument() {
        word->newDocument();
        inserted.clear();
    }

    void SwitchOn() {
        ctrl6_Click();
        ASSERT_TRUE(AutoReplaceOn);
    }

    std::u16string Text() const { return word->document().text(); }
    std::vector<std::u16string> Paragraphs() const {
        std::vector<std::u16string> paragraphs{u""};
        for (const char16_t c : Text()) {
            if (c == u'\r') paragraphs.emplace_back();
            else paragraphs.back() += c;
        }
        return paragraphs;
    }
    std::u16string Paragraph(std::size_t i) const { return Paragraphs().at(i); }
    bool Logged(std::u16string_view operation) const {
        const auto log = word->log();
        return std::any_of(log.begin(), log.end(), [&](const std::u16string& c) { return c.starts_with(operation); });
    }

    std::shared_ptr<ManualTimerService> timers = std::make_shared<ManualTimerService>();
    std::shared_ptr<word::recording::Recorder> word = std::make_shared<word::recording::Recorder>();
    std::shared_ptr<word::CommandBarControl> button;
    std::vector<std::string> inserted;
    std::vector<std::u16string> messages;
    std::function<void()> duringInsertion;
};

TEST_F(AutoReplace, CommandSwitchesModeCaptionAndTimer) {
    ctrl6_Click();
    EXPECT_TRUE(AutoReplaceOn);
    EXPECT_EQ(button->Caption(), u"Disable Auto Replace");
    EXPECT_EQ(timers->ActiveCount(), 1u);
    EXPECT_EQ(timers->LastPeriod(), 100u);
    EXPECT_NE(AutoReplaceTimerId, 0u);

    ctrl6_Click();
    EXPECT_FALSE(AutoReplaceOn);
    EXPECT_EQ(button->Caption(), u"Auto Replace eg [QS2:1-2A]");
    EXPECT_EQ(timers->ActiveCount(), 0u);

    // The command follows the mode, not its caption.
    button->SetCaption(u"Disable Auto Replace");
    ctrl6_Click();
    EXPECT_TRUE(AutoReplaceOn);
    EXPECT_TRUE(messages.empty());
}

TEST_F(AutoReplace, EveryTickStopsItsTimerAndStartsANewOne) {
    SwitchOn();
    for (int i = 0; i < 5; ++i) {
        const auto before = AutoReplaceTimerId;
        EXPECT_EQ(timers->Tick(), 1);
        EXPECT_EQ(timers->ActiveCount(), 1u);
        EXPECT_NE(AutoReplaceTimerId, before);
    }
}

TEST_F(AutoReplace, ReplacesATagOnceItsClosingBracketIsTyped) {
    word->document().setContent(u"", {.sizeBi = 12, .rightToLeftRun = true, .font = {}});
    word->Selection()->RtlPara();
    SwitchOn();
    TypeWithTicks(u"[QS2:1-2A");
    EXPECT_EQ(Text(), u"[QS2:1-2A");
    EXPECT_TRUE(inserted.empty());

    word->clearLog();
    TypeWithTicks(u"]");
    EXPECT_EQ(Paragraphs(), (std::vector<std::u16string>{u"(QS2. Al-Baqarah ayat 1-2)", u""}));
    EXPECT_FALSE(word->document().paragraphs().at(0).rightToLeft);
    EXPECT_EQ(word->document().selectionStart(), Text().size());
    EXPECT_EQ(inserted, (std::vector<std::string>{"A 2:1-2"}));
    EXPECT_EQ(InsertMode, 2);
    EXPECT_EQ(timers->ActiveCount(), 1u);
    EXPECT_TRUE(messages.empty());

    // The look-back reads, the paragraph turns left-to-right, the tag is selected and removed,
    // the citation and paragraph typed.
    EXPECT_EQ(
        word->edits(),
        (std::vector<std::u16string>{
            u"TypeText ]", u"Type", u"Range.MoveStart 2 -1", u"Range.Text", u"Range.MoveStart 2 -4", u"Range.Text",
            u"Range.MoveStart 2 -1", u"Range.Text", u"Range.Text", u"Range.MoveStart 2 -1", u"Range.Text",
            // the selection first tried on a range
            u"Range.MoveStart 2 -4", u"Range.Text", u"Range.MoveStart 2 -1", u"Range.Text", u"Range.MoveStart 2 -2",
            u"Range.Text", u"Range.Text", u"LtrPara", u"MoveStart 2 -4", u"Text", u"MoveStart 2 -1", u"Text",
            u"MoveStart 2 -2", u"Text", u"TypeText", u"TypeText (QS2. Al-Baqarah ayat 1-2)", u"TypeParagraph"}));
}

TEST_F(AutoReplace, LettersChooseWhatIsInserted) {
    struct Case {
        std::u16string tag;
        std::u16string citation;
        std::vector<std::string> inserted;
        std::int16_t mode;
    };
    const std::vector<Case> cases = {
        {u"[qs2:1-2b]", u"(QS2. Al-Baqarah ayat 1-2)", {"A 2:1-2", "T 2:1-2"}, 1},
        {u"[QS2:5T]", u"(QS2. Al-Baqarah ayat 5)", {"T 2:5-5"}, 3},
        {u"[QS2:255BN]", u"(QS2. Al-Baqarah ayat 255)", {"A 2:255-255 N", "T 2:255-255"}, 1},
        {u"[QS1:1-3BS]",
         u"(QS1. Al-Fatihah ayat 1-3)",
         {"A 1:1-1", "T 1:1-1", "A 1:2-2", "T 1:2-2", "A 1:3-3", "T 1:3-3"},
         1},
        {u"[QS002:1A]", u"(QS2. Al-Baqarah ayat 1)", {"A 2:1-1"}, 2},
        {u"[QS2:1-2AT]", u"(QS2. Al-Baqarah ayat 1-2)", {"A 2:1-2", "T 2:1-2"}, 1},
        {u"[QS114:6A]", u"(QS114. Surah 4 ayat 6)", {"A 114:6-6"}, 2},
        {u"[QS1:6-7A]", u"(QS1. Al-Fatihah ayat 6-7)", {"A 1:6-7"}, 2},
    };
    SwitchOn();
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.tag));
        NewDocument();
        TypeWithTicks(c.tag);
        EXPECT_EQ(Paragraphs(), (std::vector<std::u16string>{c.citation, u""}));
        EXPECT_EQ(inserted, c.inserted);
        EXPECT_EQ(InsertMode, c.mode);
    }
}

TEST_F(AutoReplace, TagWithoutLettersFollowsTheLastMode) {
    SwitchOn();
    TypeWithTicks(u"[QS2:1-2]");
    EXPECT_EQ(Paragraph(0), u"(QS2. Al-Baqarah ayat 1-2)");
    EXPECT_TRUE(inserted.empty());  // no mode set yet: only the citation
    EXPECT_EQ(InsertMode, 0);

    InsertMode = 3;  // as after "Get Translation"
    TypeWithTicks(u"[QS2:1-2]");
    EXPECT_EQ(inserted, (std::vector<std::string>{"T 2:1-2"}));
    EXPECT_EQ(InsertMode, 3);
}

TEST_F(AutoReplace, InvalidTagsStayAndTheModeKeepsWorking) {
    SwitchOn();
    // A last verse beyond the surah's verses or below the first is refused like a first verse
    // beyond them ("[QS1:1-8BS]" would have read 2:1 under the citation of surah 1).
    for (const std::u16string tag : {u"[QS2:300A]", u"[QS115:1A]", u"[QS999:1A]", u"[QS0:1A]", u"[QS2:0A]", u"[QS:1A]",
                                     u"[QS2:1-99999A]", u"[QS1:6-9A]", u"[QS1:1-8BS]", u"[QS1:1-10A]", u"[QS114:1-7T]",
                                     u"[QS2:5-3A]", u"[QS2:5-0A]", u"[XS2:1A]", u"[QS2-1A]"}) {
        SCOPED_TRACE(Narrow(tag));
        NewDocument();
        TypeWithTicks(tag);
        for (int i = 0; i < 3; ++i) timers->Tick();  // looked at again on every tick
        EXPECT_EQ(Text(), tag);
        EXPECT_TRUE(inserted.empty());
        EXPECT_TRUE(AutoReplaceOn);
        EXPECT_EQ(timers->ActiveCount(), 1u);
    }
    // A valid tag typed after an invalid one is still replaced.
    TypeWithTicks(u" [QS2:5T]");
    EXPECT_EQ(Text(), u"[QS2-1A] (QS2. Al-Baqarah ayat 5)\r");
    EXPECT_TRUE(messages.empty());
}

TEST_F(AutoReplace, NothingButTheTagIsEverChanged) {
    SwitchOn();
    // A paragraph before, text before the tag on its line, and text after the insertion point.
    word->document().setContent(u"First paragraph.\rBefore: x- QS [ after", {}, 17 + 14);
    TypeWithTicks(u"[QS2:5T]");
    EXPECT_EQ(Paragraphs(), (std::vector<std::u16string>{u"First paragraph.", u"Before: x- QS (QS2. Al-Baqarah ayat 5)",
                                                         u"[ after"}));

    // Directly after Arabic text with vowel marks.
    NewDocument();
    const std::u16string arabic = u"\u0628\u0650\u0633\u0652\u0645\u0650 \u0627\u0644\u0644\u0651\u064E\u0647\u0650";
    TypeWithTicks(arabic + u"[QS1:1A]");
    EXPECT_EQ(Paragraphs(), (std::vector<std::u16string>{arabic + u"(QS1. Al-Fatihah ayat 1)", u""}));

    // A tag that the look-back finds but that the selection would not cover whole stays as it is
    // (selecting over it would leave "[QS2:" behind).
    NewDocument();
    TypeWithTicks(u"[QS2:1-:5A]");
    EXPECT_EQ(Text(), u"[QS2:1-:5A]");
    EXPECT_TRUE(inserted.empty());
    EXPECT_EQ(word->document().selectionStart(), word->document().selectionEnd());

    // A blank after the bracket: not replaced.
    NewDocument();
    Type(u"[QS2:1-2A] ");
    timers->Tick();
    EXPECT_EQ(Text(), u"[QS2:1-2A] ");
    EXPECT_TRUE(inserted.empty());

    // A selection that is not an insertion point is never treated.
    NewDocument();
    Type(u"[QS2:1-2A]");
    word->Selection()->MoveStart(word::wdWord, -7);
    word->clearLog();
    timers->Tick();
    EXPECT_EQ(Text(), u"[QS2:1-2A]");
    EXPECT_EQ(word->document().selectionStart(), 0u);
    EXPECT_FALSE(Logged(u"MoveStart"));
    EXPECT_FALSE(Logged(u"Range.MoveStart"));
    EXPECT_FALSE(Logged(u"TypeText"));
    EXPECT_TRUE(inserted.empty());
}

// Typed text of every kind, then one tick: the document is either unchanged, or exactly a tag
// ending at the insertion point has become its citation and a new paragraph.
TEST_F(AutoReplace, RandomTextLosesNothingButATag) {
    std::mt19937 random(20261207);
    const auto pick = [&](const std::vector<std::u16string>& options) { return options[random() % options.size()]; };
    const std::vector<std::u16string> noise = {u"[", u"]", u"QS",           u"Q", u"S", u"2", u"1", u":", u"-", u"A",
                                               u" ", u"x", u"\u0628\u064E", u"(", u"."};
    const std::vector<std::u16string> openings = {u"[QS", u"[qs", u"[Qs", u"[", u"QS", u"[Q", u"[QS ", u"[[QS"};
    const std::vector<std::u16string> numbers = {u"1", u"2", u"002", u"7", u"114", u"115", u"0", u"", u" 3", u"300"};
    const std::vector<std::u16string> separators = {u":", u":", u":", u"-", u"::", u": ", u":-", u""};
    const std::vector<std::u16string> letters = {u"A", u"T", u"B", u"BS", u"BN", u"", u"a", u"AT-", u" A", u"-A", u"X"};
    SwitchOn();
    int replaced = 0;
    for (int round = 0; round < 3000; ++round) {
        std::u16string text;
        for (int i = static_cast<int>(random() % 4); i > 0; --i) text += pick(noise);
        text += pick(openings) + pick(numbers) + pick(separators) + pick(numbers);
        if (random() % 2) text += pick({u"-", u"--", u"-:"}) + pick(numbers);
        text += pick(letters) + u"]";
        word->document().setContent(text);
        word->clearLog();
        timers->Tick();
        ASSERT_TRUE(AutoReplaceOn);
        const auto paragraphs = Paragraphs();
        if (paragraphs.size() == 1) {
            ASSERT_EQ(paragraphs[0], text);
            continue;
        }
        ++replaced;
        ASSERT_EQ(paragraphs.size(), 2u) << Narrow(text);
        ASSERT_EQ(paragraphs[1], u"");
        const auto open = paragraphs[0].rfind(u"(QS");
        ASSERT_NE(open, std::u16string::npos) << Narrow(text);
        const std::u16string kept = paragraphs[0].substr(0, open);
        ASSERT_TRUE(text.starts_with(kept)) << Narrow(text);
        const std::u16string tag = text.substr(kept.size());
        ASSERT_TRUE(tag.starts_with(u"[")) << Narrow(text);
        const auto request = ReadTag(UpperCaseTag(tag));
        ASSERT_TRUE(request) << Narrow(text);
        const auto entry = SurahTableEntry(request->surah);
        ASSERT_TRUE(entry) << Narrow(text);
        ASSERT_LE(request->from, entry->verseCount);
        ASSERT_LE(request->to, entry->verseCount) << Narrow(text);
        ASSERT_GE(request->to, request->from) << Narrow(text);
        EXPECT_EQ(paragraphs[0].substr(open), CitationText(request->surah, entry->name, request->from, request->to))
            << Narrow(text);
    }
    EXPECT_GT(replaced, 80);
}

TEST_F(AutoReplace, NoDocumentEndsTheModeAtTheFirstTick) {
    word->closeDocument();
    SwitchOn();
    timers->Tick();
    EXPECT_FALSE(AutoReplaceOn);
    EXPECT_EQ(timers->ActiveCount(), 0u);
    EXPECT_EQ(button->Caption(), u"Disable Auto Replace");
    EXPECT_TRUE(messages.empty());

    // The next click switches the mode on again.
    word->newDocument();
    ctrl6_Click();
    EXPECT_TRUE(AutoReplaceOn);
    EXPECT_EQ(timers->ActiveCount(), 1u);
    TypeWithTicks(u"[QS2:5T]");
    EXPECT_EQ(Paragraph(0), u"(QS2. Al-Baqarah ayat 5)");
}

TEST_F(AutoReplace, SwitchingOffStopsReplacement) {
    SwitchOn();
    ctrl6_Click();
    TypeWithTicks(u"[QS2:1-2A]");
    EXPECT_EQ(Text(), u"[QS2:1-2A]");
    EXPECT_TRUE(inserted.empty());

    // Cleared elsewhere (disconnection): the pending tick ends the timer.
    SwitchOn();
    AutoReplaceOn = false;
    timers->Tick();
    EXPECT_EQ(timers->ActiveCount(), 0u);
}

TEST_F(AutoReplace, TicksNeverRunInsideAnInsertion) {
    SwitchOn();
    int nested = 0;
    duringInsertion = [&] { nested += timers->Tick(); };  // the composers let events through
    TypeWithTicks(u"[QS1:1-3BS]");
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(inserted.size(), 6u);
    EXPECT_EQ(timers->ActiveCount(), 1u);
}

TEST_F(AutoReplace, TimerThatCannotBeCreatedIsReported) {
    SwitchOn();
    timers->SetFailing(true);
    timers->Tick();
    EXPECT_EQ(messages, (std::vector<std::u16string>{u"Timer not created. Ending Program"}));
    EXPECT_TRUE(AutoReplaceOn);
    EXPECT_EQ(timers->ActiveCount(), 0u);

    // Switching on without a timer says so too, instead of pretending to run.
    ctrl6_Click();
    messages.clear();
    ctrl6_Click();
    EXPECT_EQ(messages, (std::vector<std::u16string>{u"Timer not created. Ending Program"}));
    EXPECT_EQ(button->Caption(), u"Disable Auto Replace");
}

TEST_F(AutoReplace, FailureWhileReplacingStopsTheTimerButKeepsTheMode) {
    SwitchOn();
    Type(u"[QS2:5T");
    word->failOn("TypeText", 2);  // the keystroke "]" works, removing the tag fails
    TypeWithTicks(u"]");
    EXPECT_TRUE(AutoReplaceOn);
    EXPECT_EQ(timers->ActiveCount(), 0u);
    EXPECT_EQ(button->Caption(), u"Disable Auto Replace");
    EXPECT_EQ(Text(), u"[QS2:5T]");
    EXPECT_TRUE(inserted.empty());

    // Switching off and on brings it back.
    word->document().setContent(Text());
    ctrl6_Click();
    ctrl6_Click();
    timers->Tick();
    EXPECT_EQ(Paragraph(0), u"(QS2. Al-Baqarah ayat 5)");
}

TEST_F(AutoReplace, TicksWhileTheWordProcessorRefusesAreSkippedQuietlyAndReplacementGoesOnAfterwards) {
    SwitchOn();
    Type(u"[QS2:5T]");
    const std::size_t end = Text().size();

    // A document that refuses changes: every tick finds the tag, is refused and leaves
    // document and insertion point as they were.
    word->setEditable(false);
    for (int tick = 0; tick < 3; ++tick) EXPECT_EQ(timers->Tick(), 1);
    EXPECT_EQ(Text(), u"[QS2:5T]");
    EXPECT_EQ(word->document().selectionStart(), end);
    EXPECT_EQ(word->document().selectionEnd(), end);
    EXPECT_TRUE(inserted.empty());

    // A busy word processor refusing the look-back or the replacement: skipped as well.
    word->setEditable(true);
    word->failOn("Type", 1, word::Error::Reason::Busy);
    EXPECT_EQ(timers->Tick(), 1);
    word->failOn("LtrPara", 1, word::Error::Reason::Busy);
    EXPECT_EQ(timers->Tick(), 1);
    EXPECT_EQ(Text(), u"[QS2:5T]");

    EXPECT_TRUE(AutoReplaceOn);
    EXPECT_EQ(timers->ActiveCount(), 1u);
    EXPECT_TRUE(messages.empty());

    timers->Tick();
    EXPECT_EQ(Paragraph(0), u"(QS2. Al-Baqarah ayat 5)");
    EXPECT_EQ(inserted, (std::vector<std::string>{"T 2:5-5"}));
}

TEST_F(AutoReplace, CaptionFailureIsReportedAndTheModeStillSwitches) {
    word->failOn("Control.SetCaption");
    ctrl6_Click();
    EXPECT_TRUE(AutoReplaceOn);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              u"Error 440 (injected failure of Control.SetCaption) in procedure ctrl6_Click of Designer Connect");
}

TEST_F(AutoReplace, WorksWithoutAMenuAndWithoutAConnection) {
    ctrl6.reset();
    SwitchOn();
    WordApp.reset();
    timers->Tick();
    EXPECT_FALSE(AutoReplaceOn);
    EXPECT_EQ(timers->ActiveCount(), 0u);
}

}  // namespace
}  // namespace mTarvelo
