// The word layer's behaviour, one suite for every backend whose document can be read back as runs:
// instantiate it with a harness type (RecordingHarness in behaviour_suite_test.cpp, the harnesses
// of the Word backend in word/com/tests/com_test.cpp and of the LibreOffice backend in
// word/libreoffice/tests/libreoffice_test.cpp).
//
// A harness offers:
//   static constexpr Differences differences;    only where its word processor behaves otherwise
//   word::Application& word();                   the backend under test, one empty document open
//   void setContent(std::u16string_view text);   replaces the document; the point at its end
//   std::vector<word::recording::Run> runs();    the document's runs (fonts: empty = default)
//   std::vector<word::recording::ParagraphProps> paragraphs();
//   void putRichText(const std::string& rtf);    the clipboard's "Rich Text Format"
//   void putUnicodeText(std::u16string_view);    the clipboard's Unicode text (no Rich Text)
//   bool clickAndWait(std::u16string_view caption, const bool& clicked);   a user's click on the
//                                                menu control; true once `clicked` was set
//   void closeDocument();  void stopWord();  void startWord();
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "word/recording/recording.h"
#include "word/rtf/tests/rich_text_test_fragments.h"
#include "word/word.h"

namespace word::testing {

// Where a word processor truly behaves otherwise than Word, its harness says so, and the suite
// expects that of it.
struct Differences {
    // Font.SizeBi sizes the other text typed from then on too: Writer has no size for
    // right-to-left text alone, it sets the complex-script and the Western height.
    bool sizeBiSizesAllText = false;
    // Each run of blanks that a paste places between right-to-left words is followed by a
    // right-to-left mark (U+200F): Writer has no run direction, and the mark keeps the words in
    // right-to-left order.
    bool pastedBlanksGetADirectionMark = false;
};

// The harness's differences; none when it declares none.
template <typename Harness>
constexpr Differences differencesOf() {
    if constexpr (requires { Harness::differences; }) return Harness::differences;
    else return {};
}

template <typename Harness>
class WordBehaviour : public ::testing::Test {
protected:
    Harness harness;
    word::Application& word() { return harness.word(); }
    std::unique_ptr<word::Selection> selection() { return word().ActiveDocument()->ActiveWindow()->Selection(); }
};

TYPED_TEST_SUITE_P(WordBehaviour);

inline constexpr char16_t kVerse[] = u"\u0628\u0650\u0633\u0652\u0645\u0650";

// The ten operations of a whole-verse send: sizes and bold set before the pieces they apply to.
TYPED_TEST_P(WordBehaviour, TypedPiecesGetTheSizesAndBoldSetBeforeThem) {
    auto s = this->selection();
    s->Font()->SetSizeBi(16);
    s->TypeText(u"[");
    s->BoldRun();
    s->TypeText(kVerse);
    s->BoldRun();
    s->TypeText(u"] ");
    s->Font()->SetSizeBi(12);
    s->TypeText(u"{1:1}");
    s->Font()->SetSizeBi(16);
    s->TypeText(u" ");

    const auto runs = this->harness.runs();
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0].text, u"[");
    EXPECT_EQ(runs[1].text, kVerse);
    EXPECT_EQ(runs[2].text, u"] ");
    EXPECT_EQ(runs[3].text, u"{1:1}");
    EXPECT_EQ(runs[4].text, u" ");
    const bool bold[] = {false, true, false, false, false};
    const float sizeBi[] = {16, 16, 16, 12, 16};
    for (std::size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(runs[i].format.bold, bold[i]);
        EXPECT_FLOAT_EQ(runs[i].format.sizeBi, sizeBi[i]);
        EXPECT_FLOAT_EQ(runs[i].format.size, differencesOf<TypeParam>().sizeBiSizesAllText ? sizeBi[i] : 12);
    }
}

TYPED_TEST_P(WordBehaviour, PendingFormattingHoldsAcrossSelectionObjectsUntilThePointMoves) {
    this->word().Selection()->Font()->SetSize(20);
    this->word().Selection()->TypeText(u"ab");
    this->word().Selection()->TypeText(u"cd");  // still at the same point: still 20
    this->word().Selection()->Font()->SetSize(8);
    this->word().Selection()->MoveStart(1, -1);  // the point moves: 8 is forgotten
    this->word().Selection()->TypeText(u"D");    // replaces the selected "d"
    const auto runs = this->harness.runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, u"abcD");
    EXPECT_FLOAT_EQ(runs[0].format.size, 20);
}

TYPED_TEST_P(WordBehaviour, SizesOutsideWordsRangeAreRefusedAndChangeNothing) {
    auto s = this->selection();
    EXPECT_THROW(s->Font()->SetSizeBi(0), word::Error);
    EXPECT_THROW(s->Font()->SetSizeBi(1638.5f), word::Error);
    EXPECT_THROW(s->Font()->SetSize(2000), word::Error);
    s->TypeText(u"x");
    EXPECT_FLOAT_EQ(this->harness.runs().at(0).format.sizeBi, 12);
    EXPECT_NO_THROW(s->Font()->SetSizeBi(1638));
}

