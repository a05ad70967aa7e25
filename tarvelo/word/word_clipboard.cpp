// The composer's clipboard inside Word: cCustomClipboard on the Win32 clipboard.
// cCustomClipboard's own format constants share their names with the system's macros, so its
// header comes before any system header here.
#include "tarvelo/clipboard/custom_clipboard.h"
#include "tarvelo/clipboard/win32_clipboard.h"

#include "tarvelo/addin_error.h"
#include "tarvelo/text_util.h"
#include "tarvelo/word/word_host.h"

namespace tarvelo_word {

namespace {

using mTarvelo::AddinError;

// The clipboard of the composer: cCustomClipboard on the Win32 clipboard, its errors as the
// add-in's errors with the same number and description.
class Win32Clipboard : public mTarvelo::AddinClipboard {
    template <typename F>
    static auto Call(F&& f) -> decltype(f()) {
        try {
            return f();
        } catch (const cCustomClipboard::Error& e) {
            throw AddinError(e.Number(), e.Description());
        }
    }

public:
    Win32Clipboard() : clipboard_(std::make_unique<Win32ClipboardBackend>()) {}
    std::uint32_t AddFormat(std::string_view name) override {
        return Call([&] { return clipboard_.AddFormat(mTarvelo::FromUtf8(name)); });
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
        return Call([&] { return clipboard_.SetTextData(formatId, mTarvelo::BytesToText(bytes)); });
    }
    void ClipboardClose() override { clipboard_.ClipboardClose(); }

private:
    cCustomClipboard clipboard_;
};

}  // namespace

std::unique_ptr<mTarvelo::AddinClipboard> MakeWin32Clipboard() { return std::make_unique<Win32Clipboard>(); }

}  // namespace tarvelo_word
