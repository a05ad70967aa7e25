#include "tarvelo/word/ribbon.h"

#include <array>

#include "tarvelo/addin_core.h"
#include "tarvelo/autoreplace/auto_replace.h"
#include "tarvelo/commands.h"
#include "tarvelo/word/ribbon_images.h"
#include "tarvelo/word/word_host.h"

namespace tarvelo_word {

namespace {

using mTarvelo::AddinCommands;
using mTarvelo::AutoReplaceCommand;

// The callbacks that the XML names, and their dispatch identifiers (apart from IDTExtensibility2's
// 1 to 5 and GetCustomUI's 1).
struct Callback {
    std::u16string_view name;
    DISPID id;
};
constexpr Callback LoadCallback{u"RibbonLoad", 101};        // onLoad(ribbon As IRibbonUI)
constexpr Callback ClickCallback{u"RibbonClick", 102};      // button onAction(control)
constexpr Callback ToggleCallback{u"RibbonToggle", 103};    // toggleButton onAction(control, pressed)
constexpr Callback PressedCallback{u"RibbonPressed", 104};  // getPressed(control) -> Boolean
constexpr Callback ImageCallback{u"RibbonImage", 105};      // getImage(control) -> IPictureDisp
constexpr std::array<Callback, 5> Callbacks = {LoadCallback, ClickCallback, ToggleCallback, PressedCallback,
                                               ImageCallback};

constexpr std::u16string_view CustomUiNamespace = u"http://schemas.microsoft.com/office/2006/01/customui";

// Word's IRibbonUI, kept from onLoad. A plain pointer: the library lets go of it when the add-in
// goes away (ForgetRibbon), never on its way out of a process whose Word may be gone already.
IDispatch* KeptRibbonUI = nullptr;

bool SameName(std::u16string_view name, const wchar_t* other) {
    auto fold = [](char32_t c) { return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c; };
    std::size_t i = 0;
    for (; other[i] != L'\0'; ++i)
        if (i >= name.size() || fold(name[i]) != fold(static_cast<char32_t>(other[i]))) return false;
    return i == name.size();
}

std::u16string Escaped(std::u16string_view text) {
    std::u16string out;
    for (char16_t c : text) {
        switch (c) {
            case u'&': out += u"&amp;"; break;
            case u'<': out += u"&lt;"; break;
            case u'>': out += u"&gt;"; break;
            case u'"': out += u"&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::u16string Attribute(std::u16string_view name, std::u16string_view value) {
    return u" " + std::u16string(name) + u"=\"" + Escaped(value) + u"\"";
}

std::u16string ControlXml(const mTarvelo::AddinCommand& command) {
    const std::u16string_view element = command.toggle ? u"toggleButton" : u"button";
    std::u16string xml = u"<" + std::u16string(element);
    xml += Attribute(u"id", command.tag);
    xml += Attribute(u"label", mTarvelo::PlainCaption(command.caption));
    xml += Attribute(u"screentip", command.tooltip);
    xml += Attribute(u"keytip", command.keytip);
    xml += Attribute(u"size", u"large");
    xml += Attribute(u"getImage", ImageCallback.name);
    if (command.toggle) {
        xml += Attribute(u"getPressed", PressedCallback.name);
        xml += Attribute(u"onAction", ToggleCallback.name);
    } else {
        xml += Attribute(u"onAction", ClickCallback.name);
    }
    return xml + u"/>";
}

// Argument i from the left (DISPPARAMS holds them last first), a reference to a VARIANT followed.
const VARIANT& Argument(const DISPPARAMS& params, UINT i) {
    const VARIANT& v = params.rgvarg[params.cArgs - 1 - i];
    return v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal != nullptr ? *v.pvarVal : v;
}

IDispatch* DispatchOf(const VARIANT& v) {
    if (v.vt == VT_DISPATCH) return v.pdispVal;
    if (v.vt == (VT_DISPATCH | VT_BYREF) && v.ppdispVal != nullptr) return *v.ppdispVal;
    return nullptr;
}

// A property or method of a late-bound object, by name.
HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD flags, DISPPARAMS& params, VARIANT* result) {
    if (object == nullptr) return E_POINTER;
    DISPID id = DISPID_UNKNOWN;
    auto* names = const_cast<LPOLESTR>(name);
    const HRESULT found = object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(found)) return found;
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
}

// The IRibbonControl's Id: the command's tag.
std::u16string ControlId(IDispatch* control) {
    DISPPARAMS none{};
    VARIANT id;
    VariantInit(&id);
    std::u16string tag;
    if (SUCCEEDED(CallByName(control, L"Id", DISPATCH_PROPERTYGET, none, &id)) && id.vt == VT_BSTR &&
        id.bstrVal != nullptr)
        tag.assign(reinterpret_cast<const char16_t*>(id.bstrVal), SysStringLen(id.bstrVal));
    VariantClear(&id);
    return tag;
}

void KeepRibbon(IDispatch* ribbon) {
    if (ribbon != nullptr) ribbon->AddRef();
    ForgetRibbon();
    KeptRibbonUI = ribbon;
}

// A result Word reads from the Invoke result, or (as a second, by-reference argument) from there.
HRESULT Answer(const DISPPARAMS& params, VARIANT* result, VARIANT value) {
    if (params.cArgs >= 2) {
        VARIANT& out = params.rgvarg[params.cArgs - 2];
        if (out.vt == (VT_VARIANT | VT_BYREF) && out.pvarVal != nullptr) VariantCopy(out.pvarVal, &value);
        else if (out.vt == (VT_BOOL | VT_BYREF) && value.vt == VT_BOOL && out.pboolVal != nullptr)
            *out.pboolVal = value.boolVal;
    }
    if (result != nullptr) return VariantCopy(result, &value);
    return S_OK;
}

HRESULT Pressed(const std::u16string& tag, const DISPPARAMS& params, VARIANT* result) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BOOL;
    value.boolVal = tag == AutoReplaceCommand.tag && mTarvelo::AutoReplaceOn ? VARIANT_TRUE : VARIANT_FALSE;
    return Answer(params, result, value);
}

HRESULT Image(const std::u16string& tag, const DISPPARAMS& params, VARIANT* result) {
    const auto* command = mTarvelo::FindCommand(tag);
    if (command == nullptr) return DISP_E_BADINDEX;
    IPictureDisp* picture = nullptr;
    const HRESULT made = IconPicture(ModuleInstance(), command->icon, LargeIconPixels, &picture);
    if (FAILED(made)) return made;
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_DISPATCH;
    value.pdispVal = picture;  // released by VariantClear below, after the copies took theirs
    const HRESULT answered = Answer(params, result, value);
    VariantClear(&value);
    return answered;
}

// The toggle asks for `pressed`: the switch runs when the mode differs, else the toggle is only
// shown again as the mode is.
HRESULT Toggle(const std::u16string& tag, const DISPPARAMS& params, UINT* argError) {
    VARIANT pressed;
    VariantInit(&pressed);
    if (FAILED(VariantChangeType(&pressed, const_cast<VARIANT*>(&Argument(params, 1)), 0, VT_BOOL))) {
        if (argError != nullptr) *argError = params.cArgs - 2;
        return DISP_E_TYPEMISMATCH;
    }
    if (tag != AutoReplaceCommand.tag || !mTarvelo::AddinInstalled()) return S_OK;
    if ((pressed.boolVal != VARIANT_FALSE) != mTarvelo::AutoReplaceOn) mTarvelo::ClickCommand(tag);
    else RibbonModeChanged();
    return S_OK;
}

HRESULT RunCallback(DISPID id, const DISPPARAMS& params, VARIANT* result, UINT* argError) {
    const UINT needed = id == ToggleCallback.id ? 2 : 1;
    if (params.cArgs < needed || params.cArgs > 2) return DISP_E_BADPARAMCOUNT;
    IDispatch* first = DispatchOf(Argument(params, 0));
    if (first == nullptr) {
        if (argError != nullptr) *argError = params.cArgs - 1;
        return DISP_E_TYPEMISMATCH;
    }
    if (id == LoadCallback.id) {
        KeepRibbon(first);
        return S_OK;
    }
    const std::u16string tag = ControlId(first);
    if (id == PressedCallback.id) return Pressed(tag, params, result);
    if (id == ImageCallback.id) return Image(tag, params, result);
    if (id == ToggleCallback.id) return Toggle(tag, params, argError);
    const auto* command = mTarvelo::FindCommand(tag);
    if (command != nullptr && !command->toggle && mTarvelo::AddinInstalled()) mTarvelo::ClickCommand(tag);
    return S_OK;
}

}  // namespace