TYPED_TEST_P(WordBehaviour, ParagraphDirectionAndAlignmentApplyToTheSelectedParagraphs) {
    auto s = this->selection();
    s->RtlPara();
    s->TypeText(u"\u0627");
    s->TypeParagraph();  // the new paragraph keeps the direction
    s->TypeText(u"b");
    s->TypeParagraph();
    s->LtrPara();
    s->TypeText(u"c");
    s->ParagraphFormat()->SetAlignment(word::wdAlignParagraphJustify);
    EXPECT_THROW(s->ParagraphFormat()->SetAlignment(12), word::Error);
    const auto paragraphs = this->harness.paragraphs();
    ASSERT_EQ(paragraphs.size(), 3u);
    EXPECT_TRUE(paragraphs[0].rightToLeft);
    EXPECT_TRUE(paragraphs[1].rightToLeft);
    EXPECT_FALSE(paragraphs[2].rightToLeft);
    EXPECT_EQ(paragraphs[0].alignment, 0);
    EXPECT_EQ(paragraphs[2].alignment, word::wdAlignParagraphJustify);
}

// The automatic replacement finds a typed tag by moving back over Word's words.
TYPED_TEST_P(WordBehaviour, MoveStartByWordsSpansATypedTag) {
    this->harness.setContent(u"see [QS2:1-2A]");
    auto s = this->selection();
    EXPECT_EQ(s->Type(), word::wdSelectionIP);
    auto range = s->Range();
    EXPECT_EQ(range->MoveStart(word::wdWord, -7), -7);
    EXPECT_EQ(range->Text(), u"[QS2:1-2A]");
    EXPECT_EQ(s->Type(), word::wdSelectionIP);  // a range leaves the selection alone

    EXPECT_EQ(s->MoveStart(word::wdWord, -7), -7);
    EXPECT_EQ(s->Text(), u"[QS2:1-2A]");
    EXPECT_NE(s->Type(), word::wdSelectionIP);
    s->TypeText(u"");  // typing replaces the selection
    EXPECT_EQ(this->harness.runs().at(0).text, u"see ");
    EXPECT_EQ(this->selection()->MoveStart(word::wdWord, -20), -1);  // "see " is one word, blank included
}

// The steps of the automatic replacement's look-back over a vowelled word and a tag; EndKey ends a
// selection at the end of its line, where an insertion point reads the paragraph mark.
TYPED_TEST_P(WordBehaviour, TheTagLookBackStepsOverWordsAndEndKeyGoesToTheLineEnd) {
    auto s = this->selection();
    s->TypeText(std::u16string(kVerse) + u" [QS2:1-2A]");
    auto range = s->Range();
    EXPECT_EQ(range->MoveStart(word::wdWord, -1), -1);
    EXPECT_EQ(range->Text(), u"]");
    range->MoveStart(word::wdWord, -4);
    EXPECT_EQ(range->Text(), u":1-2A]");
    EXPECT_EQ(s->MoveStart(word::wdWord, -7), -7);
    EXPECT_EQ(s->Type(), word::wdSelectionNormal);
    s->EndKey(word::wdLine);
    EXPECT_EQ(s->Type(), word::wdSelectionIP);
    EXPECT_EQ(s->Text(), u"\r");
    s->TypeText(u"!");
    std::u16string text;
    for (const auto& run : this->harness.runs()) text += run.text;
    EXPECT_EQ(text, std::u16string(kVerse) + u" [QS2:1-2A]!");
}

// A text with a right-to-left mark after each run of blanks.
inline std::u16string withDirectionMarks(std::u16string_view text) {
    std::u16string marked;
    for (std::size_t i = 0; i < text.size(); ++i) {
        marked += text[i];
        if (text[i] == u' ' && (i + 1 == text.size() || text[i + 1] != u' ')) marked += u'\u200F';
    }
    return marked;
}

TYPED_TEST_P(WordBehaviour, PastedRichTextPlacesSymbolFieldsAsGlyphsInTheirFontAndSize) {
    this->harness.putRichText(word::rtf::fragments::composedVerse());
    auto s = this->selection();
    s->TypeText(u"x");
    s->PasteAndFormat(word::wdPasteDefault);
    s->TypeText(u"y");  // the point is after the pasted text
    std::u16string text;
    for (const auto& run : this->harness.runs()) text += run.text;
    const std::u16string_view composed = word::rtf::fragments::kComposedText;
    EXPECT_EQ(text, u"x" +
                        (differencesOf<TypeParam>().pastedBlanksGetADirectionMark ? withDirectionMarks(composed)
                                                                                  : std::u16string(composed)) +
                        u"y");
    const auto runs = this->harness.runs();
    ASSERT_GE(runs.size(), 3u);
    // A glyph font's code lies in its symbol area; "(normal text)" reads it in code page 1256.
    EXPECT_EQ(runs[1].text, u"\uF041");
    EXPECT_EQ(runs[1].format.font, u"HQPB2");
    EXPECT_FLOAT_EQ(runs[1].format.size, 12);
    EXPECT_EQ(runs[2].text, u"\uF0C7");
    EXPECT_EQ(runs[2].format.font, u"HQPB1");
    const auto lam = std::find_if(runs.begin(), runs.end(), [](const auto& run) { return run.text == u"\u0644"; });
    ASSERT_NE(lam, runs.end());
    EXPECT_FLOAT_EQ(lam->format.sizeBi, 10.5f);
}

