// Word's objects over Writer (libreoffice.h): the application, its documents and windows, and the
// Selection, emulated on the view cursor of a Writer view, with the formatting set at an
// insertion point kept for the text typed there next. Reaching the office is connection.cpp's,
// starting it office_start.cpp's.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/WritingMode2.hpp>
#include <com/sun/star/text/XParagraphCursor.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextRangeCompare.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/uno/RuntimeException.hpp>
#include <com/sun/star/uno/Sequence.hxx>
#include <com/sun/star/view/XLineCursor.hpp>
#include <cppuhelper/bootstrap.hxx>

#include "word/libreoffice/command_bars.h"
#include "word/libreoffice/connection.h"
#include "word/libreoffice/libreoffice.h"
#include "word/libreoffice/office_refs.h"
#include "word/libreoffice/paste.h"
#include "word/word_units.h"

namespace word::libreoffice {

namespace css = ::com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

rtl::OUString name(const char* ascii) { return rtl::OUString::createFromAscii(ascii); }

// Runs `action`; any failure (of the office, or of the parts of the layer it calls) becomes
// word::Error naming `operation`.
template <typename Action>
auto guarded(const char* operation, Action&& action) -> decltype(action()) {
    try {
        return action();
    } catch (const word::Error&) {
        throw;
    } catch (const css::uno::Exception& e) {
        throw word::Error(std::string(operation) + ": " + toUtf8(e.Message));
    } catch (const std::exception& e) {
        throw word::Error(std::string(operation) + ": " + e.what());
    } catch (const cppu::BootstrapException& e) {
        throw word::Error(std::string(operation) + ": " + toUtf8(e.getMessage()));
    }
}

// Character formatting set at an insertion point, for the text typed there next.
struct PendingFormat {
    std::optional<float> height, heightAsian, heightComplex;
    std::optional<bool> bold;
    // Where it was set: it holds while the view cursor of `controller` stays at `anchor`.
    Reference<css::frame::XController> controller;
    Reference<css::text::XTextRange> anchor;

    bool empty() const { return !height && !heightAsian && !heightComplex && !bold; }
    void clear() { *this = {}; }

    void apply(const Reference<css::beans::XMultiPropertySet>& target) const {
        std::vector<rtl::OUString> names;
        std::vector<css::uno::Any> values;
        // setPropertyValues wants the names sorted.
        auto add = [&](const char* property, css::uno::Any value) {
            names.push_back(name(property));
            values.push_back(std::move(value));
        };
        if (height) add("CharHeight", css::uno::Any(*height));
        if (heightAsian) add("CharHeightAsian", css::uno::Any(*heightAsian));
        if (heightComplex) add("CharHeightComplex", css::uno::Any(*heightComplex));
        if (bold) {
            const float weight = *bold ? css::awt::FontWeight::BOLD : css::awt::FontWeight::NORMAL;
            add("CharWeight", css::uno::Any(weight));
            add("CharWeightComplex", css::uno::Any(weight));
        }
        std::vector<std::size_t> order(names.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return names[a] < names[b]; });
        css::uno::Sequence<rtl::OUString> sortedNames(static_cast<sal_Int32>(names.size()));
        css::uno::Sequence<css::uno::Any> sortedValues(static_cast<sal_Int32>(names.size()));
        for (std::size_t i = 0; i < order.size(); ++i) {
            sortedNames.getArray()[i] = names[order[i]];
            sortedValues.getArray()[i] = values[order[i]];
        }
        target->setPropertyValues(sortedNames, sortedValues);
    }
};

// What every handle of one application object shares.
struct Session {
    std::unique_ptr<Connection> connection;
    PendingFormat pending;
    // Advances whenever an operation may have moved the insertion point or changed `pending`;
    // a selection that made the last such change knows the point without asking the office.
    std::uint64_t generation = 0;
    Reference<css::frame::XModel> lockedModel;  // controllers locked by ScreenUpdating = false

    // Runs a navigation step on the office; when the connection broke (the office was closed),
    // connects again once and repeats it.
    template <typename Action>
    auto withOffice(const char* operation, Action&& action) -> decltype(action(std::declval<const OfficeRefs&>())) {
        return guarded(operation, [&] {
            try {
                return action(connection->refs());
            } catch (const css::uno::RuntimeException&) {
                if (!connection->remote()) throw;
                connection->reset();
                pending.clear();
                ++generation;
                lockedModel.clear();
                return action(connection->refs());
            }
        });
    }
};

