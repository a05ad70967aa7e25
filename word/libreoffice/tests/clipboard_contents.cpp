#include "word/libreoffice/tests/clipboard_contents.h"

#include <utility>
#include <vector>

#include <com/sun/star/datatransfer/DataFlavor.hpp>
#include <com/sun/star/datatransfer/UnsupportedFlavorException.hpp>
#include <com/sun/star/datatransfer/XTransferable.hpp>
#include <com/sun/star/datatransfer/clipboard/SystemClipboard.hpp>
#include <com/sun/star/uno/Sequence.hxx>
#include <cppuhelper/implbase1.hxx>

namespace word::testing {

namespace {

namespace css = ::com::sun::star;
namespace uno = css::uno;
using rtl::OUString;

css::datatransfer::DataFlavor flavor(const OUString& mime, const uno::Type& type) {
    css::datatransfer::DataFlavor f;
    f.MimeType = mime;
    f.HumanPresentableName = mime;
    f.DataType = type;
    return f;
}

class Contents : public cppu::WeakImplHelper1<css::datatransfer::XTransferable> {
public:
    explicit Contents(std::vector<std::pair<css::datatransfer::DataFlavor, uno::Any>> offered)
        : offered_(std::move(offered)) {}
    uno::Any SAL_CALL getTransferData(const css::datatransfer::DataFlavor& wanted) override {
        for (const auto& [f, data] : offered_)
            if (f.MimeType == wanted.MimeType) return data;
        throw css::datatransfer::UnsupportedFlavorException();
    }
    uno::Sequence<css::datatransfer::DataFlavor> SAL_CALL getTransferDataFlavors() override {
        uno::Sequence<css::datatransfer::DataFlavor> flavors(static_cast<sal_Int32>(offered_.size()));
        for (std::size_t i = 0; i < offered_.size(); ++i) flavors.getArray()[i] = offered_[i].first;
        return flavors;
    }
    sal_Bool SAL_CALL isDataFlavorSupported(const css::datatransfer::DataFlavor& wanted) override {
        for (const auto& entry : offered_)
            if (entry.first.MimeType == wanted.MimeType) return true;
        return false;
    }

private:
    std::vector<std::pair<css::datatransfer::DataFlavor, uno::Any>> offered_;
};

void place(const uno::Reference<uno::XComponentContext>& context,
           std::vector<std::pair<css::datatransfer::DataFlavor, uno::Any>> offered) {
    css::datatransfer::clipboard::SystemClipboard::create(context)->setContents(new Contents(std::move(offered)), {});
}

}  // namespace

void putRichTextOnClipboard(const uno::Reference<uno::XComponentContext>& context, std::string_view rtf) {
    const uno::Sequence<sal_Int8> bytes(reinterpret_cast<const sal_Int8*>(rtf.data()),
                                        static_cast<sal_Int32>(rtf.size()));
    const auto type = cppu::UnoType<uno::Sequence<sal_Int8>>::get();
    place(context, {{flavor("text/richtext", type), uno::Any(bytes)}, {flavor("text/rtf", type), uno::Any(bytes)}});
}

void putUnicodeTextOnClipboard(const uno::Reference<uno::XComponentContext>& context, std::u16string_view text) {
    const OUString value(reinterpret_cast<const sal_Unicode*>(text.data()), static_cast<sal_Int32>(text.size()));
    place(context, {{flavor("text/plain;charset=utf-16", cppu::UnoType<OUString>::get()), uno::Any(value)}});
}

void emptyClipboard(const uno::Reference<uno::XComponentContext>& context) { place(context, {}); }

}  // namespace word::testing
