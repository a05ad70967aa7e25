// The LibreOffice backend against a real headless Writer: the word layer's behaviour suite, and
// what only this backend does.
#include "word/libreoffice/libreoffice.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>

#include "word/libreoffice/command_bars.h"
#include "word/libreoffice/connection.h"
#include "word/libreoffice/tests/clipboard_contents.h"
#include "word/libreoffice/tests/writer_test.h"
#include "word/recording/tests/behaviour_suite.h"
#include "word/testing/office.h"

namespace {

namespace css = ::com::sun::star;
using word::libreoffice::toOUString;
using word::testing::documentText;
using word::testing::readDocument;

css::uno::Reference<css::text::XTextViewCursor> viewCursorOf(const css::uno::Reference<css::text::XTextDocument>& d) {
    return css::uno::Reference<css::text::XTextViewCursorSupplier>(d->getCurrentController(), css::uno::UNO_QUERY_THROW)
        ->getViewCursor();
}

// Word's paragraph alignment for Writer's ParaAdjust.
int wordAlignment(int adjust) {
    switch (adjust) {
        case css::style::ParagraphAdjust_RIGHT: return 2;
        case css::style::ParagraphAdjust_CENTER: return 1;
        case css::style::ParagraphAdjust_BLOCK:
        case css::style::ParagraphAdjust_STRETCH: return word::wdAlignParagraphJustify;
        default: return 0;
    }
}

// The command of the menu entry captioned `caption` (without its accelerator), if there is one.
std::optional<std::u16string> commandOf(const std::vector<word::testing::MenuEntry>& entries,
                                        std::u16string_view caption) {
    for (const auto& entry : entries) {
        std::u16string label = entry.label;
        std::erase(label, u'~');
        if (label == caption) return entry.command;
        if (auto found = commandOf(entry.items, caption)) return found;
    }
    return std::nullopt;
}

// The suite's harness: Writer in the office shared by this test program, reached over its pipe.
// The document is read back from Writer's properties: Word's one bold is Writer's Western and
// complex-script bold together, its right-to-left size the complex-script height, its other size
// the Western height; a font is named where it is not the font of a new document's text; a
// paragraph mark has the format of the character before it.
class LibreOfficeHarness {
public:
    static constexpr word::testing::Differences differences{.sizeBiSizesAllText = true,
                                                            .pastedBlanksGetADirectionMark = true};

    LibreOfficeHarness() : office_(word::testing::sharedOffice()) {
        office_.closeAllDocuments();
        openDocument();
        word_ = word::libreoffice::connectOverPipe(office_.pipeOptions(std::chrono::milliseconds(5000)));
    }
    ~LibreOfficeHarness() {
        word_.reset();
        if (!office_.running()) office_.start();  // a case that stopped it and failed midway
    }
    LibreOfficeHarness(const LibreOfficeHarness&) = delete;
    LibreOfficeHarness& operator=(const LibreOfficeHarness&) = delete;

