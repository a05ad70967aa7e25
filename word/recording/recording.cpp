#include "word/recording/recording.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "word/word_units.h"

namespace word::recording {

namespace {

constexpr char16_t kParagraphMark = u'\r';

std::u16string ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

std::u16string number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return ascii(buffer);
}

std::u16string withoutAccelerator(std::u16string_view caption) {
    std::u16string result;
    for (char16_t ch : caption)
        if (ch != u'&') result += ch;
    return result;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The document

std::u16string RecordedDocument::text() const { return text(0, chars_.size()); }

std::u16string RecordedDocument::text(std::size_t start, std::size_t end) const {
    std::u16string result;
    end = std::min(end, chars_.size());
    for (std::size_t i = start; i < end; ++i) result += chars_[i].ch;
    return result;
}

std::vector<Run> RecordedDocument::runs() const {
    std::vector<Run> result;
    for (const Char& c : chars_) {
        if (result.empty() || !(result.back().format == c.format)) result.push_back(Run{{}, c.format});
        result.back().text += c.ch;
    }
    return result;
}

void RecordedDocument::setContent(std::u16string_view text, Format format, std::size_t insertionPoint) {
    chars_.clear();
    paragraphs_.assign(1, ParagraphProps{});
    for (char16_t ch : text) {
        chars_.push_back(Char{ch, format});
        if (ch == kParagraphMark) paragraphs_.push_back(ParagraphProps{});
    }
    selStart_ = selEnd_ = std::min(insertionPoint, chars_.size());
}

// ---------------------------------------------------------------------------------------------
// The shared state behind every handle

class RecordingControls;

class State {
public:
    explicit State(Format defaultFormat) : defaultFormat(defaultFormat) {}

    RecordedDocument doc;
    Format defaultFormat;
    std::optional<Format> pending;  // the insertion point's explicitly set format
    std::vector<Call> calls;
    std::optional<std::size_t> failAt;  // calls to go until the one that is to fail (1: the next)
    struct Rule {
        std::string operation;
        int remaining;
        word::Error::Reason reason;
    };
    std::vector<Rule> rules;
    bool running = true;
    bool documentOpen = true;
    bool editable = true;
    bool screenUpdating = true;
    PasteSource pasteSource;
    PastePiecesSource pastePiecesSource;
    std::shared_ptr<RecordingControls> menuBar;

    // Records a call; throws word::Error when it is to fail (it then has no effect).
    void call(std::string operation, std::u16string argument = {}, bool needsDocument = true) {
        calls.push_back(Call{std::move(operation), std::move(argument), false});
        const Call& current = calls.back();
        if (!running) fail("the word processor is not running");
        if (failAt && --*failAt == 0) {
            failAt.reset();
            fail("injected failure of " + current.operation);
        }
        for (auto rule = rules.begin(); rule != rules.end(); ++rule) {
            if (rule->operation == current.operation && --rule->remaining == 0) {
                const auto reason = rule->reason;
                rules.erase(rule);
                fail("injected failure of " + current.operation, reason);
            }
        }
        if (needsDocument && !documentOpen) fail("no document is open");
    }

    // Records a call that changes the document or its formatting: refused by a document that
    // cannot be edited.
    void edit(std::string operation, std::u16string argument = {}) {
        call(std::move(operation), std::move(argument));
        if (!editable) fail("the document cannot be edited", word::Error::Reason::NotEditable);
    }

    // Marks the last recorded call as failed and throws.
    [[noreturn]] void fail(const std::string& message, word::Error::Reason reason = word::Error::Reason::Other) {
        calls.back().failed = true;
        throw word::Error(message, reason);
    }

    std::size_t paragraphStart(std::size_t pos) const {
        while (pos > 0 && doc.chars_[pos - 1].ch != kParagraphMark) --pos;
        return pos;
    }
    std::size_t paragraphEnd(std::size_t pos) const {
        while (pos < doc.chars_.size() && doc.chars_[pos].ch != kParagraphMark) ++pos;
        return pos;
    }
    std::size_t paragraphIndex(std::size_t pos) const {
        return static_cast<std::size_t>(std::count_if(doc.chars_.begin(),
                                                      doc.chars_.begin() + static_cast<std::ptrdiff_t>(pos),
                                                      [](const Char& c) { return c.ch == kParagraphMark; }));
    }

    // The format that text typed now gets.
    Format formatAtPoint() const {
        if (pending) return *pending;
        const auto& chars = doc.chars_;
        const std::size_t start = doc.selStart_;
        if (doc.selEnd_ > start) return chars[start].format;
        if (start > 0 && chars[start - 1].ch != kParagraphMark) return chars[start - 1].format;
        if (start < chars.size()) return chars[start].format;
        if (start > 0) return chars[start - 1].format;
        return defaultFormat;
    }

    void setSelection(std::size_t start, std::size_t end) {
        doc.selStart_ = start;
        doc.selEnd_ = end;
        pending.reset();
    }

    // Replaces the selection by `text` in `format` and leaves an insertion point after it.
    void replaceSelection(std::u16string_view text, const Format& format) {
        auto& chars = doc.chars_;
        auto& paragraphs = doc.paragraphs_;
        const std::size_t start = doc.selStart_;
        const std::size_t firstParagraph = paragraphIndex(start);
        const std::size_t removedMarks = paragraphIndex(doc.selEnd_) - firstParagraph;
        chars.erase(chars.begin() + static_cast<std::ptrdiff_t>(start),
                    chars.begin() + static_cast<std::ptrdiff_t>(doc.selEnd_));
        paragraphs.erase(paragraphs.begin() + static_cast<std::ptrdiff_t>(firstParagraph + 1),
                         paragraphs.begin() + static_cast<std::ptrdiff_t>(firstParagraph + 1 + removedMarks));
        std::vector<Char> inserted;
        std::size_t newMarks = 0;
        for (char16_t ch : text) {
            inserted.push_back(Char{ch, format});
            if (ch == kParagraphMark) ++newMarks;
        }
        chars.insert(chars.begin() + static_cast<std::ptrdiff_t>(start), inserted.begin(), inserted.end());
        // A new paragraph keeps the properties of the one it was split from.
        paragraphs.insert(paragraphs.begin() + static_cast<std::ptrdiff_t>(firstParagraph + 1), newMarks,
                          paragraphs[firstParagraph]);
        doc.selStart_ = doc.selEnd_ = start + inserted.size();
    }

    void typeText(std::u16string_view text) {
        const Format format = formatAtPoint();
        replaceSelection(text, format);
        if (pending) pending = format;
    }

    // Applies a change to the selected text, or to the insertion point's format.
    template <typename Change>
    void changeFormat(Change change) {
        if (doc.selEnd_ > doc.selStart_) {
            for (std::size_t i = doc.selStart_; i < doc.selEnd_; ++i) change(doc.chars_[i].format);
        } else {
            Format format = formatAtPoint();
            change(format);
            pending = format;
        }
    }

    void setParagraphs(const std::function<void(ParagraphProps&)>& change) {
        const std::size_t first = paragraphIndex(doc.selStart_);
        const std::size_t last = paragraphIndex(doc.selEnd_);
        for (std::size_t i = first; i <= last; ++i) change(doc.paragraphs_[i]);
    }

    static void checkSize(State& state, float points) {
        if (!(points >= 1.0f && points <= 1638.0f)) state.fail("the size must be between 1 and 1638 points");
    }

    // Word's MoveStart on the span [start, end); returns the units moved (negative: backwards).
    int moveStart(std::size_t& start, std::size_t end, int unit, int count) {
        if (unit != wdWord && unit != wdCharacter) fail("unsupported unit for MoveStart");
        if (count > 0) {
            if (unit != wdCharacter) fail("moving the start forward by words is not supported");
            const std::size_t moved = std::min<std::size_t>(static_cast<std::size_t>(count), doc.chars_.size() - start);
            start += moved;
            return static_cast<int>(moved);
        }
        if (count == 0) return 0;
        if (unit == wdCharacter) {
            const std::size_t moved = std::min<std::size_t>(static_cast<std::size_t>(-static_cast<long>(count)), start);
            start -= moved;
            return -static_cast<int>(moved);
        }
        const std::size_t base = paragraphStart(start);
        const std::u16string text = doc.text(base, std::max(end, start));
        const word::WordMove move = word::moveStartBackByWords(text, start - base, -count);
        start = base + move.start;
        return -move.moved;
    }

    void insertPasted(int type) {
        if (!pasteSource && !pastePiecesSource) fail("the clipboard is empty");
        std::vector<word::rtf::PastePiece> pieces;
        try {
            if (pastePiecesSource) pieces = pastePiecesSource(type);
            else pieces.push_back(word::rtf::PastePiece{word::rtf::PastePiece::Kind::Text, pasteSource(type), {}, {}});
        } catch (const word::Error&) {
            calls.back().failed = true;
            throw;
        }
        const Format base = formatAtPoint();
        for (const auto& piece : pieces) {
            Format format = base;
            if (piece.font) format.font = *piece.font;
            if (piece.points) format.size = format.sizeBi = *piece.points;
            const bool isBreak = piece.kind == word::rtf::PastePiece::Kind::ParagraphBreak;
            replaceSelection(isBreak ? std::u16string(1, kParagraphMark) : piece.text, isBreak ? base : format);
        }
        pending.reset();
    }
};

// ---------------------------------------------------------------------------------------------
// Handles

namespace {

class RecFont : public word::Font {
public:
    explicit RecFont(std::shared_ptr<State> state) : state_(std::move(state)) {}
    void SetSizeBi(float points) override {
        state_->edit("SizeBi", number(points));
        State::checkSize(*state_, points);
        state_->changeFormat([&](Format& f) { f.sizeBi = points; });
    }
    void SetSize(float points) override {
        state_->edit("Size", number(points));
        State::checkSize(*state_, points);
        state_->changeFormat([&](Format& f) { f.size = points; });
    }

private:
    std::shared_ptr<State> state_;
};

class RecParagraphFormat : public word::ParagraphFormat {
public:
    explicit RecParagraphFormat(std::shared_ptr<State> state) : state_(std::move(state)) {}
    void SetAlignment(int alignment) override {
        state_->edit("Alignment", number(alignment));
        if (alignment < 0 || alignment > 9) state_->fail("no such paragraph alignment");
        state_->setParagraphs([&](ParagraphProps& p) { p.alignment = alignment; });
    }

private:
    std::shared_ptr<State> state_;
};

class RecRange : public word::Range {
public:
    RecRange(std::shared_ptr<State> state, std::size_t start, std::size_t end)
        : state_(std::move(state)), start_(start), end_(end) {}
    int MoveStart(int unit, int count) override {
        state_->call("Range.MoveStart", number(unit) + u" " + number(count));
        clamp();
        return state_->moveStart(start_, end_, unit, count);
    }
    std::u16string Text() const override {
        state_->call("Range.Text");
        const_cast<RecRange*>(this)->clamp();
        return state_->doc.text(start_, end_);
    }

private:
    void clamp() {
        end_ = std::min(end_, state_->doc.chars().size());
        start_ = std::min(start_, end_);
    }
    std::shared_ptr<State> state_;
    std::size_t start_, end_;
};

class RecSelection : public word::Selection {
public:
    explicit RecSelection(std::shared_ptr<State> state) : state_(std::move(state)) {}

    std::unique_ptr<word::Font> Font() override {
        state_->call("Font");
        return std::make_unique<RecFont>(state_);
    }
    std::unique_ptr<word::ParagraphFormat> ParagraphFormat() override {
        state_->call("ParagraphFormat");
        return std::make_unique<RecParagraphFormat>(state_);
    }
    std::unique_ptr<word::Range> Range() override {
        state_->call("Range");
        return std::make_unique<RecRange>(state_, doc().selectionStart(), doc().selectionEnd());
    }
    int Type() const override {
        state_->call("Type");
        return doc().selectionStart() == doc().selectionEnd() ? word::wdSelectionIP : wdSelectionNormal;
    }
    std::u16string Text() const override {
        state_->call("Text");
        const auto& d = doc();
        if (d.selectionStart() == d.selectionEnd())
            return d.selectionStart() < d.chars().size() ? std::u16string(1, d.chars()[d.selectionStart()].ch)
                                                         : std::u16string(1, kParagraphMark);
        return d.text(d.selectionStart(), d.selectionEnd());
    }
    int MoveStart(int unit, int count) override {
        state_->call("MoveStart", number(unit) + u" " + number(count));
        std::size_t start = doc().selectionStart();
        const int moved = state_->moveStart(start, doc().selectionEnd(), unit, count);
        state_->setSelection(start, std::max(start, doc().selectionEnd()));
        return moved;
    }
    void TypeText(std::u16string_view text) override {
        state_->edit("TypeText", std::u16string(text));
        state_->typeText(text);
    }
    void TypeParagraph() override {
        state_->edit("TypeParagraph");
        state_->typeText(std::u16string(1, kParagraphMark));
    }
    void BoldRun() override {
        state_->edit("BoldRun");
        auto& d = doc();
        if (d.selectionEnd() > d.selectionStart()) {
            const bool allBold = std::all_of(d.chars().begin() + static_cast<std::ptrdiff_t>(d.selectionStart()),
                                             d.chars().begin() + static_cast<std::ptrdiff_t>(d.selectionEnd()),
                                             [](const Char& c) { return c.format.bold; });
            state_->changeFormat([&](Format& f) { f.bold = !allBold; });
        } else {
            state_->changeFormat([](Format& f) { f.bold = !f.bold; });
        }
    }
    void RtlRun() override {
        state_->edit("RtlRun");
        state_->changeFormat([](Format& f) { f.rightToLeftRun = true; });
    }
    void LtrRun() override {
        state_->edit("LtrRun");
        state_->changeFormat([](Format& f) { f.rightToLeftRun = false; });
    }
    void RtlPara() override {
        state_->edit("RtlPara");
        state_->setParagraphs([](ParagraphProps& p) { p.rightToLeft = true; });
    }
    void LtrPara() override {
        state_->edit("LtrPara");
        state_->setParagraphs([](ParagraphProps& p) { p.rightToLeft = false; });
    }
    void Paste() override {
        state_->edit("Paste");
        state_->insertPasted(-1);
    }
    void PasteAndFormat(int type) override {
        state_->edit("PasteAndFormat", number(type));
        state_->insertPasted(type);
    }
    void EndKey(int unit) override {
        state_->call("EndKey", number(unit));
        std::size_t end;
        if (unit == word::wdLine) end = state_->paragraphEnd(doc().selectionEnd());
        else if (unit == wdStory) end = doc().chars().size();
        else state_->fail("unsupported unit for EndKey");
        state_->setSelection(end, end);
    }

private:
    RecordedDocument& doc() const { return state_->doc; }
    std::shared_ptr<State> state_;
};

class RecWindow : public word::Window {
public:
    explicit RecWindow(std::shared_ptr<State> state) : state_(std::move(state)) {}
    std::unique_ptr<word::Selection> Selection() override {
        state_->call("Selection");
        return std::make_unique<RecSelection>(state_);
    }

private:
    std::shared_ptr<State> state_;
};

class RecDocument : public word::Document {
public:
    explicit RecDocument(std::shared_ptr<State> state) : state_(std::move(state)) {}
    std::unique_ptr<word::Window> ActiveWindow() override {
        state_->call("ActiveWindow");
        return std::make_unique<RecWindow>(state_);
    }

private:
    std::shared_ptr<State> state_;
};

class RecDocuments : public word::Documents {
public:
    explicit RecDocuments(std::shared_ptr<State> state) : state_(std::move(state)) {}
    int Count() const override {
        state_->call("Documents.Count", {}, false);
        return state_->documentOpen ? 1 : 0;
    }

private:
    std::shared_ptr<State> state_;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Command bars

class RecordingControls : public word::CommandBarControls {
public:
    explicit RecordingControls(std::shared_ptr<State> state) : state_(std::move(state)) {}

    std::shared_ptr<word::CommandBarControl> Add(int type, std::optional<bool> temporary) override {
        state_->call("Controls.Add", number(type), false);
        if (type != word::msoControlButton && type != word::msoControlPopup) state_->fail("unsupported control type");
        auto control = std::make_shared<RecordingControl>(state_, type, temporary.value_or(false));
        control->parent_ = self_;
        controls_.push_back(control);
        return control;
    }
    std::shared_ptr<word::CommandBarControl> Item(std::u16string_view caption) override {
        state_->call("Controls.Item", std::u16string(caption), false);
        for (const auto& control : controls_)
            if (withoutAccelerator(control->caption_) == withoutAccelerator(caption)) return control;
        state_->fail("no such control");
    }
    void remove(const RecordingControl* control) {
        std::erase_if(controls_, [&](const auto& c) { return c.get() == control; });
    }
    const std::vector<std::shared_ptr<RecordingControl>>& controls() const { return controls_; }

    std::weak_ptr<RecordingControls> self_;

private:
    std::shared_ptr<State> state_;
    std::vector<std::shared_ptr<RecordingControl>> controls_;
};

namespace {

std::shared_ptr<RecordingControls> makeControls(const std::shared_ptr<State>& state) {
    auto controls = std::make_shared<RecordingControls>(state);
    controls->self_ = controls;
    return controls;
}

class RecCommandBar : public word::CommandBar {
public:
    explicit RecCommandBar(std::shared_ptr<RecordingControls> controls) : controls_(std::move(controls)) {}
    word::CommandBarControls& Controls() override { return *controls_; }

private:
    std::shared_ptr<RecordingControls> controls_;
};

class RecCommandBars : public word::CommandBars {
public:
    RecCommandBars(std::shared_ptr<State> state, std::shared_ptr<RecordingControls> menuBar)
        : state_(std::move(state)), menuBar_(std::move(menuBar)) {}
    word::CommandBar& ActiveMenuBar() override {
        state_->call("CommandBars.ActiveMenuBar", {}, false);
        return menuBar_;
    }

private:
    std::shared_ptr<State> state_;
    RecCommandBar menuBar_;
};

}  // namespace

RecordingControl::RecordingControl(std::shared_ptr<State> state, int type, bool temporary)
    : state_(std::move(state)), type_(type), temporary_(temporary) {
    if (type_ == word::msoControlPopup) controls_ = makeControls(state_);
}

std::u16string RecordingControl::Caption() const {
    state_->call("Control.Caption", {}, false);
    return caption_;
}
void RecordingControl::SetCaption(std::u16string_view caption) {
    state_->call("Control.SetCaption", std::u16string(caption), false);
    caption_ = caption;
}
void RecordingControl::SetTooltipText(std::u16string_view text) {
    state_->call("Control.SetTooltipText", std::u16string(text), false);
    tooltip_ = text;
}
void RecordingControl::SetVisible(bool visible) {
    state_->call("Control.SetVisible", visible ? u"True" : u"False", false);
    visible_ = visible;
}
void RecordingControl::SetOnAction(std::u16string_view action) {
    state_->call("Control.SetOnAction", std::u16string(action), false);
    onAction_ = action;
}
void RecordingControl::SetTag(std::u16string_view tag) {
    state_->call("Control.SetTag", std::u16string(tag), false);
    tag_ = tag;
}
void RecordingControl::Delete() {
    state_->call("Control.Delete", caption_, false);
    deleted_ = true;
    if (auto parent = parent_.lock()) parent->remove(this);
}
word::CommandBarControls& RecordingControl::Controls() {
    state_->call("Control.Controls", {}, false);
    if (!controls_) state_->fail("a button has no controls");
    return *controls_;
}
void RecordingControl::OnClick(std::function<void()> handler) {
    state_->call("Control.OnClick", caption_, false);
    handler_ = std::move(handler);
}
std::vector<std::shared_ptr<RecordingControl>> RecordingControl::children() const {
    return controls_ ? controls_->controls() : std::vector<std::shared_ptr<RecordingControl>>{};
}
void RecordingControl::click() {
    if (handler_) handler_();
}

// ---------------------------------------------------------------------------------------------
// The application

std::u16string Call::describe() const {
    std::u16string text = ascii(operation);
    if (!argument.empty()) text += u" " + argument;
    if (failed) text += u" !";
    return text;
}

Recorder::Recorder(Format defaultFormat) : state_(std::make_shared<State>(defaultFormat)) {
    state_->menuBar = makeControls(state_);
}

// The menu bar's controls hold the state too: the recorder lets go of them so that the state goes
// away with the last handle.
Recorder::~Recorder() { state_->menuBar.reset(); }

std::unique_ptr<word::Document> Recorder::ActiveDocument() {
    state_->call("ActiveDocument");
    return std::make_unique<RecDocument>(state_);
}

word::Documents& Recorder::Documents() {
    state_->call("Documents", {}, false);
    if (!documents_) documents_ = std::make_unique<RecDocuments>(state_);
    return *documents_;
}

std::unique_ptr<word::Selection> Recorder::Selection() {
    state_->call("Selection");
    return std::make_unique<RecSelection>(state_);
}

void Recorder::SetScreenUpdating(bool on) {
    state_->call("ScreenUpdating", on ? u"True" : u"False", false);
    state_->screenUpdating = on;
}

word::CommandBars& Recorder::CommandBars() {
    state_->call("CommandBars", {}, false);
    if (!commandBars_) commandBars_ = std::make_unique<RecCommandBars>(state_, state_->menuBar);
    return *commandBars_;
}

const RecordedDocument& Recorder::document() const { return state_->doc; }
RecordedDocument& Recorder::document() { return state_->doc; }
const std::vector<Call>& Recorder::calls() const { return state_->calls; }

std::vector<std::u16string> Recorder::log() const {
    std::vector<std::u16string> result;
    for (const Call& call : state_->calls) result.push_back(call.describe());
    return result;
}

std::vector<std::u16string> Recorder::edits() const {
    static const std::vector<std::string> navigation = {"ActiveDocument",  "ActiveWindow", "Selection", "Font",
                                                        "ParagraphFormat", "Range",        "Documents", "CommandBars"};
    std::vector<std::u16string> result;
    for (const Call& call : state_->calls)
        if (std::find(navigation.begin(), navigation.end(), call.operation) == navigation.end())
            result.push_back(call.describe());
    return result;
}

void Recorder::clearLog() { state_->calls.clear(); }
bool Recorder::screenUpdating() const { return state_->screenUpdating; }
bool Recorder::documentOpen() const { return state_->documentOpen; }

std::vector<std::shared_ptr<RecordingControl>> Recorder::menuBarControls() const { return state_->menuBar->controls(); }

void Recorder::failAtCall(std::size_t n) {
    if (n == 0) throw std::invalid_argument("calls are counted from 1");
    state_->failAt = n;
}

void Recorder::failOn(std::string_view operation, int occurrence, word::Error::Reason reason) {
    state_->rules.push_back(State::Rule{std::string(operation), occurrence, reason});
}

void Recorder::clearFailures() {
    state_->failAt.reset();
    state_->rules.clear();
}

void Recorder::setRunning(bool running) { state_->running = running; }

void Recorder::setEditable(bool editable) { state_->editable = editable; }

void Recorder::closeDocument() {
    state_->documentOpen = false;
    state_->doc = RecordedDocument{};
    state_->pending.reset();
}

void Recorder::newDocument() {
    state_->documentOpen = true;
    state_->doc = RecordedDocument{};
    state_->pending.reset();
}

void Recorder::setPasteSource(PasteSource source) {
    state_->pasteSource = std::move(source);
    state_->pastePiecesSource = nullptr;
}

void Recorder::setPastePiecesSource(PastePiecesSource source) {
    state_->pastePiecesSource = std::move(source);
    state_->pasteSource = nullptr;
}

}  // namespace word::recording