std::u16string RibbonXml(std::u16string_view ribbonId) {
    if (ribbonId != WordRibbonId) return {};
    std::u16string xml =
        u"<customUI" + Attribute(u"xmlns", CustomUiNamespace) + Attribute(u"onLoad", LoadCallback.name);
    xml += u"><ribbon><tabs><tab" + Attribute(u"id", u"QuranTab") + Attribute(u"label", mTarvelo::MenuTitle) +
           Attribute(u"keytip", mTarvelo::TabKeytip) + u">";
    xml += u"<group" + Attribute(u"id", u"QuranGroup") + Attribute(u"label", mTarvelo::MenuTitle) + u">";
    for (const auto& command : AddinCommands) xml += ControlXml(command);
    return xml + u"</group></tab></tabs></ribbon></customUI>";
}

bool RibbonCallbackId(const wchar_t* name, DISPID& id) {
    if (name == nullptr) return false;
    for (const auto& callback : Callbacks) {
        if (!SameName(callback.name, name)) continue;
        id = callback.id;
        return true;
    }
    return false;
}

bool IsRibbonCallback(DISPID id) {
    for (const auto& callback : Callbacks)
        if (callback.id == id) return true;
    return false;
}

HRESULT InvokeRibbonCallback(DISPID id, const DISPPARAMS& params, VARIANT* result, UINT* argError) {
    if (!IsRibbonCallback(id)) return DISP_E_MEMBERNOTFOUND;
    if (params.cNamedArgs > 0) return DISP_E_NONAMEDARGS;
    if (result != nullptr) VariantInit(result);
    try {
        return RunCallback(id, params, result, argError);
    } catch (...) {
        return E_FAIL;  // nothing may leave a callback of Word's
    }
}

