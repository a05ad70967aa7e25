// The LibreOffice backend against a real headless Writer.
#include "word/libreoffice/libreoffice.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>

#include "word/libreoffice/connection.h"
#include "word/testing/office.h"

namespace {

namespace css = ::com::sun::star;
using word::testing::documentText;
using word::testing::readDocument;

constexpr char16_t kBism[] = u"\u0628\u0650\u0633\u0652\u0645\u0650";  // vowelled Arabic word

class LibreOfficeBackend : public ::testing::Test {
protected:
    void SetUp() override {
        office_ = &word::testing::sharedOffice();
        office_->closeAllDocuments();
        document_ = office_->newWriterDocument();
        word_ = word::libreoffice::connectOverPipe(office_->pipeOptions(std::chrono::milliseconds(5000)));
    }
    void TearDown() override { word_.reset(); }

    std::unique_ptr<word::Selection> selection() { return word_->ActiveDocument()->ActiveWindow()->Selection(); }

    word::testing::Office* office_ = nullptr;
    css::uno::Reference<css::text::XTextDocument> document_;
    std::unique_ptr<word::Application> word_;
};

TEST_F(LibreOfficeBackend, TypedPiecesGetTheSizesAndBoldSetBeforeThem) {
    auto s = selection();
    s->Font()->SetSizeBi(16);
    s->TypeText(u"[");
    s->BoldRun();
    s->TypeText(kBism);
    s->BoldRun();
    s->TypeText(u"] ");
    s->Font()->SetSizeBi(12);
    s->TypeText(u"{x:1}");
    s->Font()->SetSizeBi(16);
    s->TypeText(u" ");

    const auto paragraphs = readDocument(document_);
    ASSERT_EQ(paragraphs.size(), 1u);
    const std::u16string expected = u"[" + std::u16string(kBism) + u"] {x:1} ";
    EXPECT_EQ(paragraphs[0].text, expected);
    const auto& chars = paragraphs[0].chars;
    ASSERT_EQ(chars.size(), expected.size());
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const bool inVerse = i >= 1 && i <= 6;
        const bool inCitation = i >= 9 && i <= 13;
        SCOPED_TRACE(i);
        EXPECT_EQ(chars[i].bold, inVerse);
        EXPECT_EQ(chars[i].boldComplex, inVerse);
        EXPECT_FLOAT_EQ(chars[i].heightComplex, inCitation ? 12.0f : 16.0f);
        EXPECT_FLOAT_EQ(chars[i].height, inCitation ? 12.0f : 16.0f);
    }
}

TEST_F(LibreOfficeBackend, FormattingAtAPointInsideAWordTouchesOnlyTheTypedText) {
    document_->getText()->setString(word::libreoffice::toOUString(std::u16string_view(u"abcd")));
    auto s = selection();
    s->EndKey(word::wdLine);
    s->MoveStart(1, -2);  // select "cd"
    s->TypeText(u"c");    // replaced: the point is now inside the word "abc"
    s->BoldRun();
    s->Font()->SetSizeBi(30);
    s->TypeText(u"X");
    const auto chars = readDocument(document_)[0].chars;
    ASSERT_EQ(readDocument(document_)[0].text, u"abcX");
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(chars[i].bold) << i;
        EXPECT_NE(chars[i].heightComplex, 30.0f) << i;
    }
    EXPECT_TRUE(chars[3].bold);
    EXPECT_FLOAT_EQ(chars[3].heightComplex, 30.0f);
}

TEST_F(LibreOfficeBackend, TypingInsideAWordAndThenAtTheParagraphEndFormatsOnlyTheTypedText) {
    document_->getText()->setString(word::libreoffice::toOUString(std::u16string_view(u"abcdef")));
    auto viewCursor = css::uno::Reference<css::text::XTextViewCursorSupplier>(document_->getCurrentController(),
                                                                              css::uno::UNO_QUERY_THROW)
                          ->getViewCursor();
    viewCursor->gotoStart(false);
    viewCursor->goRight(3, false);  // between "abc" and "def"
    {
        auto s = selection();
        s->Font()->SetSizeBi(30);
        s->BoldRun();
        s->TypeText(u"X");
        s->BoldRun();
        s->TypeText(u"Y");
        s->EndKey(word::wdLine);
        s->Font()->SetSizeBi(8);
        s->TypeText(u"Z");
        s->BoldRun();
        s->TypeText(u"W");
    }
    const auto paragraph = readDocument(document_)[0];
    ASSERT_EQ(paragraph.text, u"abcXYdefZW");
    const float base = paragraph.chars[0].heightComplex;
    ASSERT_NE(base, 30.0f);
    ASSERT_NE(base, 8.0f);
    const struct {
        bool bold;
        float size;
    } expected[] = {{false, base}, {false, base}, {false, base}, {true, 30}, {false, 30},
                    {false, base}, {false, base}, {false, base}, {false, 8}, {true, 8}};
    for (std::size_t i = 0; i < paragraph.chars.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(paragraph.chars[i].bold, expected[i].bold);
        EXPECT_FLOAT_EQ(paragraph.chars[i].heightComplex, expected[i].size);
        EXPECT_FLOAT_EQ(paragraph.chars[i].height, expected[i].size);
    }
}

