#include "word/libreoffice/command_bars.h"

#include <map>
#include <vector>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XIndexContainer.hpp>
#include <com/sun/star/document/DocumentEvent.hpp>
#include <com/sun/star/document/XDocumentEventBroadcaster.hpp>
#include <com/sun/star/document/XDocumentEventListener.hpp>
#include <com/sun/star/frame/XFrames.hpp>
#include <com/sun/star/frame/XLayoutManager.hpp>
#include <com/sun/star/frame/theGlobalEventBroadcaster.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/lang/XSingleComponentFactory.hpp>
#include <com/sun/star/ui/ItemType.hpp>
#include <com/sun/star/ui/XUIElement.hpp>
#include <com/sun/star/ui/XUIElementSettings.hpp>
#include <com/sun/star/uno/Sequence.hxx>
#include <cppuhelper/implbase1.hxx>

#include "word/libreoffice/connection.h"

namespace word::libreoffice {

namespace css = ::com::sun::star;
using rtl::OUString;

namespace {

class ControlImpl;
class ControlsImpl;

// Which control each command URL stands for, and who hears of caption changes.
struct Registry {
    std::map<std::u16string, std::weak_ptr<ControlImpl>, std::less<>> controls;
    MenuCommands::CaptionListener captionListener;
    unsigned next = 1;
};

Registry& registry() {
    static Registry r;
    return r;
}

std::u16string withoutAccelerator(std::u16string_view caption) {
    std::u16string plain;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 < caption.size() && caption[i + 1] == u'&') {
                plain += u'&';
                ++i;
            }
            continue;
        }
        plain += caption[i];
    }
    return plain;
}

// The menu as the programs built it; applied to the menu bar of every Writer window.
class MenuModel : public std::enable_shared_from_this<MenuModel> {
public:
    explicit MenuModel(OfficeRefs office) : office_(std::move(office)) {}
    ~MenuModel();
    ControlsImpl& top() { return *top_; }
    void init();
    // Puts the current menu into every Writer window (and the windows opened later).
    void apply();
    void applyToFrame(const uno::Reference<css::frame::XFrame>& frame);
    const OfficeRefs& office() const { return office_; }

private:
    OfficeRefs office_;
    std::unique_ptr<ControlsImpl> top_;
    uno::Reference<css::document::XDocumentEventListener> listener_;
};

class ControlsImpl : public word::CommandBarControls {
public:
    ControlsImpl(std::weak_ptr<MenuModel> model) : model_(std::move(model)) {}
    ~ControlsImpl() override;
    std::shared_ptr<word::CommandBarControl> Add(int type, std::optional<bool> temporary) override;
    std::shared_ptr<word::CommandBarControl> Item(std::u16string_view caption) override;
    void remove(const ControlImpl* control);
    const std::vector<std::shared_ptr<ControlImpl>>& items() const { return items_; }

private:
    std::weak_ptr<MenuModel> model_;
    std::vector<std::shared_ptr<ControlImpl>> items_;
};

class ControlImpl : public word::CommandBarControl {
public:
    ControlImpl(int type, std::weak_ptr<MenuModel> model, ControlsImpl* parent)
        : type_(type), model_(std::move(model)), parent_(parent) {
        url_ = std::u16string(menuCommandProtocol) + (type == word::msoControlPopup ? u"popup" : u"button") +
               std::u16string(fromOUString(OUString::number(registry().next++)));
        if (type == word::msoControlPopup) children_ = std::make_unique<ControlsImpl>(model_);
    }
    ~ControlImpl() override { registry().controls.erase(url_); }

    std::u16string Caption() const override { return caption_; }
    void SetCaption(std::u16string_view caption) override {
        caption_ = caption;
        changed();
        if (auto& listener = registry().captionListener) listener(url_, officeCaption(caption_));
    }
    void SetTooltipText(std::u16string_view text) override { tooltip_ = text; }
    void SetVisible(bool visible) override {
        visible_ = visible;
        changed();
    }
    void SetOnAction(std::u16string_view action) override { onAction_ = action; }
    void SetTag(std::u16string_view tag) override { tag_ = tag; }
    void Delete() override {
        if (!parent_) throw word::Error("The control was deleted already");
        auto* parent = parent_;
        detach();
        parent->remove(this);  // may destroy this
    }
    word::CommandBarControls& Controls() override {
        if (!children_) throw word::Error("A button has no controls");
        return *children_;
    }
    void OnClick(std::function<void()> handler) override { click_ = std::move(handler); }

    void detach() {
        parent_ = nullptr;
        registry().controls.erase(url_);
        if (children_)
            for (const auto& child : children_->items()) child->detach();
    }
    void changed() {
        if (!parent_) return;
        if (auto model = model_.lock()) model->apply();
    }
    std::function<void()> clickHandler() const { return click_; }
    const std::u16string& url() const { return url_; }
    bool visible() const { return visible_; }
    int type() const { return type_; }
    const ControlsImpl* children() const { return children_.get(); }
    const std::u16string& tooltip() const { return tooltip_; }

private:
    int type_;
    std::weak_ptr<MenuModel> model_;
    ControlsImpl* parent_;
    std::u16string url_, caption_, tooltip_, onAction_, tag_;
    bool visible_ = true;
    std::function<void()> click_;
    std::unique_ptr<ControlsImpl> children_;
};

