// The word-processor layer: the operations of Word's object model that both programs use, with
// Word's names and meaning. Programs talk only to these interfaces; each word processor has a
// backend behind them (LibreOffice through UNO; an in-memory recording document for tests; Word
// through COM on Windows).
//
// Conventions
// - Text is UTF-16 (std::u16string), as in Word, Qt and UNO.
// - Property reads are methods named like the property (`Text()`), writes are `SetX(value)`.
// - Objects reached by navigation (ActiveDocument, ActiveWindow, Selection, Font, Range, ...) are
//   returned as owning handles, like the fresh COM references Word hands out; they stay usable
//   as long as the word processor's object behind them exists.
// - Every failure of an operation throws word::Error, and only that. Its reason tells the two
//   states of the word processor that a caller reports apart: busy (Word refuses calls while one
//   of its dialogs is open, and went on refusing them for as long as the backend waits) and a
//   document that cannot be edited (read-only, Protected View, restricted editing).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace word {

// The one error type of the layer.
class Error : public std::runtime_error {
public:
    enum class Reason {
        Other,
        Busy,         // the word processor refuses calls for now (a dialog of it is open)
        NotEditable,  // the document refuses changes
    };
    explicit Error(const std::string& what, Reason reason = Reason::Other)
        : std::runtime_error(what), reason_(reason) {}
    explicit Error(const char* what, Reason reason = Reason::Other) : std::runtime_error(what), reason_(reason) {}
    Reason reason() const { return reason_; }

private:
    Reason reason_;
};

// Word's constants that the programs pass and the backends take.
inline constexpr int wdCharacter = 1;  // units of MoveStart and EndKey
inline constexpr int wdWord = 2;
inline constexpr int wdLine = 5;
inline constexpr int wdStory = 6;
inline constexpr int wdSelectionIP = 1;            // Selection.Type of an insertion point
inline constexpr int wdSelectionNormal = 2;        // ... of a selected stretch of text
inline constexpr int wdAlignParagraphJustify = 3;  // ParagraphFormat.Alignment
inline constexpr int wdPasteDefault = 0;           // recovery types of PasteAndFormat
inline constexpr int wdFormatSurroundingFormattingWithEmphasis = 20;
inline constexpr int wdFormatPlainText = 22;
inline constexpr int msoControlButton = 1;  // CommandBarControls.Add(Type)
inline constexpr int msoControlPopup = 10;

class Font {
public:
    virtual ~Font() = default;
    // Size in points of right-to-left (complex script) text typed from now on.
    virtual void SetSizeBi(float points) = 0;
    // Size in points of text typed from now on.
    virtual void SetSize(float points) = 0;
};

class ParagraphFormat {
public:
    virtual ~ParagraphFormat() = default;
    virtual void SetAlignment(int alignment) = 0;
};

class Range {
public:
    virtual ~Range() = default;
    // Moves the start by `count` units (negative: towards the document start); the end stays.
    // Returns the number of units actually moved.
    virtual int MoveStart(int unit, int count) = 0;
    virtual std::u16string Text() const = 0;
};

class Selection {
public:
    virtual ~Selection() = default;

    virtual std::unique_ptr<word::Font> Font() = 0;
    virtual std::unique_ptr<word::ParagraphFormat> ParagraphFormat() = 0;
    virtual std::unique_ptr<word::Range> Range() = 0;

    virtual int Type() const = 0;  // wdSelectionIP for an insertion point
    virtual std::u16string Text() const = 0;
    virtual int MoveStart(int unit, int count) = 0;

    // Types at the insertion point (replacing a non-empty selection) and leaves the point after it.
    virtual void TypeText(std::u16string_view text) = 0;
    virtual void TypeParagraph() = 0;
    // Toggles bold for text typed from now on.
    virtual void BoldRun() = 0;
    virtual void RtlRun() = 0;
    virtual void LtrRun() = 0;
    virtual void RtlPara() = 0;
    virtual void LtrPara() = 0;
    // Inserts the clipboard's content at the insertion point.
    virtual void Paste() = 0;
    virtual void PasteAndFormat(int type) = 0;
    virtual void EndKey(int unit) = 0;
};

class Window {
public:
    virtual ~Window() = default;
    virtual std::unique_ptr<word::Selection> Selection() = 0;
};

class Document {
public:
    virtual ~Document() = default;
    virtual std::unique_ptr<word::Window> ActiveWindow() = 0;
};

class Documents {
public:
    virtual ~Documents() = default;
    virtual int Count() const = 0;
};

class CommandBarControls;

class CommandBarControl {
public:
    virtual ~CommandBarControl() = default;
    virtual std::u16string Caption() const = 0;
    virtual void SetCaption(std::u16string_view caption) = 0;  // "&" marks the accelerator
    virtual void SetTooltipText(std::u16string_view text) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetOnAction(std::u16string_view action) = 0;
    virtual void SetTag(std::u16string_view tag) = 0;
    virtual void Delete() = 0;
    // The controls of a pop-up; throws on a button.
    virtual CommandBarControls& Controls() = 0;
    // Binds the control's click event to a handler (Word: a WithEvents button variable).
    virtual void OnClick(std::function<void()> handler) = 0;
};

class CommandBarControls {
public:
    virtual ~CommandBarControls() = default;
    // Type: msoControlButton or msoControlPopup. Temporary controls vanish when the office ends.
    virtual std::shared_ptr<CommandBarControl> Add(int type, std::optional<bool> temporary = {}) = 0;
    // The control whose caption, without its accelerator mark, is `caption`; throws if none.
    virtual std::shared_ptr<CommandBarControl> Item(std::u16string_view caption) = 0;
};

class CommandBar {
public:
    virtual ~CommandBar() = default;
    virtual CommandBarControls& Controls() = 0;
};

class CommandBars {
public:
    virtual ~CommandBars() = default;
    virtual CommandBar& ActiveMenuBar() = 0;
};

// Word's Application object; Word's Global object offers the same members.
class Application {
public:
    virtual ~Application() = default;
    virtual std::unique_ptr<word::Document> ActiveDocument() = 0;
    virtual word::Documents& Documents() = 0;
    virtual std::unique_ptr<word::Selection> Selection() = 0;
    virtual void SetScreenUpdating(bool on) = 0;
    virtual word::CommandBars& CommandBars() = 0;
};

using Global = Application;

}  // namespace word
