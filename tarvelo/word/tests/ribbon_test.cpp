// The ribbon's pieces inside the add-in: the icons as pictures Word can draw, and the callbacks
// as Word calls them (a control, the IRibbonUI kept from onLoad), without Word.
#include <gtest/gtest.h>

#include <windows.h>
#include <olectl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tarvelo/autoreplace/auto_replace.h"
#include "tarvelo/commands.h"
#include "tarvelo/word/ribbon.h"
#include "tarvelo/word/ribbon_images.h"
#include "tarvelo/word/word_host.h"

namespace {

using namespace tarvelo_word;

// A late-bound object of Word's as the callbacks see it: named members, each a function of the
// arguments (left to right) that returns the result; it keeps the calls it received.
class FakeObject final : public IDispatch {
public:
    using Member = std::function<VARIANT(const std::vector<VARIANT>&)>;
    explicit FakeObject(std::map<std::wstring, Member> members) : members_(std::move(members)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch)) return E_NOINTERFACE;
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }  // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
        DISPID id = 1;
        for (const auto& member : members_) {
            if (_wcsicmp(member.first.c_str(), names[0]) == 0) {
                *ids = id;
                return S_OK;
            }
            ++id;
        }
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        auto member = members_.begin();
        std::advance(member, id - 1);
        std::vector<VARIANT> arguments(params->rgvarg, params->rgvarg + params->cArgs);
        std::reverse(arguments.begin(), arguments.end());
        calls.push_back(member->first);
        VARIANT value = member->second(arguments);
        if (result) *result = value;
        else VariantClear(&value);
        return S_OK;
    }

    ULONG references = 1;
    std::vector<std::wstring> calls;

private:
    std::map<std::wstring, Member> members_;
};

VARIANT Text(const wchar_t* text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
    return v;
}

VARIANT Nothing(const std::vector<VARIANT>&) {
    VARIANT v;
    VariantInit(&v);
    return v;
}

// An IRibbonControl whose Id is `id`.
struct Control {
    explicit Control(const wchar_t* id) : object({{L"Id", [id](const auto&) { return Text(id); }}}) {}
    FakeObject object;
};

VARIANT Dispatch(IDispatch* object) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    return v;
}

VARIANT Boolean(bool value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

DISPID CallbackId(const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    EXPECT_TRUE(RibbonCallbackId(name, id)) << name;
    return id;
}

// Calls a callback as Word does: the arguments given left to right.
HRESULT Call(const wchar_t* callback, std::vector<VARIANT> arguments, VARIANT* result = nullptr) {
    std::reverse(arguments.begin(), arguments.end());
    DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    return InvokeRibbonCallback(CallbackId(callback), params, result, nullptr);
}

TEST(RibbonImages, EveryCommandHasItsIconAtBothSizesAsA32BitBitmapWithTransparentCorners) {
    for (const auto& command : mTarvelo::AddinCommands) {
        for (int pixels : {SmallIconPixels, LargeIconPixels}) {
            SCOPED_TRACE(std::string(command.icon) + " " + std::to_string(pixels));
            IPictureDisp* picture = nullptr;
            ASSERT_EQ(IconPicture(ModuleInstance(), command.icon, pixels, &picture), S_OK);
            IPicture* bitmap = nullptr;
            ASSERT_EQ(picture->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&bitmap)), S_OK);
            SHORT type = 0;
            OLE_HANDLE handle = 0;
            bitmap->get_Type(&type);
            bitmap->get_Handle(&handle);
            EXPECT_EQ(type, PICTYPE_BITMAP);
            DIBSECTION section{};
            ASSERT_EQ(GetObjectW(reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(static_cast<int>(handle))),
                                 sizeof section, &section),
                      static_cast<int>(sizeof section));
            EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
            EXPECT_EQ(section.dsBm.bmWidth, pixels);
            EXPECT_EQ(section.dsBm.bmHeight, pixels);
            const auto* bytes = static_cast<const BYTE*>(section.dsBm.bmBits);
            auto alphaAt = [&](int x, int y) {
                return bytes[(pixels - 1 - y) * section.dsBm.bmWidthBytes + x * 4 + 3];
            };
            EXPECT_EQ(alphaAt(0, 0), 0);  // the badge's rounded corner
            EXPECT_EQ(alphaAt(pixels / 2, pixels / 2), 255);
            bitmap->Release();
            picture->Release();
        }
    }
    IPictureDisp* none = nullptr;
    EXPECT_EQ(IconPicture(ModuleInstance(), "no_such_icon", LargeIconPixels, &none),
              HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(none, nullptr);
    // A size that the resources do not have.
    EXPECT_NE(IconPicture(ModuleInstance(), "about", 24, &none), S_OK);
}

