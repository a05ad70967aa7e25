// Tarvelo.dll as an in-process COM server: the class factory of Tarvelo.Connect, whose object
// receives Word's add-in connection events (IDTExtensibility2, through its vtable or through
// IDispatch) and hands them to the add-in's core (tarvelo/addin_core.h) and the add-in designer's
// AddinInstance_* procedures, and gives Word 2007 and later its ribbon tab (IRibbonExtensibility
// and the ribbon's callbacks, ribbon.h); and the four exported entry points.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <atomic>
#include <string>

#include "tarvelo/addin_core.h"
#include "tarvelo/autoreplace/windows_timer.h"
#include "tarvelo/connect.h"
#include "tarvelo/word/com_server.h"
#include "tarvelo/word/idtextensibility2.h"
#include "tarvelo/word/registration.h"
#include "tarvelo/word/ribbon.h"
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

// The add-in goes away with the last connection object: its windows with it, so that nothing of
// the library is left running when Word unloads it.
void Uninstall() {
    mTarvelo::UninstallAddin();
    CloseAboutWindow();
    ForgetRibbon();
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
        if (IsEqualIID(iid, IID_IRibbonExtensibility)) {
            *out = static_cast<IRibbonExtensibility*>(&ribbon_);
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

    // IDispatch: no type information; the five methods and the ribbon's callbacks by name and
    // dispatch identifier.
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
        if (ids[0] == DISPID_UNKNOWN) RibbonCallbackId(names[0], ids[0]);
        if (ids[0] == DISPID_UNKNOWN || count > 1) result = DISP_E_UNKNOWNNAME;  // no named arguments
        return result;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT* argError) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
        DISPPARAMS empty{};
        if (params == nullptr) params = &empty;
        if (IsRibbonCallback(id)) return InvokeRibbonCallback(id, *params, result, argError);
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
            mTarvelo::InstallAddin([] {
                return mTarvelo::HostParts{MakeWordHost(), mTarvelo::MakeWindowsTimerService(), RibbonModeChanged};
            });
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        std::u16string progId = StringProperty(AddInInst, L"ProgId");
        if (progId.empty()) progId = mTarvelo::ProgId;
        mTarvelo::ConnectAddin([&] { return WordApplication(Application); }, progId);
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
    RibbonPart ribbon_{*this};
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
