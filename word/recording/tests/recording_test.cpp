#include "word/recording/recording.h"

#include <gtest/gtest.h>

namespace {

using word::recording::Format;
using word::recording::Recorder;
using Log = std::vector<std::u16string>;

std::unique_ptr<word::Selection> selectionOf(Recorder& word) {
    return word.ActiveDocument()->ActiveWindow()->Selection();
}

TEST(RecordingTyping, PiecesGetTheFormatSetBeforeThem) {
    Recorder word;
    auto selection = selectionOf(word);
    selection->Font()->SetSizeBi(16);
    selection->TypeText(u"[");
    selection->BoldRun();
    selection->TypeText(u"\u0628\u0633\u0645");
    selection->BoldRun();
    selection->TypeText(u"] ");
    selection->Font()->SetSizeBi(12);
    selection->TypeText(u"{x:1}");

    EXPECT_EQ(word.document().text(), u"[\u0628\u0633\u0645] {x:1}");
    const auto runs = word.document().runs();
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].text, u"[");
    EXPECT_FALSE(runs[0].format.bold);
    EXPECT_EQ(runs[0].format.sizeBi, 16);
    EXPECT_EQ(runs[1].text, u"\u0628\u0633\u0645");
    EXPECT_TRUE(runs[1].format.bold);
    EXPECT_EQ(runs[2].text, u"] ");
    EXPECT_FALSE(runs[2].format.bold);
    EXPECT_EQ(runs[3].format.sizeBi, 12);
    EXPECT_EQ(runs[3].format.size, 12);  // SizeBi leaves the other size alone
    EXPECT_EQ(word.edits(), (Log{u"SizeBi 16", u"TypeText [", u"BoldRun", u"TypeText \u0628\u0633\u0645", u"BoldRun",
                                 u"TypeText ] ", u"SizeBi 12", u"TypeText {x:1}"}));
}

TEST(RecordingTyping, InheritsTheFormatBeforeThePointAndReplacesASelection) {
    Recorder word;
    word.document().setContent(u"abcdef", Format{true, 20, 11, false, {}}, 3);
    auto selection = selectionOf(word);
    selection->TypeText(u"X");  // inherits bold 20 from "c"
    EXPECT_EQ(word.document().runs().size(), 1u);
    // Bold toggles relative to the point: the bold text around it makes the typed text plain.
    selection->BoldRun();
    selection->TypeText(u"y");
    EXPECT_FALSE(word.document().chars()[4].format.bold);
    selection->BoldRun();
    selection->TypeText(u"z");
    EXPECT_TRUE(word.document().chars()[5].format.bold);

    EXPECT_EQ(selection->MoveStart(1, -3), -3);
    EXPECT_EQ(selection->Text(), u"Xyz");
    EXPECT_EQ(selection->Type(), 2);
    selection->TypeText(u"");
    EXPECT_EQ(word.document().text(), u"abcdef");
    EXPECT_EQ(selection->Type(), word::wdSelectionIP);
    EXPECT_EQ(selection->Text(), u"d");  // an insertion point reads the character after it
}

TEST(RecordingTyping, SizesOutsideWordsRangeAreRefusedAndChangeNothing) {
    Recorder word;
    auto font = selectionOf(word)->Font();
    EXPECT_THROW(font->SetSizeBi(0), word::Error);
    EXPECT_THROW(font->SetSizeBi(1638.5f), word::Error);
    EXPECT_THROW(font->SetSize(-3), word::Error);
    font->SetSizeBi(1);
    font->SetSizeBi(1638);
    selectionOf(word)->TypeText(u"a");
    EXPECT_EQ(word.document().chars()[0].format.sizeBi, 1638);
    EXPECT_EQ(word.edits(),
              (Log{u"SizeBi 0 !", u"SizeBi 1638.5 !", u"Size -3 !", u"SizeBi 1", u"SizeBi 1638", u"TypeText a"}));
}

TEST(RecordingParagraphs, NewParagraphsKeepTheDirectionAndAlignment) {
    Recorder word;
    auto selection = selectionOf(word);
    selection->RtlPara();
    selection->ParagraphFormat()->SetAlignment(word::wdAlignParagraphJustify);
    selection->TypeText(u"one");
    selection->TypeParagraph();
    selection->TypeText(u"two");
    selection->LtrPara();
    EXPECT_EQ(word.document().text(), u"one\rtwo");
    ASSERT_EQ(word.document().paragraphs().size(), 2u);
    EXPECT_TRUE(word.document().paragraphs()[0].rightToLeft);
    EXPECT_EQ(word.document().paragraphs()[1].alignment, 3);
    EXPECT_FALSE(word.document().paragraphs()[1].rightToLeft);
    EXPECT_THROW(selection->ParagraphFormat()->SetAlignment(10), word::Error);

    // Replacing a selection that spans a paragraph mark merges the paragraphs.
    selection->MoveStart(1, -5);
    EXPECT_EQ(selection->Text(), u"e\rtwo");
    selection->TypeText(u"!");
    EXPECT_EQ(word.document().text(), u"on!");
    EXPECT_EQ(word.document().paragraphs().size(), 1u);
}