void checkSize(float points) {
    if (!(points >= 1.0f && points <= 1638.0f)) throw word::Error("the size must be between 1 and 1638 points");
}

// A text document and its current view.
struct TextView {
    Reference<css::frame::XModel> model;
    Reference<css::frame::XController> controller;
};

// A text document that still has a view, or nothing (also for a document that is closing).
TextView usableTextModel(const Reference<css::uno::XInterface>& candidate) {
    try {
        Reference<css::text::XTextDocument> document(candidate, UNO_QUERY);
        Reference<css::frame::XModel> model(document, UNO_QUERY);
        if (!model.is()) return {};
        if (auto controller = model->getCurrentController(); controller.is()) return {model, controller};
    } catch (const css::lang::DisposedException&) {
    }
    return {};
}

// The document of the active window, like Word's ActiveDocument. When no window is active (the
// office was just asked for a new document, or another kind of window was last active), the
// current frame, and then any open text document with a view, stands in.
TextView activeTextModel(const OfficeRefs& office) {
    if (auto view = usableTextModel(office.desktop->getCurrentComponent()); view.model.is()) return view;
    if (auto frame = office.desktop->getCurrentFrame(); frame.is())
        if (auto controller = frame->getController(); controller.is())
            if (auto view = usableTextModel(controller->getModel()); view.model.is()) return view;
    auto components = office.desktop->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
        Reference<css::uno::XInterface> component(components->nextElement(), UNO_QUERY);
        if (auto view = usableTextModel(component); view.model.is()) return view;
    }
    throw word::Error("no text document is open");
}

ViewRefs viewOf(const Reference<css::frame::XModel>& model, const Reference<css::frame::XController>& controller) {
    ViewRefs view;
    view.model = model;
    view.controller = controller;
    if (!view.controller.is()) throw word::Error("the document has no window");
    Reference<css::text::XTextViewCursorSupplier> supplier(view.controller, UNO_QUERY_THROW);
    view.viewCursor = supplier->getViewCursor();
    if (!view.viewCursor.is()) throw word::Error("the document has no insertion point");
    return view;
}

std::u16string wordText(std::u16string text) {
    // Word shows paragraph marks as '\r'.
    std::replace(text.begin(), text.end(), u'\n', u'\r');
    std::replace(text.begin(), text.end(), char16_t(0x2029), u'\r');
    return text;
}

// Moves the start of [start, end) back by `count` Word words within the paragraph of `start`;
// `cursor` ends up spanning the new start to `end`. Returns the (negative) number moved.
int moveStartBack(const Reference<css::text::XText>& text, const Reference<css::text::XTextCursor>& cursor,
                  const Reference<css::text::XTextRange>& end, int count) {
    Reference<css::text::XTextCursor> before = text->createTextCursorByRange(cursor->getStart());
    Reference<css::text::XParagraphCursor>(before, UNO_QUERY_THROW)->gotoStartOfParagraph(true);
    const std::u16string prefix = fromOUString(before->getString());
    const word::WordMove move = word::moveStartBackByWords(prefix, prefix.size(), count);
    before->collapseToStart();
    if (move.start > 0) before->goRight(static_cast<sal_Int16>(move.start), false);
    cursor->gotoRange(before->getStart(), false);
    cursor->gotoRange(end, true);
    return -move.moved;
}

// ---------------------------------------------------------------------------------------------
// Handles

class LoFont : public word::Font {
public:
    LoFont(std::shared_ptr<Session> session, std::shared_ptr<class LoSelection> selection)
        : session_(std::move(session)), selection_(std::move(selection)) {}
    void SetSizeBi(float points) override;
    void SetSize(float points) override;

private:
    std::shared_ptr<Session> session_;
    std::shared_ptr<LoSelection> selection_;
};

