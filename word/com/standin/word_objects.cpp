// Word's object model subset over the recording backend's document, answered through IDispatch.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "word/com/standin/automation.h"
#include "word/com/standin/control_surface.h"
#include "word/com/standin/host.h"
#include "word/com/standin/ribbon_host.h"

namespace word::com::standin {

namespace {

using word::recording::RecordingControl;

constexpr long kNoDocumentOpen = 4248;
constexpr std::u16string_view kNoDocumentOpenText = u"This command is not available because no document is open.";

std::u16string number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

// Word's error for what needs a document when none is open.
void requireDocument(Host& host) {
    if (!host.recorder.documentOpen()) throw WordRuntimeError{kNoDocumentOpen, std::u16string(kNoDocumentOpenText)};
}

class FontObject final : public AutomationObject {
public:
    FontObject(std::shared_ptr<Host> host, std::unique_ptr<word::Font> font)
        : AutomationObject(kMembers), host_(std::move(host)), font_(std::move(font)) {}

private:
    inline static const std::vector<Member> kMembers = {{u"Size", {}}, {u"SizeBi", {}}};
    Variant call(std::size_t index, bool put, const Arguments& args) override {
        if (!put) readOnly();  // the stand-in keeps no font to read back through the object model
        if (index == 0) font_->SetSize(args.singleValue());
        else font_->SetSizeBi(args.singleValue());
        return {};
    }
    std::shared_ptr<Host> host_;
    std::unique_ptr<word::Font> font_;
};

class ParagraphFormatObject final : public AutomationObject {
public:
    ParagraphFormatObject(std::shared_ptr<Host> host, std::unique_ptr<word::ParagraphFormat> format)
        : AutomationObject(kMembers), host_(std::move(host)), format_(std::move(format)) {}

private:
    inline static const std::vector<Member> kMembers = {{u"Alignment", {}}};
    Variant call(std::size_t, bool put, const Arguments& args) override {
        if (!put) readOnly();
        format_->SetAlignment(args.int32Value());
        return {};
    }
    std::shared_ptr<Host> host_;
    std::unique_ptr<word::ParagraphFormat> format_;
};

class RangeObject final : public AutomationObject {
public:
    RangeObject(std::shared_ptr<Host> host, std::unique_ptr<word::Range> range)
        : AutomationObject(kMembers), host_(std::move(host)), range_(std::move(range)) {}

private:
    inline static const std::vector<Member> kMembers = {{u"MoveStart", {u"Unit", u"Count"}}, {u"Text", {}}};
    Variant call(std::size_t index, bool put, const Arguments& args) override {
        if (index == 0) return Variant::int32(range_->MoveStart(args.int32(0, 1), args.int32(1, 1)));
        if (put) readOnly();
        return Variant::text(range_->Text());
    }
    std::shared_ptr<Host> host_;
    std::unique_ptr<word::Range> range_;
};

class SelectionObject final : public AutomationObject {
public:
    SelectionObject(std::shared_ptr<Host> host, std::unique_ptr<word::Selection> selection)
        : AutomationObject(kMembers), host_(std::move(host)), selection_(std::move(selection)) {}

private:
    // clang-format off
    enum { Font, ParagraphFormat, Range, Type, Text, MoveStart, TypeText, TypeParagraph, BoldRun, RtlRun, LtrRun,
           RtlPara, LtrPara, Paste, PasteAndFormat, EndKey };
    inline static const std::vector<Member> kMembers = {
        {u"Font", {}}, {u"ParagraphFormat", {}}, {u"Range", {}}, {u"Type", {}}, {u"Text", {}},
        {u"MoveStart", {u"Unit", u"Count"}}, {u"TypeText", {u"Text"}}, {u"TypeParagraph", {}}, {u"BoldRun", {}},
        {u"RtlRun", {}}, {u"LtrRun", {}}, {u"RtlPara", {}}, {u"LtrPara", {}}, {u"Paste", {}},
        {u"PasteAndFormat", {u"Type"}}, {u"EndKey", {u"Unit", u"Extend"}}};
    // clang-format on