TYPED_TEST_P(WordBehaviour, PastedUnicodeTextTakesTheFormatAtThePoint) {
    this->harness.putUnicodeText(u"\u0627\u0644\u062d\u0645\u062f\r\nb");
    auto s = this->selection();
    s->BoldRun();
    s->TypeText(u"x");
    s->Paste();
    const auto runs = this->harness.runs();
    std::u16string text;
    for (const auto& run : runs) {
        text += run.text;
        EXPECT_TRUE(run.format.bold) << std::string(run.text.begin(), run.text.end());
    }
    EXPECT_EQ(text, u"x\u0627\u0644\u062d\u0645\u062f\rb");
    EXPECT_EQ(this->harness.paragraphs().size(), 2u);
}

TYPED_TEST_P(WordBehaviour, MenusAreAddedFoundByCaptionClickedAndDeleted) {
    auto& bar = this->word().CommandBars().ActiveMenuBar();
    auto popup = bar.Controls().Add(word::msoControlPopup, true);
    popup->SetCaption(u"Al-&Quran");
    auto button = popup->Controls().Add(word::msoControlButton);
    button->SetCaption(u"&Choose a verse");
    button->SetTooltipText(u"Verses ");
    button->SetVisible(true);
    button->SetOnAction(u"!<Tarvelo.Connect>");
    button->SetTag(u"choose");
    bool clicked = false;
    button->OnClick([&] { clicked = true; });

    auto found = this->word().CommandBars().ActiveMenuBar().Controls().Item(u"Al-Quran");
    EXPECT_EQ(found->Caption(), u"Al-&Quran");
    EXPECT_EQ(found->Controls().Item(u"Choose a verse")->Caption(), u"&Choose a verse");
    EXPECT_THROW(button->Controls(), word::Error);  // a button has no controls

    EXPECT_TRUE(this->harness.clickAndWait(u"Choose a verse", clicked));

    found->Delete();
    EXPECT_THROW(this->word().CommandBars().ActiveMenuBar().Controls().Item(u"Al-Quran"), word::Error);
}

TYPED_TEST_P(WordBehaviour, WithoutADocumentTheDocumentCallsFail) {
    EXPECT_EQ(this->word().Documents().Count(), 1);
    this->harness.closeDocument();
    EXPECT_EQ(this->word().Documents().Count(), 0);
    EXPECT_THROW(this->word().ActiveDocument(), word::Error);
    EXPECT_THROW(this->word().Selection(), word::Error);
}

TYPED_TEST_P(WordBehaviour, AWordProcessorGoneFailsItsCallsAndIsFoundAgainOnceRestarted) {
    auto s = this->selection();
    s->TypeText(u"a");
    this->harness.stopWord();
    EXPECT_THROW(s->TypeText(u"b"), word::Error);
    EXPECT_THROW(this->word().ActiveDocument(), word::Error);
    EXPECT_THROW(this->word().Documents().Count(), word::Error);
    this->harness.startWord();
    EXPECT_EQ(this->word().Documents().Count(), 1);
    this->word().ActiveDocument()->ActiveWindow()->Selection()->TypeText(u"c");
    const auto runs = this->harness.runs();
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs.back().text.back(), u'c');
}

REGISTER_TYPED_TEST_SUITE_P(WordBehaviour, TypedPiecesGetTheSizesAndBoldSetBeforeThem,
                            PendingFormattingHoldsAcrossSelectionObjectsUntilThePointMoves,
                            SizesOutsideWordsRangeAreRefusedAndChangeNothing,
                            ParagraphDirectionAndAlignmentApplyToTheSelectedParagraphs, MoveStartByWordsSpansATypedTag,
                            TheTagLookBackStepsOverWordsAndEndKeyGoesToTheLineEnd,
                            PastedRichTextPlacesSymbolFieldsAsGlyphsInTheirFontAndSize,
                            PastedUnicodeTextTakesTheFormatAtThePoint, MenusAreAddedFoundByCaptionClickedAndDeleted,
                            WithoutADocumentTheDocumentCallsFail,
                            AWordProcessorGoneFailsItsCallsAndIsFoundAgainOnceRestarted);

}  // namespace word::testing