class LoParagraphFormat : public word::ParagraphFormat {
public:
    explicit LoParagraphFormat(Reference<css::text::XTextViewCursor> cursor) : cursor_(std::move(cursor)) {}
    void SetAlignment(int alignment) override {
        css::style::ParagraphAdjust adjust;
        switch (alignment) {
            case 0: adjust = css::style::ParagraphAdjust_LEFT; break;
            case 1: adjust = css::style::ParagraphAdjust_CENTER; break;
            case 2: adjust = css::style::ParagraphAdjust_RIGHT; break;
            case 3:
            case 4:
            case 5:
            case 7:
            case 8:
            case 9: adjust = css::style::ParagraphAdjust_BLOCK; break;
            default: throw word::Error("no such paragraph alignment: " + std::to_string(alignment));
        }
        guarded("ParagraphFormat.Alignment", [&] {
            Reference<css::beans::XPropertySet>(cursor_, UNO_QUERY_THROW)
                ->setPropertyValue(name("ParaAdjust"), css::uno::Any(static_cast<sal_Int16>(adjust)));
        });
    }

private:
    Reference<css::text::XTextViewCursor> cursor_;
};

class LoRange : public word::Range {
public:
    LoRange(Reference<css::text::XText> text, Reference<css::text::XTextCursor> cursor)
        : text_(std::move(text)), cursor_(std::move(cursor)) {}
    int MoveStart(int unit, int count) override {
        return guarded("Range.MoveStart", [&] {
            if (unit == word::wdCharacter) {
                if (count < 0) {
                    auto end = cursor_->getEnd();
                    cursor_->collapseToStart();
                    const bool moved = cursor_->goLeft(static_cast<sal_Int16>(-count), false);
                    cursor_->gotoRange(end, true);
                    return moved ? count : 0;
                }
                throw word::Error("moving the start forward is not supported");
            }
            if (unit != word::wdWord) throw word::Error("unsupported unit for MoveStart");
            if (count > 0) throw word::Error("moving the start forward is not supported");
            if (count == 0) return 0;
            return moveStartBack(text_, cursor_, cursor_->getEnd(), -count);
        });
    }
    std::u16string Text() const override {
        return guarded("Range.Text", [&] { return wordText(fromOUString(cursor_->getString())); });
    }

private:
    Reference<css::text::XText> text_;
    Reference<css::text::XTextCursor> cursor_;
};

class LoSelection : public word::Selection, public std::enable_shared_from_this<LoSelection> {
public:
    LoSelection(std::shared_ptr<Session> session, ViewRefs view)
        : session_(std::move(session)), view_(std::move(view)) {}
    ~LoSelection() override {
        if (!heldModel_.is()) return;
        try {
            heldModel_->unlockControllers();
        } catch (...) {
            // the office went away meanwhile: nothing left to show
        }
    }
    LoSelection(const LoSelection&) = delete;
    LoSelection& operator=(const LoSelection&) = delete;

