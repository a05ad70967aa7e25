#include "word/com/standin/addin_host.h"

#include "word/com/standin/automation.h"
#include "word/com/standin/extensibility.h"
#include "word/com/standin/ribbon_host.h"

namespace word::com::standin {

namespace {

constexpr wchar_t kAddinsKey[] = L"Software\\Microsoft\\Office\\Word\\Addins";

// The empty array that Office passes as the `custom` argument.
class CustomArray {
public:
    CustomArray() : array_(SafeArrayCreateVector(VT_VARIANT, 0, 0)) {}
    CustomArray(const CustomArray&) = delete;
    CustomArray& operator=(const CustomArray&) = delete;
    ~CustomArray() {
        if (array_) SafeArrayDestroy(array_);
    }
    SAFEARRAY** get() { return &array_; }

private:
    SAFEARRAY* array_;
};

// The COMAddIn object handed to an add-in as AddInInst.
class ComAddInObject final : public AutomationObject {
public:
    ComAddInObject(std::u16string progId, std::u16string description, ComPtr<IDispatch> application)
        : AutomationObject(kMembers),
          progId_(std::move(progId)),
          description_(std::move(description)),
          application_(std::move(application)) {}

private:
    enum { ProgId, Description, Connect, Object, Guid, Application, Parent, Creator };
    inline static const std::vector<Member> kMembers = {{u"ProgId", {}}, {u"Description", {}}, {u"Connect", {}},
                                                        {u"Object", {}}, {u"Guid", {}},        {u"Application", {}},
                                                        {u"Parent", {}}, {u"Creator", {}}};
    Variant call(std::size_t index, bool put, const Arguments& args) override {
        switch (index) {
            case ProgId:
                if (put) readOnly();
                return Variant::text(progId_);
            case Description:
                if (put) description_ = args.textValue();
                else return Variant::text(description_);
                return {};
            case Connect:
                if (put) readOnly();
                return Variant::boolean(true);
            case Object:
                if (put) object_ = Variant::copyOf(args.value());
                else return object_;
                return {};
            case Guid: {
                if (put) readOnly();
                CLSID clsid{};
                std::u16string text;
                if (SUCCEEDED(CLSIDFromProgID(wide(progId_), &clsid))) {
                    wchar_t buffer[64];
                    const int length = StringFromGUID2(clsid, buffer, 64);
                    if (length > 0) text = u16(buffer, static_cast<std::size_t>(length - 1));
                }
                return Variant::text(text);
            }
            case Application:
            case Parent:
                if (put) readOnly();
                return Variant::dispatch(application_.Get());
            case Creator:
                if (put) readOnly();
                return Variant::int32(0x4D535744);  // 'MSWD'
        }
        return {};
    }
    std::u16string progId_, description_;
    ComPtr<IDispatch> application_;
    Variant object_;
};

std::wstring readString(HKEY key, const wchar_t* name) {
    DWORD bytes = 0;
    if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS || bytes == 0)
        return {};
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, value.data(), &bytes) != ERROR_SUCCESS) return {};
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

struct Registration {
    std::wstring progId;
    std::wstring description;
};

std::vector<Registration> registeredAddins() {
    std::vector<Registration> result;
    HKEY addins;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kAddinsKey, 0, KEY_READ, &addins) != ERROR_SUCCESS) return result;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(addins, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY addin;
        if (RegOpenKeyExW(addins, name, 0, KEY_READ, &addin) != ERROR_SUCCESS) continue;
        DWORD behaviour = 0, size = sizeof behaviour;
        const bool loadAtStart = RegGetValueW(addin, nullptr, L"LoadBehavior", RRF_RT_REG_DWORD, nullptr, &behaviour,
                                              &size) == ERROR_SUCCESS &&
                                 behaviour == 3;
        if (loadAtStart) result.push_back({name, readString(addin, L"Description")});
        RegCloseKey(addin);
    }
    RegCloseKey(addins);
    return result;
}

// Word marks an add-in that failed to load as not loaded (LoadBehavior 2).
void markNotLoaded(const std::wstring& progId) {
    const std::wstring path = std::wstring(kAddinsKey) + L"\\" + progId;
    const DWORD behaviour = 2;
    RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), L"LoadBehavior", REG_DWORD, &behaviour, sizeof behaviour);
}

}  // namespace

struct AddinHost::Addin {
    std::u16string progId;
    ComPtr<IDTExtensibility2> connect;
    ComPtr<IDispatch> instance;
};

AddinHost::AddinHost(std::shared_ptr<Host> host, ComPtr<IDispatch> application)
    : host_(std::move(host)), application_(std::move(application)) {
    if (!host_->ribbon) host_->ribbon = std::make_shared<Ribbon>();
    host_->reconnectAddins = [this] { reconnectAll(); };
}

AddinHost::~AddinHost() {
    host_->reconnectAddins = nullptr;
    disconnectAll();
}

void AddinHost::connectRegistered(int mode) {
    auto& log = host_->addinLog;
    for (const auto& registration : registeredAddins()) {
        const std::u16string progId = u16(registration.progId);
        CLSID clsid;
        HRESULT hr = CLSIDFromProgID(registration.progId.c_str(), &clsid);
        auto addin = std::make_unique<Addin>();
        addin->progId = progId;
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDTExtensibility2,
                                  reinterpret_cast<void**>(addin->connect.GetAddressOf()));
        if (SUCCEEDED(hr)) {
            ComPtr<IDispatch> instance;
            makeComObject<ComAddInObject>(progId, u16(registration.description), application_).As(&instance);
            addin->instance = instance;
            CustomArray custom;
            log.push_back(u"OnConnection " + progId);
            hr = addin->connect->OnConnection(application_.Get(), mode, instance.Get(), custom.get());
        }
        if (FAILED(hr)) {
            log.push_back(u"failed " + progId + u" " + fromUtf8(hex(hr)));
            markNotLoaded(registration.progId);
            continue;
        }
        host_->connectedAddins.push_back(progId);
        host_->ribbon->load(progId, addin->connect.Get());
        addins_.push_back(std::move(addin));
    }
    for (const auto& addin : addins_) {
        CustomArray custom;
        log.push_back(u"OnAddInsUpdate " + addin->progId);
        addin->connect->OnAddInsUpdate(custom.get());
    }
    if (mode != ext_cm_Startup) return;  // an add-in connected later has no start-up to complete
    for (const auto& addin : addins_) {
        CustomArray custom;
        log.push_back(u"OnStartupComplete " + addin->progId);
        addin->connect->OnStartupComplete(custom.get());
    }
}

void AddinHost::reconnectAll() {
    for (const auto& addin : addins_) {
        CustomArray custom;
        host_->addinLog.push_back(u"OnDisconnection " + addin->progId);
        addin->connect->OnDisconnection(ext_dm_UserClosed, custom.get());
        host_->ribbon->unload(addin->progId);
    }
    addins_.clear();
    host_->connectedAddins.clear();
    connectRegistered(ext_cm_AfterStartup);
}

void AddinHost::disconnectAll() {
    auto& log = host_->addinLog;
    for (const auto& addin : addins_) {
        CustomArray custom;
        log.push_back(u"OnBeginShutdown " + addin->progId);
        addin->connect->OnBeginShutdown(custom.get());
    }
    for (const auto& addin : addins_) {
        CustomArray custom;
        log.push_back(u"OnDisconnection " + addin->progId);
        addin->connect->OnDisconnection(ext_dm_HostShutdown, custom.get());
        host_->ribbon->unload(addin->progId);
    }
    addins_.clear();
    host_->connectedAddins.clear();
}

}  // namespace word::com::standin
