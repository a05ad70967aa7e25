// The recording backend: an in-memory document that applies the word processor's operations with
// Word's semantics and records every call in order, for tests.
//
//   auto word = std::make_shared<word::recording::Recorder>();
//   ... hand `word` (a word::Application) to the code under test ...
//   EXPECT_EQ(word->edits(), (std::vector<std::u16string>{u"SizeBi 16", u"TypeText [", ...}));
//   EXPECT_EQ(word->document().text(), u"[...] ...");
//
// The document is a flat text of characters, paragraphs separated by u'\r' (Word's paragraph
// mark), each character with its format; the selection is a start and an end in that text.
// Word's semantics:
//   - typing replaces a non-empty selection and leaves an insertion point after the text;
//   - text typed gets the insertion point's format: set explicitly (BoldRun toggles bold,
//     Font.SizeBi / Font.Size set sizes, RtlRun / LtrRun the run direction) or else the format of
//     the character before the point (after it at the start of a paragraph); moving the
//     selection forgets what was set explicitly;
//   - sizes outside 1..1638 points are refused (word::Error);
//   - Selection.Text of an insertion point is the character after it ("\r" at the end);
//   - MoveStart(wdWord, -n) counts Word's words (word::moveStartBackByWords) on the paragraph
//     text before the end of the selection or range;
//   - EndKey(wdLine) goes to the end of the paragraph (the document has no line layout).
//   - a paste inserts the clipboard's pieces (glyphs of SYMBOL fields with their font and size)
//     and leaves an insertion point after them;
// Tests can make calls fail (the N-th call from now, or the N-th call of one operation), close
// the document, make it refuse changes or "stop" the word processor, and set what Paste /
// PasteAndFormat insert.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "word/rtf/rich_text.h"
#include "word/word.h"

namespace word::recording {

struct Format {
    bool bold = false;
    float sizeBi = 12;  // points, right-to-left (complex script) text
    float size = 12;    // points, other text
    bool rightToLeftRun = false;
    std::u16string font;  // empty: the document's default font
    bool operator==(const Format&) const = default;
};

struct Char {
    char16_t ch;
    Format format;
};

struct ParagraphProps {
    bool rightToLeft = false;
    int alignment = 0;  // Word's wdAlignParagraph... value
    bool operator==(const ParagraphProps&) const = default;
};

// Consecutive characters with the same format.
struct Run {
    std::u16string text;
    Format format;
};

class RecordedDocument {
public:
    // The whole text; paragraphs separated by u'\r'.
    std::u16string text() const;
    std::u16string text(std::size_t start, std::size_t end) const;
    std::vector<Run> runs() const;
    const std::vector<Char>& chars() const { return chars_; }
    // One entry per paragraph (the number of paragraph marks plus one).
    const std::vector<ParagraphProps>& paragraphs() const { return paragraphs_; }
    std::size_t selectionStart() const { return selStart_; }
    std::size_t selectionEnd() const { return selEnd_; }

    // Test set-up: replaces the content (u'\r' separates paragraphs) and puts the insertion point
    // at `insertionPoint` (npos: the end).
    void setContent(std::u16string_view text, Format format = {}, std::size_t insertionPoint = std::u16string::npos);

private:
    friend class State;
    std::vector<Char> chars_;
    std::vector<ParagraphProps> paragraphs_{ParagraphProps{}};
    std::size_t selStart_ = 0;
    std::size_t selEnd_ = 0;
};

struct Call {
    std::string operation;    // e.g. "TypeText", "Font.SizeBi", "Range.MoveStart"
    std::u16string argument;  // e.g. the text typed, "16", "2 -1"
    bool failed = false;
    // "TypeText [" / "SizeBi 16" / "BoldRun"; failed calls end in " !".
    std::u16string describe() const;
};

// What Paste (type -1) and PasteAndFormat(type) insert; may throw word::Error to fail the call.
using PasteSource = std::function<std::u16string(int type)>;
// What Paste and PasteAndFormat insert as pieces read from the clipboard (Rich Text or Unicode
// text): each piece takes the insertion point's format with its own font and size (the size sets
// both Size and SizeBi); may throw word::Error.
using PastePiecesSource = std::function<std::vector<word::rtf::PastePiece>(int type)>;

class State;
class RecordingControl;

class Recorder : public word::Application {
public:
    explicit Recorder(Format defaultFormat = {});
    ~Recorder() override;

