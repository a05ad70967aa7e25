// The automatic replacement inside the office, as the installed extension runs it: the menu
// command switches the mode, keystrokes arrive on the office's main thread, and the citation and
// the verses of the add-in's data files (the Arabic in its glyph form) are read back from the
// document.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "codepage/code_page.h"
#include "tarvelo/autoreplace/tests/office_typing.h"
#include "tarvelo/composer_fragments.h"
#include "tarvelo/data/data_files.h"
#include "tarvelo/libreoffice/tests/extension_office.h"
#include "word/rtf/rich_text.h"

namespace {

using namespace std::chrono_literals;
using mTarvelo::testing::Keyboard;

class AutoReplaceExtension : public ::testing::Test {
protected:
    static void SetUpTestSuite() { office_ = std::make_unique<tarvelo::testing::ExtensionOffice>(); }
    static void TearDownTestSuite() { office_.reset(); }

    void SetUp() override {
        office_->office().closeAllDocuments();
        auto document = office_->office().newWriterDocument();
        ASSERT_TRUE(tarvelo::testing::WaitForQuranMenus(document, 1));
        keyboard_.emplace(office_->office().context(), document);
    }
    void TearDown() override {
        if (keyboard_ && ModeCaption() == u"Disable Auto Replace") Switch();
        keyboard_.reset();
        office_->office().closeAllDocuments();
    }

    std::u16string ModeCaption() {
        return tarvelo::testing::QuranMenus(keyboard_->Document()).front().items.at(3).label;
    }
    void Switch() {
        const auto command = tarvelo::testing::QuranMenus(keyboard_->Document()).front().items.at(3).command;
        ASSERT_TRUE(tarvelo::testing::Dispatch(keyboard_->Document(), command));
    }

    static std::unique_ptr<tarvelo::testing::ExtensionOffice> office_;
    std::optional<Keyboard> keyboard_;
};
std::unique_ptr<tarvelo::testing::ExtensionOffice> AutoReplaceExtension::office_;

bool HasArabicLetter(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x0621 && c <= 0x064A; });
}
bool HasBengaliLetter(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x0980 && c <= 0x09FF; });
}
std::vector<std::u16string> Texts(const std::vector<word::testing::Paragraph>& paragraphs) {
    std::vector<std::u16string> texts;
    for (const auto& p : paragraphs) texts.push_back(p.text);
    return texts;
}

// The words of verse `ayah` of surah 2 as the glyph form pastes them: the characters of each
// word's glyph fields, read from the add-in's data files as the composer and the paste read them.
std::vector<std::u16string> GlyphWordsOf(int ayah) {
    std::vector<std::string> messages;
    mTarvelo::ShowMessage = [&](std::u16string_view text) { messages.push_back(mTarvelo::ToUtf8(text)); };
    mTarvelo::DataFolderOverride = QV_DATA_DIR;
    mTarvelo::CloseDataFiles();
    mTarvelo::loade();
    std::u16string verse = mTarvelo::ReadVerseText(mTarvelo::SurahVerseOffset[2] + ayah, mTarvelo::slotArabic);
    const std::string header = codepage::textToBytes(mTarvelo::RtfHeader);
    mTarvelo::CloseDataFiles();
    mTarvelo::ShowMessage = nullptr;
    mTarvelo::DataFolderOverride.reset();
    EXPECT_TRUE(messages.empty()) << messages.front();
    if (verse.empty()) return {};
    verse.pop_back();  // the composer never draws the verse's last character

    std::string fragment = header;
    mTarvelo::GlyphFieldWriter writer("14", "28");
    writer.AppendVerse(fragment, codepage::textToBytes(verse));
    fragment += mTarvelo::ClosingGroup;
    std::vector<std::u16string> words(1);
    for (const auto& piece : word::rtf::readRichText(fragment).pieces) {
        if (piece.kind == word::rtf::PastePiece::Kind::Glyph) words.back() += piece.text;
        else if (!words.back().empty()) words.emplace_back();
    }
    if (words.back().empty()) words.pop_back();
    return words;
}

// A paragraph's text without the blanks and direction marks that stand between glyph words.
std::u16string GlyphsOnly(std::u16string_view text) {
    std::u16string glyphs;
    for (const char16_t c : text)
        if (c != u' ' && c != u'\u200F') glyphs += c;
    return glyphs;
}

// Verses 1 and 2 of surah 2 in the glyph form, one after the other and nothing more, right to left.
void ExpectArabicOfVerses1And2(const word::testing::Paragraph& paragraph, const std::vector<std::u16string>& verse1,
                               const std::vector<std::u16string>& verse2) {
    EXPECT_TRUE(paragraph.rightToLeft);
    std::u16string expected;
    for (const auto* verse : {&verse1, &verse2})
        for (const auto& word : *verse) expected += word;
    EXPECT_EQ(GlyphsOnly(paragraph.text), expected);
    EXPECT_FALSE(HasArabicLetter(paragraph.text));
}

