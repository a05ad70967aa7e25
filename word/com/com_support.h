// Owning wrappers for the pieces of COM that the Word backend and the Word stand-in handle:
// interface pointers (WRL's ComPtr), BSTR, VARIANT, the apartment of a thread, and a base for
// objects that implement COM interfaces themselves (reference counted, destroyed on the last
// Release).
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>
#include <wrl/client.h>

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace word::com {

using Microsoft::WRL::ComPtr;

// char16_t and the 16-bit wchar_t of Windows hold the same code units.
inline const wchar_t* wide(std::u16string_view text) { return reinterpret_cast<const wchar_t*>(text.data()); }
inline std::u16string u16(const wchar_t* text, std::size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}
inline std::u16string u16(std::wstring_view text) { return u16(text.data(), text.size()); }
std::string utf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);
// "0x80020009"
std::string hex(HRESULT hr);

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::u16string_view text);
    // Takes ownership of a BSTR handed out by a callee.
    static Bstr adopt(BSTR owned);
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept;
    ~Bstr();

    BSTR get() const { return value_; }
    BSTR* out();  // frees the old value; for out-parameters
    BSTR release() { return std::exchange(value_, nullptr); }
    std::u16string text() const { return value_ ? u16(value_, SysStringLen(value_)) : std::u16string(); }

private:
    BSTR value_ = nullptr;
};

class Variant {
public:
    Variant() { VariantInit(&value_); }
    Variant(const Variant& other);
    Variant& operator=(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;
    ~Variant() { VariantClear(&value_); }

    static Variant text(std::u16string_view text);  // VT_BSTR
    static Variant int32(LONG value);               // VT_I4
    static Variant single(float value);             // VT_R4
    static Variant boolean(bool value);             // VT_BOOL
    static Variant dispatch(IDispatch* object);     // VT_DISPATCH (adds a reference)
    static Variant copyOf(const VARIANT& value);

    VARIANT* get() { return &value_; }
    const VARIANT* get() const { return &value_; }
    VARIANT* out() {
        VariantClear(&value_);
        return &value_;
    }
    VARIANT release();
    VARTYPE type() const { return value_.vt; }

    // An optional argument left out by the caller.
    bool isMissing() const {
        return value_.vt == VT_EMPTY || (value_.vt == VT_ERROR && value_.scode == DISP_E_PARAMNOTFOUND);
    }
    // The value coerced as Automation does (VariantChangeType).
    HRESULT to(VARTYPE type, Variant& result) const;

private:
    VARIANT value_;
};

// Joins the calling thread to a single-threaded apartment for the object's life.
class Apartment {
public:
    Apartment();
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
    ~Apartment();
    bool joined() const { return SUCCEEDED(hr_); }
    HRESULT result() const { return hr_; }

private:
    HRESULT hr_;
};

// Base of objects that implement COM interfaces: the reference count, and destruction on the last
// Release. Create them with makeComObject, which hands out the first reference.
class RefCounted {
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;
    virtual ~RefCounted() = default;

protected:
    ULONG addRef() { return ++count_; }
    ULONG release() {
        const ULONG left = --count_;
        if (left == 0) std::unique_ptr<RefCounted>{this};  // the last reference owned the object
        return left;
    }

private:
    std::atomic<ULONG> count_{0};
};

// Base of an object that implements one COM interface: QueryInterface hands out that interface
// and IUnknown.
template <typename Interface>
class ComObject : public RefCounted, public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != __uuidof(Interface)) return E_NOINTERFACE;
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return addRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return release(); }
};

// Base of an object that Word calls late-bound through Interface (IDispatch or a dual interface
// on it) and that has no type information: QueryInterface hands out Interface as IUnknown,
// IDispatch and each of `iids` (the dual interface's own, or an event interface that a sink
// answers); GetTypeInfoCount says none. The object itself names its members (GetIDsOfNames) and
// runs them (Invoke).
template <typename Interface, const IID&... iids>
class DispatchObject : public RefCounted, public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && ((iid != iids) && ...)) return E_NOINTERFACE;
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return addRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return release(); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
};

template <typename T, typename... Args>
ComPtr<T> makeComObject(Args&&... args) {
    ComPtr<T> object;
    object.Attach(std::make_unique<T>(std::forward<Args>(args)...).release());
    object->AddRef();
    return object;
}

}  // namespace word::com