ControlsImpl::~ControlsImpl() {
    for (const auto& item : items_) item->detach();
}

std::shared_ptr<word::CommandBarControl> ControlsImpl::Add(int type, std::optional<bool>) {
    if (type != word::msoControlButton && type != word::msoControlPopup) throw word::Error("Unsupported control type");
    auto control = std::make_shared<ControlImpl>(type, model_, this);
    registry().controls[control->url()] = control;
    items_.push_back(control);
    control->changed();
    return control;
}

std::shared_ptr<word::CommandBarControl> ControlsImpl::Item(std::u16string_view caption) {
    for (const auto& item : items_)
        if (withoutAccelerator(item->Caption()) == caption) return item;
    throw word::Error("No control with the caption " + toUtf8(toOUString(caption)));
}

void ControlsImpl::remove(const ControlImpl* control) {
    auto keep = std::shared_ptr<ControlImpl>();
    for (auto it = items_.begin(); it != items_.end(); ++it)
        if (it->get() == control) {
            keep = *it;
            items_.erase(it);
            break;
        }
    if (auto model = model_.lock()) model->apply();
}

OUString str(std::u16string_view s) { return toOUString(s); }

css::beans::PropertyValue prop(const char* name, const uno::Any& value) {
    css::beans::PropertyValue p;
    p.Name = OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

uno::Sequence<css::beans::PropertyValue> descriptor(const ControlImpl& control,
                                                    const uno::Reference<css::lang::XSingleComponentFactory>& factory,
                                                    const uno::Reference<uno::XComponentContext>& context) {
    std::vector<css::beans::PropertyValue> props = {
        prop("CommandURL", uno::Any(str(control.url()))),
        prop("Label", uno::Any(str(officeCaption(control.Caption())))),
        prop("Type", uno::Any(sal_Int16(css::ui::ItemType::DEFAULT))),
        prop("Tooltip", uno::Any(str(control.tooltip()))),
    };
    if (control.children()) {
        uno::Reference<css::container::XIndexContainer> sub(factory->createInstanceWithContext(context),
                                                            uno::UNO_QUERY_THROW);
        for (const auto& child : control.children()->items()) {
            if (!child->visible()) continue;
            sub->insertByIndex(sub->getCount(), uno::Any(descriptor(*child, factory, context)));
        }
        props.push_back(prop("ItemDescriptorContainer", uno::Any(sub)));
    }
    return uno::Sequence<css::beans::PropertyValue>(props.data(), static_cast<sal_Int32>(props.size()));
}

bool isWriterFrame(const uno::Reference<css::frame::XFrame>& frame) {
    if (!frame.is()) return false;
    auto controller = frame->getController();
    if (!controller.is()) return false;
    uno::Reference<css::lang::XServiceInfo> info(controller->getModel(), uno::UNO_QUERY);
    return info.is() && info->supportsService("com.sun.star.text.TextDocument");
}

// Applies the menu to the window of every document that gets a view from now on.
class ViewListener : public cppu::WeakImplHelper1<css::document::XDocumentEventListener> {
public:
    explicit ViewListener(std::weak_ptr<MenuModel> model) : model_(std::move(model)) {}
    void SAL_CALL documentEventOccured(const css::document::DocumentEvent& event) override {
        if (event.EventName != "OnViewCreated" && event.EventName != "OnNew" && event.EventName != "OnLoad") return;
        auto model = model_.lock();
        if (!model) return;
        try {
            uno::Reference<css::frame::XModel> document(event.Source, uno::UNO_QUERY);
            if (!document.is() || !document->getCurrentController().is()) return;
            auto frame = document->getCurrentController()->getFrame();
            if (isWriterFrame(frame)) model->applyToFrame(frame);
        } catch (const uno::Exception&) {
        }
    }
    void SAL_CALL disposing(const css::lang::EventObject&) override {}

private:
    std::weak_ptr<MenuModel> model_;
};

void MenuModel::init() {
    top_ = std::make_unique<ControlsImpl>(weak_from_this());
    try {
        listener_ = new ViewListener(weak_from_this());
        uno::Reference<css::document::XDocumentEventBroadcaster> broadcaster(
            css::frame::theGlobalEventBroadcaster::get(office_.context), uno::UNO_QUERY_THROW);
        broadcaster->addDocumentEventListener(listener_);
    } catch (const uno::Exception&) {
        listener_.clear();  // windows opened later then lack the menu; the open ones have it
    }
}

MenuModel::~MenuModel() {
    top_.reset();
    if (!listener_.is()) return;
    try {
        uno::Reference<css::document::XDocumentEventBroadcaster> broadcaster(
            css::frame::theGlobalEventBroadcaster::get(office_.context), uno::UNO_QUERY_THROW);
        broadcaster->removeDocumentEventListener(listener_);
    } catch (const uno::Exception&) {
    }
}

void MenuModel::apply() {
    try {
        auto frames = office_.desktop->getFrames();
        for (sal_Int32 i = 0; i < frames->getCount(); ++i) {
            uno::Reference<css::frame::XFrame> frame;
            frames->getByIndex(i) >>= frame;
            if (isWriterFrame(frame)) applyToFrame(frame);
        }
    } catch (const uno::Exception& e) {
        throw word::Error("The menu bar cannot be changed: " + toUtf8(e.Message));
    }
}

void MenuModel::applyToFrame(const uno::Reference<css::frame::XFrame>& frame) {
    uno::Reference<css::beans::XPropertySet> frameProps(frame, uno::UNO_QUERY_THROW);
    uno::Reference<css::frame::XLayoutManager> layout;
    frameProps->getPropertyValue("LayoutManager") >>= layout;
    if (!layout.is()) return;
    auto element = layout->getElement("private:resource/menubar/menubar");
    uno::Reference<css::ui::XUIElementSettings> elementSettings(element, uno::UNO_QUERY);
    if (!elementSettings.is()) return;  // a window without a menu bar (headless views)
    // Our entries live in this window only: never in the user's stored menu configuration.
    uno::Reference<css::beans::XPropertySet> elementProps(element, uno::UNO_QUERY);
    if (elementProps.is()) {
        try {
            elementProps->setPropertyValue("Persistent", uno::Any(false));
        } catch (const uno::Exception&) {
        }
    }
    uno::Reference<css::container::XIndexContainer> settings(elementSettings->getSettings(true), uno::UNO_QUERY_THROW);
    const OUString protocol = str(menuCommandProtocol);
    for (sal_Int32 i = settings->getCount() - 1; i >= 0; --i) {
        uno::Sequence<css::beans::PropertyValue> item;
        settings->getByIndex(i) >>= item;
        for (const auto& p : item) {
            OUString url;
            if (p.Name == "CommandURL" && (p.Value >>= url) && url.startsWith(protocol)) {
                settings->removeByIndex(i);
                break;
            }
        }
    }
    uno::Reference<css::lang::XSingleComponentFactory> factory(settings, uno::UNO_QUERY_THROW);
    for (const auto& control : top_->items())
        if (control->visible())
            settings->insertByIndex(settings->getCount(), uno::Any(descriptor(*control, factory, office_.context)));
    elementSettings->setSettings(uno::Reference<css::container::XIndexAccess>(settings, uno::UNO_QUERY_THROW));
}

class CommandBarImpl : public word::CommandBar {
public:
    explicit CommandBarImpl(std::shared_ptr<MenuModel> model) : model_(std::move(model)) {}
    word::CommandBarControls& Controls() override { return model_->top(); }

private:
    std::shared_ptr<MenuModel> model_;
};

class CommandBarsImpl : public word::CommandBars {
public:
    explicit CommandBarsImpl(const OfficeRefs& office) : model_(std::make_shared<MenuModel>(office)), bar_(model_) {
        model_->init();
    }
    word::CommandBar& ActiveMenuBar() override { return bar_; }

private:
    std::shared_ptr<MenuModel> model_;
    CommandBarImpl bar_;
};

}  // namespace

