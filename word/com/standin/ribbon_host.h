// The Word stand-in's ribbon (Word 2007 and later): what it asks of a connected COM add-in and
// what it shows of it.
//
// Right after an add-in's OnConnection, Word asks the connection object for IRibbonExtensibility
// {000C0396-0000-0000-C000-000000000046}; an object that has it is asked once, by vtable, for
// GetCustomUI("Microsoft.Word.Document"). The XML is read (custom_ui.h) and every callback it names
// must be known to the object's IDispatch (GetIDsOfNames); otherwise the whole customization is
// refused and nothing of it shown (the log says why). Accepted, its tabs are shown after Word's
// own and onLoad is called with an IRibbonUI (Invalidate, InvalidateControl(ControlID)).
// Callbacks go to the object's IDispatch (QueryInterface for IDispatch): GetIDsOfNames by name,
// then Invoke(DISPATCH_METHOD) with an IRibbonControl (Id, Context, Tag) first: onAction(control)
// for a button, onAction(control, pressed As VT_BOOL) for a toggle button, getPressed(control)
// and getImage(control) answering through the Invoke result. Values of callbacks are asked when
// the control is looked at (controls()) and kept until the add-in invalidates them. A toggle
// button's click shows the new state at once and passes it to onAction. An add-in that is
// disconnected loses its tabs.
//
// The test-only control surface, members of the Application object:
//   StandinRibbonControls     BSTR: the shown controls (decodeRibbon)
//   StandinRibbonClick(Id)    clicks the control with that id; delivered from the message loop
//                             after the call returns; fails if no control has that id
//   StandinRibbonLog          BSTR: what Word asked and was told, in order ("GetCustomUI
//                             Tarvelo.Connect", "onLoad", "getImage Quran2", "getPressed Quran6",
//                             "onAction Quran6 true", "InvalidateControl Quran6", "refused
//                             Tarvelo.Connect: <why>", "unload ...")
//   StandinReconnectAddins    disconnects every connected add-in as the user does in Word's COM
//                             Add-ins dialog (OnDisconnection(ext_dm_UserClosed), released) and
//                             connects the registered ones again (OnConnection(ext_cm_AfterStartup),
//                             OnAddInsUpdate)
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "word/com/com_support.h"
#include "word/com/standin/control_surface.h"

namespace word::com::standin {

class Host;
struct CustomUiElement;

inline constexpr std::u16string_view kStandinRibbonControls = u"StandinRibbonControls";
inline constexpr std::u16string_view kStandinRibbonClick = u"StandinRibbonClick";
inline constexpr std::u16string_view kStandinRibbonLog = u"StandinRibbonLog";
inline constexpr std::u16string_view kStandinReconnectAddins = u"StandinReconnectAddins";
inline constexpr std::u16string_view kWordRibbonId = u"Microsoft.Word.Document";

// {000C0396-0000-0000-C000-000000000046}
inline constexpr IID IID_IRibbonExtensibility = {
    0x000C0396, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
struct IRibbonExtensibility : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR ribbonId, BSTR* ribbonXml) = 0;
};

// A control as the ribbon shows it.
struct RibbonControlView {
    std::u16string tab, tabLabel, tabKeytip, group, groupLabel;
    std::u16string kind;  // "button" or "toggleButton"
    std::u16string id, label, screentip, supertip, keytip, size;
    // The image that getImage gave: "32x32 32-bit alpha" for a 32-bit DIB section with an alpha
    // channel (its size first); else what it was ("no picture", "not a bitmap", ...); empty
    // without getImage.
    std::u16string image;
    bool pressed = false;  // a toggle button's state
    bool operator==(const RibbonControlView&) const = default;
};

class Ribbon : public std::enable_shared_from_this<Ribbon> {
public:
    Ribbon();
    Ribbon(const Ribbon&) = delete;
    Ribbon& operator=(const Ribbon&) = delete;
    ~Ribbon();

    // An add-in has been connected: its customization, if it offers one and it is accepted.
    void load(std::u16string_view progId, IUnknown* addin);
    // The add-in is disconnected: its tabs go, and Word lets go of its objects.
    void unload(std::u16string_view progId);
    // The controls as shown now: callbacks whose values are not known are called.
    std::vector<RibbonControlView> controls();
    // Queues a click of control `id` for the message loop; false when no control has that id.
    bool postClick(std::u16string_view id);
    // Called by the IRibbonUI that `progId`'s onLoad received: the control's values (all of the
    // add-in's with no id) are asked again when next shown.
    void invalidate(std::u16string_view progId, std::optional<std::u16string_view> controlId);

    std::vector<std::u16string> log;

private:
    struct Loaded;
    struct Shown;
    Loaded* find(std::u16string_view progId);
    std::optional<Shown> findControl(std::u16string_view id);
    void click(const std::u16string& id);
    void deliverClicks();
    Variant call(Loaded& addin, const std::u16string& callback, std::vector<Variant> arguments, HRESULT& result);
    Variant controlObject(Loaded& addin, const std::u16string& id, const std::u16string& tag);
    bool pressedOf(Loaded& addin, const Shown& shown);
    std::u16string imageOf(Loaded& addin, const CustomUiElement& control);
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::vector<std::unique_ptr<Loaded>> loaded_;
    std::vector<std::u16string> clicks_;
    HWND window_ = nullptr;
};

// The Application's members of the control surface, over the host's ribbon.
std::u16string ribbonControlsText(Host& host);
void postRibbonClick(Host& host, std::u16string_view id);  // throws word::Error if there is no such control
std::u16string ribbonLogText(Host& host);

// Records and fields joined as control_surface.h joins them.
std::u16string encodeRibbon(const std::vector<RibbonControlView>& controls);
std::vector<RibbonControlView> decodeRibbon(std::u16string_view text);

// Clients of the surface, for tests that drive a running stand-in.
std::vector<RibbonControlView> ribbonControls(const StandinProcess& standin);
void clickRibbon(const StandinProcess& standin, std::u16string_view id);
std::vector<std::u16string> ribbonLog(const StandinProcess& standin);
void reconnectAddins(const StandinProcess& standin);

}  // namespace word::com::standin
