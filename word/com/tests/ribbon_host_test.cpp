// The Word stand-in's ribbon: how it reads an add-in's customUI XML and what it refuses, and how
// it asks a connected add-in for its tab, calls its callbacks and keeps their values.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "word/com/standin/custom_ui.h"
#include "word/com/standin/ribbon_host.h"

namespace {

using namespace word::com;
using namespace word::com::standin;

std::u16string Document(std::u16string_view controls, std::u16string_view onLoad = u" onLoad=\"Loaded\"") {
    return u"<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\"" + std::u16string(onLoad) +
           u"><ribbon><tabs><tab id=\"T\" label=\"Tab\" keytip=\"Q\"><group id=\"G\" label=\"Group\">" +
           std::u16string(controls) + u"</group></tab></tabs></ribbon></customUI>";
}

constexpr std::u16string_view kButtons =
    u"<button id=\"B\" label=\"Button\" screentip=\"Tip &amp; more\" keytip=\"B\" size=\"large\" getImage=\"Image\" "
    u"onAction=\"Click\"/>"
    u"<toggleButton id=\"S\" label=\"Switch\" size=\"large\" getImage=\"Image\" getPressed=\"Pressed\" "
    u"onAction=\"Toggle\"/>";

class CustomUi : public ::testing::Test {
protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(CustomUi, AWellFormedDocumentOfTheModelledSchemaIsReadWithItsCallbacks) {
    const auto reading = readCustomUi(Document(kButtons));
    ASSERT_TRUE(reading.root) << utf8(reading.refusal);
    EXPECT_EQ(callbackNames(*reading.root),
              (std::vector<std::u16string>{u"Loaded", u"Image", u"Click", u"Pressed", u"Toggle"}));
    const auto& button = reading.root->children[0].children[0].children[0].children[0].children[0];
    EXPECT_EQ(button.attribute(u"screentip"), u"Tip & more");
    // Comments, a declaration and white space between elements are no content.
    EXPECT_TRUE(readCustomUi(u"<?xml version=\"1.0\"?>\n<!-- ours -->\n" + Document(kButtons)).root);
}

TEST_F(CustomUi, AnythingElseIsRefusedAsAWholeWithItsReason) {
    const std::u16string button = u"<button id=\"B\" label=\"Button\"/>";
    const struct {
        std::u16string xml;
        std::u16string_view reason;
    } cases[] = {
        {Document(button).substr(10), u"not well formed"},
        {u"<customUI xmlns=\"http://schemas.microsoft.com/office/2009/07/customui\"/>", u"not in the customUI"},
        {u"<customUI/>", u"not in the customUI"},
        {u"<ribbon xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\"/>", u"root element is <ribbon>"},
        {Document(u"<checkBox id=\"C\" label=\"Check\"/>"), u"<checkBox> inside <group>"},
        {Document(u"<button id=\"B\" imageMso=\"HappyFace\"/>"), u"attribute imageMso of <button>"},
        {Document(u"<button id=\"B\" getLabel=\"Label\"/>"), u"attribute getLabel of <button>"},
        {Document(u"<button id=\"B\" x:on=\"1\" xmlns:x=\"urn:other\"/>"), u"another namespace"},
        {Document(u"<button label=\"Button\"/>"), u"<button> has no id"},
        {Document(u"<button id=\"G\"/>"), u"the id \"G\" is used twice"},
        {Document(u"<button id=\"2B\"/>"), u"is not a control identifier"},
        {Document(u"<button id=\"B\" keytip=\"ABCD\"/>"), u"not a key tip"},
        {Document(u"<button id=\"B\" size=\"huge\"/>"), u"neither \"normal\" nor \"large\""},
        {Document(u"<button id=\"B\" label=\"\"/>"), u"1 to 1024 characters"},
        {Document(u"<button id=\"B\">Click</button>"), u"text inside <button>"},
        {Document(button, u" onLoad=\"\""), u"attribute onLoad of <customUI>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.xml));
        const auto reading = readCustomUi(c.xml);
        EXPECT_FALSE(reading.root);
        EXPECT_NE(reading.refusal.find(c.reason), std::u16string::npos) << utf8(reading.refusal);
    }
}

// A small 32-bit picture with an alpha channel, as an add-in hands one over.
ComPtr<IPictureDisp> Picture() {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, 16, 16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<BYTE*>(bits);
    for (int i = 0; i < 16 * 16; ++i) pixels[i * 4 + 3] = i < 128 ? 0 : 255;
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap;
    ComPtr<IPictureDisp> picture;
    OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(picture.GetAddressOf()));
    return picture;
}

// An add-in's connection object with a ribbon: its XML, the callbacks it knows, and what it was
// asked.
class FakeAddin final : public DispatchObject<IRibbonExtensibility, IID_IRibbonExtensibility> {
public:
    explicit FakeAddin(std::u16string xml,
                       std::vector<std::u16string> known = {u"Loaded", u"Image", u"Click", u"Pressed", u"Toggle"})
        : xml_(std::move(xml)), known_(std::move(known)) {}

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
        const auto found = std::find(known_.begin(), known_.end(), u16(names[0]));
        if (found == known_.end()) return DISP_E_UNKNOWNNAME;
        *ids = static_cast<DISPID>(found - known_.begin()) + 100;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        const std::u16string name = known_.at(static_cast<std::size_t>(id - 100));
        const VARIANT& first = params->rgvarg[params->cArgs - 1];
        std::u16string call = name;
        if (name == u"Loaded") {
            ribbon = first.pdispVal;
        } else {
            call += u" " + text(property(first.pdispVal, u"Id"));
            if (params->cArgs == 2) call += params->rgvarg[0].boolVal ? u" true" : u" false";
        }
        calls.push_back(call);
        if (name == u"Pressed") *result = *Variant::boolean(pressed).get();
        if (name == u"Image") *result = Variant::dispatch(Picture().Get()).release();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR ribbonId, BSTR* ribbonXml) override {
        calls.push_back(u"GetCustomUI " + u16(ribbonId, SysStringLen(ribbonId)));
        *ribbonXml = Bstr(xml_).release();
        return S_OK;
    }

