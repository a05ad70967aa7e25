#include "word/com/com_support.h"

#include <cstdio>

namespace word::com {

std::string utf8(std::u16string_view text) {
    if (text.empty()) return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide(text), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide(text), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

std::u16string fromUtf8(std::string_view text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::u16string result(static_cast<std::size_t>(size), u'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                        reinterpret_cast<wchar_t*>(result.data()), size);
    return result;
}

std::string hex(HRESULT hr) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08lX", static_cast<unsigned long>(hr));
    return buffer;
}

Bstr::Bstr(std::u16string_view text) : value_(SysAllocStringLen(wide(text), static_cast<UINT>(text.size()))) {}

Bstr Bstr::adopt(BSTR owned) {
    Bstr result;
    result.value_ = owned;
    return result;
}

Bstr& Bstr::operator=(Bstr&& other) noexcept {
    if (this != &other) {
        SysFreeString(value_);
        value_ = std::exchange(other.value_, nullptr);
    }
    return *this;
}

Bstr::~Bstr() { SysFreeString(value_); }

BSTR* Bstr::out() {
    SysFreeString(value_);
    value_ = nullptr;
    return &value_;
}

Variant::Variant(const Variant& other) {
    VariantInit(&value_);
    VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
}

Variant& Variant::operator=(const Variant& other) {
    if (this != &other) VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
    return *this;
}

Variant::Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        VariantClear(&value_);
        value_ = other.value_;
        VariantInit(&other.value_);
    }
    return *this;
}

VARIANT Variant::release() {
    VARIANT result = value_;
    VariantInit(&value_);
    return result;
}

Variant Variant::text(std::u16string_view text) {
    Variant v;
    v.value_.vt = VT_BSTR;
    v.value_.bstrVal = Bstr(text).release();
    return v;
}

Variant Variant::int32(LONG value) {
    Variant v;
    v.value_.vt = VT_I4;
    v.value_.lVal = value;
    return v;
}

Variant Variant::single(float value) {
    Variant v;
    v.value_.vt = VT_R4;
    v.value_.fltVal = value;
    return v;
}

Variant Variant::boolean(bool value) {
    Variant v;
    v.value_.vt = VT_BOOL;
    v.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant Variant::dispatch(IDispatch* object) {
    Variant v;
    v.value_.vt = VT_DISPATCH;
    v.value_.pdispVal = object;
    if (object) object->AddRef();
    return v;
}

Variant Variant::copyOf(const VARIANT& value) {
    Variant v;
    VariantCopy(&v.value_, const_cast<VARIANT*>(&value));
    return v;
}

HRESULT Variant::to(VARTYPE type, Variant& result) const {
    return VariantChangeType(result.out(), const_cast<VARIANT*>(&value_), 0, type);
}

Apartment::Apartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}

Apartment::~Apartment() {
    if (SUCCEEDED(hr_)) CoUninitialize();
}

}  // namespace word::com