    std::unique_ptr<word::Font> Font() override { return std::make_unique<LoFont>(session_, shared_from_this()); }
    std::unique_ptr<word::ParagraphFormat> ParagraphFormat() override {
        return std::make_unique<LoParagraphFormat>(view_.viewCursor);
    }
    std::unique_ptr<word::Range> Range() override {
        return guarded("Selection.Range", [&] {
            auto cursor = text()->createTextCursorByRange(range());
            return std::make_unique<LoRange>(text(), cursor);
        });
    }
    int Type() const override {
        return guarded("Selection.Type",
                       [&] { return cursor()->isCollapsed() ? word::wdSelectionIP : word::wdSelectionNormal; });
    }
    std::u16string Text() const override {
        return guarded("Selection.Text", [&] {
            std::u16string selected = fromOUString(cursor()->getString());
            if (!selected.empty() || !cursor()->isCollapsed()) return wordText(std::move(selected));
            // An insertion point reads the character after it; at the end, the final paragraph mark.
            auto after = const_cast<LoSelection*>(this)->text()->createTextCursorByRange(cursor()->getStart());
            if (!after->goRight(1, true)) return std::u16string(u"\r");
            return wordText(fromOUString(after->getString()));
        });
    }
    int MoveStart(int unit, int count) override {
        return guarded("Selection.MoveStart", [&] {
            begin();
            if (unit != word::wdWord && unit != word::wdCharacter) throw word::Error("unsupported unit for MoveStart");
            if (count > 0) throw word::Error("moving the start forward is not supported");
            if (count == 0) return 0;
            auto end = cursor()->getEnd();
            auto span = text()->createTextCursorByRange(range());
            int moved;
            if (unit == word::wdCharacter) {
                span->collapseToStart();
                moved = span->goLeft(static_cast<sal_Int16>(-count), false) ? count : 0;
            } else {
                moved = moveStartBack(text(), span, end, -count);
            }
            cursor()->gotoRange(span->getStart(), false);
            cursor()->gotoRange(end, true);
            return moved;
        });
    }
    void TypeText(std::u16string_view typed) override {
        guarded("Selection.TypeText", [&] {
            holdView();
            const bool known = begin();
            PendingFormat& pending = validPending(known);
            if (formatsAtPoint(known, pending)) {
                // The formatting now set on the point applies to the text: insert only.
                text()->insertString(range(), toOUString(typed), false);
                settle(true);
                return;
            }
            text()->insertString(range(), toOUString(typed), true);
            finishInsert(pending);
            settle();
        });
    }
    void TypeParagraph() override {
        guarded("Selection.TypeParagraph", [&] {
            holdView();
            PendingFormat& pending = validPending(begin());
            text()->insertControlCharacter(range(), css::text::ControlCharacter::PARAGRAPH_BREAK, true);
            cursor()->collapseToEnd();
            if (!pending.empty()) remember(pending);
            settle();
        });
    }
    void BoldRun() override {
        guarded("Selection.BoldRun", [&] {
            const bool known = begin();
            PendingFormat& pending = validPending(known);
            if (pending.bold) {
                pending.bold = !*pending.bold;
                if (!known) remember(pending);  // else the point is still at the anchor
                settle(atParagraphEnd_);        // the point has not moved
                return;
            }
            const bool bold = known && boldAtPoint_ ? *boldAtPoint_ : readBold();
            if (!(known && atParagraphEnd_) && !cursor()->isCollapsed()) {
                PendingFormat change;
                change.bold = !bold;
                change.apply(selectedText());
                return;
            }
            pending.bold = !bold;
            remember(pending);
            settle(atParagraphEnd_);
        });
    }
    // Writer takes the direction of a run from its characters.
    void RtlRun() override {}
    void LtrRun() override {}
    void RtlPara() override { setWritingMode(css::text::WritingMode2::RL_TB); }
    void LtrPara() override { setWritingMode(css::text::WritingMode2::LR_TB); }
    void Paste() override {
        guarded("Selection.Paste", [&] {
            holdView();
            begin();
            paste(session_->connection->refs(), withFrame());
        });
    }
    void PasteAndFormat(int type) override {
        guarded("Selection.PasteAndFormat", [&] {
            holdView();
            begin();
            pasteAndFormat(session_->connection->refs(), withFrame(), type);
        });
    }
    void EndKey(int unit) override {
        guarded("Selection.EndKey", [&] {
            begin();
            if (unit == word::wdLine)
                Reference<css::view::XLineCursor>(cursor(), UNO_QUERY_THROW)->gotoEndOfLine(false);
            else if (unit == word::wdStory) cursor()->gotoEnd(false);
            else throw word::Error("unsupported unit for EndKey");
        });
    }

    // Sets character heights for the text typed next (or on the selected text).
    void setHeights(std::optional<float> western, std::optional<float> asian, std::optional<float> complex) {
        guarded("Font", [&] {
            const bool known = begin();
            PendingFormat& pending = validPending(known);
            // Formatting is pending only at an insertion point: with some pending and the point
            // known, it is still that point.
            const bool atAnchor = known && !pending.empty();
            if (!atAnchor && !(known && atParagraphEnd_) && !cursor()->isCollapsed()) {
                PendingFormat change;
                change.height = western;
                change.heightAsian = asian;
                change.heightComplex = complex;
                change.apply(selectedText());
                return;
            }
            if (western) pending.height = western;
            if (asian) pending.heightAsian = asian;
            if (complex) pending.heightComplex = complex;
            if (!atAnchor) remember(pending);
            settle(atParagraphEnd_);
        });
    }

private:
    const Reference<css::text::XTextViewCursor>& cursor() const { return view_.viewCursor; }
    Reference<css::text::XTextRange> range() const { return Reference<css::text::XTextRange>(view_.viewCursor.get()); }

    const Reference<css::text::XText>& text() {
        if (!text_.is()) text_ = cursor()->getText();
        return text_;
    }