TEST(RecordingParagraphs, EndKeyGoesToTheEndOfTheParagraph) {
    Recorder word;
    word.document().setContent(u"abc\rdef", {}, 1);
    auto selection = selectionOf(word);
    selection->EndKey(word::wdLine);
    selection->TypeText(u"!");
    EXPECT_EQ(word.document().text(), u"abc!\rdef");
    EXPECT_THROW(selection->EndKey(99), word::Error);
}

TEST(RecordingWords, MoveStartCountsWordsLikeWordOnTheParagraphBeforeThePoint) {
    Recorder word;
    word.document().setContent(u"first\rsee [QS2:1-2A]");
    auto selection = selectionOf(word);
    auto range = selection->Range();
    EXPECT_EQ(range->MoveStart(word::wdWord, -1), -1);
    EXPECT_EQ(range->Text(), u"]");
    EXPECT_EQ(range->MoveStart(word::wdWord, -4), -4);
    EXPECT_EQ(range->Text(), u":1-2A]");
    EXPECT_EQ(range->MoveStart(word::wdWord, -1), -1);
    EXPECT_EQ(range->Text(), u"QS2:1-2A]");
    EXPECT_EQ(range->MoveStart(word::wdWord, -1), -1);
    EXPECT_EQ(range->Text(), u"[QS2:1-2A]");
    // A range never moves the selection.
    EXPECT_EQ(selection->Type(), word::wdSelectionIP);
    // Word's words stop at the paragraph's start here.
    EXPECT_EQ(selection->MoveStart(word::wdWord, -20), -8);
    EXPECT_EQ(selection->Text(), u"see [QS2:1-2A]");
}

TEST(RecordingFailures, TheNthCallFailsWithoutEffectAndLaterCallsWork) {
    Recorder word;
    auto selection = selectionOf(word);
    word.failAtCall(2);
    selection->TypeText(u"a");
    EXPECT_THROW(selection->TypeText(u"b"), word::Error);
    selection->TypeText(u"c");
    EXPECT_EQ(word.document().text(), u"ac");
    EXPECT_EQ(word.edits(), (Log{u"TypeText a", u"TypeText b !", u"TypeText c"}));
}

TEST(RecordingFailures, AChosenOperationFailsAtItsNthOccurrence) {
    Recorder word;
    word.failOn("SizeBi", 2);
    auto selection = selectionOf(word);
    auto font = selection->Font();
    font->SetSizeBi(16);
    EXPECT_THROW(font->SetSizeBi(12), word::Error);
    font->SetSizeBi(12);  // only that one call fails
    word.failOn("ActiveDocument");
    EXPECT_THROW(word.ActiveDocument(), word::Error);
    EXPECT_NO_THROW(word.ActiveDocument());
}

TEST(RecordingFailures, NoDocumentOrNoWordProcessor) {
    Recorder word;
    EXPECT_EQ(word.Documents().Count(), 1);
    auto selection = selectionOf(word);
    word.closeDocument();
    EXPECT_EQ(word.Documents().Count(), 0);
    EXPECT_THROW(word.ActiveDocument(), word::Error);
    EXPECT_THROW(selection->TypeText(u"x"), word::Error);
    word.newDocument();
    selectionOf(word)->TypeText(u"x");
    EXPECT_EQ(word.document().text(), u"x");
    word.setRunning(false);
    EXPECT_THROW(word.Documents().Count(), word::Error);
    EXPECT_THROW(word.SetScreenUpdating(false), word::Error);
    word.setRunning(true);
    EXPECT_EQ(word.log().back(), u"ScreenUpdating False !");
}

TEST(RecordingPaste, InsertsWhatTheSourceGivesAndFailsWhenItFails) {
    Recorder word;
    auto selection = selectionOf(word);
    EXPECT_THROW(selection->Paste(), word::Error);  // nothing to paste yet
    std::vector<int> types;
    word.setPasteSource([&](int type) {
        types.push_back(type);
        if (type == 7) throw word::Error("bad clipboard");
        return std::u16string(u"pasted");
    });
    selection->TypeText(u"<");
    selection->Paste();
    selection->PasteAndFormat(word::wdPasteDefault);
    EXPECT_THROW(selection->PasteAndFormat(7), word::Error);
    EXPECT_EQ(word.document().text(), u"<pastedpasted");
    EXPECT_EQ(types, (std::vector<int>{-1, 0, 7}));
    EXPECT_EQ(word.log().back(), u"PasteAndFormat 7 !");
}

TEST(RecordingCommandBars, ControlsAreFoundByCaptionWithoutTheAcceleratorAndCanBeDeleted) {
    Recorder word;
    auto& bar = word.CommandBars().ActiveMenuBar().Controls();
    auto menu = bar.Add(word::msoControlPopup, true);
    menu->SetCaption(u"Al-&Quran");
    auto button = menu->Controls().Add(word::msoControlButton);
    button->SetCaption(u"Insert");
    int clicks = 0;
    button->OnClick([&] { ++clicks; });
    EXPECT_EQ(bar.Item(u"Al-Quran"), menu);
    EXPECT_THROW(bar.Item(u"Other"), word::Error);
    EXPECT_THROW(button->Controls(), word::Error);
    auto controls = word.menuBarControls();
    ASSERT_EQ(controls.size(), 1u);
    EXPECT_TRUE(controls[0]->temporary());
    controls[0]->children()[0]->click();
    EXPECT_EQ(clicks, 1);
    menu->Delete();
    EXPECT_TRUE(word.menuBarControls().empty());
}

}  // namespace
