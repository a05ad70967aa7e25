// WordStandin.exe: the Word stand-in process (see control_surface.h for what it offers).
#include <cstring>
#include <cwchar>
#include <deque>
#include <string>

#include "word/com/standin/addin_host.h"
#include "word/com/standin/automation.h"
#include "word/com/standin/host.h"
#include "word/rtf/rich_text.h"

namespace {

using namespace word::com;
using namespace word::com::standin;

constexpr UINT kDeliverClick = WM_APP + 1;
constexpr UINT kQuit = WM_APP + 2;
constexpr long kClipboardEmpty = 4605;

// The clipboard, opened for reading; a little patience while another program holds it.
class OpenClipboardForReading {
public:
    OpenClipboardForReading() {
        for (int attempt = 0; attempt < 50 && !open_; ++attempt) {
            open_ = OpenClipboard(nullptr) != FALSE;
            if (!open_) Sleep(10);
        }
        if (!open_) throw word::Error("the clipboard is in use by another program");
    }
    OpenClipboardForReading(const OpenClipboardForReading&) = delete;
    OpenClipboardForReading& operator=(const OpenClipboardForReading&) = delete;
    ~OpenClipboardForReading() { CloseClipboard(); }

private:
    bool open_ = false;
};

std::string globalBytes(HANDLE data) {
    if (!data) return {};
    const SIZE_T size = GlobalSize(data);
    const auto* bytes = static_cast<const char*>(GlobalLock(data));
    if (!bytes) return {};
    std::string result(bytes, size);
    GlobalUnlock(data);
    return result;
}

// What Paste inserts: the clipboard's Rich Text if it has some, else its Unicode text.
std::vector<word::rtf::PastePiece> clipboardPieces(int /*type*/) {
    const UINT richText = RegisterClipboardFormatW(L"Rich Text Format");
    OpenClipboardForReading clipboard;
    if (IsClipboardFormatAvailable(richText)) {
        std::string bytes = globalBytes(GetClipboardData(richText));
        bytes.resize(std::strlen(bytes.c_str()));
        return word::rtf::readRichText(bytes).pieces;
    }
    if (IsClipboardFormatAvailable(CF_UNICODETEXT)) {
        const std::string bytes = globalBytes(GetClipboardData(CF_UNICODETEXT));
        std::u16string text(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
        text.resize(std::char_traits<char16_t>::length(text.c_str()));
        return word::rtf::plainTextPieces(text);
    }
    throw WordRuntimeError{kClipboardEmpty,
                           u"This method or property is not available because the Clipboard is empty or not valid."};
}

class ClassFactory final : public ComObject<IClassFactory> {
public:
    explicit ClassFactory(ComPtr<IDispatch> application) : application_(std::move(application)) {}
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        return application_->QueryInterface(iid, object);  // one Word per process, as Word is
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    ComPtr<IDispatch> application_;
};

// Per-user class registration as Word's, and the machine-wide mirror that Wine's COM reads.
bool writeRegistration(bool remove) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring server = L"\"" + std::wstring(path) + L"\" /Automation";
    const std::wstring clsid = L"{000209FF-0000-0000-C000-000000000046}";
    bool ok = true;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        const std::wstring classes = L"Software\\Classes\\";
        if (remove) {
            RegDeleteTreeW(root, (classes + L"Word.Application").c_str());
            RegDeleteTreeW(root, (classes + L"CLSID\\" + clsid).c_str());
            continue;
        }
        auto set = [&](const std::wstring& key, const wchar_t* name, const std::wstring& value) {
            const LSTATUS status = RegSetKeyValueW(root, (classes + key).c_str(), name, REG_SZ, value.c_str(),
                                                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
            ok = ok && status == ERROR_SUCCESS;
        };
        set(L"Word.Application", nullptr, L"Microsoft Word Application");
        set(L"Word.Application\\CLSID", nullptr, clsid);
        set(L"CLSID\\" + clsid, nullptr, L"Microsoft Word Application");
        set(L"CLSID\\" + clsid + L"\\LocalServer32", nullptr, server);
        set(L"CLSID\\" + clsid + L"\\ProgID", nullptr, L"Word.Application");
    }
    return ok;
}

// Word's message filter: while Word is busy it refuses the calls of other processes. Word answers
// SERVERCALL_RETRYLATER; Wine's COM lets such a call through, so the stand-in answers
// SERVERCALL_REJECTED, which a caller sees as RPC_E_CALL_REJECTED in both cases when it has no
// filter of its own (and which a caller's filter is asked to retry on Windows).
class BusyFilter final : public ComObject<IMessageFilter> {
public:
    explicit BusyFilter(std::shared_ptr<Host> host) : host_(std::move(host)) {}
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        if (!host_->busy()) return SERVERCALL_ISHANDLED;
        ++host_->refusedCalls;
        return SERVERCALL_REJECTED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return static_cast<DWORD>(-1); }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }

