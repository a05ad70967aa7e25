#include <gtest/gtest.h>

#include "tarvelo/composer_fragments.h"
#include "tarvelo/tests/fixture.h"

using mTarvelo::ChooseControl;

namespace {

const std::string Space = "{\\ltrch \\af32 \\rtlch \\f0  }";
const std::string Closing = "{\\ltrch \\af32 \\rtlch \\f0  }}";

std::string FieldText(const std::string& font, int code, const std::string& size, const std::string& half) {
    return "{\\ltrch \\af0 \\ltrch \\fs" + half + " {\\field{\\*\\fldinst SYMBOL " + std::to_string(code) +
           " \\\\f \"" + font + "\" \\\\s " + size + "}{\\fldrslt\\f31\\fs" + half + "}}}";
}

}  // namespace

TEST(GlyphFields, ExampleFieldComesOutByteForByte) {
    mTarvelo::GlyphFieldWriter writer("12", "24");
    EXPECT_EQ(writer.Field('2', 0x41),
              "{\\ltrch \\af0 \\ltrch \\fs24 {\\field{\\*\\fldinst SYMBOL 65 \\\\f \"HQPB2\" "
              "\\\\s 12}{\\fldrslt\\f31\\fs24}}}");
}

TEST(GlyphFields, PairsLastFirstAndFontKeysAndReuse) {
    mTarvelo::GlyphFieldWriter writer("10", "20");
    // An unknown key first: no font yet.
    EXPECT_NE(writer.Field('x', 200).find("\\\\f \"\" "), std::string::npos);
    std::string fragment;
    // word 1: (1,'x') (2,'y'); word 2 of odd length: its first character is skipped;
    // word 3, pairs last first: an unknown key keeps the font of the pair handled before it.
    writer.AppendVerse(fragment, "1x2y z5\xC8 6a9b");
    const std::string expected = FieldText("HQPB2", 'y', "10", "20") + "\r\n" + FieldText("HQPB1", 'x', "10", "20") +
                                 "\r\n" + Space + FieldText("HQPB5", 0xC8, "10", "20") + "\r\n" + Space +
                                 FieldText("HQPB5", 'b', "10", "20") + "\r\n" +
                                 FieldText("(normal text)", 'a', "10", "20") + "\r\n" + Space + Space;
    EXPECT_EQ(fragment, expected);
    // The font carries over to the next verse of the same call.
    fragment.clear();
    writer.AppendVerse(fragment, "?c");
    EXPECT_EQ(fragment, FieldText("(normal text)", 'c', "10", "20") + "\r\n" + Space + Space);
}

TEST(GlyphFields, EmptyWordsStillGetTheirSpaceGroup) {
    mTarvelo::GlyphFieldWriter writer("10", "20");
    std::string fragment;
    writer.AppendVerse(fragment, "");
    EXPECT_EQ(fragment, Space + Space);
    fragment.clear();
    writer.AppendVerse(fragment, "1a  1b");
    EXPECT_EQ(fragment, FieldText("HQPB1", 'a', "10", "20") + "\r\n" + Space + Space +
                            FieldText("HQPB1", 'b', "10", "20") + "\r\n" + Space + Space);
}

TEST(NoteReferences, CollectsInOrderWithRepeatsAndRejectsBadLines) {
    std::vector<std::int32_t> notes;
    mTarvelo::CollectNoteReferences(u"1. text [3] more [12] and [3]", notes, 2000);
    EXPECT_EQ(notes, (std::vector<std::int32_t>{3, 12, 3}));
    EXPECT_THROW(mTarvelo::CollectNoteReferences(u"open [4 without end", notes, 2000), mTarvelo::AddinError);
    std::vector<std::int32_t> few;
    EXPECT_THROW(mTarvelo::CollectNoteReferences(u"[1][2][3]", few, 2), mTarvelo::AddinError);
    // Numbers from the file that name no note are skipped, never converted out of range.
    std::vector<std::int32_t> checked;
    mTarvelo::CollectNoteReferences(u"[99999999999] [2147483647] [2147483648] [0] [-4] [x] [5]", checked, 2000);
    EXPECT_EQ(checked, (std::vector<std::int32_t>{2147483647, 5}));
    EXPECT_EQ(few.size(), 2u);
}

class ComposerTest : public AddinTest {
protected:
    // Loads the dialog hidden as the composer would, and sets its inputs.
    void Dialog(const std::u16string& size, bool unicode) {
        mTarvelo::LoadFrmChoose();
        dialog.controls[ChooseControl::cbSize].text = size;
        dialog.controls[ChooseControl::chUnicod].value = unicode ? 1 : 0;
    }
};

