#include "word/com/standin/ribbon_host.h"

#include <map>
#include <stdexcept>

#include "word/com/standin/automation.h"
#include "word/com/standin/custom_ui.h"
#include "word/com/standin/host.h"
#include "word/word.h"

namespace word::com::standin {

namespace {

constexpr UINT kDeliverRibbonClicks = WM_APP + 20;
constexpr wchar_t kWindowClass[] = L"WordStandinRibbon";

std::u16string textOf(const Variant& value) {
    const VARIANT* raw = value.get();
    return raw->vt == VT_BSTR && raw->bstrVal ? u16(raw->bstrVal, SysStringLen(raw->bstrVal)) : std::u16string();
}

// The IRibbonUI handed to an add-in's onLoad.
class RibbonUiObject final : public AutomationObject {
public:
    RibbonUiObject(std::weak_ptr<Ribbon> ribbon, std::u16string progId)
        : AutomationObject(kMembers), ribbon_(std::move(ribbon)), progId_(std::move(progId)) {}

private:
    enum { Invalidate, InvalidateControl };
    inline static const std::vector<Member> kMembers = {{u"Invalidate", {}}, {u"InvalidateControl", {u"ControlID"}}};
    Variant call(std::size_t index, bool put, const Arguments& args) override {
        if (put) readOnly();
        auto ribbon = ribbon_.lock();
        if (!ribbon) return {};  // the stand-in is going away
        if (index == Invalidate) ribbon->invalidate(progId_, std::nullopt);
        else ribbon->invalidate(progId_, args.text(0));
        return {};
    }
    std::weak_ptr<Ribbon> ribbon_;
    std::u16string progId_;
};

// The IRibbonControl passed to a control's callbacks.
class RibbonControlObject final : public AutomationObject {
public:
    RibbonControlObject(std::u16string id, std::u16string tag)
        : AutomationObject(kMembers), id_(std::move(id)), tag_(std::move(tag)) {}

private:
    enum { Id, Context, Tag };
    inline static const std::vector<Member> kMembers = {{u"Id", {}}, {u"Context", {}}, {u"Tag", {}}};
    Variant call(std::size_t index, bool put, const Arguments&) override {
        if (put) readOnly();
        switch (index) {
            case Id: return Variant::text(id_);
            case Context: return Variant::dispatch(nullptr);  // Word gives its window; not modelled
            default: return Variant::text(tag_);
        }
    }
    std::u16string id_, tag_;
};

// What a getImage gave, as the ribbon can use it: a 32-bit DIB section with an alpha channel.
std::u16string describePicture(const Variant& value) {
    const VARIANT* raw = value.get();
    IUnknown* unknown = raw->vt == VT_DISPATCH ? raw->pdispVal : raw->vt == VT_UNKNOWN ? raw->punkVal : nullptr;
    if (!unknown) return u"no picture";
    ComPtr<IPicture> picture;
    if (FAILED(unknown->QueryInterface(IID_IPicture, reinterpret_cast<void**>(picture.GetAddressOf()))))
        return u"not a picture";
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle)))
        return u"not a bitmap";
    auto* bitmap = reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(static_cast<int>(handle)));
    DIBSECTION section{};
    if (GetObjectW(bitmap, sizeof section, &section) != sizeof section || !section.dsBm.bmBits)
        return u"not a DIB section";
    const long width = section.dsBm.bmWidth, height = std::abs(section.dsBm.bmHeight);
    const std::u16string size = fromUtf8(std::to_string(width) + "x" + std::to_string(height));
    if (section.dsBm.bmBitsPixel != 32)
        return size + u" " + fromUtf8(std::to_string(section.dsBm.bmBitsPixel)) + u"-bit";
    const auto* bytes = static_cast<const BYTE*>(section.dsBm.bmBits);
    bool transparent = false, opaque = false;
    for (long row = 0; row < height; ++row)
        for (long column = 0; column < width; ++column) {
            const BYTE alpha = bytes[row * section.dsBm.bmWidthBytes + column * 4 + 3];
            transparent = transparent || alpha < 255;
            opaque = opaque || alpha > 0;
        }
    return size + (transparent && opaque ? u" 32-bit alpha" : u" 32-bit without alpha");
}

