// Tarvelo.dll as an in-process COM server: the class factory of Tarvelo.Connect, whose object
// receives Word's add-in connection events (IDTExtensibility2, through its vtable or through
// IDispatch) and hands them to the add-in designer's AddinInstance_* procedures, and the four
// exported entry points.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <atomic>
#include <string>

#include "tarvelo/addin_error.h"
#include "tarvelo/addin_services.h"
#include "tarvelo/addin_state.h"
#include "tarvelo/autoreplace/auto_replace.h"
#include "tarvelo/autoreplace/windows_timer.h"
#include "tarvelo/composer.h"
#include "tarvelo/connect.h"
#include "tarvelo/data/data_files.h"
#include "tarvelo/frm_choose.h"
#include "tarvelo/text_util.h"
#include "tarvelo/word/com_server.h"

#include "tarvelo/module_data.h"
#include "tarvelo/word/idtextensibility2.h"
#include "tarvelo/word/registration.h"
#include "tarvelo/word/word_application.h"
#include "tarvelo/word/word_host.h"

namespace tarvelo_word {

namespace {

// Live objects (connection objects and references to the factory) and LockServer locks: the
// library may be unloaded only when both are 0.
std::atomic<long> LiveObjects{0};
std::atomic<long> ServerLocks{0};
// Connection objects alive: the add-in's module state goes with the last of them.
std::atomic<long> Connections{0};

// Whether the add-in's services and its automatic replacement are installed in this process.
bool Installed = false;

void Install() {
    if (Installed) return;
    mTarvelo::SetServices({mTarvelo::MakeModuleData(), MakeWordHost()});
    mTarvelo::ShowMessage = [](std::u16string_view text) {
        try {
            mTarvelo::Host().MsgBox(text, mTarvelo::MessageIcon::None);
        } catch (...) {
        }
    };
    mTarvelo::AutoReplaceHost host;
    host.timers = mTarvelo::MakeWindowsTimerService();
    host.insertArabic = &mTarvelo::InsertArabic;
    host.insertTranslation = &mTarvelo::InsertTranslation;
    host.surah = [](std::int64_t s) -> std::optional<mTarvelo::SurahInfo> {
        if (s < 1 || s > 114) return std::nullopt;
        return mTarvelo::SurahInfo{mTarvelo::Data().SurahName(int(s)), mTarvelo::Data().VerseCount(int(s))};
    };
    host.message = [](std::u16string_view text) { mTarvelo::Host().MsgBox(text, mTarvelo::MessageIcon::None); };
    mTarvelo::InstallAutoReplace(std::move(host));
    Installed = true;
}

// The add-in goes away: its timer, windows, Word's objects and data files with it, so that
// nothing of the library is left running when Word unloads it.
void Uninstall() {
    mTarvelo::AddinInstance_Terminate();
    if (!Installed) return;
    mTarvelo::UninstallAutoReplace();
    if (auto dialog = mTarvelo::LoadedFrmChoose()) {
        try {
            dialog->Controls().Close();
        } catch (...) {
        }
        mTarvelo::UnloadFrmChoose();
    }
    CloseAboutWindow();
    for (auto* button : {&mTarvelo::ctrl2, &mTarvelo::ctrl3, &mTarvelo::ctrl4, &mTarvelo::ctrl5, &mTarvelo::ctrl6})
        button->reset();
    mTarvelo::WordApp.reset();
    mTarvelo::SetServices({});
    mTarvelo::ShowMessage = {};
    mTarvelo::CloseDataFiles();
    Installed = false;
}

// A string property of a dispatch object, read by name; empty when it cannot be read.
std::u16string StringProperty(IDispatch* object, const wchar_t* name) {
    if (object == nullptr) return {};
    DISPID id = 0;
    auto* names = const_cast<LPOLESTR>(name);
    if (FAILED(object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id))) return {};
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    std::u16string value;
    if (SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                                 nullptr)) &&
        SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BSTR)) && result.bstrVal != nullptr)
        value.assign(reinterpret_cast<const char16_t*>(result.bstrVal), SysStringLen(result.bstrVal));
    VariantClear(&result);
    return value;
}