    Variant call(std::size_t index, bool put, const Arguments& args) override {
        if (put && index != Text) readOnly();
        auto& s = *selection_;
        switch (index) {
            case Font:
                // One Font object per selection object, as the same object is handed out again.
                if (!font_) font_ = makeComObject<FontObject>(host_, s.Font());
                return result(font_);
            case ParagraphFormat: return result(makeComObject<ParagraphFormatObject>(host_, s.ParagraphFormat()));
            case Range: return result(makeComObject<RangeObject>(host_, s.Range()));
            case Type: return Variant::int32(s.Type());
            case Text:
                if (put) {  // Word replaces the selected text and keeps it selected; typing does the replacing here
                    s.TypeText(args.textValue());
                    return {};
                }
                return Variant::text(s.Text());
            case MoveStart: return Variant::int32(s.MoveStart(args.int32(0, 1), args.int32(1, 1)));
            case TypeText: s.TypeText(args.text(0)); return {};
            case TypeParagraph: s.TypeParagraph(); return {};
            case BoldRun: s.BoldRun(); return {};
            case RtlRun: s.RtlRun(); return {};
            case LtrRun: s.LtrRun(); return {};
            case RtlPara: s.RtlPara(); return {};
            case LtrPara: s.LtrPara(); return {};
            case Paste: s.Paste(); return {};
            case PasteAndFormat: s.PasteAndFormat(args.int32(0)); return {};
            case EndKey:
                if (args.int32(1, 0) != 0) throw word::Error("extending the selection with EndKey is not supported");
                s.EndKey(args.int32(0, word::wdLine));
                return Variant::int32(0);
        }
        return {};
    }
    std::shared_ptr<Host> host_;
    std::unique_ptr<word::Selection> selection_;
    ComPtr<FontObject> font_;
};

class WindowObject final : public AutomationObject {
public:
    WindowObject(std::shared_ptr<Host> host, std::unique_ptr<word::Window> window)
        : AutomationObject(kMembers), host_(std::move(host)), window_(std::move(window)) {}

private:
    inline static const std::vector<Member> kMembers = {{u"Selection", {}}};
    Variant call(std::size_t, bool put, const Arguments&) override {
        if (put) readOnly();
        if (!selection_) selection_ = makeComObject<SelectionObject>(host_, window_->Selection());
        return result(selection_);
    }
    std::shared_ptr<Host> host_;
    std::unique_ptr<word::Window> window_;
    ComPtr<SelectionObject> selection_;
};

class DocumentObject final : public AutomationObject {
public:
    DocumentObject(std::shared_ptr<Host> host, std::unique_ptr<word::Document> document)
        : AutomationObject(kMembers), host_(std::move(host)), document_(std::move(document)) {}

private:
    inline static const std::vector<Member> kMembers = {{u"ActiveWindow", {}}};
    Variant call(std::size_t, bool put, const Arguments&) override {
        if (put) readOnly();
        if (!window_) window_ = makeComObject<WindowObject>(host_, document_->ActiveWindow());
        return result(window_);
    }
    std::shared_ptr<Host> host_;
    std::unique_ptr<word::Document> document_;
    ComPtr<WindowObject> window_;
};

class DocumentsObject final : public AutomationObject {
public:
    explicit DocumentsObject(std::shared_ptr<Host> host) : AutomationObject(kMembers), host_(std::move(host)) {}

private:
    inline static const std::vector<Member> kMembers = {{u"Count", {}}};
    Variant call(std::size_t, bool put, const Arguments&) override {
        if (put) readOnly();
        return Variant::int32(host_->recorder.Documents().Count());
    }
    std::shared_ptr<Host> host_;
};

// ---------------------------------------------------------------------------------------------
// Command bars

class PopupBarObject;

class ConnectionPoint final : public ComObject<IConnectionPoint> {
public:
    ConnectionPoint(ComPtr<IConnectionPointContainer> container, std::shared_ptr<ControlEvents> events)
        : container_(std::move(container)), events_(std::move(events)) {}

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
        if (!iid) return E_POINTER;
        *iid = DIID_CommandBarButtonEvents;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override {
        if (!container) return E_POINTER;
        return container_.CopyTo(container);
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
        if (!sink || !cookie) return E_POINTER;
        // A sink in another process answers a query for the event interface with E_NOINTERFACE
        // (no proxy for it); its IDispatch serves the events as well.
        ComPtr<IDispatch> dispatch;
        if (FAILED(
                sink->QueryInterface(DIID_CommandBarButtonEvents, reinterpret_cast<void**>(dispatch.GetAddressOf()))) &&
            FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.GetAddressOf()))))
            return CONNECT_E_CANNOTCONNECT;
        *cookie = events_->advise(std::move(dispatch));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
        return events_->unadvise(cookie) ? S_OK : CONNECT_E_NOCONNECTION;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override {
        if (connections) *connections = nullptr;
        return E_NOTIMPL;
    }

private:
    ComPtr<IConnectionPointContainer> container_;
    std::shared_ptr<ControlEvents> events_;
};