    // While a selection types, its document's views wait: they are laid out and drawn once, when
    // the selection is released, instead of after every call (which costs most of the time of a
    // send over a pipe).
    void holdView() {
        if (heldModel_.is() || !view_.model.is()) return;
        refuseIfReadOnly();
        view_.model->lockControllers();
        heldModel_ = view_.model;
    }

    // Starts an operation that may move the insertion point: true when the point is where this
    // selection's last operation left it (nothing else has moved it or changed the pending
    // formatting since). Until settle(), the point counts as unknown to every selection.
    bool begin() {
        const bool known = known_ == session_->generation;
        ++session_->generation;
        known_ = kUnknown;
        if (!known) atParagraphEnd_ = false, boldAtPoint_.reset();
        return known;
    }
    // Ends an operation that left the point and the pending formatting as this selection knows
    // them; `atParagraphEnd`: the point is an insertion point at the end of its paragraph.
    void settle(bool atParagraphEnd = false) {
        known_ = session_->generation;
        atParagraphEnd_ = atParagraphEnd;
        if (!atParagraphEnd) boldAtPoint_.reset();
    }

    // Before typing at the end of a paragraph, the pending formatting is set on the insertion
    // point itself: the office then gives it to the inserted text, and to text typed there
    // after it, with no further formatting call. Strictly inside a word the office would format
    // the whole word instead, so elsewhere the typed text is formatted exactly (finishInsert).
    // True when the point is at a paragraph end and the pending formatting has moved onto it.
    bool formatsAtPoint(bool known, PendingFormat& pending) {
        if (known) {
            if (!atParagraphEnd_) return false;
        } else {
            if (!cursor()->isCollapsed()) return false;
            Reference<css::text::XParagraphCursor> probe(text()->createTextCursorByRange(range()), UNO_QUERY_THROW);
            if (!probe->isEndOfParagraph()) return false;
        }
        if (!pending.empty()) {
            applyToPoint(pending);
            if (pending.bold) boldAtPoint_ = pending.bold;
            pending.clear();
        }
        return true;
    }

    // Sets formatting on the insertion point (one property at a time: that is all it takes).
    void applyToPoint(const PendingFormat& format) {
        if (!cursorProperties_.is()) cursorProperties_.set(cursor(), UNO_QUERY_THROW);
        const auto set = [&](const char* property, css::uno::Any value) {
            cursorProperties_->setPropertyValue(name(property), value);
        };
        if (format.height) set("CharHeight", css::uno::Any(*format.height));
        if (format.heightAsian) set("CharHeightAsian", css::uno::Any(*format.heightAsian));
        if (format.heightComplex) set("CharHeightComplex", css::uno::Any(*format.heightComplex));
        if (format.bold) {
            const float weight = *format.bold ? css::awt::FontWeight::BOLD : css::awt::FontWeight::NORMAL;
            set("CharWeight", css::uno::Any(weight));
            set("CharWeightComplex", css::uno::Any(weight));
        }
    }

    // Whether the text at the point is bold (Western or complex script).
    bool readBold() {
        if (!cursorProperties_.is()) cursorProperties_.set(cursor(), UNO_QUERY_THROW);
        float weight = css::awt::FontWeight::NORMAL, weightComplex = css::awt::FontWeight::NORMAL;
        cursorProperties_->getPropertyValue(name("CharWeight")) >>= weight;
        cursorProperties_->getPropertyValue(name("CharWeightComplex")) >>= weightComplex;
        return weight >= css::awt::FontWeight::BOLD || weightComplex >= css::awt::FontWeight::BOLD;
    }

    // The formatting set at the insertion point, if the point has not moved since (`known`: it
    // has not, without asking the office).
    PendingFormat& validPending(bool known) {
        PendingFormat& pending = session_->pending;
        if (pending.empty() || known) return pending;
        bool same = pending.controller.get() == view_.controller.get() && pending.anchor.is();
        if (same) {
            try {
                Reference<css::text::XTextRangeCompare> compare(text(), UNO_QUERY_THROW);
                same = compare->compareRegionStarts(pending.anchor, range()) == 0 &&
                       compare->compareRegionEnds(pending.anchor, range()) == 0;
            } catch (const css::lang::IllegalArgumentException&) {
                same = false;  // the point went into another text (a table cell, a frame)
            } catch (const css::uno::RuntimeException&) {
                // The text where the formatting was set is gone (deleted since). Were the office
                // gone instead, the next call fails on its own.
                same = false;
            }
        }
        if (!same) pending.clear();
        return pending;
    }