std::u16string officeCaption(std::u16string_view wordCaption) {
    std::u16string out;
    for (std::size_t i = 0; i < wordCaption.size(); ++i) {
        const char16_t c = wordCaption[i];
        if (c == u'&' && i + 1 < wordCaption.size()) {
            if (wordCaption[i + 1] == u'&') {
                out += u'&';
            } else {
                out += u'~';
                out += wordCaption[i + 1];
            }
            ++i;
        } else if (c == u'~') {
            out += u"~~";
        } else {
            out += c;
        }
    }
    return out;
}

std::unique_ptr<word::CommandBars> makeCommandBars(const OfficeRefs& office) {
    if (!office.context.is() || !office.desktop.is()) throw word::Error("No office");
    return std::make_unique<CommandBarsImpl>(office);
}

bool MenuCommands::handles(std::u16string_view url) {
    return url.substr(0, menuCommandProtocol.size()) == menuCommandProtocol;
}

bool MenuCommands::click(std::u16string_view url) {
    auto it = registry().controls.find(url);
    if (it == registry().controls.end()) return false;
    auto control = it->second.lock();
    if (!control) return false;
    auto handler = control->clickHandler();  // a copy: the handler may delete the control
    if (handler) handler();
    return true;
}

std::optional<std::u16string> MenuCommands::caption(std::u16string_view url) {
    auto it = registry().controls.find(url);
    if (it == registry().controls.end()) return std::nullopt;
    auto control = it->second.lock();
    if (!control) return std::nullopt;
    return officeCaption(control->Caption());
}

void MenuCommands::setCaptionListener(CaptionListener listener) { registry().captionListener = std::move(listener); }

}  // namespace word::libreoffice