class ControlsObject final : public AutomationObject {
public:
    ControlsObject(std::shared_ptr<Host> host, word::CommandBarControls& controls, std::shared_ptr<void> owner)
        : AutomationObject(kMembers), host_(std::move(host)), controls_(controls), owner_(std::move(owner)) {}

private:
    inline static const std::vector<Member> kMembers = {
        {u"Add", {u"Type", u"Id", u"Parameter", u"Before", u"Temporary"}}, {u"Item", {u"Index"}}};
    Variant call(std::size_t index, bool put, const Arguments& args) override;
    std::shared_ptr<Host> host_;
    word::CommandBarControls& controls_;
    std::shared_ptr<void> owner_;  // keeps the pop-up that owns the controls alive
};

class ControlObject final : public AutomationObject, public IConnectionPointContainer {
public:
    ControlObject(std::shared_ptr<Host> host, std::shared_ptr<word::CommandBarControl> control)
        : AutomationObject(kMembers), host_(std::move(host)), control_(std::move(control)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return AutomationObject::QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AutomationObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return AutomationObject::Release(); }

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override {
        if (points) *points = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        if (!point) return E_POINTER;
        *point = nullptr;
        if (iid != DIID_CommandBarButtonEvents) return CONNECT_E_NOCONNECTION;
        ComPtr<IConnectionPointContainer> self(this);
        auto connection = makeComObject<ConnectionPoint>(std::move(self), host_->eventsOf(control_));
        *point = connection.Detach();
        return S_OK;
    }

private:
    enum { Caption, TooltipText, Visible, OnAction, Tag, Delete, Controls, CommandBar, Type };
    inline static const std::vector<Member> kMembers = {
        {u"Caption", {}},  {u"TooltipText", {}}, {u"Visible", {}},
        {u"OnAction", {}}, {u"Tag", {}},         {u"Delete", {u"Temporary"}},
        {u"Controls", {}}, {u"CommandBar", {}},  {u"Type", {}}};

    void* otherInterface(REFIID iid) override {
        return iid == IID_IConnectionPointContainer ? static_cast<IConnectionPointContainer*>(this) : nullptr;
    }

    RecordingControl& recording() const { return static_cast<RecordingControl&>(*control_); }

    Variant call(std::size_t index, bool put, const Arguments& args) override;
    std::shared_ptr<Host> host_;
    std::shared_ptr<word::CommandBarControl> control_;
};

class PopupBarObject final : public AutomationObject {
public:
    PopupBarObject(std::shared_ptr<Host> host, std::shared_ptr<word::CommandBarControl> popup)
        : AutomationObject(kMembers), host_(std::move(host)), popup_(std::move(popup)) {}

private:
    inline static const std::vector<Member> kMembers = {{u"Controls", {}}};
    Variant call(std::size_t, bool put, const Arguments&) override {
        if (put) readOnly();
        return result(makeComObject<ControlsObject>(host_, popup_->Controls(), popup_));
    }
    std::shared_ptr<Host> host_;
    std::shared_ptr<word::CommandBarControl> popup_;
};

