// Test helper: puts contents on the office's system clipboard the way another program offers
// them, one flavour each: Rich Text (text/richtext and text/rtf, as bytes), UTF-16 text, or
// nothing at all.
#pragma once

#include <string>
#include <string_view>

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace word::testing {

void putRichTextOnClipboard(const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>& context,
                            std::string_view rtf);
void putUnicodeTextOnClipboard(
    const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>& context,
    std::u16string_view text);
// An emptied clipboard: contents that offer no flavour.
void emptyClipboard(const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>& context);

}  // namespace word::testing