    static Variant property(IDispatch* object, std::u16string_view name) {
        const std::u16string member(name);
        LPOLESTR names[] = {const_cast<LPOLESTR>(wide(member))};
        DISPID id;
        Variant value;
        DISPPARAMS none{};
        if (SUCCEEDED(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id)))
            object->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, value.out(), nullptr, nullptr);
        return value;
    }
    static std::u16string text(const Variant& v) {
        return v.type() == VT_BSTR ? u16(v.get()->bstrVal, SysStringLen(v.get()->bstrVal)) : std::u16string();
    }
    // Calls the IRibbonUI from onLoad, as the add-in does when its state changes.
    void invalidate(std::u16string_view control) {
        const std::u16string member = u"InvalidateControl";
        LPOLESTR names[] = {const_cast<LPOLESTR>(wide(member))};
        DISPID id;
        ASSERT_EQ(ribbon->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
        Variant argument = Variant::text(control);
        DISPPARAMS params{argument.get(), nullptr, 1, 0};
        ASSERT_EQ(ribbon->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
    }

    std::vector<std::u16string> calls;
    ComPtr<IDispatch> ribbon;
    bool pressed = false;

private:
    std::u16string xml_;
    std::vector<std::u16string> known_;
};

std::size_t Count(const std::vector<std::u16string>& calls, std::u16string_view call) {
    return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
}

TEST_F(CustomUi, AnAddinMissingACallbackThatItsXmlNamesIsRefusedAndShowsNothing) {
    auto ribbon = std::make_shared<Ribbon>();
    auto addin = makeComObject<FakeAddin>(Document(kButtons), std::vector<std::u16string>{u"Loaded", u"Click"});
    ribbon->load(u"Some.Addin", addin.Get());
    EXPECT_TRUE(ribbon->controls().empty());
    ASSERT_EQ(ribbon->log.size(), 2u);
    EXPECT_EQ(ribbon->log[1].rfind(u"refused Some.Addin: the add-in does not know the callback Image", 0), 0u);
    EXPECT_EQ(addin->calls, std::vector<std::u16string>{u"GetCustomUI Microsoft.Word.Document"});
}

TEST_F(CustomUi, AnAcceptedTabIsLoadedOnceAndItsValuesAreAskedWhenShownAndAgainWhenInvalidated) {
    auto ribbon = std::make_shared<Ribbon>();
    auto addin = makeComObject<FakeAddin>(Document(kButtons));
    ribbon->load(u"Some.Addin", addin.Get());
    ASSERT_TRUE(addin->ribbon);
    auto controls = ribbon->controls();
    ASSERT_EQ(controls.size(), 2u);
    EXPECT_EQ(controls[0].label, u"Button");
    EXPECT_EQ(controls[0].screentip, u"Tip & more");
    EXPECT_EQ(controls[0].image, u"16x16 32-bit alpha");
    EXPECT_EQ(controls[1].kind, u"toggleButton");
    EXPECT_FALSE(controls[1].pressed);
    ribbon->controls();
    EXPECT_EQ(Count(addin->calls, u"Pressed S"), 1u);  // kept until invalidated
    EXPECT_EQ(Count(addin->calls, u"Image B"), 1u);

    addin->pressed = true;
    addin->invalidate(u"S");
    EXPECT_TRUE(ribbon->controls()[1].pressed);
    EXPECT_EQ(Count(addin->calls, u"Pressed S"), 2u);

    // A click of the toggle shows its new state at once and tells it to onAction.
    ASSERT_TRUE(ribbon->postClick(u"S"));
    ASSERT_TRUE(
        pumpMessagesUntil([&] { return Count(addin->calls, u"Toggle S false") == 1; }, std::chrono::seconds(5)));
    EXPECT_FALSE(ribbon->controls()[1].pressed);
    ASSERT_TRUE(ribbon->postClick(u"B"));
    ASSERT_TRUE(pumpMessagesUntil([&] { return Count(addin->calls, u"Click B") == 1; }, std::chrono::seconds(5)));
    EXPECT_FALSE(ribbon->postClick(u"X"));
    EXPECT_EQ(Count(addin->calls, u"GetCustomUI Microsoft.Word.Document"), 1u);
    EXPECT_EQ(Count(addin->calls, u"Loaded"), 1u);

    ribbon->unload(u"Some.Addin");
    EXPECT_TRUE(ribbon->controls().empty());
    EXPECT_FALSE(ribbon->postClick(u"B"));
}

TEST_F(CustomUi, AnAddinWithoutARibbonIsNotAsked) {
    auto ribbon = std::make_shared<Ribbon>();
    ComPtr<IUnknown> plain;
    makeComObject<FakeAddin>(u"").As(&plain);
    ribbon->load(u"Other.Addin", nullptr);
    EXPECT_TRUE(ribbon->log.empty());
    // An empty customization: asked, nothing shown.
    ribbon->load(u"Empty.Addin", plain.Get());
    EXPECT_EQ(ribbon->log, std::vector<std::u16string>{u"GetCustomUI Empty.Addin"});
    EXPECT_TRUE(ribbon->controls().empty());
}

}  // namespace
