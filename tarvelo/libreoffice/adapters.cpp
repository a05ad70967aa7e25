#include "tarvelo/libreoffice/adapters.h"

#include "tarvelo/clipboard/libreoffice_clipboard.h"
#include "tarvelo/clipboard_adapter.h"

namespace mTarvelo {

std::unique_ptr<AddinClipboard> MakeOfficeClipboard(
    const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>& context) {
    return std::make_unique<CustomClipboardAdapter>(std::make_unique<LibreOfficeClipboardBackend>(context));
}

}  // namespace mTarvelo