const CustomUiElement* child(const CustomUiElement& parent, std::u16string_view name) {
    for (const auto& element : parent.children)
        if (element.name == name) return &element;
    return nullptr;
}

// The tabs of a customUI document (ribbon > tabs > tab).
std::vector<const CustomUiElement*> tabsOf(const CustomUiElement& root) {
    std::vector<const CustomUiElement*> tabs;
    const auto* ribbon = child(root, u"ribbon");
    const auto* list = ribbon ? child(*ribbon, u"tabs") : nullptr;
    if (list)
        for (const auto& tab : list->children) tabs.push_back(&tab);
    return tabs;
}

}  // namespace

struct Ribbon::Loaded {
    std::u16string progId;
    ComPtr<IDispatch> callbacks;
    CustomUiElement ui;
    ComPtr<IDispatch> ribbonUi;  // the IRibbonUI its onLoad received
    struct Values {
        bool imageKnown = false;
        std::u16string image;
        bool pressedKnown = false;
        bool pressed = false;
    };
    std::map<std::u16string, Values, std::less<>> values;  // by control id
};

struct Ribbon::Shown {
    Loaded* addin;
    const CustomUiElement* tab;
    const CustomUiElement* group;
    const CustomUiElement* control;
};

Ribbon::Ribbon() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);  // fails harmlessly when a ribbon registered it before
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Ribbon::~Ribbon() {
    if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK Ribbon::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* ribbon = reinterpret_cast<Ribbon*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == kDeliverRibbonClicks && ribbon) {
        ribbon->deliverClicks();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Ribbon::load(std::u16string_view progId, IUnknown* addin) {
    ComPtr<IRibbonExtensibility> extensibility;
    if (!addin ||
        FAILED(addin->QueryInterface(IID_IRibbonExtensibility, reinterpret_cast<void**>(extensibility.GetAddressOf()))))
        return;  // an add-in without a ribbon
    const std::u16string name(progId);
    auto refuse = [&](std::u16string_view why) { log.push_back(u"refused " + name + u": " + std::u16string(why)); };
    log.push_back(u"GetCustomUI " + name);
    Bstr xml;
    const HRESULT made = extensibility->GetCustomUI(Bstr(kWordRibbonId).get(), xml.out());
    if (FAILED(made)) return refuse(u"GetCustomUI failed " + fromUtf8(hex(made)));
    if (xml.text().empty()) return;  // nothing for this ribbon
    auto reading = readCustomUi(xml.text());
    if (!reading.root) return refuse(reading.refusal);
    auto loaded = std::make_unique<Loaded>();
    loaded->progId = name;
    loaded->ui = std::move(*reading.root);
    if (FAILED(addin->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(loaded->callbacks.GetAddressOf()))))
        return refuse(u"the add-in has no IDispatch for its callbacks");
    for (const auto& callback : callbackNames(loaded->ui)) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(wide(callback))};
        DISPID id;
        const HRESULT found = loaded->callbacks->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(found))
            return refuse(u"the add-in does not know the callback " + callback + u" " + fromUtf8(hex(found)));
    }
    unload(progId);  // one customization per add-in
    loaded_.push_back(std::move(loaded));
    Loaded& shown = *loaded_.back();
    const auto onLoad = shown.ui.attribute(u"onLoad");
    if (onLoad.empty()) return;
    ComPtr<IDispatch> ribbonUi;
    makeComObject<RibbonUiObject>(weak_from_this(), name).As(&ribbonUi);
    shown.ribbonUi = ribbonUi;
    log.push_back(u"onLoad");
    HRESULT hr;
    call(shown, onLoad, {Variant::dispatch(ribbonUi.Get())}, hr);
}

void Ribbon::unload(std::u16string_view progId) {
    std::erase_if(loaded_, [&](const auto& addin) {
        if (addin->progId != progId) return false;
        log.push_back(u"unload " + addin->progId);
        return true;
    });
}

