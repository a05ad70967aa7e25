#include "tarvelo/clipboard/libreoffice_clipboard.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <stdexcept>

#include <com/sun/star/datatransfer/DataFlavor.hpp>
#include <com/sun/star/datatransfer/UnsupportedFlavorException.hpp>
#include <com/sun/star/datatransfer/XTransferable.hpp>
#include <com/sun/star/datatransfer/clipboard/SystemClipboard.hpp>
#include <com/sun/star/datatransfer/clipboard/XClipboardOwner.hpp>
#include <com/sun/star/uno/Sequence.hxx>
#include <cppuhelper/implbase1.hxx>
#include <rtl/ustring.hxx>

#include "codepage/code_page.h"
#include "tarvelo/clipboard/clipboard_types.h"

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::Sequence;
using rtl::OString;
using rtl::OUString;

namespace {

using namespace tarvelo::clipboard;

// ---------------------------------------------------------------------------------------------
// Conversions

OUString ToOUString(std::u16string_view text) {
    return OUString(reinterpret_cast<const sal_Unicode*>(text.data()), static_cast<sal_Int32>(text.size()));
}

std::u16string FromOUString(const OUString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.getStr()), static_cast<std::size_t>(text.getLength()));
}

std::string Utf8(const OUString& text) {
    const OString bytes = OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(bytes.getStr(), static_cast<std::size_t>(bytes.getLength()));
}

Sequence<sal_Int8> ToSequence(const std::vector<std::uint8_t>& bytes) {
    return Sequence<sal_Int8>(reinterpret_cast<const sal_Int8*>(bytes.data()), static_cast<sal_Int32>(bytes.size()));
}

std::vector<std::uint8_t> FromSequence(const Sequence<sal_Int8>& bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.getConstArray());
    return std::vector<std::uint8_t>(data, data + bytes.getLength());
}

// Text of a block of Unicode text (up to its null character).
OUString UnicodeBlockText(const std::vector<std::uint8_t>& bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (c == 0) break;
        text += c;
    }
    return ToOUString(text);
}

