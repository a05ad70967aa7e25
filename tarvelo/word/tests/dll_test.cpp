// Tarvelo.dll as Word sees it: registration through regsvr32 and its removal, the class factory,
// and the connection object through its vtable and through IDispatch.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include "tarvelo/word/idtextensibility2.h"
#include "tarvelo/word/registration.h"
#include "tarvelo/word/tests/message_boxes.h"
#include "tarvelo/word/tests/registry_support.h"

namespace {

using namespace tarvelo_word;
using namespace tarvelo_word::test_support;

const std::wstring ClassKey = L"Software\\Classes\\CLSID\\{47176963-FBEE-4AAF-84A0-D9EE835262AF}";
const std::wstring AddinsKey = L"Software\\Microsoft\\Office\\Word\\Addins";

std::wstring Dll() { return ProgramFolder() + L"\\Tarvelo.dll"; }

DWORD RegistryDword(const std::wstring& key, const wchar_t* name) {
    DWORD value = 0, bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &bytes) != ERROR_SUCCESS)
        return 0xFFFFFFFF;
    return value;
}

TEST(RegistrationTest, Regsvr32WritesTheClassAndWordsAddinEntryAndRemovesExactlyThem) {
    // Another add-in of Word's, which must survive.
    RegSetKeyValueW(HKEY_CURRENT_USER, (AddinsKey + L"\\Other.Addin").c_str(), L"LoadBehavior", REG_DWORD, "\x03\0\0\0",
                    4);
    ASSERT_EQ(Regsvr32(Dll()), 0u);

    EXPECT_EQ(
        _wcsicmp(RegistryString(HKEY_CURRENT_USER, ClassKey + L"\\InprocServer32", nullptr).c_str(), Dll().c_str()), 0)
        << RegistryString(HKEY_CURRENT_USER, ClassKey + L"\\InprocServer32", nullptr);
    EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, ClassKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, ClassKey + L"\\ProgID", nullptr), L"Tarvelo.Connect");
    EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, L"Software\\Classes\\Tarvelo.Connect\\CLSID", nullptr),
              L"{47176963-FBEE-4AAF-84A0-D9EE835262AF}");
    const std::wstring addin = AddinsKey + L"\\Tarvelo.Connect";
    EXPECT_EQ(RegistryDword(addin, L"LoadBehavior"), 3u);
    EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, addin, L"FriendlyName"), L"Tarvelo");
    EXPECT_NE(RegistryString(HKEY_CURRENT_USER, addin, L"Description").find(L"Quran"), std::wstring::npos);
    // Nothing for all users: no administrator needed.
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Office\\Word\\Addins\\Tarvelo.Connect"));

    ASSERT_EQ(Regsvr32(Dll(), true), 0u);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, ClassKey));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, L"Software\\Classes\\Tarvelo.Connect"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, addin));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, L"Software\\Classes\\CLSID"));
    EXPECT_EQ(RegistryDword(AddinsKey + L"\\Other.Addin", L"LoadBehavior"), 3u);
    // Unregistering again finds nothing to remove, and that is no failure.
    EXPECT_EQ(Regsvr32(Dll(), true), 0u);
    RegDeleteTreeW(HKEY_CURRENT_USER, (AddinsKey + L"\\Other.Addin").c_str());
}

using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        library = LoadLibraryW(Dll().c_str());
        ASSERT_NE(library, nullptr);
        getClassObject =
            reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
        canUnloadNow =
            reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(GetProcAddress(library, "DllCanUnloadNow")));
        ASSERT_NE(getClassObject, nullptr);
        ASSERT_NE(canUnloadNow, nullptr);
        ASSERT_NE(GetProcAddress(library, "DllRegisterServer"), nullptr);
        ASSERT_NE(GetProcAddress(library, "DllUnregisterServer"), nullptr);
    }
    void TearDown() override {
        if (library) FreeLibrary(library);
        CoUninitialize();
    }
    IDTExtensibility2* Create() {
        IClassFactory* factory = nullptr;
        EXPECT_EQ(getClassObject(CLSID_TarveloConnect, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
        if (!factory) return nullptr;
        IDTExtensibility2* object = nullptr;
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDTExtensibility2, reinterpret_cast<void**>(&object)), S_OK);
        factory->Release();
        return object;
    }

    HMODULE library = nullptr;
    GetClassObject getClassObject = nullptr;
    CanUnloadNow canUnloadNow = nullptr;
};