Ribbon::Loaded* Ribbon::find(std::u16string_view progId) {
    for (const auto& addin : loaded_)
        if (addin->progId == progId) return addin.get();
    return nullptr;
}

std::optional<Ribbon::Shown> Ribbon::findControl(std::u16string_view id) {
    for (const auto& addin : loaded_)
        for (const auto* tab : tabsOf(addin->ui))
            for (const auto& group : tab->children)
                for (const auto& control : group.children)
                    if (control.attribute(u"id") == id) return Shown{addin.get(), tab, &group, &control};
    return std::nullopt;
}

Variant Ribbon::call(Loaded& addin, const std::u16string& callback, std::vector<Variant> arguments, HRESULT& result) {
    ComPtr<IDispatch> target = addin.callbacks;  // kept: the call may unload the add-in
    LPOLESTR names[] = {const_cast<LPOLESTR>(wide(callback))};
    DISPID id;
    result = target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    Variant value;
    if (SUCCEEDED(result)) {
        std::vector<VARIANT> raw;
        for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) raw.push_back(*it->get());
        DISPPARAMS params{raw.data(), nullptr, static_cast<UINT>(raw.size()), 0};
        result =
            target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, value.out(), nullptr, nullptr);
    }
    if (FAILED(result)) log.push_back(u"failed " + callback + u" " + fromUtf8(hex(result)));
    return value;
}

Variant Ribbon::controlObject(Loaded&, const std::u16string& id, const std::u16string& tag) {
    ComPtr<IDispatch> control;
    makeComObject<RibbonControlObject>(id, tag).As(&control);
    return Variant::dispatch(control.Get());
}

bool Ribbon::pressedOf(Loaded& addin, const Shown& shown) {
    const auto id = shown.control->attribute(u"id");
    auto& values = addin.values[id];
    const auto getPressed = shown.control->attribute(u"getPressed");
    if (values.pressedKnown || getPressed.empty()) return values.pressed;
    log.push_back(u"getPressed " + id);
    HRESULT hr;
    const Variant answer = call(addin, getPressed, {controlObject(addin, id, shown.control->attribute(u"tag"))}, hr);
    Variant pressed;
    auto& known = addin.values[id];  // the call may have invalidated the values
    known.pressed = SUCCEEDED(hr) && SUCCEEDED(answer.to(VT_BOOL, pressed)) && pressed.get()->boolVal != VARIANT_FALSE;
    known.pressedKnown = SUCCEEDED(hr);
    return known.pressed;
}

std::u16string Ribbon::imageOf(Loaded& addin, const CustomUiElement& control) {
    const auto id = control.attribute(u"id");
    const auto getImage = control.attribute(u"getImage");
    if (getImage.empty() || addin.values[id].imageKnown) return addin.values[id].image;
    log.push_back(u"getImage " + id);
    HRESULT hr;
    const Variant picture = call(addin, getImage, {controlObject(addin, id, control.attribute(u"tag"))}, hr);
    auto& values = addin.values[id];  // the call may have invalidated the values
    values.image = SUCCEEDED(hr) ? describePicture(picture) : u"failed " + fromUtf8(hex(hr));
    values.imageKnown = true;
    return values.image;
}

std::vector<RibbonControlView> Ribbon::controls() {
    std::vector<RibbonControlView> views;
    for (std::size_t a = 0; a < loaded_.size(); ++a) {
        Loaded& addin = *loaded_[a];
        for (const auto* tab : tabsOf(addin.ui))
            for (const auto& group : tab->children)
                for (const auto& control : group.children) {
                    RibbonControlView view;
                    view.tab = tab->attribute(u"id");
                    view.tabLabel = tab->attribute(u"label");
                    view.tabKeytip = tab->attribute(u"keytip");
                    view.group = group.attribute(u"id");
                    view.groupLabel = group.attribute(u"label");
                    view.kind = control.name;
                    for (auto [field, name] : {std::pair{&view.id, u"id"},
                                               {&view.label, u"label"},
                                               {&view.screentip, u"screentip"},
                                               {&view.supertip, u"supertip"},
                                               {&view.keytip, u"keytip"},
                                               {&view.size, u"size"}})
                        *field = control.attribute(name);
                    view.image = imageOf(addin, control);
                    if (control.name == u"toggleButton")
                        view.pressed = pressedOf(addin, {&addin, tab, &group, &control});
                    views.push_back(std::move(view));
                }
    }
    return views;
}

