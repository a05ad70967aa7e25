// The composer's clipboard inside Word: cCustomClipboard on the Win32 clipboard.
// cCustomClipboard's own format constants share their names with the system's macros, so its
// headers come before any system header here.
#include "tarvelo/clipboard/win32_clipboard.h"
#include "tarvelo/clipboard_adapter.h"

#include "tarvelo/word/word_host.h"

namespace tarvelo_word {

std::unique_ptr<mTarvelo::AddinClipboard> MakeWin32Clipboard() {
    return std::make_unique<mTarvelo::CustomClipboardAdapter>(std::make_unique<Win32ClipboardBackend>());
}

}  // namespace tarvelo_word