    // The text that the view cursor spans, for setting several properties in one call (the view
    // cursor itself takes them one by one).
    Reference<css::beans::XMultiPropertySet> selectedText() {
        return Reference<css::beans::XMultiPropertySet>(text()->createTextCursorByRange(range()), UNO_QUERY_THROW);
    }

    void remember(PendingFormat& pending) {
        pending.controller = view_.controller;
        pending.anchor = cursor()->getStart();
    }

    // After an insertion that left the view cursor spanning the inserted text.
    void finishInsert(PendingFormat& pending) {
        if (!pending.empty()) pending.apply(selectedText());
        cursor()->collapseToEnd();
        if (!pending.empty()) remember(pending);
    }

    // A document open for reading only (a read-only file, or opened read-only) takes no typing in
    // the office's window; its API would take changes, so the layer refuses them, as Word does.
    void refuseIfReadOnly() {
        Reference<css::frame::XStorable> storable(view_.model, UNO_QUERY);
        if (storable.is() && storable->isReadonly())
            throw word::Error("the document is open for reading only", word::Error::Reason::NotEditable);
    }

    void setWritingMode(sal_Int16 mode) {
        guarded("Selection.ParagraphDirection", [&] {
            refuseIfReadOnly();
            Reference<css::beans::XPropertySet>(cursor(), UNO_QUERY_THROW)
                ->setPropertyValue(name("WritingMode"), css::uno::Any(mode));
        });
    }

    ViewRefs withFrame() {
        if (!view_.frame.is()) view_.frame = view_.controller->getFrame();
        return view_;
    }

    static constexpr std::uint64_t kUnknown = ~std::uint64_t{0};

    std::shared_ptr<Session> session_;
    ViewRefs view_;
    Reference<css::text::XText> text_;
    Reference<css::beans::XPropertySet> cursorProperties_;
    Reference<css::frame::XModel> heldModel_;  // controllers locked by holdView()
    std::uint64_t known_ = kUnknown;
    bool atParagraphEnd_ = false;      // while known_
    std::optional<bool> boldAtPoint_;  // while known_ and at a paragraph end: bold set on the point
};

void LoFont::SetSizeBi(float points) {
    checkSize(points);
    selection_->setHeights(points, std::nullopt, points);
}

void LoFont::SetSize(float points) {
    checkSize(points);
    selection_->setHeights(points, points, std::nullopt);
}

// Selections are shared with the fonts taken from them.
class SelectionHandle : public word::Selection {
public:
    explicit SelectionHandle(std::shared_ptr<LoSelection> selection) : s_(std::move(selection)) {}
    std::unique_ptr<word::Font> Font() override { return s_->Font(); }
    std::unique_ptr<word::ParagraphFormat> ParagraphFormat() override { return s_->ParagraphFormat(); }
    std::unique_ptr<word::Range> Range() override { return s_->Range(); }
    int Type() const override { return s_->Type(); }
    std::u16string Text() const override { return s_->Text(); }
    int MoveStart(int unit, int count) override { return s_->MoveStart(unit, count); }
    void TypeText(std::u16string_view text) override { s_->TypeText(text); }
    void TypeParagraph() override { s_->TypeParagraph(); }
    void BoldRun() override { s_->BoldRun(); }
    void RtlRun() override { s_->RtlRun(); }
    void LtrRun() override { s_->LtrRun(); }
    void RtlPara() override { s_->RtlPara(); }
    void LtrPara() override { s_->LtrPara(); }
    void Paste() override { s_->Paste(); }
    void PasteAndFormat(int type) override { s_->PasteAndFormat(type); }
    void EndKey(int unit) override { s_->EndKey(unit); }

private:
    std::shared_ptr<LoSelection> s_;
};

std::unique_ptr<word::Selection> makeSelection(std::shared_ptr<Session> session, ViewRefs view) {
    return std::make_unique<SelectionHandle>(std::make_shared<LoSelection>(std::move(session), std::move(view)));
}