TEST_F(AutoReplaceExtension, TypedTagsBecomeCitationsWithTheirVerses) {
    const auto verse1 = GlyphWordsOf(1), verse2 = GlyphWordsOf(2);
    ASSERT_FALSE(verse1.empty() || verse2.empty());
    // The last word of verse 2 is its verse-end ornament, which no other verse of the range has.
    const std::u16string verse2End = verse2.back();

    Switch();
    ASSERT_EQ(ModeCaption(), u"Disable Auto Replace");

    // Arabic of 2:1-2, both verses on one line.
    keyboard_->Type(u"Text before [QS2:1-2A");
    std::this_thread::sleep_for(250ms);
    keyboard_->Key(u']');
    const auto citation = keyboard_->WaitFor(u"ayat 1-2)");
    ASSERT_TRUE(citation) << "not replaced";
    ASSERT_TRUE(keyboard_->WaitFor(verse2End));
    auto paragraphs = keyboard_->Paragraphs();
    ASSERT_EQ(paragraphs.size(), 3u) << ::testing::PrintToString(Texts(paragraphs));
    EXPECT_EQ(paragraphs[0].text, u"Text before (QS2. Al-Baqarah ayat 1-2)");
    EXPECT_FALSE(paragraphs[0].rightToLeft);
    ExpectArabicOfVerses1And2(paragraphs[1], verse1, verse2);
    EXPECT_EQ(paragraphs[2].text, u"");

    // Both, typed in lower case: the Arabic, then the translation of each verse.
    keyboard_->Type(u"[qs2:1-2b]");
    ASSERT_TRUE(keyboard_->WaitFor(u"\n2. "));
    std::this_thread::sleep_for(500ms);
    paragraphs = keyboard_->Paragraphs();
    ASSERT_GE(paragraphs.size(), 7u) << ::testing::PrintToString(Texts(paragraphs));
    EXPECT_EQ(paragraphs[2].text, u"(QS2. Al-Baqarah ayat 1-2)");
    ExpectArabicOfVerses1And2(paragraphs[3], verse1, verse2);
    EXPECT_TRUE(paragraphs[4].text.starts_with(u"1. ") && HasBengaliLetter(paragraphs[4].text));
    EXPECT_TRUE(paragraphs[5].text.starts_with(u"2. ") && HasBengaliLetter(paragraphs[5].text));
    EXPECT_FALSE(HasArabicLetter(paragraphs[4].text + paragraphs[5].text));
    for (std::size_t i = 6; i < paragraphs.size(); ++i) EXPECT_EQ(paragraphs[i].text, u"") << i;

    // Beyond the verses of surah 2, and a surah above 114: both stay as typed.
    const auto before = keyboard_->Text();
    keyboard_->Type(u"[QS2:300A] [QS115:1A]");
    std::this_thread::sleep_for(400ms);
    EXPECT_EQ(keyboard_->Text(), before + u"[QS2:300A] [QS115:1A]");

    // The translation of verse 5 only, and the mode still works after the invalid tags.
    keyboard_->Type(u" [QS2:5T]");
    ASSERT_TRUE(keyboard_->WaitFor(u"ayat 5)"));
    ASSERT_TRUE(keyboard_->WaitFor(u"\n5. "));
    std::this_thread::sleep_for(500ms);
    paragraphs = keyboard_->Paragraphs();
    const auto texts = Texts(paragraphs);
    const auto at = std::find(texts.begin(), texts.end(), u"[QS2:300A] [QS115:1A] (QS2. Al-Baqarah ayat 5)");
    ASSERT_NE(at, texts.end()) << ::testing::PrintToString(texts);
    ASSERT_NE(at + 1, texts.end());
    EXPECT_TRUE(at[1].starts_with(u"5. ") && HasBengaliLetter(at[1]));
    for (auto rest = at + 2; rest != texts.end(); ++rest) EXPECT_EQ(*rest, u"");

    // Switched off: the caption changes back and tags stay.
    Switch();
    EXPECT_EQ(ModeCaption(), u"Auto Replace eg [QS2:1-2A]");
    const auto off = keyboard_->Text();
    keyboard_->Type(u"[QS2:6T]");
    std::this_thread::sleep_for(400ms);
    EXPECT_EQ(keyboard_->Text(), off + u"[QS2:6T]");
    std::printf("closing bracket to citation, in the office: %.1f ms\n", citation->count());
}

// After a restart, with no dialog opened yet, a tag inserts the translation chosen in an earlier
// session: the data files open the first translation of the folder, the connection the stored one.
TEST(AutoReplaceAfterRestart, TagsInsertTheTranslationChosenInAnEarlierSession) {
    tarvelo::testing::ExtensionOffice office;
    office.office().stop();
    {
        // The office's per-user files lie in its throw-away profile (word/testing/office.h).
        std::ofstream settings(office.office().profileDir() / "xdg-CONFIG" / "tarvelocfg.json");
        settings << R"({"tarvelocfg": {"language": {"default": "English"}}})";
    }
    office.office().start();
    auto document = office.office().newWriterDocument();
    ASSERT_TRUE(tarvelo::testing::WaitForQuranMenus(document, 1));
    const auto mode = tarvelo::testing::QuranMenus(document).front().items.at(3).command;
    ASSERT_TRUE(tarvelo::testing::Dispatch(document, mode));
    Keyboard keyboard(office.office().context(), document);
    keyboard.Type(u"[QS2:5T]");
    // English is stored in a code page, "<n>) <text>"; the first translation, Bengali, "<n>. <text>".
    ASSERT_TRUE(keyboard.WaitFor(u"\n5) ", 10s)) << mTarvelo::ToUtf8(keyboard.Text());
    EXPECT_FALSE(HasBengaliLetter(keyboard.Text()));
    ASSERT_TRUE(tarvelo::testing::Dispatch(document, mode));
}

}  // namespace