// The translation chosen in an earlier run of Word is the current one again: the data files
// open the first translation of the folder, while the dialog shows the stored one as chosen and
// would otherwise insert the other. A stored name whose file is gone leaves the first one.
void OpenStoredTranslation() {
    try {
        auto& data = mTarvelo::Data();
        const std::u16string stored = mTarvelo::Host().GetSetting("tarvelocfg", "language", "default");
        if (stored.empty() || stored == data.TranslationName()) return;
        const std::u16string file = stored + u".dabrel";
        for (const auto& name : data.TranslationFiles()) {
            if (name.size() != file.size() ||
                CompareStringOrdinal(reinterpret_cast<const wchar_t*>(name.c_str()), static_cast<int>(name.size()),
                                     reinterpret_cast<const wchar_t*>(file.c_str()), static_cast<int>(file.size()),
                                     TRUE) != CSTR_EQUAL)
                continue;
            data.SetTranslationName(stored);
            data.loadeFile(1);
            return;
        }
    } catch (...) {
        // no data or no setting: the translation the data files chose stays current
    }
}

void ReportConnectionError() {
    const auto info = mTarvelo::DescribeError(std::current_exception());
    try {
        mTarvelo::Host().MsgBox(
            mTarvelo::FromUtf8(mTarvelo::ProcedureErrorText(info, "AddinInstance_OnConnection", "Designer Connect")),
            mTarvelo::MessageIcon::None);
    } catch (...) {
    }
}