// The window of a document: the view that was current when the document was reached.
class LoWindow : public word::Window {
public:
    LoWindow(std::shared_ptr<Session> session, TextView view) : session_(std::move(session)), view_(std::move(view)) {}
    std::unique_ptr<word::Selection> Selection() override {
        return guarded("Window.Selection",
                       [&] { return makeSelection(session_, viewOf(view_.model, view_.controller)); });
    }

private:
    std::shared_ptr<Session> session_;
    TextView view_;
};

class LoDocument : public word::Document {
public:
    LoDocument(std::shared_ptr<Session> session, TextView view)
        : session_(std::move(session)), view_(std::move(view)) {}
    std::unique_ptr<word::Window> ActiveWindow() override {
        return guarded("Document.ActiveWindow", [&] {
            TextView current{view_.model, view_.model->getCurrentController()};
            if (!current.controller.is()) throw word::Error("the document has no window");
            return std::make_unique<LoWindow>(session_, std::move(current));
        });
    }

private:
    std::shared_ptr<Session> session_;
    TextView view_;
};

class LoDocuments : public word::Documents {
public:
    explicit LoDocuments(std::shared_ptr<Session> session) : session_(std::move(session)) {}
    int Count() const override {
        return session_->withOffice("Documents.Count", [&](const OfficeRefs& office) {
            int count = 0;
            auto components = office.desktop->getComponents()->createEnumeration();
            while (components->hasMoreElements()) {
                Reference<css::text::XTextDocument> document(components->nextElement(), UNO_QUERY);
                if (document.is()) ++count;
            }
            return count;
        });
    }

private:
    std::shared_ptr<Session> session_;
};

class LoApplication : public word::Application {
public:
    explicit LoApplication(std::unique_ptr<Connection> connection) : session_(std::make_shared<Session>()) {
        session_->connection = std::move(connection);
        documents_ = std::make_unique<LoDocuments>(session_);
    }
    ~LoApplication() override {
        try {
            SetScreenUpdating(true);
        } catch (const word::Error&) {
        }
    }

    std::unique_ptr<word::Document> ActiveDocument() override {
        return session_->withOffice("ActiveDocument", [&](const OfficeRefs& office) {
            return std::make_unique<LoDocument>(session_, activeTextModel(office));
        });
    }
    word::Documents& Documents() override { return *documents_; }
    std::unique_ptr<word::Selection> Selection() override {
        return session_->withOffice("Selection", [&](const OfficeRefs& office) {
            const auto active = activeTextModel(office);
            return makeSelection(session_, viewOf(active.model, active.controller));
        });
    }
    void SetScreenUpdating(bool on) override {
        auto& locked = session_->lockedModel;
        if (on) {
            if (!locked.is()) return;
            auto model = std::move(locked);
            locked.clear();
            guarded("ScreenUpdating", [&] { model->unlockControllers(); });
            return;
        }
        if (locked.is()) return;
        session_->withOffice("ScreenUpdating", [&](const OfficeRefs& office) {
            Reference<css::frame::XModel> model(office.desktop->getCurrentComponent(), UNO_QUERY);
            if (!model.is()) return;  // nothing to draw
            model->lockControllers();
            locked = model;
        });
    }
    word::CommandBars& CommandBars() override {
        return *session_->withOffice("CommandBars", [&](const OfficeRefs& office) {
            if (!commandBars_ || commandBarsContext_.get() != office.context.get()) {
                commandBars_ = makeCommandBars(office);
                commandBarsContext_ = office.context;
            }
            return commandBars_.get();
        });
    }

private:
    std::shared_ptr<Session> session_;
    std::unique_ptr<LoDocuments> documents_;
    std::unique_ptr<word::CommandBars> commandBars_;
    Reference<css::uno::XComponentContext> commandBarsContext_;
};

}  // namespace

std::unique_ptr<word::Application> connectOverPipe(PipeOptions options, LaunchOptions launching) {
    return std::make_unique<LoApplication>(pipeConnection(std::move(options), std::move(launching)));
}

std::unique_ptr<word::Application> inProcess(const Reference<css::uno::XComponentContext>& context) {
    return std::make_unique<LoApplication>(inProcessConnection(context));
}

}  // namespace word::libreoffice