    // word::Application
    std::unique_ptr<word::Document> ActiveDocument() override;
    word::Documents& Documents() override;
    std::unique_ptr<word::Selection> Selection() override;
    void SetScreenUpdating(bool on) override;
    word::CommandBars& CommandBars() override;

    // Inspection
    const RecordedDocument& document() const;
    RecordedDocument& document();
    const std::vector<Call>& calls() const;
    // Every call, described.
    std::vector<std::u16string> log() const;
    // The calls without the navigation to the selection (ActiveDocument, ActiveWindow, Selection,
    // Font, ParagraphFormat, Range, Documents, CommandBars).
    std::vector<std::u16string> edits() const;
    void clearLog();
    bool screenUpdating() const;
    bool documentOpen() const;
    // The menu bar's controls (for tests of menus); click a control with RecordingControl::click.
    std::vector<std::shared_ptr<RecordingControl>> menuBarControls() const;

    // Failure injection
    // The n-th call from now on (1: the next one) fails with word::Error and has no effect.
    void failAtCall(std::size_t n);
    // The `occurrence`-th call of `operation` (as in Call::operation) from now on fails, for
    // `reason`.
    void failOn(std::string_view operation, int occurrence = 1,
                word::Error::Reason reason = word::Error::Reason::Other);
    void clearFailures();
    // false: every call fails, like a word processor that is not running.
    void setRunning(bool running);
    // false: the documents refuse changes (read-only, Protected View, restricted editing): every
    // call that changes the text or its formatting fails with the reason NotEditable and has no
    // effect; reading and moving the selection still work. Holds for documents opened later too.
    void setEditable(bool editable);
    // No document open: ActiveDocument fails, Documents.Count is 0.
    void closeDocument();
    // Opens a new, empty document (the old content is gone).
    void newDocument();

    void setPasteSource(PasteSource source);
    void setPastePiecesSource(PastePiecesSource source);

private:
    std::shared_ptr<State> state_;
    std::unique_ptr<word::Documents> documents_;
    std::unique_ptr<word::CommandBars> commandBars_;
};

// A menu control of the recording backend's command bars.
class RecordingControl : public word::CommandBarControl {
public:
    RecordingControl(std::shared_ptr<State> state, int type, bool temporary);
    std::u16string Caption() const override;
    void SetCaption(std::u16string_view caption) override;
    void SetTooltipText(std::u16string_view text) override;
    void SetVisible(bool visible) override;
    void SetOnAction(std::u16string_view action) override;
    void SetTag(std::u16string_view tag) override;
    void Delete() override;
    word::CommandBarControls& Controls() override;
    void OnClick(std::function<void()> handler) override;

    int type() const { return type_; }
    bool temporary() const { return temporary_; }
    bool visible() const { return visible_; }
    bool deleted() const { return deleted_; }
    const std::u16string& tooltipText() const { return tooltip_; }
    const std::u16string& onAction() const { return onAction_; }
    const std::u16string& tag() const { return tag_; }
    // The pop-up's controls (empty for a button).
    std::vector<std::shared_ptr<RecordingControl>> children() const;
    // Runs the click handler, as a user's click would.
    void click();

private:
    friend class RecordingControls;
    std::shared_ptr<State> state_;
    int type_;
    bool temporary_;
    std::u16string caption_, tooltip_, onAction_, tag_;
    bool visible_ = true;
    bool deleted_ = false;
    std::function<void()> handler_;
    std::shared_ptr<class RecordingControls> controls_;  // pop-ups only
    std::weak_ptr<class RecordingControls> parent_;
};

}  // namespace word::recording