Variant ControlObject::call(std::size_t index, bool put, const Arguments& args) {
    auto& c = *control_;
    switch (index) {
        case Caption:
            if (put) c.SetCaption(args.textValue());
            else return Variant::text(c.Caption());
            return {};
        case TooltipText:
            if (put) c.SetTooltipText(args.textValue());
            else return Variant::text(recording().tooltipText());
            return {};
        case Visible:
            if (put) c.SetVisible(args.booleanValue());
            else return Variant::boolean(recording().visible());
            return {};
        case OnAction:
            if (put) c.SetOnAction(args.textValue());
            else return Variant::text(recording().onAction());
            return {};
        case Tag:
            if (put) c.SetTag(args.textValue());
            else return Variant::text(recording().tag());
            return {};
        case Delete:
            if (put) readOnly();
            c.Delete();
            return {};
        case Controls:
            if (put) readOnly();
            return result(makeComObject<ControlsObject>(host_, c.Controls(), control_));
        case CommandBar:  // a pop-up's command bar: its Controls are the pop-up's
            if (put) readOnly();
            return result(makeComObject<PopupBarObject>(host_, control_));
        case Type:
            if (put) readOnly();
            return Variant::int32(recording().type());
    }
    return {};
}

Variant ControlsObject::call(std::size_t index, bool put, const Arguments& args) {
    if (put) readOnly();
    if (index == 0) {
        const LONG type = args.int32(0, word::msoControlButton);
        std::optional<bool> temporary;
        if (args.at(4)) temporary = args.boolean(4);
        auto control = controls_.Add(type, temporary);
        host_->bindClick(control);
        return result(makeComObject<ControlObject>(host_, std::move(control)));
    }
    const VARIANT* which = args.at(0);
    if (!which) throw ArgumentError{DISP_E_PARAMNOTOPTIONAL, 0};
    if (which->vt != VT_BSTR) throw word::Error("the stand-in finds controls by caption only");
    return result(makeComObject<ControlObject>(host_, controls_.Item(args.text(0))));
}

class CommandBarObject final : public AutomationObject {
public:
    CommandBarObject(std::shared_ptr<Host> host, word::CommandBar& bar)
        : AutomationObject(kMembers), host_(std::move(host)), bar_(bar) {}

private:
    inline static const std::vector<Member> kMembers = {{u"Controls", {}}, {u"Name", {}}};
    Variant call(std::size_t index, bool put, const Arguments&) override {
        if (put) readOnly();
        if (index == 1) return Variant::text(u"Menu Bar");
        return result(makeComObject<ControlsObject>(host_, bar_.Controls(), nullptr));
    }
    std::shared_ptr<Host> host_;
    word::CommandBar& bar_;
};

class CommandBarsObject final : public AutomationObject {
public:
    explicit CommandBarsObject(std::shared_ptr<Host> host) : AutomationObject(kMembers), host_(std::move(host)) {}

private:
    inline static const std::vector<Member> kMembers = {{u"ActiveMenuBar", {}}};
    Variant call(std::size_t, bool put, const Arguments&) override {
        if (put) readOnly();
        return result(makeComObject<CommandBarObject>(host_, host_->recorder.CommandBars().ActiveMenuBar()));
    }
    std::shared_ptr<Host> host_;
};

// ---------------------------------------------------------------------------------------------
// The application

class ApplicationObject final : public AutomationObject {
public:
    explicit ApplicationObject(std::shared_ptr<Host> host) : AutomationObject(kMembers), host_(std::move(host)) {}

private:
    // clang-format off
    enum { ActiveDocument, Documents, Selection, ScreenUpdating, CommandBars, Quit, Name, Visible,
           // the test-only control surface (see control_surface.h)
           Runs, Paragraphs, DocumentText, SelectionSpan, SetContent, TypeKeys, Click, CloseDocument, NewDocument,
           Edits, ClearLog, Menu, Addins, AddinLog, IsScreenUpdating, Busy, RefusedCalls, SetEditable,
           RibbonControls, RibbonClick, RibbonLog, ReconnectAddins };
    inline static const std::vector<Member> kMembers = {
        {u"ActiveDocument", {}}, {u"Documents", {}}, {u"Selection", {}}, {u"ScreenUpdating", {}},
        {u"CommandBars", {}}, {u"Quit", {u"SaveChanges", u"OriginalFormat", u"RouteDocument"}}, {u"Name", {}},
        {u"Visible", {}},
        {kStandinRuns, {}}, {kStandinParagraphs, {}}, {kStandinText, {}}, {kStandinSelection, {}},
        {kStandinSetContent, {u"Text", u"InsertionPoint"}}, {kStandinTypeKeys, {u"Text"}}, {kStandinClick, {u"Caption"}},
        {kStandinCloseDocument, {}}, {kStandinNewDocument, {}}, {kStandinEdits, {}}, {kStandinClearLog, {}},
        {kStandinMenu, {}}, {kStandinAddins, {}}, {kStandinAddinLog, {}}, {kStandinScreenUpdating, {}},
        {kStandinBusy, {u"Seconds"}}, {kStandinRefusedCalls, {}}, {kStandinSetEditable, {u"Editable"}},
        {kStandinRibbonControls, {}}, {kStandinRibbonClick, {u"Id"}}, {kStandinRibbonLog, {}},
        {kStandinReconnectAddins, {}}};
    // clang-format on