// The connection object.
class Connect final : public IDTExtensibility2 {
public:
    Connect() {
        ++LiveObjects;
        ++Connections;
    }
    Connect(const Connect&) = delete;
    Connect& operator=(const Connect&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IDTExtensibility2)) {
            *out = static_cast<IDTExtensibility2*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --references_;
        if (left == 0) {
            try {
                if (--Connections == 0) Uninstall();
                else mTarvelo::AddinInstance_Terminate();
            } catch (...) {
            }
            --LiveObjects;
            delete this;  // a COM object owns itself through its reference count
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: no type information; the five methods by name and dispatch identifier.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (names == nullptr || ids == nullptr) return E_POINTER;
        static constexpr struct {
            const wchar_t* name;
            DISPID id;
        } methods[] = {{L"OnConnection", DISPID_OnConnection},
                       {L"OnDisconnection", DISPID_OnDisconnection},
                       {L"OnAddInsUpdate", DISPID_OnAddInsUpdate},
                       {L"OnStartupComplete", DISPID_OnStartupComplete},
                       {L"OnBeginShutdown", DISPID_OnBeginShutdown}};
        HRESULT result = S_OK;
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        if (count == 0) return S_OK;
        for (const auto& method : methods)
            if (names[0] != nullptr && _wcsicmp(names[0], method.name) == 0) ids[0] = method.id;
        if (ids[0] == DISPID_UNKNOWN || count > 1) result = DISP_E_UNKNOWNNAME;  // no named arguments
        return result;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT* argError) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
        DISPPARAMS empty{};
        if (params == nullptr) params = &empty;
        if (params->cNamedArgs > 0) return DISP_E_NONAMEDARGS;
        if (result != nullptr) VariantInit(result);
        UINT expected = 0;
        switch (id) {
            case DISPID_OnConnection: expected = 4; break;
            case DISPID_OnDisconnection: expected = 2; break;
            case DISPID_OnAddInsUpdate:
            case DISPID_OnStartupComplete:
            case DISPID_OnBeginShutdown: expected = 1; break;
            default: return DISP_E_MEMBERNOTFOUND;
        }
        if (params->cArgs != expected) return DISP_E_BADPARAMCOUNT;
        // Arguments arrive last first: argument i (from the left) is rgvarg[cArgs - 1 - i].
        auto arg = [&](UINT i) -> VARIANT& {
            VARIANT& v = params->rgvarg[params->cArgs - 1 - i];
            return v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal != nullptr ? *v.pvarVal : v;
        };
        auto fail = [&](UINT i) {
            if (argError != nullptr) *argError = params->cArgs - 1 - i;
            return DISP_E_TYPEMISMATCH;
        };
        SAFEARRAY** custom = nullptr;
        if (!CustomArray(arg(expected - 1), custom)) return fail(expected - 1);
        switch (id) {
            case DISPID_OnConnection: {
                IDispatch* application = nullptr;
                IDispatch* addInInst = nullptr;
                if (!Dispatch(arg(0), application)) return fail(0);
                VARIANT mode;
                VariantInit(&mode);
                if (FAILED(VariantChangeType(&mode, &arg(1), 0, VT_I4))) return fail(1);
                if (!Dispatch(arg(2), addInInst)) return fail(2);
                return OnConnection(application, static_cast<ext_ConnectMode>(mode.lVal), addInInst, custom);
            }
            case DISPID_OnDisconnection: {
                VARIANT mode;
                VariantInit(&mode);
                if (FAILED(VariantChangeType(&mode, &arg(0), 0, VT_I4))) return fail(0);
                return OnDisconnection(static_cast<ext_DisconnectMode>(mode.lVal), custom);
            }
            case DISPID_OnAddInsUpdate: return OnAddInsUpdate(custom);
            case DISPID_OnStartupComplete: return OnStartupComplete(custom);
            default: return OnBeginShutdown(custom);
        }
    }

    // IDTExtensibility2. The connection and removal modes and `custom` are not used.
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, ext_ConnectMode, IDispatch* AddInInst,
                                           SAFEARRAY**) override {
        try {
            Install();
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        std::u16string progId = StringProperty(AddInInst, L"ProgId");
        if (progId.empty()) progId = mTarvelo::ProgId;
        std::shared_ptr<word::Application> application;
        try {
            application = WordApplication(Application);
        } catch (...) {
            ReportConnectionError();
            return S_OK;
        }
        mTarvelo::AddinInstance_OnConnection(std::move(application), progId);
        OpenStoredTranslation();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode, SAFEARRAY**) override {
        mTarvelo::AddinInstance_OnDisconnection();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY**) override {
        mTarvelo::AddinInstance_OnBeginShutdown();
        return S_OK;
    }

private:
    ~Connect() = default;

    static bool Dispatch(VARIANT& v, IDispatch*& out) {
        switch (v.vt) {
            case VT_EMPTY:
            case VT_NULL: out = nullptr; return true;
            case VT_DISPATCH: out = v.pdispVal; return true;
            case VT_DISPATCH | VT_BYREF: out = v.ppdispVal != nullptr ? *v.ppdispVal : nullptr; return true;
            default: return false;
        }
    }
    static bool CustomArray(VARIANT& v, SAFEARRAY**& out) {
        if ((v.vt & VT_ARRAY) != 0) {
            out = (v.vt & VT_BYREF) != 0 ? v.pparray : &v.parray;
            return true;
        }
        out = nullptr;
        return v.vt == VT_EMPTY || v.vt == VT_NULL || v.vt == VT_ERROR;  // missing
    }

    std::atomic<long> references_{1};
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is one static object: its references only keep the library loaded.
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++LiveObjects); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--LiveObjects); }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        Connect* object = nullptr;
        try {
            object = new Connect;  // starts with one reference, given up below
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        const HRESULT result = object->QueryInterface(iid, out);
        object->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) ++ServerLocks;
        else --ServerLocks;
        return S_OK;
    }
};

Factory TheFactory;

}  // namespace

long LiveObjectCount() { return LiveObjects.load(); }

}  // namespace tarvelo_word

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, tarvelo_word::CLSID_TarveloConnect)) return CLASS_E_CLASSNOTAVAILABLE;
    return tarvelo_word::TheFactory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() {
    return tarvelo_word::LiveObjects.load() == 0 && tarvelo_word::ServerLocks.load() == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    const HRESULT result = tarvelo_word::RegisterAddin(tarvelo_word::OwnModulePath());
    return SUCCEEDED(result) ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    const HRESULT result = tarvelo_word::UnregisterAddin();
    return SUCCEEDED(result) ? S_OK : SELFREG_E_CLASS;
}
