// Objects that answer late-bound Automation calls (IDispatch) without a type library: each class
// names its members and their parameters; GetIDsOfNames resolves names case-insensitively (a
// member's DISPID is its place in the list plus one, a parameter's DISPID its place in the
// member's parameter list), and Invoke hands the arguments, positional or named, to the class.
// A word::Error thrown by a member becomes DISP_E_EXCEPTION with Word's EXCEPINFO.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "word/com/com_support.h"

namespace word::com::standin {

// A bad argument: Invoke answers `hr` and reports the argument's position.
struct ArgumentError {
    HRESULT hr;
    UINT parameter;
};

// A failure that Word reports as a run-time error with its number and text.
struct WordRuntimeError {
    long number;  // Word's error number (EXCEPINFO.scode is 0x800A0000 | number)
    std::u16string description;
};

struct Member {
    std::u16string_view name;
    std::vector<std::u16string_view> parameters;
};

class Arguments {
public:
    Arguments(const DISPPARAMS& params, std::size_t parameterCount, bool propertyPut);
    // The argument for parameter `index`, positional or named; nullptr when left out.
    const VARIANT* at(std::size_t index) const;
    LONG int32(std::size_t index, std::optional<LONG> fallback = {}) const;
    float single(std::size_t index) const;
    double real(std::size_t index) const;
    bool boolean(std::size_t index, std::optional<bool> fallback = {}) const;
    std::u16string text(std::size_t index, std::optional<std::u16string> fallback = {}) const;
    // The value of a property put.
    const VARIANT& value() const;
    float singleValue() const;
    LONG int32Value() const;
    bool booleanValue() const;
    std::u16string textValue() const;

private:
    Variant coerce(const VARIANT& value, VARTYPE type, UINT position) const;
    std::vector<const VARIANT*> arguments_;
    const VARIANT* value_ = nullptr;
};

class AutomationObject : public RefCounted, public IDispatch {
public:
    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return addRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return release(); }
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override;

protected:
    explicit AutomationObject(const std::vector<Member>& members) : members_(members) {}
    // Runs member `index` of the list; `put` for a property put (the value is args.value()).
    virtual Variant call(std::size_t index, bool put, const Arguments& args) = 0;
    // Further interfaces that QueryInterface hands out (this object cast to them), or nullptr.
    virtual void* otherInterface(REFIID) { return nullptr; }

    // The property put that a read-only member refuses.
    [[noreturn]] static void readOnly();

private:
    const std::vector<Member>& members_;
};

// The dispatch pointer of a freshly made object, as a VT_DISPATCH result.
template <typename T>
Variant result(const ComPtr<T>& object) {
    return Variant::dispatch(object.Get());
}

}  // namespace word::com::standin
