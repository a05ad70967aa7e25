#include "word/com/dispatch.h"

#include "word/word.h"

namespace word::com {

namespace {

// Word's process has gone: the object's proxy can no longer reach it.
bool meansGone(HRESULT hr) {
    switch (static_cast<unsigned long>(hr)) {
        case 0x80010108UL:  // RPC_E_DISCONNECTED
        case 0x80010007UL:  // RPC_E_SERVER_DIED
        case 0x80010012UL:  // RPC_E_SERVER_DIED_DNE
        case 0x800706BAUL:  // RPC_S_SERVER_UNAVAILABLE
        case 0x800706BEUL:  // RPC_S_CALL_FAILED
        case 0x800706BFUL:  // RPC_S_CALL_FAILED_DNE
        case 0x800401FDUL:  // CO_E_OBJNOTCONNECTED
            return true;
        default: return false;
    }
}

// The number of a run-time error that Word raised (its scode is 0x800A0000 | number), or 0.
long wordErrorNumber(const EXCEPINFO& exception) {
    const auto code = static_cast<unsigned long>(exception.scode);
    if ((code & 0xFFFF0000UL) == 0x800A0000UL) return static_cast<long>(code & 0xFFFFUL);
    return exception.wCode;
}

// Word's errors for a document that refuses changes (Protected View, opened read-only, editing
// restricted): 4605, "This method or property is not available because ...", which names its
// cause in its text (from Paste it is the clipboard, not the document), and 6124, "You are not
// allowed to edit this selection because it is protected".
bool meansNotEditable(long wordError, std::u16string_view member) {
    if (wordError == 6124) return true;
    return wordError == 4605 && member != u"Paste" && member != u"PasteAndFormat";
}

}  // namespace

const std::vector<DISPID>& Session::ids(IDispatch* object, ObjectType type, std::u16string_view member,
                                        const std::vector<std::u16string_view>& parameters) {
    std::u16string key(member);
    for (auto parameter : parameters) {
        key += u'\x1f';
        key += parameter;
    }
    auto& cache = cache_[static_cast<std::size_t>(type)];
    if (const auto found = cache.find(key); found != cache.end()) return found->second;

    std::vector<std::u16string> names{std::u16string(member)};
    for (auto parameter : parameters) names.emplace_back(parameter);
    std::vector<LPOLESTR> pointers;
    for (auto& name : names) pointers.push_back(reinterpret_cast<LPOLESTR>(name.data()));
    std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
    const HRESULT hr = busyAware([&] {
        return object->GetIDsOfNames(IID_NULL, pointers.data(), static_cast<UINT>(pointers.size()), LOCALE_USER_DEFAULT,
                                     ids.data());
    });
    if (FAILED(hr)) fail(member, hr);
    return cache.emplace(std::move(key), std::move(ids)).first->second;
}

void Session::fail(std::u16string_view member, HRESULT hr, EXCEPINFO* exception) {
    if (meansGone(hr)) lost_ = true;
    std::string message = "Word: " + utf8(member) + " failed (HRESULT " + hex(hr);
    auto reason = meansBusy(hr) ? word::Error::Reason::Busy : word::Error::Reason::Other;
    if (exception) {
        if (exception->pfnDeferredFillIn) exception->pfnDeferredFillIn(exception);
        const Bstr source = Bstr::adopt(exception->bstrSource);
        const Bstr description = Bstr::adopt(exception->bstrDescription);
        const Bstr help = Bstr::adopt(exception->bstrHelpFile);
        if (exception->scode) message += ", error " + hex(exception->scode);
        else if (exception->wCode) message += ", error " + std::to_string(exception->wCode);
        message += ")";
        if (description.get()) message += ": " + utf8(description.text());
        if (meansNotEditable(wordErrorNumber(*exception), member)) reason = word::Error::Reason::NotEditable;
    } else {
        message += ")";
    }
    if (meansGone(hr)) message += ": Word is no longer running";
    if (reason == word::Error::Reason::Busy) message += ": Word is busy (a dialog of it is open)";
    throw word::Error(message, reason);
}

Variant Dispatch::invoke(std::u16string_view member, WORD flags, std::vector<Argument>& arguments) const {
    if (!object_) throw word::Error("Word: " + utf8(member) + " on an object that is not there");
    std::vector<std::u16string_view> names;
    for (const auto& argument : arguments)
        if (!argument.name.empty()) names.push_back(argument.name);
    const std::vector<DISPID>& ids = session_->ids(object_.Get(), type_, member, names);

    // rgvarg holds the named arguments first (in the order of rgdispidNamedArgs), then the
    // positional ones, last argument first.
    std::vector<VARIANT> values;
    std::vector<DISPID> namedIds;
    for (std::size_t i = 0, n = 1; i < arguments.size(); ++i) {
        if (arguments[i].name.empty()) continue;
        values.push_back(*arguments[i].value.get());
        namedIds.push_back(ids[n++]);
    }
    for (std::size_t i = arguments.size(); i-- > 0;)
        if (arguments[i].name.empty()) values.push_back(*arguments[i].value.get());
    if (flags & DISPATCH_PROPERTYPUT) namedIds.push_back(DISPID_PROPERTYPUT);

    DISPPARAMS params{values.data(), namedIds.data(), static_cast<UINT>(values.size()),
                      static_cast<UINT>(namedIds.size())};
    Variant result;
    EXCEPINFO exception{};
    UINT badArgument = 0;
    // A refused call has not run: trying it again types nothing twice.
    const HRESULT hr = session_->busyAware([&] {
        exception = EXCEPINFO{};
        return object_->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                               (flags & DISPATCH_PROPERTYPUT) ? nullptr : result.out(), &exception, &badArgument);
    });
    if (FAILED(hr)) session_->fail(member, hr, hr == DISP_E_EXCEPTION ? &exception : nullptr);
    return result;
}