    Variant call(std::size_t index, bool put, const Arguments& args) override {
        if (put && index != ScreenUpdating && index != Visible) readOnly();
        if (index >= Runs) return controlSurface(index, args);
        auto& word = host_->recorder;
        switch (index) {
            case ActiveDocument:
                // The document's objects are handed out again while it is open (a new document
                // gets new ones).
                requireDocument(*host_);
                if (!document_ || documentGeneration_ != host_->documentGeneration) {
                    document_ = makeComObject<DocumentObject>(host_, word.ActiveDocument());
                    documentGeneration_ = host_->documentGeneration;
                }
                return result(document_);
            case Documents: return result(makeComObject<DocumentsObject>(host_));
            case Selection:
                requireDocument(*host_);
                if (!selection_ || selectionGeneration_ != host_->documentGeneration) {
                    selection_ = makeComObject<SelectionObject>(host_, word.Selection());
                    selectionGeneration_ = host_->documentGeneration;
                }
                return result(selection_);
            case ScreenUpdating:
                if (put) word.SetScreenUpdating(args.booleanValue());
                else return Variant::boolean(word.screenUpdating());
                return {};
            case CommandBars: return result(makeComObject<CommandBarsObject>(host_));
            case Quit:
                if (host_->postQuit) host_->postQuit();
                return {};
            case Name: return Variant::text(u"Microsoft Word");
            case Visible:
                if (put) return {};
                return Variant::boolean(true);
        }
        return {};
    }

    // The test-only members (control_surface.h).
    Variant controlSurface(std::size_t index, const Arguments& args) {
        auto& word = host_->recorder;
        switch (index) {
            case Runs: return Variant::text(encodeRuns(word.document().runs()));
            case Paragraphs: return Variant::text(encodeParagraphs(word.document().paragraphs()));
            case DocumentText: return Variant::text(word.document().text());
            case SelectionSpan:
                return Variant::text(number(static_cast<double>(word.document().selectionStart())) + u" " +
                                     number(static_cast<double>(word.document().selectionEnd())));
            case SetContent: {
                const LONG point = args.int32(1, -1);
                word.newDocument();  // also forgets formatting set at the old insertion point
                ++host_->documentGeneration;
                word.document().setContent(args.text(0), {},
                                           point < 0 ? std::u16string::npos : static_cast<std::size_t>(point));
                return {};
            }
            case TypeKeys: {
                requireDocument(*host_);
                for (char16_t key : args.text(0)) {
                    auto selection = word.Selection();
                    if (key == u'\r' || key == u'\n') selection->TypeParagraph();
                    else selection->TypeText(std::u16string_view(&key, 1));
                }
                return {};
            }
            case Click: {
                auto control = host_->findControl(args.text(0));
                if (!control) throw word::Error("no menu control has this caption");
                if (host_->postClick) host_->postClick(control);
                return {};
            }
            case CloseDocument:
                word.closeDocument();
                ++host_->documentGeneration;
                return {};
            case NewDocument:
                word.newDocument();
                ++host_->documentGeneration;
                return {};
            case Edits: return Variant::text(joinRecords(word.edits()));
            case ClearLog: word.clearLog(); return {};
            case Menu: return Variant::text(encodeMenu(word.menuBarControls()));
            case Addins: return Variant::text(joinRecords(host_->connectedAddins));
            case AddinLog: return Variant::text(joinRecords(host_->addinLog));
            case IsScreenUpdating: return Variant::boolean(word.screenUpdating());
            case Busy: {
                const auto period = std::chrono::duration<double>(std::max(0.0, args.real(0)));
                host_->busyUntil =
                    std::chrono::steady_clock::now() + std::chrono::duration_cast<std::chrono::milliseconds>(period);
                return {};
            }
            case RefusedCalls: return Variant::int32(host_->refusedCalls);
            case SetEditable: word.setEditable(args.boolean(0)); return {};
            case RibbonControls: return Variant::text(ribbonControlsText(*host_));
            case RibbonClick: postRibbonClick(*host_, args.text(0)); return {};
            case RibbonLog: return Variant::text(ribbonLogText(*host_));
            case ReconnectAddins:
                if (host_->reconnectAddins) host_->reconnectAddins();
                return {};
        }
        return {};
    }
    std::shared_ptr<Host> host_;
    ComPtr<DocumentObject> document_;
    ComPtr<SelectionObject> selection_;
    int documentGeneration_ = -1, selectionGeneration_ = -1;
};