TEST(RibbonImages, PixelsAreTurnedBottomUpIntoGdiOrderWithPremultipliedColours) {
    // Top row: opaque red, half-transparent white; bottom row: transparent green, opaque blue.
    const std::uint8_t rgba[] = {255, 0, 0, 255, 255, 255, 255, 128, 0, 255, 0, 0, 0, 0, 255, 255};
    const auto dib = DibPixels(rgba, sizeof rgba, 2);
    const std::vector<std::uint8_t> expected = {0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 255, 128, 128, 128, 128};
    EXPECT_EQ(dib, expected);
    EXPECT_TRUE(DibPixels(rgba, sizeof rgba - 1, 2).empty());
    EXPECT_TRUE(DibPixels(rgba, sizeof rgba, 3).empty());
}

class RibbonCallbacks : public ::testing::Test {
protected:
    void TearDown() override {
        ForgetRibbon();
        mTarvelo::AutoReplaceOn = false;
    }
};

TEST_F(RibbonCallbacks, AreFoundByNameInAnyCaseAndNoOtherName) {
    DISPID load = 0, loud = 0;
    EXPECT_TRUE(RibbonCallbackId(L"ribbonload", load));
    EXPECT_TRUE(RibbonCallbackId(L"RibbonLoad", loud));
    EXPECT_EQ(load, loud);
    EXPECT_TRUE(IsRibbonCallback(load));
    DISPID other = 7;
    EXPECT_FALSE(RibbonCallbackId(L"RibbonLoaded", other));
    EXPECT_FALSE(RibbonCallbackId(L"OnConnection", other));
    EXPECT_FALSE(RibbonCallbackId(nullptr, other));
    EXPECT_EQ(other, 7);
    for (DISPID extensibility = 1; extensibility <= 5; ++extensibility) EXPECT_FALSE(IsRibbonCallback(extensibility));
}

TEST_F(RibbonCallbacks, GetPressedAnswersTheModeForTheToggleOnly) {
    Control toggle(L"Quran6"), button(L"Quran2");
    VARIANT pressed;
    ASSERT_EQ(Call(L"RibbonPressed", {Dispatch(&toggle.object)}, &pressed), S_OK);
    EXPECT_EQ(pressed.vt, VT_BOOL);
    EXPECT_EQ(pressed.boolVal, VARIANT_FALSE);
    mTarvelo::AutoReplaceOn = true;
    ASSERT_EQ(Call(L"RibbonPressed", {Dispatch(&toggle.object)}, &pressed), S_OK);
    EXPECT_EQ(pressed.boolVal, VARIANT_TRUE);
    ASSERT_EQ(Call(L"RibbonPressed", {Dispatch(&button.object)}, &pressed), S_OK);
    EXPECT_EQ(pressed.boolVal, VARIANT_FALSE);
    // Asked as a Visual Basic callback is (ByRef returnedVal): the answer goes there too.
    VARIANT returned;
    VariantInit(&returned);
    VARIANT byReference;
    VariantInit(&byReference);
    byReference.vt = VT_VARIANT | VT_BYREF;
    byReference.pvarVal = &returned;
    ASSERT_EQ(Call(L"RibbonPressed", {Dispatch(&toggle.object), byReference}), S_OK);
    EXPECT_EQ(returned.vt, VT_BOOL);
    EXPECT_EQ(returned.boolVal, VARIANT_TRUE);
}

