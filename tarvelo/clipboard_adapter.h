// The composer's clipboard (AddinClipboard) over cCustomClipboard on a host's clipboard backend:
// the same for every host. cCustomClipboard's errors become the add-in's errors with the same
// number and description. cCustomClipboard's format constants share their names with Windows'
// macros, so this header comes before any system header where it is included.
#pragma once

#include "tarvelo/clipboard/custom_clipboard.h"

#include <memory>

#include "codepage/code_page.h"
#include "tarvelo/addin_error.h"
#include "tarvelo/addin_services.h"
#include "tarvelo/data/data_files.h"

namespace mTarvelo {

class CustomClipboardAdapter : public AddinClipboard {
public:
    explicit CustomClipboardAdapter(std::unique_ptr<ClipboardBackend> backend) : clipboard_(std::move(backend)) {}

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
        return Call([&] { return clipboard_.SetTextData(formatId, codepage::bytesToText(bytes)); });
    }
    void ClipboardClose() override { clipboard_.ClipboardClose(); }

private:
    template <typename F>
    static auto Call(F&& f) -> decltype(f()) {
        try {
            return f();
        } catch (const cCustomClipboard::Error& e) {
            throw AddinError(e.Number(), e.Description());
        }
    }

    cCustomClipboard clipboard_;
};

}  // namespace mTarvelo