private:
    std::shared_ptr<Host> host_;
};

struct Requests {
    std::deque<std::weak_ptr<word::recording::RecordingControl>> clicks;
};

LRESULT CALLBACK requestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* requests = reinterpret_cast<Requests*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == kDeliverClick && requests) {
        while (!requests->clicks.empty()) {
            auto control = requests->clicks.front().lock();
            requests->clicks.pop_front();
            if (control) control->click();
        }
        return 0;
    }
    if (message == kQuit) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool hasSwitch(const wchar_t* commandLine, const wchar_t* name) {
    std::wstring line(commandLine);
    for (auto& ch : line) ch = static_cast<wchar_t>(towlower(ch));
    return line.find(name) != std::wstring::npos;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    if (hasSwitch(commandLine, L"/regserver")) return writeRegistration(false) ? 0 : 1;
    if (hasSwitch(commandLine, L"/unregserver")) return writeRegistration(true) ? 0 : 1;

    Apartment apartment;
    if (!apartment.joined()) return 2;

    auto host = std::make_shared<Host>();
    host->recorder.setPastePiecesSource(clipboardPieces);
    if (hasSwitch(commandLine, L"/nodocument")) host->recorder.closeDocument();

    Requests requests;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = requestWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"WordStandinRequests";
    RegisterClassW(&windowClass);
    HWND window =
        CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!window) return 3;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&requests));
    host->postClick = [&requests, window](std::weak_ptr<word::recording::RecordingControl> control) {
        requests.clicks.push_back(std::move(control));
        PostMessageW(window, kDeliverClick, 0, 0);
    };
    host->postQuit = [window] { PostMessageW(window, kQuit, 0, 0); };

    ComPtr<IDispatch> application = makeApplication(host);
    auto filter = makeComObject<BusyFilter>(host);
    ComPtr<IMessageFilter> previousFilter;
    CoRegisterMessageFilter(filter.Get(), previousFilter.GetAddressOf());
    auto factory = makeComObject<ClassFactory>(application);
    DWORD classCookie = 0;
    const bool classRegistered = SUCCEEDED(CoRegisterClassObject(
        CLSID_WordApplication, factory.Get(), CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &classCookie));
    {
        AddinHost addins(host, application);
        addins.connectRegistered();

        DWORD rotCookie = 0;
        const bool inTable =
            SUCCEEDED(RegisterActiveObject(application.Get(), CLSID_WordApplication, ACTIVEOBJECT_STRONG, &rotCookie));

        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }

        if (inTable) RevokeActiveObject(rotCookie, nullptr);
        addins.disconnectAll();
    }
    if (classRegistered) CoRevokeClassObject(classCookie);
    ComPtr<IMessageFilter> ours;
    CoRegisterMessageFilter(previousFilter.Get(), ours.GetAddressOf());
    CoDisconnectObject(application.Get(), 0);
    DestroyWindow(window);
    return 0;
}