bool Ribbon::postClick(std::u16string_view id) {
    if (!findControl(id) || !window_) return false;
    clicks_.emplace_back(id);
    PostMessageW(window_, kDeliverRibbonClicks, 0, 0);
    return true;
}

void Ribbon::deliverClicks() {
    while (!clicks_.empty()) {
        const std::u16string id = clicks_.front();
        clicks_.erase(clicks_.begin());
        click(id);
    }
}

void Ribbon::click(const std::u16string& id) {
    const auto shown = findControl(id);
    if (!shown) return;
    Loaded& addin = *shown->addin;
    const auto onAction = shown->control->attribute(u"onAction");
    std::vector<Variant> arguments = {controlObject(addin, id, shown->control->attribute(u"tag"))};
    if (shown->control->name == u"toggleButton") {
        // The toggle shows its new state at once; onAction is told it.
        const bool pressed = !pressedOf(addin, *shown);
        auto& values = addin.values[id];
        values.pressed = pressed;
        values.pressedKnown = true;
        arguments.push_back(Variant::boolean(pressed));
        log.push_back(u"onAction " + id + (pressed ? u" true" : u" false"));
    } else {
        log.push_back(u"onAction " + id);
    }
    HRESULT hr;
    if (!onAction.empty()) call(addin, onAction, std::move(arguments), hr);
}

void Ribbon::invalidate(std::u16string_view progId, std::optional<std::u16string_view> controlId) {
    log.push_back(controlId ? u"InvalidateControl " + std::u16string(*controlId) : u"Invalidate");
    Loaded* addin = find(progId);
    if (!addin) return;
    if (!controlId) addin->values.clear();
    else if (const auto found = addin->values.find(*controlId); found != addin->values.end())
        addin->values.erase(found);
}

// ---------------------------------------------------------------------------------------------
// The control surface

std::u16string ribbonControlsText(Host& host) {
    return host.ribbon ? encodeRibbon(host.ribbon->controls()) : std::u16string();
}

void postRibbonClick(Host& host, std::u16string_view id) {
    if (!host.ribbon || !host.ribbon->postClick(id)) throw word::Error("no ribbon control has this id");
}

std::u16string ribbonLogText(Host& host) { return host.ribbon ? joinRecords(host.ribbon->log) : std::u16string(); }

std::u16string encodeRibbon(const std::vector<RibbonControlView>& controls) {
    std::vector<std::u16string> records;
    for (const auto& c : controls)
        records.push_back(joinFields({c.tab, c.tabLabel, c.tabKeytip, c.group, c.groupLabel, c.kind, c.id, c.label,
                                      c.screentip, c.supertip, c.keytip, c.size, c.image, c.pressed ? u"1" : u"0"}));
    return joinRecords(records);
}

std::vector<RibbonControlView> decodeRibbon(std::u16string_view text) {
    std::vector<RibbonControlView> controls;
    for (const auto& record : splitRecords(text)) {
        const auto f = splitFields(record);
        if (f.size() != 14) throw std::runtime_error("malformed ribbon control from the stand-in");
        controls.push_back(
            {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10], f[11], f[12], f[13] == u"1"});
    }
    return controls;
}

std::vector<RibbonControlView> ribbonControls(const StandinProcess& standin) {
    return decodeRibbon(textOf(standin.invoke(kStandinRibbonControls)));
}

void clickRibbon(const StandinProcess& standin, std::u16string_view id) {
    standin.invoke(kStandinRibbonClick, {Variant::text(id)}, DISPATCH_METHOD);
}

std::vector<std::u16string> ribbonLog(const StandinProcess& standin) {
    return splitRecords(textOf(standin.invoke(kStandinRibbonLog)));
}

void reconnectAddins(const StandinProcess& standin) { standin.invoke(kStandinReconnectAddins, {}, DISPATCH_METHOD); }

}  // namespace word::com::standin
