#include "tarvelo/libreoffice/adapters.h"

#include "tarvelo/addin_error.h"
#include "tarvelo/clipboard/custom_clipboard.h"
#include "tarvelo/clipboard/libreoffice_clipboard.h"
#include "tarvelo/data/data_files.h"

namespace mTarvelo {

namespace {

class OfficeClipboard : public AddinClipboard {
    // Clipboard errors become the add-in's error with the same number and description.
    template <typename F>
    static auto Call(F&& f) -> decltype(f()) {
        try {
            return f();
        } catch (const cCustomClipboard::Error& e) {
            throw AddinError(e.Number(), e.Description());
        }
    }

public:
    explicit OfficeClipboard(
        const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>& context)
        : clipboard_(std::make_unique<LibreOfficeClipboardBackend>(context)) {}
    std::uint32_t AddFormat(std::string_view name) override {
        return Call([&] { return clipboard_.AddFormat(FromUtf8(name)); });
    }
    bool ClipboardOpen(std::uintptr_t owner) override {
        return Call([&] { return clipboard_.ClipboardOpen(owner); });
    }
    void ClearClipboard() override {
        Call([&] {
            clipboard_.ClearClipboard();
            return 0;
        });
    }
    bool SetTextData(std::uint32_t formatId, std::string_view bytes) override {
        return Call([&] { return clipboard_.SetTextData(formatId, BytesToText(bytes)); });
    }
    void ClipboardClose() override { clipboard_.ClipboardClose(); }

private:
    cCustomClipboard clipboard_;
};

}  // namespace


std::unique_ptr<AddinClipboard> MakeOfficeClipboard(
    const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>& context) {
    return std::make_unique<OfficeClipboard>(context);
}

}  // namespace mTarvelo