    word::Application& word() { return *word_; }
    void setContent(std::u16string_view text) {
        document_->getText()->setString(toOUString(text));
        viewCursorOf(document_)->gotoEnd(false);
    }
    std::vector<word::recording::Run> runs() const {
        std::vector<word::recording::Run> result;
        word::recording::Format format;
        const auto add = [&](char16_t ch) {
            if (result.empty() || !(result.back().format == format)) result.push_back({{}, format});
            result.back().text += ch;
        };
        bool first = true;
        for (const auto& paragraph : readDocument(document_)) {
            if (!first) add(u'\r');
            first = false;
            for (const auto& c : paragraph.chars) {
                format = {.bold = c.bold && c.boldComplex,
                          .sizeBi = c.heightComplex,
                          .size = c.height,
                          .rightToLeftRun = false,
                          .font = c.fontName == defaultFont_ ? std::u16string() : c.fontName};
                add(c.ch);
            }
        }
        return result;
    }
    std::vector<word::recording::ParagraphProps> paragraphs() const {
        std::vector<word::recording::ParagraphProps> result;
        for (const auto& paragraph : readDocument(document_))
            result.push_back({.rightToLeft = paragraph.rightToLeft, .alignment = wordAlignment(paragraph.adjust)});
        return result;
    }
    void putRichText(const std::string& rtf) { word::testing::putRichTextOnClipboard(office_.context(), rtf); }
    void putUnicodeText(std::u16string_view text) { word::testing::putUnicodeTextOnClipboard(office_.context(), text); }
    // A click on the entry in the window's menu bar sends its command to the hosting component's
    // protocol handler, which hands it to MenuCommands. No component runs in this office: the
    // harness hands the command over itself.
    bool clickAndWait(std::u16string_view caption, const bool& clicked) {
        const auto command = commandOf(word::testing::menuBar(document_), caption);
        return command && word::libreoffice::MenuCommands::click(*command) && clicked;
    }
    void closeDocument() { office_.closeAllDocuments(); }
    void stopWord() { office_.stop(); }
    void startWord() {
        office_.start();
        openDocument();
    }

private:
    void openDocument() {
        document_ = office_.newWriterDocument();
        rtl::OUString font;
        css::uno::Reference<css::beans::XPropertySet>(viewCursorOf(document_), css::uno::UNO_QUERY_THROW)
            ->getPropertyValue("CharFontName") >>= font;
        defaultFont_ = word::libreoffice::fromOUString(font);
    }

    word::testing::Office& office_;
    css::uno::Reference<css::text::XTextDocument> document_;
    std::u16string defaultFont_;
    std::unique_ptr<word::Application> word_;
};

}  // namespace

namespace word::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Writer, WordBehaviour, LibreOfficeHarness);
}

namespace {

using LibreOfficeBackend = word::testing::WriterTest;

TEST_F(LibreOfficeBackend, FormattingAtAPointInsideAWordTouchesOnlyTheTypedText) {
    document_->getText()->setString(toOUString(std::u16string_view(u"abcd")));
    auto s = selection();
    s->EndKey(word::wdLine);
    s->MoveStart(word::wdCharacter, -2);  // select "cd"
    s->TypeText(u"c");                    // replaced: the point is now inside the word "abc"
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
    document_->getText()->setString(toOUString(std::u16string_view(u"abcdef")));
    auto viewCursor = viewCursorOf(document_);
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

TEST_F(LibreOfficeBackend, FormattingSetBeforeTheTextWasReplacedElsewhereIsForgottenNotAnError) {
    auto s = selection();
    s->Font()->SetSizeBi(20);
    s->BoldRun();
    s->TypeText(u"abc");
    // Another program empties the document, types and empties it again: the point the formatting
    // was set at is gone.
    const auto text = document_->getText();
    text->setString({});
    css::uno::Reference<css::text::XTextRange> point(viewCursorOf(document_), css::uno::UNO_QUERY_THROW);
    text->insertString(point, toOUString(std::u16string_view(u"xyz")), false);
    text->setString({});
    auto again = selection();
    EXPECT_NO_THROW(again->Font()->SetSizeBi(16));
    EXPECT_NO_THROW(again->TypeText(u"d"));
    const auto paragraph = readDocument(document_)[0];
    ASSERT_EQ(paragraph.text, u"d");
    EXPECT_FLOAT_EQ(paragraph.chars[0].heightComplex, 16.0f);
}

// Screen updating off holds the document's views (its controllers locked); typing goes on.
TEST_F(LibreOfficeBackend, TypingWhileTheScreenDoesNotUpdate) {
    const css::uno::Reference<css::frame::XModel> model(document_, css::uno::UNO_QUERY_THROW);
    word_->SetScreenUpdating(false);
    EXPECT_TRUE(model->hasControllersLocked());
    word_->Selection()->TypeText(u"locked");
    word_->SetScreenUpdating(true);
    EXPECT_FALSE(model->hasControllersLocked());
    EXPECT_EQ(documentText(document_), u"locked");
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