std::u16string withoutAccelerator(std::u16string_view caption) {
    std::u16string result;
    for (char16_t ch : caption)
        if (ch != u'&') result += ch;
    return result;
}

std::shared_ptr<RecordingControl> findIn(const std::vector<std::shared_ptr<RecordingControl>>& controls,
                                         std::u16string_view caption) {
    for (const auto& control : controls) {
        if (withoutAccelerator(control->Caption()) == withoutAccelerator(caption)) return control;
        if (auto found = findIn(control->children(), caption)) return found;
    }
    return nullptr;
}

}  // namespace

DWORD ControlEvents::advise(ComPtr<IDispatch> sink) {
    sinks_.emplace_back(next_, std::move(sink));
    return next_++;
}

bool ControlEvents::unadvise(DWORD cookie) {
    return std::erase_if(sinks_, [&](const auto& entry) { return entry.first == cookie; }) > 0;
}

void ControlEvents::fireClick(IDispatch* control) {
    const auto sinks = sinks_;  // a handler may unadvise
    for (const auto& [cookie, sink] : sinks) {
        VARIANT_BOOL cancelDefault = VARIANT_FALSE;
        VARIANT args[2];
        args[0].vt = VT_BOOL | VT_BYREF;  // CancelDefault, the last argument first
        args[0].pboolVal = &cancelDefault;
        args[1].vt = VT_DISPATCH;  // Ctrl
        args[1].pdispVal = control;
        DISPPARAMS params{args, nullptr, 2, 0};
        sink->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }
}

Host::Host() = default;

std::shared_ptr<ControlEvents> Host::eventsOf(const std::shared_ptr<word::CommandBarControl>& control) {
    std::erase_if(controls_, [](const auto& entry) { return entry.second.control.expired(); });
    Entry& entry = controls_[control.get()];
    if (!entry.events) {
        entry.control = control;
        entry.events = std::make_shared<ControlEvents>();
    }
    return entry.events;
}

void Host::bindClick(const std::shared_ptr<word::CommandBarControl>& control) {
    eventsOf(control);
    Entry& entry = controls_[control.get()];
    if (entry.bound) return;
    entry.bound = true;
    const word::CommandBarControl* key = control.get();
    control->OnClick([this, key] { fire(key); });
}

void Host::fire(const word::CommandBarControl* key) {
    const auto found = controls_.find(key);
    if (found == controls_.end()) return;
    auto control = found->second.control.lock();
    if (!control) return;
    auto events = found->second.events;
    auto object = makeComObject<ControlObject>(shared_from_this(), control);
    events->fireClick(object.Get());
}

std::shared_ptr<RecordingControl> Host::findControl(std::u16string_view caption) const {
    return findIn(recorder.menuBarControls(), caption);
}

ComPtr<IDispatch> makeApplication(std::shared_ptr<Host> host) {
    ComPtr<IDispatch> app;
    auto object = makeComObject<ApplicationObject>(std::move(host));
    object.As(&app);
    return app;
}

}  // namespace word::com::standin