TEST_F(ServerTest, TheFactoryMakesConnectionObjectsAndTheLibraryStaysWhileAnyLives) {
    IClassFactory* factory = nullptr;
    const GUID other = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    EXPECT_EQ(getClassObject(other, IID_IClassFactory, reinterpret_cast<void**>(&factory)), CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(getClassObject(CLSID_TarveloConnect, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    IUnknown* outer = factory;
    IUnknown* aggregated = nullptr;
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(&aggregated)),
              CLASS_E_NOAGGREGATION);
    IDTExtensibility2* object = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDTExtensibility2, reinterpret_cast<void**>(&object)), S_OK);
    factory->Release();
    EXPECT_EQ(canUnloadNow(), S_FALSE);

    IDispatch* dispatch = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    IUnknown* unknown1 = nullptr;
    IUnknown* unknown2 = nullptr;
    object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown1));
    dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown2));
    EXPECT_EQ(unknown1, unknown2);
    unknown1->Release();
    unknown2->Release();
    void* none = nullptr;
    EXPECT_EQ(object->QueryInterface(IID_IClassFactory, &none), E_NOINTERFACE);
    dispatch->Release();
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(canUnloadNow(), S_OK);
}

TEST_F(ServerTest, TheEventsArriveThroughIDispatchByNameAndIdentifier) {
    IDTExtensibility2* object = Create();
    ASSERT_NE(object, nullptr);
    const wchar_t* names[] = {L"OnConnection", L"ondisconnection", L"OnAddInsUpdate", L"OnStartupComplete",
                              L"ONBEGINSHUTDOWN"};
    for (DISPID expected = 1; expected <= 5; ++expected) {
        auto* name = const_cast<LPOLESTR>(names[expected - 1]);
        DISPID id = 0;
        EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
        EXPECT_EQ(id, expected);
    }
    auto* unknown = const_cast<LPOLESTR>(L"OnSomethingElse");
    DISPID id = 0;
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &unknown, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
    UINT typeInfos = 9;
    EXPECT_EQ(object->GetTypeInfoCount(&typeInfos), S_OK);
    EXPECT_EQ(typeInfos, 0u);

    // custom as Word passes it: an array of variants, by reference.
    SAFEARRAY* custom = SafeArrayCreateVector(VT_VARIANT, 0, 0);
    VARIANT args[2];
    VariantInit(&args[0]);
    args[0].vt = VT_ARRAY | VT_VARIANT | VT_BYREF;
    args[0].pparray = &custom;
    DISPPARAMS one{args, nullptr, 1, 0};
    for (DISPID event : {DISPID_OnAddInsUpdate, DISPID_OnStartupComplete, DISPID_OnBeginShutdown})
        EXPECT_EQ(object->Invoke(event, IID_NULL, 0, DISPATCH_METHOD, &one, nullptr, nullptr, nullptr), S_OK) << event;
    // OnDisconnection(RemoveMode, custom): the mode arrives last-first, as a short here.
    args[1] = args[0];
    VariantInit(&args[0]);
    args[0].vt = VT_I2;
    args[0].iVal = ext_dm_UserClosed;
    std::swap(args[0], args[1]);
    DISPPARAMS two{args, nullptr, 2, 0};
    EXPECT_EQ(object->Invoke(DISPID_OnDisconnection, IID_NULL, 0, DISPATCH_METHOD, &two, nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(object->Invoke(DISPID_OnConnection, IID_NULL, 0, DISPATCH_METHOD, &two, nullptr, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(object->Invoke(42, IID_NULL, 0, DISPATCH_METHOD, &one, nullptr, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
    // A mode that is no number is refused, and the argument named.
    VARIANT badMode;
    VariantInit(&badMode);
    badMode.vt = VT_DISPATCH;
    badMode.pdispVal = object;
    args[1] = badMode;
    UINT argError = 99;
    EXPECT_EQ(object->Invoke(DISPID_OnDisconnection, IID_NULL, 0, DISPATCH_METHOD, &two, nullptr, nullptr, &argError),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 1u);
    SafeArrayDestroy(custom);
    EXPECT_EQ(object->Release(), 0u);
}

TEST_F(ServerTest, AConnectionWithoutWordsApplicationIsReportedAndCompletes) {
    MessageBoxes boxes;
    IDTExtensibility2* object = Create();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->OnConnection(nullptr, ext_cm_Startup, nullptr, nullptr), S_OK);
    const auto texts = boxes.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind(L"Error ", 0), 0u) << texts[0];
    EXPECT_NE(texts[0].find(L") in procedure AddinInstance_OnConnection of Designer Connect"), std::wstring::npos);
    EXPECT_EQ(object->OnBeginShutdown(nullptr), S_OK);
    EXPECT_EQ(object->OnDisconnection(ext_dm_HostShutdown, nullptr), S_OK);
    EXPECT_EQ(object->Release(), 0u);
}

TEST(ComTest, ComCreatesTheAddinByItsProgIdFromTheRegistration) {
    ASSERT_EQ(Regsvr32(Dll()), 0u);
    MirrorClassesToMachine();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(L"Tarvelo.Connect", &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_TarveloConnect));
    IDTExtensibility2* object = nullptr;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDTExtensibility2,
                               reinterpret_cast<void**>(&object)),
              S_OK);
    if (object) object->Release();
    CoUninitialize();
    MirrorClassesToMachine(true);
    EXPECT_EQ(Regsvr32(Dll(), true), 0u);
}

}  // namespace
