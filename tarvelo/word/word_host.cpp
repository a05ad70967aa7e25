// The host services of the add-in inside Word.
#include "tarvelo/word/word_host.h"

#include <algorithm>
#include <vector>

#include "tarvelo/addin_error.h"
#include "tarvelo/text_util.h"
#include "tarvelo/word/resource.h"

namespace tarvelo_word {

using mTarvelo::AddinError;
using mTarvelo::MessageIcon;

namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

constexpr wchar_t Title[] = L"Tarvelo";

UINT IconStyle(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return MB_ICONINFORMATION;
        case MessageIcon::Exclamation: return MB_ICONEXCLAMATION;
        case MessageIcon::Critical: return MB_ICONERROR;
        case MessageIcon::None: break;
    }
    return 0;
}

BOOL CALLBACK FindHostWindow(HWND window, LPARAM found) {
    auto& result = *reinterpret_cast<HWND*>(found);
    if (GetWindow(window, GW_OWNER) != nullptr || !IsWindowVisible(window)) return TRUE;
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (std::wstring_view(className) == L"OpusApp") {
        result = window;
        return FALSE;
    }
    if (result == nullptr) result = window;
    return TRUE;
}

// Dialogs whose key messages go through IsDialogMessage, and the hook that does it.
struct DialogKeys {
    std::vector<HWND> dialogs;
    HHOOK hook = nullptr;
};
DialogKeys& Keys() {
    static DialogKeys keys;
    return keys;
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM removing, LPARAM message) {
    if (code == HC_ACTION && removing == PM_REMOVE) {
        auto* msg = reinterpret_cast<MSG*>(message);
        if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
            // A copy: a handler may add or remove dialogs meanwhile.
            const std::vector<HWND> dialogs = Keys().dialogs;
            for (HWND dialog : dialogs) {
                if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) continue;
                if (IsDialogMessageW(dialog, msg)) {
                    msg->message = WM_NULL;
                    msg->wParam = 0;
                    msg->lParam = 0;
                }
                break;
            }
        }
    }
    return CallNextHookEx(nullptr, code, removing, message);
}

class WordHost : public mTarvelo::AddinHost {
public:
    void MsgBox(std::u16string_view text, MessageIcon icon) override {
        const std::wstring wide = Wide(text);
        // Over the window in use (the topmost chooser during its insertion), else over Word's.
        HWND owner = GetActiveWindow();
        if (owner == nullptr) owner = HostWindow();
        MessageBoxW(owner, wide.c_str(), Title, MB_OK | IconStyle(icon));
    }
    void DoEvents() override { tarvelo_word::DoEvents(); }
    void ShowAbout() override { ShowAboutWindow(HostWindow()); }
    std::u16string GetSetting(std::string_view app, std::string_view section, std::string_view key) override {
        return GetVbSetting(app, section, key);
    }
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::u16string_view value) override {
        SaveVbSetting(app, section, key, value);
    }
    std::unique_ptr<mTarvelo::AddinClipboard> NewClipboard() override { return MakeWin32Clipboard(); }
    std::unique_ptr<mTarvelo::ChooseControls> NewChooseControls() override { return MakeChooseDialog(HostWindow()); }
};

// frmAbout's window; closing it (OK, Escape, close box) destroys it.
HWND& About() {
    static HWND about = nullptr;
    return about;
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_AboutOK || LOWORD(wParam) == IDCANCEL) {
                DestroyWindow(dialog);
                return TRUE;
            }
            break;
        case WM_CLOSE: DestroyWindow(dialog); return TRUE;
        case WM_DESTROY:
            RemoveDialogKeys(dialog);
            if (About() == dialog) About() = nullptr;
            break;
        default: break;
    }
    return FALSE;
}

}  // namespace

HINSTANCE ModuleInstance() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
    return module;
}

HWND HostWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindHostWindow, reinterpret_cast<LPARAM>(&found));
    // The add-in's own dialogs are owned windows: they are never taken for Word's.
    return found;
}

std::wstring VbSettingsKey(std::string_view app, std::string_view section) {
    return L"Software\\VB and VBA Program Settings\\" + Wide(app) + L"\\" + Wide(section);
}

std::u16string GetVbSetting(std::string_view app, std::string_view section, std::string_view key) {
    const std::wstring path = VbSettingsKey(app, section);
    const std::wstring name = Wide(key);
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS)
        return {};
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value.data(), &bytes) !=
        ERROR_SUCCESS)
        return {};
    value.resize(wcsnlen(value.c_str(), value.size()));
    return std::u16string(value.begin(), value.end());
}

bool SaveVbSetting(std::string_view app, std::string_view section, std::string_view key, std::u16string_view value) {
    const std::wstring path = VbSettingsKey(app, section);
    const std::wstring name = Wide(key);
    const std::wstring text = Wide(value);
    return RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), REG_SZ, text.c_str(),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        // The dialogs' keys were handled by the message hook (the message is WM_NULL then).
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::shared_ptr<mTarvelo::AddinHost> MakeWordHost() { return std::make_shared<WordHost>(); }

void ShowAboutWindow(HWND owner) {
    HWND& about = About();
    if (about == nullptr) {
        about = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_FRMABOUT), owner, AboutProc, 0);
        if (about == nullptr) throw AddinError(7, "Out of memory");
        AddDialogKeys(about);
    }
    ShowWindow(about, SW_SHOW);
    SetForegroundWindow(about);
}

HWND AboutWindow() { return About(); }

void CloseAboutWindow() {
    if (About() != nullptr) DestroyWindow(About());
}

void AddDialogKeys(HWND dialog) {
    auto& keys = Keys();
    if (std::find(keys.dialogs.begin(), keys.dialogs.end(), dialog) != keys.dialogs.end()) return;
    keys.dialogs.push_back(dialog);
    if (keys.hook == nullptr)
        keys.hook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
}

void RemoveDialogKeys(HWND dialog) {
    auto& keys = Keys();
    std::erase(keys.dialogs, dialog);
    if (keys.dialogs.empty() && keys.hook != nullptr) {
        UnhookWindowsHookEx(keys.hook);
        keys.hook = nullptr;
    }
}

}  // namespace tarvelo_word