TEST_F(LibreOfficeBackend, PendingFormattingHoldsAcrossSelectionObjectsUntilThePointMoves) {
    word_->Selection()->Font()->SetSize(20);
    word_->Selection()->TypeText(u"ab");
    word_->Selection()->TypeText(u"cd");  // still at the same point: still 20
    word_->Selection()->Font()->SetSize(8);
    word_->Selection()->MoveStart(1, -1);  // the point moves: 8 is forgotten
    word_->Selection()->TypeText(u"D");
    const auto paragraph = readDocument(document_)[0];
    EXPECT_EQ(paragraph.text, u"abcD");
    for (std::size_t i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(paragraph.chars[i].height, 20.0f) << i;
}

TEST_F(LibreOfficeBackend, FormattingSetBeforeTheTextWasReplacedElsewhereIsForgottenNotAnError) {
    auto s = selection();
    s->Font()->SetSizeBi(20);
    s->BoldRun();
    s->TypeText(u"abc");
    // Another program empties the document, types and empties it again: the point the formatting
    // was set at is gone.
    const auto text = document_->getText();
    text->setString({});
    css::uno::Reference<css::text::XTextRange> point(css::uno::Reference<css::text::XTextViewCursorSupplier>(
                                                         document_->getCurrentController(), css::uno::UNO_QUERY_THROW)
                                                         ->getViewCursor(),
                                                     css::uno::UNO_QUERY_THROW);
    text->insertString(point, word::libreoffice::toOUString(std::u16string_view(u"xyz")), false);
    text->setString({});
    auto again = selection();
    EXPECT_NO_THROW(again->Font()->SetSizeBi(16));
    EXPECT_NO_THROW(again->TypeText(u"d"));
    const auto paragraph = readDocument(document_)[0];
    ASSERT_EQ(paragraph.text, u"d");
    EXPECT_FLOAT_EQ(paragraph.chars[0].heightComplex, 16.0f);
}

TEST_F(LibreOfficeBackend, RefusedSizesTypeNothing) {
    auto s = selection();
    EXPECT_THROW(s->Font()->SetSizeBi(0), word::Error);
    EXPECT_THROW(s->Font()->SetSizeBi(1638.5f), word::Error);
    EXPECT_NO_THROW(s->Font()->SetSizeBi(1638));
    EXPECT_EQ(documentText(document_), u"");
}

TEST_F(LibreOfficeBackend, TagLookBackCountsWordsLikeWordAndTypingReplacesTheSelection) {
    auto s = selection();
    s->TypeText(std::u16string(kBism) + u" [QS2:1-2A]");
    EXPECT_EQ(s->Type(), word::wdSelectionIP);
    auto r = s->Range();
    EXPECT_EQ(r->MoveStart(word::wdWord, -1), -1);
    EXPECT_EQ(r->Text(), u"]");
    r->MoveStart(word::wdWord, -4);
    EXPECT_EQ(r->Text(), u":1-2A]");
    EXPECT_EQ(s->Type(), word::wdSelectionIP);  // the range never moves the selection

    EXPECT_EQ(s->MoveStart(word::wdWord, -7), -7);
    EXPECT_EQ(s->Text(), u"[QS2:1-2A]");
    EXPECT_EQ(s->Type(), 2);
    s->LtrPara();
    s->TypeText(u"");
    s->TypeText(u"(QS2)");
    s->TypeParagraph();
    EXPECT_EQ(documentText(document_), std::u16string(kBism) + u" (QS2)\n");
    // Back over the vowelled word: its marks belong to it.
    auto again = selection();
    again->EndKey(word::wdLine);
    EXPECT_EQ(again->Text(), u"\r");  // an insertion point reads the character after it
}

TEST_F(LibreOfficeBackend, ParagraphDirectionAlignmentAndNewParagraphs) {
    auto s = selection();
    s->RtlPara();
    s->ParagraphFormat()->SetAlignment(word::wdAlignParagraphJustify);
    s->TypeText(kBism);
    s->TypeParagraph();
    s->LtrPara();
    s->TypeText(u"x");
    EXPECT_THROW(s->ParagraphFormat()->SetAlignment(12), word::Error);
    const auto paragraphs = readDocument(document_);
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_TRUE(paragraphs[0].rightToLeft);
    EXPECT_EQ(paragraphs[0].adjust, 2);  // BLOCK
    EXPECT_FALSE(paragraphs[1].rightToLeft);
    EXPECT_EQ(paragraphs[1].text, u"x");
}

TEST_F(LibreOfficeBackend, DocumentsCountAndNoDocument) {
    EXPECT_EQ(word_->Documents().Count(), 1);
    word_->SetScreenUpdating(false);
    word_->Selection()->TypeText(u"locked");
    word_->SetScreenUpdating(true);
    EXPECT_EQ(documentText(document_), u"locked");
    office_->closeAllDocuments();
    EXPECT_EQ(word_->Documents().Count(), 0);
    EXPECT_THROW(word_->ActiveDocument(), word::Error);
    EXPECT_THROW(word_->Selection(), word::Error);
}

TEST(LibreOfficeConnection, AClosedOfficeFailsTheNextCallAndIsReachedAgainOnceItRuns) {
    word::testing::Office office;
    office.newWriterDocument();
    auto word = word::libreoffice::connectOverPipe(office.pipeOptions(std::chrono::milliseconds(3000)));
    word->Selection()->TypeText(u"one");

    office.stop();
    EXPECT_THROW(word->ActiveDocument()->ActiveWindow()->Selection()->TypeText(u"two"), word::Error);
    EXPECT_THROW(word->Selection(), word::Error);

    office.start();
    auto document = office.newWriterDocument();
    word->Selection()->TypeText(u"three");
    EXPECT_EQ(documentText(document), u"three");
}

TEST(LibreOfficeConnection, EveryOperationOnAnOfficeThatWentAwayFailsWithTheLayersOwnError) {
    word::testing::Office office;
    office.newWriterDocument();
    auto word = word::libreoffice::connectOverPipe(office.pipeOptions(std::chrono::milliseconds(200)));
    auto document = word->ActiveDocument();
    auto window = document->ActiveWindow();
    auto selection = window->Selection();
    auto range = selection->Range();
    office.stop();

    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"ActiveDocument", [&] { word->ActiveDocument(); }},
        {"Selection", [&] { word->Selection(); }},
        {"Documents.Count", [&] { word->Documents().Count(); }},
        {"ScreenUpdating", [&] { word->SetScreenUpdating(false); }},
        {"CommandBars", [&] { word->CommandBars(); }},
        {"ActiveWindow", [&] { document->ActiveWindow(); }},
        {"Window.Selection", [&] { window->Selection(); }},
        {"Font.SizeBi", [&] { selection->Font()->SetSizeBi(12); }},
        {"Font.Size", [&] { selection->Font()->SetSize(12); }},
        {"ParagraphFormat.Alignment",
         [&] { selection->ParagraphFormat()->SetAlignment(word::wdAlignParagraphJustify); }},
        {"Selection.Range", [&] { selection->Range(); }},
        {"Selection.Type", [&] { selection->Type(); }},
        {"Selection.Text", [&] { selection->Text(); }},
        {"Selection.MoveStart", [&] { selection->MoveStart(word::wdWord, -1); }},
        {"TypeText", [&] { selection->TypeText(u"x"); }},
        {"TypeParagraph", [&] { selection->TypeParagraph(); }},
        {"BoldRun", [&] { selection->BoldRun(); }},
        {"RtlPara", [&] { selection->RtlPara(); }},
        {"LtrPara", [&] { selection->LtrPara(); }},
        {"Paste", [&] { selection->Paste(); }},
        {"PasteAndFormat", [&] { selection->PasteAndFormat(word::wdPasteDefault); }},
        {"EndKey", [&] { selection->EndKey(word::wdLine); }},
        {"Range.MoveStart", [&] { range->MoveStart(word::wdWord, -1); }},
        {"Range.Text", [&] { range->Text(); }},
    };
    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        EXPECT_THROW(operation(), word::Error);
    }
}

TEST(LibreOfficeConnection, NothingOnThePipeLaunchesTheOfficeOnce) {
    int launches = 0;
    word::libreoffice::PipeOptions options;
    options.pipeName = "qv_nobody_listens_here";
    options.launch = [&](std::string_view pipe) {
        EXPECT_EQ(pipe, "qv_nobody_listens_here");
        ++launches;
    };
    options.connectTimeout = std::chrono::milliseconds(200);
    auto word = word::libreoffice::connectOverPipe(options);
    EXPECT_THROW(word->Selection(), word::Error);
    EXPECT_EQ(launches, 1);
    EXPECT_THROW(word::libreoffice::connectOverPipe({.pipeName = "bad;name", .launch = nullptr}), word::Error);
}

}  // namespace