std::vector<std::uint8_t> UnicodeBlock(const OUString& text) {
    std::vector<std::uint8_t> bytes;
    for (sal_Int32 i = 0; i < text.getLength(); ++i) {
        bytes.push_back(static_cast<std::uint8_t>(text[i] & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(text[i] >> 8));
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

// ---------------------------------------------------------------------------------------------
// Formats and flavours

const OUString utf16Mime = "text/plain;charset=utf-16";
const OUString richTextMime = "text/richtext";
const OUString rtfMime = "text/rtf";
const OUString uriListMime = "text/uri-list";

css::datatransfer::DataFlavor Flavor(const OUString& mime, bool isString) {
    css::datatransfer::DataFlavor flavor;
    flavor.MimeType = mime;
    flavor.HumanPresentableName = mime;
    flavor.DataType = isString ? cppu::UnoType<OUString>::get() : cppu::UnoType<Sequence<sal_Int8>>::get();
    return flavor;
}

OUString NamedMime(const std::string& name) {
    return "application/x-openoffice-clipboard;windows_formatname=\"" + OUString::fromUtf8(name.c_str()) + "\"";
}

// The flavours under which a placed format is offered.
std::vector<css::datatransfer::DataFlavor> FlavorsOf(std::uint32_t format) {
    if (format == cfText || format == cfUnicodeText) return {Flavor(utf16Mime, true)};
    if (format == cfFileList) return {Flavor(uriListMime, false)};
    const std::string name = RegisteredFormatName(format);
    if (name == rtfName) return {Flavor(richTextMime, false), Flavor(rtfMime, false)};
    if (!name.empty()) return {Flavor(NamedMime(name), false)};
    return {Flavor(OUString::fromUtf8((std::string(unnamedFormatPrefix) + std::to_string(format)).c_str()), false)};
}

// The format a flavour of the office's clipboard stands for; 0 for none.
std::uint32_t FormatOfMime(const OUString& mime) { return FormatOfMimeType(Utf8(mime)); }

// ---------------------------------------------------------------------------------------------
// The transferable handed to the office's clipboard on close.

class PlacedContents : public cppu::WeakImplHelper1<css::datatransfer::XTransferable> {
public:
    explicit PlacedContents(std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> formats)
        : formats_(std::move(formats)) {}

    css::uno::Any SAL_CALL getTransferData(const css::datatransfer::DataFlavor& flavor) override {
        const std::uint32_t format = FormatOfMime(flavor.MimeType);
        if (format == cfUnicodeText) {
            if (const auto* bytes = Find(cfUnicodeText)) return css::uno::Any(UnicodeBlockText(*bytes));
            if (const auto* bytes = Find(cfText)) {
                std::string text(bytes->begin(), bytes->end());
                return css::uno::Any(ToOUString(codepage::bytesToText(text.substr(0, text.find('\0')))));
            }
        } else if (const auto* bytes = Find(format)) {
            if (format == cfFileList) return css::uno::Any(ToSequence(UriListFromFileBlock(*bytes)));
            return css::uno::Any(ToSequence(*bytes));
        }
        throw css::datatransfer::UnsupportedFlavorException();
    }

    Sequence<css::datatransfer::DataFlavor> SAL_CALL getTransferDataFlavors() override {
        std::vector<css::datatransfer::DataFlavor> all;
        for (const auto& [format, bytes] : formats_)
            for (const auto& flavor : FlavorsOf(format))
                if (std::none_of(all.begin(), all.end(), [&](const auto& f) { return f.MimeType == flavor.MimeType; }))
                    all.push_back(flavor);
        return Sequence<css::datatransfer::DataFlavor>(all.data(), static_cast<sal_Int32>(all.size()));
    }

    sal_Bool SAL_CALL isDataFlavorSupported(const css::datatransfer::DataFlavor& flavor) override {
        const std::uint32_t format = FormatOfMime(flavor.MimeType);
        return format != 0 && (Find(format) != nullptr || (format == cfUnicodeText && Find(cfText) != nullptr));
    }

private:
    const std::vector<std::uint8_t>* Find(std::uint32_t format) const {
        for (const auto& [id, bytes] : formats_)
            if (id == format) return &bytes;
        return nullptr;
    }
    std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> formats_;
};

}  // namespace

struct LibreOfficeClipboardBackend::Impl {
    Reference<css::datatransfer::clipboard::XClipboard> clipboard;
    bool opened = false;
    bool changed = false;  // emptied or placed since opening: handed over on close
    std::vector<std::pair<std::uint32_t, MemoryHandle>> placed;
    std::map<MemoryHandle, std::vector<std::uint8_t>> blocks;
    MemoryHandle nextBlock = 0x1000;

    MemoryHandle NewBlock(std::vector<std::uint8_t> bytes) {
        const MemoryHandle handle = nextBlock++;
        blocks.emplace(handle, std::move(bytes));
        return handle;
    }

    Reference<css::datatransfer::XTransferable> Contents() {
        try {
            return clipboard->getContents();
        } catch (const css::uno::Exception&) {
            return {};
        }
    }

    // The formats now on the clipboard: those placed since opening, else the office's.
    std::vector<std::uint32_t> Formats() {
        std::vector<std::uint32_t> formats;
        auto add = [&formats](std::uint32_t f) {
            if (f != 0 && std::find(formats.begin(), formats.end(), f) == formats.end()) formats.push_back(f);
        };
        if (changed) {
            for (const auto& [format, block] : placed) add(format);
            return formats;
        }
        const auto contents = Contents();
        if (!contents.is()) return formats;
        try {
            const auto flavors = contents->getTransferDataFlavors();
            for (sal_Int32 i = 0; i < flavors.getLength(); ++i) {
                const std::uint32_t format = FormatOfMime(flavors[i].MimeType);
                add(format);
                if (format == cfUnicodeText) add(cfText);  // plain text is offered from Unicode text too
            }
        } catch (const css::uno::Exception&) {
        }
        return formats;
    }

    // The bytes of a format as the office's clipboard holds it.
    std::optional<std::vector<std::uint8_t>> OfficeData(std::uint32_t format) {
        const auto contents = Contents();
        if (!contents.is()) return std::nullopt;
        try {
            if (format == cfText || format == cfUnicodeText) {
                OUString text;
                if (!(contents->getTransferData(Flavor(utf16Mime, true)) >>= text)) return std::nullopt;
                if (format == cfUnicodeText) return UnicodeBlock(text);
                std::vector<std::uint8_t> bytes;
                for (sal_Int32 i = 0; i < text.getLength(); ++i)
                    bytes.push_back(text[i] <= 0xFF ? static_cast<std::uint8_t>(text[i]) : '?');
                bytes.push_back(0);
                return bytes;
            }
            for (const auto& flavor : FlavorsOf(format)) {
                if (!contents->isDataFlavorSupported(flavor)) continue;
                Sequence<sal_Int8> bytes;
                if (contents->getTransferData(flavor) >>= bytes)
                    return format == cfFileList ? FileBlockFromUriList(FromSequence(bytes)) : FromSequence(bytes);
            }
        } catch (const css::uno::Exception&) {
        }
        return std::nullopt;
    }
};

LibreOfficeClipboardBackend::LibreOfficeClipboardBackend(const Reference<css::uno::XComponentContext>& context)
    : impl_(std::make_unique<Impl>()) {
    try {
        impl_->clipboard.set(css::datatransfer::clipboard::SystemClipboard::create(context), css::uno::UNO_QUERY_THROW);
    } catch (const css::uno::Exception& e) {
        throw std::runtime_error("the office's clipboard service is not available: " + Utf8(e.Message));
    }
}

LibreOfficeClipboardBackend::~LibreOfficeClipboardBackend() = default;

bool LibreOfficeClipboardBackend::Open(WindowHandle) {
    // The office's clipboard has no lock of its own: holding it is this backend's bracket.
    if (!impl_->opened) {
        impl_->opened = true;
        impl_->changed = false;
        impl_->placed.clear();
    }
    return true;
}

bool LibreOfficeClipboardBackend::Close() {
    if (!impl_->opened) return false;
    impl_->opened = false;
    if (!impl_->changed) {
        impl_->blocks.clear();  // blocks read from the clipboard live while it is held
        return true;
    }
    std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> formats;
    for (const auto& [format, block] : impl_->placed) formats.emplace_back(format, impl_->blocks[block]);
    impl_->placed.clear();
    impl_->blocks.clear();
    impl_->changed = false;
    try {
        impl_->clipboard->setContents(new PlacedContents(std::move(formats)),
                                      Reference<css::datatransfer::clipboard::XClipboardOwner>());
    } catch (const css::uno::Exception&) {
        return false;
    }
    return true;
}

bool LibreOfficeClipboardBackend::Empty() {
    if (!impl_->opened) return false;
    impl_->placed.clear();
    impl_->changed = true;
    return true;
}

std::uint32_t LibreOfficeClipboardBackend::RegisterFormat(std::string_view name) {
    return tarvelo::clipboard::RegisterFormatName(name);
}

std::string LibreOfficeClipboardBackend::RegisteredFormatName(std::uint32_t format, std::size_t maxChars) {
    return tarvelo::clipboard::RegisteredFormatName(format).substr(0, maxChars);
}

std::int32_t LibreOfficeClipboardBackend::CountFormats() { return static_cast<std::int32_t>(impl_->Formats().size()); }

std::uint32_t LibreOfficeClipboardBackend::EnumFormats(std::uint32_t previous) {
    if (!impl_->opened) return 0;
    const auto formats = impl_->Formats();
    if (formats.empty()) return 0;
    if (previous == 0) return formats.front();
    const auto it = std::find(formats.begin(), formats.end(), previous);
    return it == formats.end() || it + 1 == formats.end() ? 0 : *(it + 1);
}

bool LibreOfficeClipboardBackend::IsFormatAvailable(std::uint32_t format) {
    const auto formats = impl_->Formats();
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

MemoryHandle LibreOfficeClipboardBackend::GetData(std::uint32_t format) {
    if (!impl_->opened) return 0;
    if (impl_->changed) {
        for (const auto& [id, block] : impl_->placed)
            if (id == format) return block;
        return 0;
    }
    auto bytes = impl_->OfficeData(format);
    return bytes ? impl_->NewBlock(std::move(*bytes)) : 0;
}

MemoryHandle LibreOfficeClipboardBackend::SetData(std::uint32_t format, MemoryHandle block) {
    if (!impl_->opened || !impl_->blocks.contains(block)) return 0;
    auto& placed = impl_->placed;
    const auto same = std::find_if(placed.begin(), placed.end(), [format](const auto& p) { return p.first == format; });
    if (same != placed.end()) same->second = block;
    else placed.emplace_back(format, block);
    impl_->changed = true;
    return block;
}

MemoryHandle LibreOfficeClipboardBackend::AllocBlock(std::span<const std::uint8_t> bytes) {
    return impl_->NewBlock(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

std::vector<std::uint8_t> LibreOfficeClipboardBackend::BlockBytes(MemoryHandle block) {
    const auto it = impl_->blocks.find(block);
    return it == impl_->blocks.end() ? std::vector<std::uint8_t>{} : it->second;
}

std::u16string LibreOfficeClipboardBackend::ReadText() {
    const auto contents = impl_->Contents();
    if (!contents.is()) return {};
    try {
        OUString text;
        if (contents->getTransferData(Flavor(utf16Mime, true)) >>= text) return FromOUString(text);
    } catch (const css::uno::Exception&) {
    }
    return {};
}
