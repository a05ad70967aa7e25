// Tarvelo.dll's connection object as Word 2007 and later see it: IRibbonExtensibility as a part of
// the same object, GetCustomUI through the vtable and through IDispatch, and the ribbon's
// callbacks by name on both of the object's dispatch interfaces.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <string>

#include "tarvelo/word/idtextensibility2.h"
#include "tarvelo/word/ribbon.h"
#include "tarvelo/word/tests/registry_support.h"

namespace {

using namespace tarvelo_word;
using namespace tarvelo_word::test_support;

using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

std::wstring Text(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

DISPID IdOf(IDispatch* object, const wchar_t* name, HRESULT expected = S_OK) {
    auto* names = const_cast<LPOLESTR>(name);
    DISPID id = 0;
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id), expected) << name;
    return id;
}

class RibbonDllTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        library = LoadLibraryW((ProgramFolder() + L"\\Tarvelo.dll").c_str());
        ASSERT_NE(library, nullptr);
        auto getClassObject =
            reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
        canUnloadNow =
            reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(GetProcAddress(library, "DllCanUnloadNow")));
        IClassFactory* factory = nullptr;
        ASSERT_EQ(getClassObject(CLSID_TarveloConnect, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDTExtensibility2, reinterpret_cast<void**>(&connect)), S_OK);
        factory->Release();
    }
    void TearDown() override {
        if (connect) connect->Release();
        if (library) FreeLibrary(library);
        CoUninitialize();
    }

    HMODULE library = nullptr;
    CanUnloadNow canUnloadNow = nullptr;
    IDTExtensibility2* connect = nullptr;
};

TEST_F(RibbonDllTest, TheConnectionObjectOffersTheRibbonAsAPartOfItself) {
    IRibbonExtensibility* ribbon = nullptr;
    ASSERT_EQ(connect->QueryInterface(IID_IRibbonExtensibility, reinterpret_cast<void**>(&ribbon)), S_OK);
    IUnknown* fromRibbon = nullptr;
    IUnknown* fromConnect = nullptr;
    ribbon->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromRibbon));
    connect->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromConnect));
    EXPECT_EQ(fromRibbon, fromConnect);
    fromRibbon->Release();
    fromConnect->Release();
    IDTExtensibility2* back = nullptr;
    ASSERT_EQ(ribbon->QueryInterface(IID_IDTExtensibility2, reinterpret_cast<void**>(&back)), S_OK);
    back->Release();

    // Word's document ribbon gets the tab; another ribbon nothing.
    BSTR xml = nullptr;
    BSTR wordRibbon = SysAllocString(L"Microsoft.Word.Document");
    ASSERT_EQ(ribbon->GetCustomUI(wordRibbon, &xml), S_OK);
    EXPECT_EQ(Text(xml).rfind(L"<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\"", 0), 0u);
    EXPECT_NE(Text(xml).find(L"<tab id=\"QuranTab\" label=\"Al-Quran\" keytip=\"Q\">"), std::wstring::npos);
    SysFreeString(xml);
    BSTR otherRibbon = SysAllocString(L"Microsoft.Outlook.Explorer");
    ASSERT_EQ(ribbon->GetCustomUI(otherRibbon, &xml), S_OK);
    EXPECT_EQ(Text(xml), L"");
    SysFreeString(xml);
    SysFreeString(otherRibbon);

    // The same through its IDispatch, by name.
    const DISPID getCustomUi = IdOf(ribbon, L"getcustomui");
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = wordRibbon;
    DISPPARAMS params{&argument, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(ribbon->Invoke(getCustomUi, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(Text(result.bstrVal).rfind(L"<customUI", 0), 0u);
    VariantClear(&result);
    VariantClear(&argument);

    // One reference count for all its parts: the library goes when the last one goes.
    EXPECT_EQ(ribbon->Release(), 1u);
    EXPECT_EQ(connect->Release(), 0u);
    connect = nullptr;
    EXPECT_EQ(canUnloadNow(), S_OK);
}

TEST_F(RibbonDllTest, CallbacksAreKnownByNameOnEveryDispatchInterfaceAndOtherNamesAreNot) {
    IDispatch* dispatch = nullptr;
    IRibbonExtensibility* ribbon = nullptr;
    ASSERT_EQ(connect->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    ASSERT_EQ(connect->QueryInterface(IID_IRibbonExtensibility, reinterpret_cast<void**>(&ribbon)), S_OK);
    for (const wchar_t* callback : {L"RibbonLoad", L"RibbonClick", L"RibbonToggle", L"RibbonPressed", L"RibbonImage"})
        EXPECT_EQ(IdOf(dispatch, callback), IdOf(ribbon, callback));
    for (IDispatch* object : {dispatch, static_cast<IDispatch*>(ribbon)}) {
        IdOf(object, L"RibbonClicked", DISP_E_UNKNOWNNAME);
        IdOf(object, L"", DISP_E_UNKNOWNNAME);
    }
    // The connection events stay where they were; GetCustomUI is the ribbon part's.
    EXPECT_EQ(IdOf(dispatch, L"OnConnection"), DISPID_OnConnection);
    IdOf(dispatch, L"GetCustomUI", DISP_E_UNKNOWNNAME);
    IdOf(ribbon, L"OnConnection", DISP_E_UNKNOWNNAME);

    // A button's onAction through the object's IDispatch: no control, a refused argument.
    VARIANT control;
    VariantInit(&control);
    DISPPARAMS params{&control, nullptr, 1, 0};
    UINT argError = 9;
    EXPECT_EQ(dispatch->Invoke(IdOf(dispatch, L"RibbonClick"), IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                               &argError),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 0u);
    ribbon->Release();
    dispatch->Release();
}

}  // namespace
