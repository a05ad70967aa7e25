#include "word/com/standin/automation.h"

#include <cwctype>

#include "word/word.h"

namespace word::com::standin {

namespace {

// What Word raises when a call would change a document that refuses changes.
constexpr unsigned long kNotEditable = 4605;
constexpr std::u16string_view kNotEditableText =
    u"This method or property is not available because the document is locked for editing.";

bool sameName(std::u16string_view a, const wchar_t* b) {
    std::size_t i = 0;
    for (; i < a.size(); ++i) {
        if (b[i] == 0 || std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i])))
            return false;
    }
    return b[i] == 0;
}

void fillException(EXCEPINFO* exception, HRESULT scode, std::u16string_view description) {
    if (!exception) return;
    *exception = EXCEPINFO{};
    exception->scode = scode;
    exception->bstrSource = Bstr(u"Microsoft Word").release();
    exception->bstrDescription = Bstr(description).release();
}

}  // namespace

Arguments::Arguments(const DISPPARAMS& params, std::size_t parameterCount, bool propertyPut)
    : arguments_(parameterCount, nullptr) {
    UINT named = params.cNamedArgs;
    if (propertyPut) {
        for (UINT i = 0; i < params.cNamedArgs; ++i)
            if (params.rgdispidNamedArgs[i] == DISPID_PROPERTYPUT) value_ = &params.rgvarg[i];
        if (!value_) throw ArgumentError{DISP_E_PARAMNOTOPTIONAL, 0};
    }
    for (UINT i = 0; i < named; ++i) {
        const DISPID id = params.rgdispidNamedArgs[i];
        if (id == DISPID_PROPERTYPUT) continue;
        if (id < 0 || static_cast<std::size_t>(id) >= parameterCount) throw ArgumentError{DISP_E_PARAMNOTFOUND, i};
        arguments_[static_cast<std::size_t>(id)] = &params.rgvarg[i];
    }
    // Positional arguments follow the named ones in rgvarg, last argument first.
    const UINT positional = params.cArgs - named;
    if (positional > parameterCount) throw ArgumentError{DISP_E_BADPARAMCOUNT, 0};
    for (UINT p = 0; p < positional; ++p) {
        const VARIANT* arg = &params.rgvarg[params.cArgs - 1 - p];
        arguments_[p] = arg;
    }
}

const VARIANT* Arguments::at(std::size_t index) const {
    if (index >= arguments_.size()) return nullptr;
    const VARIANT* arg = arguments_[index];
    if (!arg) return nullptr;
    if (arg->vt == VT_EMPTY || (arg->vt == VT_ERROR && arg->scode == DISP_E_PARAMNOTFOUND)) return nullptr;
    return arg;
}

Variant Arguments::coerce(const VARIANT& value, VARTYPE type, UINT position) const {
    Variant result;
    const VARIANT* source = &value;
    if (value.vt == (VT_VARIANT | VT_BYREF)) source = value.pvarVal;
    if (FAILED(VariantChangeType(result.out(), const_cast<VARIANT*>(source), 0, type)))
        throw ArgumentError{DISP_E_TYPEMISMATCH, position};
    return result;
}

LONG Arguments::int32(std::size_t index, std::optional<LONG> fallback) const {
    const VARIANT* arg = at(index);
    if (!arg) {
        if (fallback) return *fallback;
        throw ArgumentError{DISP_E_PARAMNOTOPTIONAL, static_cast<UINT>(index)};
    }
    return coerce(*arg, VT_I4, static_cast<UINT>(index)).get()->lVal;
}

float Arguments::single(std::size_t index) const {
    const VARIANT* arg = at(index);
    if (!arg) throw ArgumentError{DISP_E_PARAMNOTOPTIONAL, static_cast<UINT>(index)};
    return coerce(*arg, VT_R4, static_cast<UINT>(index)).get()->fltVal;
}

double Arguments::real(std::size_t index) const {
    const VARIANT* arg = at(index);
    if (!arg) throw ArgumentError{DISP_E_PARAMNOTOPTIONAL, static_cast<UINT>(index)};
    return coerce(*arg, VT_R8, static_cast<UINT>(index)).get()->dblVal;
}