TEST_F(ComposerTest, GlyphVerseIsOneCompleteFragmentPerVerseOnTheClipboard) {
    Dialog(u"12", false);
    data->arabic[3] = "2A*";  // surah 1 verse 3: one pair and the character never drawn
    data->arabic[4] = "1B3C 4D*";
    mTarvelo::InsertArabic(1, 3, 4, true);
    const std::string header = "{\\rtf1 HEADER";
    const std::string v3 = header + FieldText("HQPB2", 65, "12", "24") + "\r\n" + Space + Space + Closing;
    const std::string v4 = header + FieldText("HQPB3", 'C', "12", "24") + "\r\n" + FieldText("HQPB1", 'B', "12", "24") +
                           "\r\n" + Space + FieldText("HQPB4", 'D', "12", "24") + "\r\n" + Space + Space + Closing;
    EXPECT_EQ(word.document, "<paste 49300:" + v3 + "><paste 49300:" + v4 + ">\n");
    EXPECT_TRUE(word.screenUpdating);
    EXPECT_EQ(mTarvelo::RtfFormatId, 49300u);
    // The clipboard is filled by the dialog window, in the right order, before each paste.
    const std::vector<std::string> perVerse = {"ClipboardOpen 4242", "ClearClipboard", "SetTextData 49300",
                                               "ClipboardClose",     "Alignment 3",    "Paste"};
    auto at = std::search(word.log.begin(), word.log.end(), perVerse.begin(), perVerse.end());
    ASSERT_NE(at, word.log.end());
    // After the verses: end of line, one paragraph, justified, screen on.
    const std::vector<std::string> tail(word.log.end() - 4, word.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"EndKey 5", "TypeParagraph", "Alignment 3", "ScreenUpdating 1"}));
}

TEST_F(ComposerTest, SizeSwitchAndHalfPointsFollowTheSizeText) {
    Dialog(u"10.5", false);
    data->arabic[1] = "2A*";
    mTarvelo::InsertArabic(1, 1, 1, false);
    EXPECT_NE(word.document.find(FieldText("HQPB2", 65, "10.5", "21")), std::string::npos);
    word.document.clear();
    dialog.controls[ChooseControl::cbSize].text = u"10";
    mTarvelo::InsertArabic(1, 1, 1, false);
    EXPECT_NE(word.document.find(FieldText("HQPB2", 65, "10", "20")), std::string::npos);
    // sameLine false: every verse ends with a paragraph mark, then the closing one.
    EXPECT_TRUE(word.document.ends_with("}}>\n\n"));
}

TEST_F(ComposerTest, SizeThatIsNotANumberStopsBeforeAnyVerseInBothForms) {
    for (bool unicode : {false, true}) {
        for (const std::u16string size : {u"", u"abc"}) {
            host->messages.clear();
            Dialog(size, unicode);
            mTarvelo::InsertArabic(1, 1, 3, true);
            EXPECT_EQ(word.pastes, 0);
            ASSERT_EQ(host->messages.size(), 1u);
            EXPECT_EQ(host->messages[0], "An error occurred: Type mismatch [13]");
            EXPECT_EQ(host->icons[0], mTarvelo::MessageIcon::Exclamation);
            EXPECT_TRUE(word.screenUpdating);
        }
    }
}

TEST_F(ComposerTest, UnicodeFormPastesTheVerseWithItsNumber) {
    Dialog(u"14", true);
    mTarvelo::InsertArabic(2, 1, 2, true);
    // surah 2 starts after the 10 verses of surah 1 in the fake text
    EXPECT_EQ(word.document, "<paste 13:U11/1><paste 13:U12/2>\n");
    EXPECT_EQ(CountOf("PasteAndFormat 0"), 2);
    EXPECT_EQ(CountOf("Paste"), 0);
}

TEST_F(ComposerTest, UnicodeVerseThatCannotBeReadEndsTheInsertionWithoutPasting) {
    Dialog(u"14", true);
    data->unreadableUnicode[12] = true;  // verse 2:2 of the fake text
    mTarvelo::InsertArabic(2, 1, 3, true);
    // Verse 1 only: nothing else from the clipboard is pasted in place of verse 2, and the
    // reader's own message is the only one.
    EXPECT_EQ(word.document, "<paste 13:U11/1>");
    EXPECT_EQ(CountOf("PasteAndFormat 0"), 1);
    EXPECT_TRUE(host->messages.empty());
    EXPECT_TRUE(word.screenUpdating);
}

TEST_F(ComposerTest, FromAfterToInsertsNoVerseButEndsTheLine) {
    Dialog(u"14", false);
    mTarvelo::InsertArabic(1, 5, 4, true);
    EXPECT_EQ(word.pastes, 0);
    EXPECT_EQ(word.document, "\n");
    EXPECT_EQ(Only("EndKey"), std::vector<std::string>{"EndKey 5"});
    word.log.clear();
    data->direction = u'R';
    mTarvelo::InsertTranslation(1, 5, 4);
    EXPECT_EQ(word.log, (std::vector<std::string>{"RtlPara", "RtlRun", "Alignment 3", "Size 10", "TypeParagraph"}));
}