TEST_F(RibbonCallbacks, GetImageGivesTheCommandsIconAsALargePicture) {
    Control about(L"Quran5"), unknown(L"Quran9");
    VARIANT image;
    ASSERT_EQ(Call(L"RibbonImage", {Dispatch(&about.object)}, &image), S_OK);
    ASSERT_EQ(image.vt, VT_DISPATCH);
    IPicture* picture = nullptr;
    ASSERT_EQ(image.pdispVal->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&picture)), S_OK);
    OLE_XSIZE_HIMETRIC width = 0;
    picture->get_Width(&width);
    EXPECT_GT(width, 0);
    picture->Release();
    VariantClear(&image);
    EXPECT_NE(Call(L"RibbonImage", {Dispatch(&unknown.object)}, &image), S_OK);
}

TEST_F(RibbonCallbacks, WrongArgumentsAreRefusedAsIDispatchRefusesThem) {
    Control toggle(L"Quran6");
    EXPECT_EQ(Call(L"RibbonToggle", {Dispatch(&toggle.object)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(L"RibbonClick", {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(L"RibbonClick", {Text(L"Quran2")}), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Call(L"RibbonToggle", {Dispatch(&toggle.object), Dispatch(&toggle.object)}), DISP_E_TYPEMISMATCH);
    DISPPARAMS none{};
    EXPECT_EQ(InvokeRibbonCallback(42, none, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
    // Without an installed add-in a click runs nothing, and the mode stays.
    EXPECT_EQ(Call(L"RibbonToggle", {Dispatch(&toggle.object), Boolean(true)}), S_OK);
    EXPECT_FALSE(mTarvelo::AutoReplaceOn);
}

TEST_F(RibbonCallbacks, TheRibbonFromOnLoadIsToldOfModeChangesUntilItIsForgotten) {
    std::vector<std::wstring> invalidated;
    FakeObject ribbon({{L"InvalidateControl", [&](const std::vector<VARIANT>& arguments) {
                            invalidated.emplace_back(arguments.at(0).bstrVal);
                            return Nothing(arguments);
                        }}});
    RibbonModeChanged();  // nothing kept yet
    ASSERT_EQ(Call(L"RibbonLoad", {Dispatch(&ribbon)}), S_OK);
    EXPECT_EQ(ribbon.references, 2u);
    RibbonModeChanged();
    EXPECT_EQ(invalidated, std::vector<std::wstring>{L"Quran6"});
    // A second onLoad (a new connection) keeps the newer ribbon only.
    FakeObject newer({{L"InvalidateControl", Nothing}});
    ASSERT_EQ(Call(L"RibbonLoad", {Dispatch(&newer)}), S_OK);
    EXPECT_EQ(ribbon.references, 1u);
    RibbonModeChanged();
    EXPECT_EQ(invalidated.size(), 1u);
    EXPECT_EQ(newer.calls, std::vector<std::wstring>{L"InvalidateControl"});
    ForgetRibbon();
    EXPECT_EQ(newer.references, 1u);
    RibbonModeChanged();
    EXPECT_EQ(newer.calls.size(), 1u);
}

TEST_F(RibbonCallbacks, OnlyWordsDocumentRibbonGetsTheTab) {
    const std::u16string xml = RibbonXml();
    EXPECT_TRUE(xml.starts_with(u"<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\""));
    // The tooltip's "&" is written as XML writes it.
    EXPECT_NE(xml.find(u"screentip=\"Get Arabic &amp; Translation of Quran \""), std::u16string::npos);
    EXPECT_TRUE(RibbonXml(u"Microsoft.Outlook.Mail.Read").empty());
}

}  // namespace
