// Selection.Paste and PasteAndFormat against a headless Writer: the office's clipboard is filled
// with Rich Text or UTF-16 text, as a program that pastes offers them, then pasted through the
// layer, and the document is read back.
#include "word/libreoffice/paste.h"

#include <gtest/gtest.h>

#include <string>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>

#include "word/libreoffice/libreoffice.h"
#include "word/libreoffice/tests/clipboard_contents.h"
#include "word/libreoffice/tests/writer_test.h"
#include "word/rtf/tests/rich_text_test_fragments.h"
#include "word/testing/office.h"

namespace {

namespace css = ::com::sun::star;
using word::testing::readDocument;

using namespace word::rtf::fragments;

class Paste : public word::testing::WriterTest {
protected:
    Paste() : WriterTest(std::chrono::milliseconds(500)) {}

    void putRichText(std::string_view rtf) { word::testing::putRichTextOnClipboard(office_->context(), rtf); }
    void putUnicodeText(std::u16string_view text) {
        word::testing::putUnicodeTextOnClipboard(office_->context(), text);
    }
};

TEST_F(Paste, GlyphFieldsLandInOrderInTheirFontsAndSizesAndThePointEndsAfterThem) {
    auto s = selection();
    s->TypeText(u"ab");
    {
        // The text before the point in a font of its own: "(normal text)" must take it.
        auto all = document_->getText()->createTextCursor();
        all->gotoEnd(true);
        css::uno::Reference<css::beans::XPropertySet>(all, css::uno::UNO_QUERY_THROW)
            ->setPropertyValue("CharFontNameComplex", css::uno::Any(rtl::OUString("DejaVu Sans Mono")));
    }
    const auto before = readDocument(document_);
    ASSERT_FALSE(before[0].chars.empty());
    const std::u16string pointFont = before[0].chars[0].fontNameComplex;
    ASSERT_EQ(pointFont, u"DejaVu Sans Mono");

    putRichText(composedVerse());
    s->Paste();
    s->TypeText(u"Z");

    const auto paragraphs = readDocument(document_);
    ASSERT_EQ(paragraphs.size(), 1u);
    // Each run of the space groups' blanks is followed by a right-to-left mark.
    const std::u16string expected = u"ab\uF041\uF0C7 \u200F\u0644   \u200FZ";
    ASSERT_EQ(paragraphs[0].text, expected);
    const auto& c = paragraphs[0].chars;
    ASSERT_EQ(c.size(), expected.size());
    // Code 65 in HQPB2 at 12 points, code 0xC7 in HQPB1 at 12.
    EXPECT_EQ(c[2].fontName, u"HQPB2");
    EXPECT_FLOAT_EQ(c[2].height, 12.0f);
    EXPECT_EQ(c[3].fontNameComplex, u"HQPB1");
    EXPECT_FLOAT_EQ(c[3].heightComplex, 12.0f);
    // The blank of the space group in the fragment's font 0.
    EXPECT_EQ(c[4].fontName, u"DejaVu Sans");
    // "(normal text)": the font of the insertion point, at the field's own size.
    EXPECT_EQ(c[6].fontNameComplex, pointFont);
    EXPECT_FLOAT_EQ(c[6].heightComplex, 10.5f);
    // Before the paste the insertion point's formatting is untouched.
    EXPECT_FLOAT_EQ(c[1].heightComplex, before[0].chars[1].heightComplex);
    EXPECT_EQ(c[1].fontNameComplex, pointFont);
}

TEST_F(Paste, GlyphsPastedInsideAWordReplaceTheSelectionAndLeaveTheRestAfterThePoint) {
    auto s = selection();
    s->TypeText(u"abXYcd");
    // Select "XY": move to after it, then extend back two characters.
    s.reset();
    {
        css::uno::Reference<css::text::XTextViewCursorSupplier> supplier(
            css::uno::Reference<css::frame::XModel>(document_, css::uno::UNO_QUERY_THROW)->getCurrentController(),
            css::uno::UNO_QUERY_THROW);
        auto view = supplier->getViewCursor();
        view->gotoStart(false);
        view->goRight(4, false);
    }
    s = selection();
    ASSERT_EQ(s->MoveStart(word::wdCharacter, -2), -2);
    EXPECT_EQ(s->Text(), u"XY");

    putRichText(std::string(kHeader) + glyphField(66, "HQPB3", "20", "40") + kClosingGroup);
    s->Paste();
    s->TypeText(u"Z");
    const auto paragraphs = readDocument(document_);
    ASSERT_EQ(paragraphs.size(), 1u);
    EXPECT_EQ(paragraphs[0].text, u"ab\uF042 \u200FZcd");
    EXPECT_EQ(paragraphs[0].chars[2].fontName, u"HQPB3");
    EXPECT_FLOAT_EQ(paragraphs[0].chars[2].height, 20.0f);
}

TEST_F(Paste, GlyphsAcrossParagraphsAreOneUndoStep) {
    auto s = selection();
    s->TypeText(u"x");
    putRichText(std::string(kHeader) + glyphField(65, "HQPB1", "12", "24") + "\\par " +
                glyphField(66, "HQPB2", "14", "28") + "}");
    s->Paste();
    s->TypeText(u"y");
    auto paragraphs = readDocument(document_);
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_EQ(paragraphs[0].text, u"x\uF041");
    EXPECT_EQ(paragraphs[1].text, u"\uF042y");
    EXPECT_FLOAT_EQ(paragraphs[1].chars[0].height, 14.0f);

    css::uno::Reference<css::document::XUndoManagerSupplier> undo(document_, css::uno::UNO_QUERY_THROW);
    undo->getUndoManager()->undo();  // the typed "y"
    undo->getUndoManager()->undo();  // the whole paste
    paragraphs = readDocument(document_);
    ASSERT_EQ(paragraphs.size(), 1u);
    EXPECT_EQ(paragraphs[0].text, u"x");
}

TEST_F(Paste, UnicodeTextAndPlainRichTextGoThroughTheOfficeImportAtThePoint) {
    auto s = selection();
    s->TypeText(u"[");
    const std::u16string verse =
        u"\u0628\u0650\u0633\u0652\u0645\u0650 \u0627\u0644\u0644\u0651\u064e\u0647\u0650 \u0661";
    putUnicodeText(verse);
    s->PasteAndFormat(0);
    s->TypeText(u"]");
    putRichText("{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Sans;}}\\f0 Hello {\\b bold}}");
    s->Paste();
    s->TypeText(u"!");

    const auto paragraphs = readDocument(document_);
    ASSERT_EQ(paragraphs.size(), 1u);
    const std::u16string expected = u"[" + verse + u"]Hello bold!";
    ASSERT_EQ(paragraphs[0].text, expected);
    const auto& c = paragraphs[0].chars;
    EXPECT_TRUE(c[expected.size() - 2].bold);  // the office's import keeps the fragment's bold
    EXPECT_FALSE(c[expected.size() - 6].bold);
}

// Verses pasted one after another into one paragraph, with the screen updated between them, as
// the add-in does: the views wait until the selection is released (else the growing paragraph is
// laid out again after every verse), and the line end found afterwards is still the paragraph's.
TEST_F(Paste, PastesBetweenScreenUpdatesKeepTheViewsWaitingAndTheLineEndIsThePointAfterThem) {
    const css::uno::Reference<css::frame::XModel> model(document_, css::uno::UNO_QUERY_THROW);
    auto s = selection();
    s->RtlPara();
    std::u16string verse;  // long enough for several lines
    for (int i = 0; i < 12; ++i)
        verse += u"\u0628\u0650\u0633\u0652\u0645\u0650 \u0627\u0644\u0644\u0651\u064e\u0647\u0650 ";
    std::u16string expected;
    for (char16_t number = u'\u0661'; number <= u'\u0664'; ++number) {
        const std::u16string text = verse + u"(" + number + u") ";
        word_->SetScreenUpdating(false);
        putUnicodeText(text);
        s->PasteAndFormat(0);
        word_->SetScreenUpdating(true);
        EXPECT_TRUE(model->hasControllersLocked());
        expected += text;
    }
    s->EndKey(word::wdLine);
    s->TypeParagraph();
    s->TypeText(u"!");
    const auto paragraphs = readDocument(document_);
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_EQ(paragraphs[0].text, expected);
    EXPECT_EQ(paragraphs[1].text, u"!");
    s.reset();
    EXPECT_FALSE(model->hasControllersLocked());
}

TEST_F(Paste, PlainTextRecoveryTypesAndParagraphs) {
    auto s = selection();
    putUnicodeText(u"one\r\ntwo");
    s->PasteAndFormat(22);
    s->TypeText(u"!");
    const auto paragraphs = readDocument(document_);
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_EQ(paragraphs[0].text, u"one");
    EXPECT_EQ(paragraphs[1].text, u"two!");
}

TEST_F(Paste, FailuresAreWordErrorsAndInsertNothing) {
    auto s = selection();
    s->TypeText(u"x");
    EXPECT_THROW(s->PasteAndFormat(999), word::Error);
    word::testing::emptyClipboard(office_->context());  // nothing on it
    EXPECT_THROW(s->Paste(), word::Error);
    EXPECT_THROW(s->PasteAndFormat(22), word::Error);
    EXPECT_EQ(readDocument(document_)[0].text, u"x");
}

}  // namespace
