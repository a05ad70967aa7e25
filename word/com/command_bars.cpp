// Word's CommandBars through Automation; a button's click reaches its handler through a sink
// advised on the button's _CommandBarButtonEvents.
#include <functional>
#include <optional>

#include "word/com/com_support.h"
#include "word/com/dispatch.h"
#include "word/word.h"

namespace word::com {

namespace {

// {000C0351-0000-0000-C000-000000000046}: _CommandBarButtonEvents.
constexpr IID DIID_CommandBarButtonEvents = {
    0x000C0351, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr DISPID kClick = 1;  // Click(Ctrl, CancelDefault)

// The event sink: Click runs the handler; every other event is ignored.
class ClickSink final : public DispatchObject<IDispatch, DIID_CommandBarButtonEvents> {
public:
    explicit ClickSink(std::function<void()> handler) : handler_(std::move(handler)) {}
    void setHandler(std::function<void()> handler) { handler_ = std::move(handler); }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (result) VariantInit(result);
        if (member != kClick) return S_OK;
        const auto handler = handler_;  // the handler may replace itself
        try {
            if (handler) handler();
        } catch (...) {
            // A failing handler must not unwind into Word.
        }
        return S_OK;
    }

private:
    std::function<void()> handler_;
};

// An advised sink, unadvised when this ends.
class Advice {
public:
    Advice(const Dispatch& control, std::function<void()> handler) {
        sink_ = makeComObject<ClickSink>(std::move(handler));
        ComPtr<IConnectionPointContainer> container;
        HRESULT hr = control.get()->QueryInterface(IID_IConnectionPointContainer,
                                                   reinterpret_cast<void**>(container.GetAddressOf()));
        if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(DIID_CommandBarButtonEvents, point_.GetAddressOf());
        if (SUCCEEDED(hr)) hr = point_->Advise(static_cast<IDispatch*>(sink_.Get()), &cookie_);
        if (FAILED(hr)) {
            point_.Reset();
            control.session()->fail(u"Click event", hr);
        }
    }
    Advice(const Advice&) = delete;
    Advice& operator=(const Advice&) = delete;
    ~Advice() {
        if (point_) point_->Unadvise(cookie_);  // Word may have gone: nothing to undo then
    }
    void setHandler(std::function<void()> handler) { sink_->setHandler(std::move(handler)); }

private:
    ComPtr<ClickSink> sink_;
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

class ComControls;

class ComControl final : public word::CommandBarControl {
public:
    explicit ComControl(Dispatch control);
    ~ComControl() override;

    std::u16string Caption() const override { return control_.text(control_.get(u"Caption"), u"Caption"); }
    void SetCaption(std::u16string_view caption) override { control_.put(u"Caption", Variant::text(caption)); }
    void SetTooltipText(std::u16string_view text) override { control_.put(u"TooltipText", Variant::text(text)); }
    void SetVisible(bool visible) override { control_.put(u"Visible", Variant::boolean(visible)); }
    void SetOnAction(std::u16string_view action) override { control_.put(u"OnAction", Variant::text(action)); }
    void SetTag(std::u16string_view tag) override { control_.put(u"Tag", Variant::text(tag)); }
    void Delete() override {
        advice_.reset();
        control_.call(u"Delete");
    }
    word::CommandBarControls& Controls() override;
    void OnClick(std::function<void()> handler) override {
        if (advice_) advice_->setHandler(std::move(handler));
        else advice_.emplace(control_, std::move(handler));
    }

private:
    Dispatch control_;
    std::unique_ptr<ComControls> controls_;
    std::optional<Advice> advice_;
};

class ComControls final : public word::CommandBarControls {
public:
    void reset(Dispatch controls) { controls_ = std::move(controls); }

    std::shared_ptr<word::CommandBarControl> Add(int type, std::optional<bool> temporary) override {
        std::vector<Argument> args;
        args.push_back({u"Type", Variant::int32(type)});
        if (temporary) args.push_back({u"Temporary", Variant::boolean(*temporary)});
        return std::make_shared<ComControl>(controls_.callObject(u"Add", std::move(args), ObjectType::Control));
    }
    std::shared_ptr<word::CommandBarControl> Item(std::u16string_view caption) override {
        std::vector<Argument> args;
        args.push_back({{}, Variant::text(caption)});
        return std::make_shared<ComControl>(controls_.callObject(u"Item", std::move(args), ObjectType::Control));
    }

private:
    Dispatch controls_;
};

ComControl::ComControl(Dispatch control) : control_(std::move(control)) {}
ComControl::~ComControl() = default;

word::CommandBarControls& ComControl::Controls() {
    Dispatch controls = control_.object(u"Controls", ObjectType::Controls);
    if (!controls_) controls_ = std::make_unique<ComControls>();
    controls_->reset(std::move(controls));
    return *controls_;
}

class ComCommandBar final : public word::CommandBar {
public:
    void reset(Dispatch bar) { bar_ = std::move(bar); }
    word::CommandBarControls& Controls() override {
        controls_.reset(bar_.object(u"Controls", ObjectType::Controls));
        return controls_;
    }

private:
    Dispatch bar_;
    ComControls controls_;
};

class ComCommandBars final : public word::CommandBars {
public:
    explicit ComCommandBars(std::function<Dispatch()> application) : application_(std::move(application)) {}
    word::CommandBar& ActiveMenuBar() override {
        const Dispatch bars = application_().object(u"CommandBars", ObjectType::CommandBars);
        menuBar_.reset(bars.object(u"ActiveMenuBar", ObjectType::CommandBar));
        return menuBar_;
    }

private:
    std::function<Dispatch()> application_;
    ComCommandBar menuBar_;
};

}  // namespace

std::unique_ptr<word::CommandBars> makeCommandBars(std::function<Dispatch()> application) {
    return std::make_unique<ComCommandBars>(std::move(application));
}

}  // namespace word::com