bool Arguments::boolean(std::size_t index, std::optional<bool> fallback) const {
    const VARIANT* arg = at(index);
    if (!arg) {
        if (fallback) return *fallback;
        throw ArgumentError{DISP_E_PARAMNOTOPTIONAL, static_cast<UINT>(index)};
    }
    return coerce(*arg, VT_BOOL, static_cast<UINT>(index)).get()->boolVal != VARIANT_FALSE;
}

std::u16string Arguments::text(std::size_t index, std::optional<std::u16string> fallback) const {
    const VARIANT* arg = at(index);
    if (!arg) {
        if (fallback) return *fallback;
        throw ArgumentError{DISP_E_PARAMNOTOPTIONAL, static_cast<UINT>(index)};
    }
    Variant v = coerce(*arg, VT_BSTR, static_cast<UINT>(index));
    return v.get()->bstrVal ? u16(v.get()->bstrVal, SysStringLen(v.get()->bstrVal)) : std::u16string();
}

const VARIANT& Arguments::value() const {
    if (!value_) throw ArgumentError{DISP_E_PARAMNOTOPTIONAL, 0};
    return *value_;
}

float Arguments::singleValue() const { return coerce(value(), VT_R4, 0).get()->fltVal; }
LONG Arguments::int32Value() const { return coerce(value(), VT_I4, 0).get()->lVal; }
bool Arguments::booleanValue() const { return coerce(value(), VT_BOOL, 0).get()->boolVal != VARIANT_FALSE; }
std::u16string Arguments::textValue() const {
    Variant v = coerce(value(), VT_BSTR, 0);
    return v.get()->bstrVal ? u16(v.get()->bstrVal, SysStringLen(v.get()->bstrVal)) : std::u16string();
}

HRESULT AutomationObject::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch) *object = static_cast<IDispatch*>(this);
    else *object = otherInterface(iid);
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

HRESULT AutomationObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT AutomationObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT AutomationObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (count == 0) return S_OK;
    HRESULT hr = S_OK;
    std::size_t member = members_.size();
    for (std::size_t m = 0; m < members_.size(); ++m)
        if (sameName(members_[m].name, names[0])) member = m;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    if (member == members_.size()) return DISP_E_UNKNOWNNAME;
    ids[0] = static_cast<DISPID>(member + 1);
    const auto& parameters = members_[member].parameters;
    for (UINT i = 1; i < count; ++i) {
        for (std::size_t p = 0; p < parameters.size(); ++p)
            if (sameName(parameters[p], names[i])) ids[i] = static_cast<DISPID>(p);
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT AutomationObject::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO* exception, UINT* argumentError) {
    if (member < 1 || static_cast<std::size_t>(member) > members_.size()) return DISP_E_MEMBERNOTFOUND;
    const std::size_t index = static_cast<std::size_t>(member - 1);
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    try {
        const Arguments args(params ? *params : none, members_[index].parameters.size(), put);
        Variant value = call(index, put, args);
        if (result) *result = value.release();
        return S_OK;
    } catch (const ArgumentError& e) {
        if (argumentError) *argumentError = e.parameter;
        return e.hr;
    } catch (const WordRuntimeError& e) {
        fillException(exception, static_cast<HRESULT>(0x800A0000UL | static_cast<unsigned long>(e.number)),
                      e.description);
        return DISP_E_EXCEPTION;
    } catch (const word::Error& e) {
        if (e.reason() == word::Error::Reason::NotEditable)
            fillException(exception, static_cast<HRESULT>(0x800A0000UL | kNotEditable), kNotEditableText);
        else
            fillException(exception, static_cast<HRESULT>(0x800A1066UL), fromUtf8(e.what()));  // 4198: "Command failed"
        return DISP_E_EXCEPTION;
    } catch (const std::exception& e) {
        fillException(exception, E_FAIL, fromUtf8(e.what()));
        return DISP_E_EXCEPTION;
    }
}

void AutomationObject::readOnly() { throw ArgumentError{DISP_E_MEMBERNOTFOUND, 0}; }

}  // namespace word::com::standin
