// The add-in's ribbon tab in Word 2007 and later: the connection object also implements Office's
// IRibbonExtensibility, whose GetCustomUI gives Word the tab "Al-Quran" with the menu's five
// commands (customUI of 2006/01, which every Word from 2007 reads). Word calls the callbacks
// that the XML names late-bound on the connection object: GetIDsOfNames by name, then Invoke
// with the IRibbonControl first (RibbonCallbackId, InvokeRibbonCallback). They run the menu's
// click handlers; the toggle "Automatic Replace" shows AutoReplaceOn and is invalidated through
// the IRibbonUI kept from onLoad whenever the mode changes (RibbonModeChanged).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <string_view>

namespace tarvelo_word {

// Office's IRibbonExtensibility {000C0396-0000-0000-C000-000000000046}: a dual interface whose
// one method follows IDispatch's seven in the vtable and has dispatch identifier 1.
struct IRibbonExtensibility : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) = 0;
};
inline constexpr IID IID_IRibbonExtensibility = {
    0x000C0396, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr DISPID DISPID_GetCustomUI = 1;

// The ribbon Word asks for: its document window's (Word has no other).
inline constexpr std::u16string_view WordRibbonId = u"Microsoft.Word.Document";

// The customUI XML of `ribbonId`: the tab for Word's ribbon, nothing for any other.
std::u16string RibbonXml(std::u16string_view ribbonId = WordRibbonId);

// The dispatch identifier of the callback called `name` (case-insensitive); false if none.
bool RibbonCallbackId(const wchar_t* name, DISPID& id);
bool IsRibbonCallback(DISPID id);
// Runs callback `id` with Word's arguments, last first (DISPPARAMS order); a result goes to
// `result` (getPressed: VT_BOOL; getImage: the picture as VT_DISPATCH).
HRESULT InvokeRibbonCallback(DISPID id, const DISPPARAMS& params, VARIANT* result, UINT* argError);

// The IRibbonExtensibility of a connection object: a part of it that shares its identity and its
// reference count (QueryInterface, AddRef and Release go to `outer`).
class RibbonPart final : public IRibbonExtensibility {
public:
    explicit RibbonPart(IUnknown& outer) : outer_(outer) {}
    RibbonPart(const RibbonPart&) = delete;
    RibbonPart& operator=(const RibbonPart&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT* argError) override;
    HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) override;

private:
    IUnknown& outer_;
};

// AutoReplaceOn has changed: the toggle is invalidated, so that Word asks getPressed again.
void RibbonModeChanged();
// Lets go of the IRibbonUI kept from onLoad (the add-in goes away).
void ForgetRibbon();

}  // namespace tarvelo_word