TEST_F(ComposerTest, StopBetweenVersesKeepsWhatWasPastedAndTurnsTheScreenOn) {
    Dialog(u"14", true);
    word.onPaste = [&] {
        if (word.pastes == 2) mTarvelo::StopRequested = true;
    };
    mTarvelo::InsertArabic(1, 1, 7, false);
    EXPECT_EQ(word.pastes, 2);
    EXPECT_TRUE(word.screenUpdating);
    EXPECT_EQ(Only("EndKey").size(), 0u);  // a stopped insertion returns at once
}

TEST_F(ComposerTest, ClipboardThatCannotBeOpenedIsReportedAndReleased) {
    Dialog(u"14", false);
    word.clipboard->failOpen = true;
    mTarvelo::InsertArabic(1, 1, 2, true);
    EXPECT_EQ(word.pastes, 0);
    ASSERT_EQ(host->messages.size(), 1u);
    EXPECT_EQ(host->messages[0], "An error occurred: Unable to Open Clipboard. [-2147219933]");
    EXPECT_FALSE(word.clipboard->open);
    EXPECT_TRUE(word.screenUpdating);
}

TEST_F(ComposerTest, FailedPasteIsReportedWithTheScreenBackOn) {
    Dialog(u"14", false);
    word.failAfterPastes = 1;
    mTarvelo::InsertArabic(1, 1, 3, true);
    EXPECT_EQ(word.pastes, 1);
    ASSERT_EQ(host->messages.size(), 1u);
    EXPECT_EQ(host->messages[0], "An error occurred: paste refused [440]");
    EXPECT_TRUE(word.screenUpdating);
}

TEST_F(ComposerTest, EveryVerseLetsPendingEventsThroughInBothForms) {
    for (bool unicode : {false, true}) {
        word.log.clear();
        Dialog(u"14", unicode);
        mTarvelo::InsertArabic(1, 1, 3, true);
        EXPECT_EQ(CountOf("DoEvents"), 3) << unicode;
    }
}

TEST_F(ComposerTest, TranslationVersesNumberedThenNotesInOwnParagraphs) {
    data->translation[1] = u"  In the name [3] of God";
    data->translation[2] = u"Praise [12] be ";
    mTarvelo::InsertTranslation(1, 1, 2);
    EXPECT_EQ(word.document,
              "1. In the name [3] of God\n2. Praise [12] be\n\n[3] Note 3 text\n[12] Note 12 "
              "text\n\n");
    const std::vector<std::string> head(word.log.begin(), word.log.begin() + 4);
    EXPECT_EQ(head, (std::vector<std::string>{"LtrPara", "LtrRun", "Alignment 3", "Size 10"}));
    EXPECT_TRUE(word.screenUpdating);
}

TEST_F(ComposerTest, TranslationEncodings) {
    // Shifted pairs: no number, only the text trimmed.
    data->encoding = mTarvelo::TranslationStorage::ShiftedPair;
    data->translation[1] = u"  \u0627\u0644 [2] ";
    mTarvelo::InsertTranslation(1, 1, 1);
    EXPECT_EQ(word.document, "\u0627\u0644 [2]\n\n[2] Note 2 text\n\n");

    // Code page: the number prefix, the size again, the bytes decoded in the locale's code page;
    // the text itself is not scanned for notes.
    word.document.clear();
    word.log.clear();
    data->encoding = mTarvelo::TranslationStorage::CodePage;
    data->lcid = 1025;
    data->translation[1] = std::u16string{0xC7, 0xE1, u' ', u'[', u'5', u']'};
    mTarvelo::InsertTranslation(1, 1, 1);
    EXPECT_EQ(word.document, "1) \u0627\u0644 [5]\n\n");
    EXPECT_EQ(Only("Size"), (std::vector<std::string>{"Size 10", "Size 10"}));
    // ... unless the file is single-byte text already.
    word.document.clear();
    data->singleByte = true;
    mTarvelo::InsertTranslation(1, 1, 1);
    EXPECT_EQ(word.document, "1) \u00C7\u00E1 [5]\n\n");
}

TEST_F(ComposerTest, TranslationErrorEndsSilentlyWithoutTheNotes) {
    data->translation[1] = u"first [3]";
    data->translation[2] = u"broken [4";
    mTarvelo::InsertTranslation(1, 1, 3);
    EXPECT_EQ(word.document, "1. first [3]\n2. broken [4\n");
    EXPECT_TRUE(host->messages.empty());
    EXPECT_TRUE(word.screenUpdating);
}
