// WordStandinTestAddin.dll: see test_addin.h.
#include <memory>
#include <string>

#include "word/com/com_support.h"
#include "word/com/standin/extensibility.h"
#include "word/com/tests/test_addin.h"
#include "word/com/word_com.h"

namespace {

using namespace word::com;
using word::com::standin::CLSID_TestAddin;

using word::com::standin::IDTExtensibility2;
using word::com::standin::IID_IDTExtensibility2;

std::atomic<long> objects{0};

void record(const std::wstring& event) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, word::com::standin::kTestAddinEventsKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    std::wstring events(4096, L'\0');
    DWORD bytes = static_cast<DWORD>(events.size() * sizeof(wchar_t));
    if (RegGetValueW(key, nullptr, L"Events", RRF_RT_REG_SZ, nullptr, events.data(), &bytes) != ERROR_SUCCESS)
        bytes = 0;
    events.resize(bytes ? bytes / sizeof(wchar_t) - 1 : 0);
    events += event + L";";
    RegSetValueExW(key, L"Events", 0, REG_SZ, reinterpret_cast<const BYTE*>(events.c_str()),
                   static_cast<DWORD>((events.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::wstring progIdOf(IDispatch* addInInst) {
    if (!addInInst) return L"?";
    LPOLESTR name = const_cast<LPOLESTR>(L"ProgId");
    DISPID id;
    if (FAILED(addInInst->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return L"?";
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    Variant result;
    if (FAILED(addInInst->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, result.out(), nullptr,
                                 nullptr)) ||
        result.type() != VT_BSTR)
        return L"?";
    return result.get()->bstrVal;
}

class Connect final : public DispatchObject<IDTExtensibility2, IID_IDTExtensibility2> {
public:
    Connect() { ++objects; }
    ~Connect() override { --objects; }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }

    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, int connectMode, IDispatch* addInInst,
                                           SAFEARRAY**) override {
        const std::wstring progId = progIdOf(addInInst);
        record(L"OnConnection " + std::to_wstring(connectMode) + L" " + progId);
        try {
            word_ = word::com::wrapApplication(application);
            auto popup = word_->CommandBars().ActiveMenuBar().Controls().Add(word::msoControlPopup, true);
            popup->SetCaption(u"Test Add-in");
            ping_ = popup->Controls().Add(word::msoControlButton);
            ping_->SetCaption(u"&Ping");
            ping_->OnClick([this] { word_->Selection()->TypeText(u"pong"); });
        } catch (const word::Error& e) {
            const std::u16string text = fromUtf8(e.what());
            record(L"failed " + std::wstring(text.begin(), text.end()));
            return E_FAIL;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDisconnection(int removeMode, SAFEARRAY**) override {
        record(L"OnDisconnection " + std::to_wstring(removeMode));
        try {
            if (word_) word_->CommandBars().ActiveMenuBar().Controls().Item(u"Test Add-in")->Delete();
        } catch (const word::Error&) {
        }
        ping_.reset();
        word_.reset();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY**) override {
        record(L"OnAddInsUpdate");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY**) override {
        record(L"OnStartupComplete");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY**) override {
        record(L"OnBeginShutdown");
        return S_OK;
    }

private:
    std::unique_ptr<word::Application> word_;
    std::shared_ptr<word::CommandBarControl> ping_;
};

class Factory final : public ComObject<IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        return makeComObject<Connect>()->QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDMETHODCALLTYPE
    DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (clsid != CLSID_TestAddin) return CLASS_E_CLASSNOTAVAILABLE;
    return makeComObject<Factory>()->QueryInterface(iid, object);
}

extern "C" __declspec(dllexport) HRESULT STDMETHODCALLTYPE DllCanUnloadNow() { return objects == 0 ? S_OK : S_FALSE; }