HRESULT STDMETHODCALLTYPE RibbonPart::QueryInterface(REFIID iid, void** out) { return outer_.QueryInterface(iid, out); }
ULONG STDMETHODCALLTYPE RibbonPart::AddRef() { return outer_.AddRef(); }
ULONG STDMETHODCALLTYPE RibbonPart::Release() { return outer_.Release(); }

HRESULT STDMETHODCALLTYPE RibbonPart::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RibbonPart::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info != nullptr) *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE RibbonPart::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (names == nullptr || ids == nullptr) return E_POINTER;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    if (count == 0) return S_OK;
    if (SameName(u"GetCustomUI", names[0])) ids[0] = DISPID_GetCustomUI;
    else RibbonCallbackId(names[0], ids[0]);
    return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;  // no named arguments
}

HRESULT STDMETHODCALLTYPE RibbonPart::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                             VARIANT* result, EXCEPINFO*, UINT* argError) {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS empty{};
    if (params == nullptr) params = &empty;
    if (id != DISPID_GetCustomUI) return InvokeRibbonCallback(id, *params, result, argError);
    if (params->cNamedArgs > 0) return DISP_E_NONAMEDARGS;
    if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    VARIANT ribbonId;
    VariantInit(&ribbonId);
    if (FAILED(VariantChangeType(&ribbonId, const_cast<VARIANT*>(&Argument(*params, 0)), 0, VT_BSTR))) {
        if (argError != nullptr) *argError = 0;
        return DISP_E_TYPEMISMATCH;
    }
    BSTR xml = nullptr;
    const HRESULT made = GetCustomUI(ribbonId.bstrVal, &xml);
    VariantClear(&ribbonId);
    if (FAILED(made)) return made;
    if (result == nullptr) {
        SysFreeString(xml);
        return S_OK;
    }
    VariantInit(result);
    result->vt = VT_BSTR;
    result->bstrVal = xml;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RibbonPart::GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) {
    if (RibbonXml == nullptr) return E_POINTER;
    *RibbonXml = nullptr;
    try {
        const std::u16string id =
            RibbonID != nullptr ? std::u16string(reinterpret_cast<const char16_t*>(RibbonID), SysStringLen(RibbonID))
                                : std::u16string();
        const std::u16string xml = tarvelo_word::RibbonXml(id);
        *RibbonXml = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(xml.data()), static_cast<UINT>(xml.size()));
        return *RibbonXml != nullptr ? S_OK : E_OUTOFMEMORY;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

void RibbonModeChanged() {
    if (KeptRibbonUI == nullptr) return;
    const std::u16string tag(AutoReplaceCommand.tag);
    BSTR id = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(tag.data()), static_cast<UINT>(tag.size()));
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = id;
    DISPPARAMS params{&argument, nullptr, 1, 0};
    // A ribbon that is gone cannot show the mode; the mode itself has changed.
    CallByName(KeptRibbonUI, L"InvalidateControl", DISPATCH_METHOD, params, nullptr);
    VariantClear(&argument);
}

void ForgetRibbon() {
    IDispatch* ribbon = KeptRibbonUI;
    KeptRibbonUI = nullptr;
    if (ribbon != nullptr) ribbon->Release();
}

}  // namespace tarvelo_word
