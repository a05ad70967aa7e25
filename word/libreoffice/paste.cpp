#include "word/libreoffice/paste.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/datatransfer/DataFlavor.hpp>
#include <com/sun/star/datatransfer/UnsupportedFlavorException.hpp>
#include <com/sun/star/datatransfer/XTransferable.hpp>
#include <com/sun/star/datatransfer/XTransferableSupplier.hpp>
#include <com/sun/star/datatransfer/clipboard/SystemClipboard.hpp>
#include <com/sun/star/datatransfer/clipboard/XClipboard.hpp>
#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextPortionAppend.hpp>
#include <com/sun/star/uno/Sequence.hxx>
#include <cppuhelper/implbase1.hxx>

#include "word/libreoffice/connection.h"
#include "word/rtf/rich_text.h"
#include "word/word.h"

namespace word::libreoffice {

namespace css = ::com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using rtf::PastePiece;
using rtf::plainTextPieces;
using rtf::readRichText;
using rtf::RichTextContent;

namespace {

// Word's recovery types that PasteAndFormat takes.
constexpr int kRecoveryTypes[] = {0, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 19, 20, 22, 23, 24, 25};

const rtl::OUString kUtf16Mime = "text/plain;charset=utf-16";

std::string mimeBase(const rtl::OUString& mime) {
    std::string type = toUtf8(mime);
    type = type.substr(0, type.find(';'));
    for (char& c : type)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return type;
}

Reference<css::datatransfer::XTransferable> clipboardContents(const OfficeRefs& office) {
    if (!office.context.is()) throw word::Error("the word processor is not connected");
    auto clipboard = css::datatransfer::clipboard::SystemClipboard::create(office.context);
    auto contents = clipboard->getContents();
    if (!contents.is() || contents->getTransferDataFlavors().getLength() == 0)
        throw word::Error("the clipboard is empty");
    return contents;
}

// Rich Text handed over as a string: its characters are the bytes; a character beyond a byte
// becomes the Unicode escape that stands for it.
std::string richTextBytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (char16_t c : text) {
        if (c <= 0xFF) bytes += static_cast<char>(c);
        else bytes += "\\u" + std::to_string(static_cast<int>(static_cast<std::int16_t>(c))) + "?";
    }
    return bytes;
}

// The Rich Text on the clipboard, if there is any.
std::optional<std::string> richText(const Reference<css::datatransfer::XTransferable>& contents) {
    const auto flavors = contents->getTransferDataFlavors();
    for (sal_Int32 i = 0; i < flavors.getLength(); ++i) {
        const std::string base = mimeBase(flavors[i].MimeType);
        if (base != "text/richtext" && base != "text/rtf") continue;
        const css::uno::Any data = contents->getTransferData(flavors[i]);
        css::uno::Sequence<sal_Int8> bytes;
        if (data >>= bytes)
            return std::string(reinterpret_cast<const char*>(bytes.getConstArray()),
                               static_cast<std::size_t>(bytes.getLength()));
        rtl::OUString text;
        if (data >>= text) return richTextBytes(fromOUString(text));
    }
    return std::nullopt;
}

css::datatransfer::DataFlavor utf16Flavor() {
    css::datatransfer::DataFlavor flavor;
    flavor.MimeType = kUtf16Mime;
    flavor.HumanPresentableName = kUtf16Mime;
    flavor.DataType = cppu::UnoType<rtl::OUString>::get();
    return flavor;
}

std::u16string plainText(const Reference<css::datatransfer::XTransferable>& contents) {
    if (!contents->isDataFlavorSupported(utf16Flavor())) throw word::Error("the clipboard holds no text");
    rtl::OUString text;
    if (!(contents->getTransferData(utf16Flavor()) >>= text)) throw word::Error("the clipboard holds no text");
    return fromOUString(text);
}

// Plain text for the office's import, its line ends as "\n": Word reads "\r\n", and a "\r" alone,
// as one paragraph mark, where the import would keep the "\r" as a character of the text.
class ParagraphText : public cppu::WeakImplHelper1<css::datatransfer::XTransferable> {
public:
    explicit ParagraphText(const rtl::OUString& text) : text_(text.replaceAll("\r\n", "\n").replace('\r', '\n')) {}
    css::uno::Any SAL_CALL getTransferData(const css::datatransfer::DataFlavor& wanted) override {
        if (!isDataFlavorSupported(wanted)) throw css::datatransfer::UnsupportedFlavorException();
        return css::uno::Any(text_);
    }
    css::uno::Sequence<css::datatransfer::DataFlavor> SAL_CALL getTransferDataFlavors() override {
        const css::datatransfer::DataFlavor flavor = utf16Flavor();
        return css::uno::Sequence<css::datatransfer::DataFlavor>(&flavor, 1);
    }
    sal_Bool SAL_CALL isDataFlavorSupported(const css::datatransfer::DataFlavor& wanted) override {
        return wanted.MimeType.equalsIgnoreAsciiCase(kUtf16Mime);
    }

private:
    rtl::OUString text_;
};

// The contents as the office's import is to take them: plain text alone, with a carriage return
// in it, goes as ParagraphText.
Reference<css::datatransfer::XTransferable> withParagraphBreaks(
    const Reference<css::datatransfer::XTransferable>& contents) {
    for (const auto& flavor : contents->getTransferDataFlavors())
        if (mimeBase(flavor.MimeType) != "text/plain") return contents;
    rtl::OUString text;
    if (!contents->isDataFlavorSupported(utf16Flavor()) || !(contents->getTransferData(utf16Flavor()) >>= text) ||
        text.indexOf('\r') < 0)
        return contents;
    return new ParagraphText(text);
}

// One step of undo for the whole paste, as in Word.
class UndoContext {
public:
    explicit UndoContext(const Reference<css::frame::XModel>& model) {
        Reference<css::document::XUndoManagerSupplier> supplier(model, UNO_QUERY);
        if (supplier.is()) manager_ = supplier->getUndoManager();
        if (manager_.is()) manager_->enterUndoContext("Paste");
    }
    ~UndoContext() {
        try {
            if (manager_.is()) manager_->leaveUndoContext();
        } catch (const css::uno::Exception&) {
            // the document went away meanwhile: nothing to close
        }
    }
    UndoContext(const UndoContext&) = delete;
    UndoContext& operator=(const UndoContext&) = delete;

private:
    Reference<css::document::XUndoManager> manager_;
};

// The views of the document stay still while the pieces go in, and show them all at the end.
class ControllersLocked {
public:
    explicit ControllersLocked(Reference<css::frame::XModel> model) : model_(std::move(model)) {
        if (model_.is()) model_->lockControllers();
    }
    ~ControllersLocked() {
        try {
            if (model_.is()) model_->unlockControllers();
        } catch (const css::uno::Exception&) {
            // the document went away meanwhile
        }
    }
    ControllersLocked(const ControllersLocked&) = delete;
    ControllersLocked& operator=(const ControllersLocked&) = delete;

private:
    Reference<css::frame::XModel> model_;
};

// The character formatting that the pieces are set in.
struct RunFormat {
    rtl::OUString font, fontAsian, fontComplex;
    float height = 12, heightAsian = 12, heightComplex = 12;
};

const css::uno::Sequence<rtl::OUString>& fontNames() {
    // Sorted, as setPropertyValues wants them.
    static const css::uno::Sequence<rtl::OUString> names = [] {
        css::uno::Sequence<rtl::OUString> n(6);
        n.getArray()[0] = "CharFontName";
        n.getArray()[1] = "CharFontNameAsian";
        n.getArray()[2] = "CharFontNameComplex";
        n.getArray()[3] = "CharHeight";
        n.getArray()[4] = "CharHeightAsian";
        n.getArray()[5] = "CharHeightComplex";
        return n;
    }();
    return names;
}

RunFormat formatAt(const Reference<css::beans::XMultiPropertySet>& point) {
    const auto values = point->getPropertyValues(fontNames());
    RunFormat format;
    if (values.getLength() == 6) {
        values[0] >>= format.font;
        values[1] >>= format.fontAsian;
        values[2] >>= format.fontComplex;
        values[3] >>= format.height;
        values[4] >>= format.heightAsian;
        values[5] >>= format.heightComplex;
    }
    return format;
}

RunFormat formatOf(const PastePiece& piece, const RunFormat& atPoint) {
    RunFormat format = atPoint;
    if (piece.font) format.font = format.fontAsian = format.fontComplex = toOUString(*piece.font);
    if (piece.points) format.height = format.heightAsian = format.heightComplex = *piece.points;
    return format;
}

bool operator==(const RunFormat& a, const RunFormat& b) {
    return a.font == b.font && a.fontAsian == b.fontAsian && a.fontComplex == b.fontComplex && a.height == b.height &&
           a.heightAsian == b.heightAsian && a.heightComplex == b.heightComplex;
}

css::uno::Sequence<css::beans::PropertyValue> propertiesOf(const RunFormat& format) {
    css::uno::Sequence<css::beans::PropertyValue> properties(6);
    auto* p = properties.getArray();
    const auto& names = fontNames();
    for (sal_Int32 i = 0; i < 6; ++i) p[i].Name = names[i];
    p[0].Value <<= format.font;
    p[1].Value <<= format.fontAsian;
    p[2].Value <<= format.fontComplex;
    p[3].Value <<= format.height;
    p[4].Value <<= format.heightAsian;
    p[5].Value <<= format.heightComplex;
    return properties;
}

void apply(const RunFormat& format, const Reference<css::beans::XMultiPropertySet>& range) {
    css::uno::Sequence<css::uno::Any> values(6);
    auto* v = values.getArray();
    v[0] <<= format.font;
    v[1] <<= format.fontAsian;
    v[2] <<= format.fontComplex;
    v[3] <<= format.height;
    v[4] <<= format.heightAsian;
    v[5] <<= format.heightComplex;
    range->setPropertyValues(fontNames(), values);
}

// The text a piece puts into the document. Word sets the blanks of a right-to-left run right to
// left. Writer has no such run attribute: to the bidirectional algorithm its blanks are neutral,
// and between words of a symbol font (left-to-right characters) they would join a verse's words
// into one left-to-right run and reverse their order. A right-to-left mark after such blanks
// gives them the direction of their run, so the words stay in right-to-left order.
std::u16string placedText(const PastePiece& piece) {
    constexpr char16_t kRightToLeftMark = u'\u200F';
    const bool blanks = !piece.text.empty() && std::all_of(piece.text.begin(), piece.text.end(),
                                                           [](char16_t c) { return c == u' ' || c == u'\u00A0'; });
    if (piece.kind == PastePiece::Kind::Text && piece.rightToLeft && blanks) return piece.text + kRightToLeftMark;
    return piece.text;
}

// Places the pieces at the insertion point, replacing what is selected, and leaves the point
// after them. Neighbouring pieces in the same font and size go in as one run.
void insertPieces(const ViewRefs& view, const std::vector<PastePiece>& pieces) {
    const Reference<css::text::XTextViewCursor>& point = view.viewCursor;
    if (!point.is()) throw word::Error("the document has no insertion point");
    const Reference<css::text::XText> text = point->getText();
    UndoContext undo(view.model);
    const ControllersLocked locked(view.model);
    if (!point->isCollapsed()) {
        point->setString(rtl::OUString());
        point->collapseToEnd();
    }
    const Reference<css::text::XTextCursor> cursor = text->createTextCursorByRange(point->getStart());
    const Reference<css::text::XTextRange> cursorRange(cursor.get());
    const Reference<css::beans::XMultiPropertySet> cursorProperties(cursor, UNO_QUERY_THROW);
    const RunFormat atPoint = formatAt(cursorProperties);
    const Reference<css::text::XTextPortionAppend> portions(text, UNO_QUERY);

    // Where the next run goes: the cursor, or the end of the run inserted last.
    Reference<css::text::XTextRange> at = cursorRange;
    std::size_t i = 0;
    while (i < pieces.size()) {
        if (pieces[i].kind == PastePiece::Kind::ParagraphBreak) {
            if (at != cursorRange) cursor->gotoRange(at, false);
            text->insertControlCharacter(cursorRange, css::text::ControlCharacter::PARAGRAPH_BREAK, false);
            cursor->collapseToEnd();
            at = cursorRange;
            ++i;
            continue;
        }
        const RunFormat format = formatOf(pieces[i], atPoint);
        std::u16string run = placedText(pieces[i]);
        for (++i; i < pieces.size() && pieces[i].kind != PastePiece::Kind::ParagraphBreak &&
                  formatOf(pieces[i], atPoint) == format;
             ++i)
            run += placedText(pieces[i]);
        if (run.empty()) continue;
        if (portions.is()) {
            // Text and formatting in one call; the next run goes after it.
            at = portions->insertTextPortion(toOUString(run), propertiesOf(format), at)->getEnd();
        } else {
            text->insertString(cursorRange, toOUString(run), true);
            apply(format, cursorProperties);
            cursor->collapseToEnd();
        }
    }
    point->gotoRange(at, false);
}

// The office's own import, at the insertion point of the view.
void insertThroughOffice(const ViewRefs& view, const Reference<css::datatransfer::XTransferable>& contents) {
    Reference<css::datatransfer::XTransferableSupplier> supplier(view.controller, UNO_QUERY);
    if (!supplier.is()) throw word::Error("the document's view cannot take pasted content");
    supplier->insertTransferable(contents);
}

template <typename Action>
void failuresAsErrors(Action&& action) {
    try {
        action();
    } catch (const word::Error&) {
        throw;
    } catch (const css::uno::Exception& e) {
        throw word::Error("pasting failed: " + toUtf8(e.Message));
    }
}

}  // namespace

void paste(const OfficeRefs& office, const ViewRefs& view) {
    failuresAsErrors([&] {
        const auto contents = clipboardContents(office);
        if (const auto rtf = richText(contents)) {
            const RichTextContent content = readRichText(*rtf);
            if (content.symbolFields > 0) {
                insertPieces(view, content.pieces);
                return;
            }
        }
        insertThroughOffice(view, withParagraphBreaks(contents));
    });
}

void pasteAndFormat(const OfficeRefs& office, const ViewRefs& view, int type) {
    if (std::find(std::begin(kRecoveryTypes), std::end(kRecoveryTypes), type) == std::end(kRecoveryTypes))
        throw word::Error("no such paste type: " + std::to_string(type));
    if (type == word::wdFormatPlainText || type == word::wdFormatSurroundingFormattingWithEmphasis) {
        failuresAsErrors([&] { insertPieces(view, plainTextPieces(plainText(clipboardContents(office)))); });
        return;
    }
    static_assert(word::wdPasteDefault == 0);
    paste(office, view);
}

}  // namespace word::libreoffice