Variant Dispatch::get(std::u16string_view property) const {
    std::vector<Argument> none;
    return invoke(property, DISPATCH_PROPERTYGET | DISPATCH_METHOD, none);
}

void Dispatch::put(std::u16string_view property, Variant value) const {
    std::vector<Argument> arguments;
    arguments.push_back(Argument{{}, std::move(value)});
    invoke(property, DISPATCH_PROPERTYPUT, arguments);
}

Variant Dispatch::call(std::u16string_view method, std::vector<Argument> arguments) const {
    return invoke(method, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments);
}

Dispatch Dispatch::toObject(Variant value, std::u16string_view member, ObjectType type) const {
    VARIANT* raw = value.get();
    if (raw->vt == VT_DISPATCH && raw->pdispVal) {
        session_->keep(type, raw->pdispVal);
        return Dispatch(session_, ComPtr<IDispatch>(raw->pdispVal), type);
    }
    if (raw->vt == VT_UNKNOWN && raw->punkVal) {
        ComPtr<IDispatch> object;
        if (SUCCEEDED(raw->punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.GetAddressOf()))))
            return Dispatch(session_, std::move(object), type);
    }
    session_->fail(member, DISP_E_TYPEMISMATCH);
}

Dispatch Dispatch::object(std::u16string_view property, ObjectType type) const {
    return toObject(get(property), property, type);
}

Dispatch Dispatch::callObject(std::u16string_view method, std::vector<Argument> arguments, ObjectType type) const {
    return toObject(call(method, std::move(arguments)), method, type);
}

LONG Dispatch::int32(const Variant& value, std::u16string_view member) const {
    Variant converted;
    const HRESULT hr = value.to(VT_I4, converted);
    if (FAILED(hr)) session_->fail(member, hr);
    return converted.get()->lVal;
}

std::u16string Dispatch::text(const Variant& value, std::u16string_view member) const {
    Variant converted;
    const HRESULT hr = value.to(VT_BSTR, converted);
    if (FAILED(hr)) session_->fail(member, hr);
    const BSTR text = converted.get()->bstrVal;
    return text ? u16(text, SysStringLen(text)) : std::u16string();
}

}  // namespace word::com
