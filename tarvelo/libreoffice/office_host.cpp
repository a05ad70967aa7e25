// The host services of the add-in inside the office.
#include <cstdlib>
#include <fstream>

#include <com/sun/star/awt/MessageBoxButtons.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XActionListener.hpp>
#include <com/sun/star/awt/XButton.hpp>
#include <com/sun/star/awt/XControl.hpp>
#include <com/sun/star/awt/XControlContainer.hpp>
#include <com/sun/star/awt/XMessageBoxFactory.hpp>
#include <com/sun/star/awt/XToolkit2.hpp>
#include <com/sun/star/awt/XToolkitExperimental.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/configuration/ReadOnlyAccess.hpp>
#include <com/sun/star/container/XHierarchicalNameAccess.hpp>
#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/i18n/LocaleData2.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <cppuhelper/implbase1.hxx>
#include <nlohmann/json.hpp>
#include <rtl/ref.hxx>

#include "tarvelo/libreoffice/adapters.h"
#include "tarvelo/libreoffice/office_ui.h"
#include "tarvelo/text_util.h"
#include "word/libreoffice/connection.h"

namespace mTarvelo {

namespace css = ::com::sun::star;
namespace uno = css::uno;
using rtl::OUString;
using word::libreoffice::toOUString;

namespace {

constexpr std::u16string_view AboutText =
    u"Tarvelo puts verses of the Quran into your documents: choose a surah and its verses, "
    u"in Arabic (glyph fonts or Unicode), with or without a translation, or type a tag such as "
    u"[QS2:1-2A] with Automatic Replace switched on.";

void SetProp(const uno::Reference<uno::XInterface>& object, const char* name, const uno::Any& value) {
    uno::Reference<css::beans::XPropertySet>(object, uno::UNO_QUERY_THROW)
        ->setPropertyValue(OUString::createFromAscii(name), value);
}

// The about window: a text and an OK button that closes it; modeless, one instance.
class AboutWindow : public cppu::WeakImplHelper1<css::awt::XActionListener> {
public:
    explicit AboutWindow(const OfficeContext& context) {
        auto manager = context->getServiceManager();
        auto model = manager->createInstanceWithContext("com.sun.star.awt.UnoControlDialogModel", context);
        SetProp(model, "Title", uno::Any(OUString("About Tarvelo")));
        SetProp(model, "Width", uno::Any(sal_Int32(180)));
        SetProp(model, "Height", uno::Any(sal_Int32(80)));
        uno::Reference<css::lang::XMultiServiceFactory> factory(model, uno::UNO_QUERY_THROW);
        uno::Reference<css::container::XNameContainer> container(model, uno::UNO_QUERY_THROW);
        auto text = factory->createInstance("com.sun.star.awt.UnoControlFixedTextModel");
        SetProp(text, "PositionX", uno::Any(sal_Int32(8)));
        SetProp(text, "PositionY", uno::Any(sal_Int32(8)));
        SetProp(text, "Width", uno::Any(sal_Int32(164)));
        SetProp(text, "Height", uno::Any(sal_Int32(44)));
        SetProp(text, "MultiLine", uno::Any(true));
        SetProp(text, "Label", uno::Any(toOUString(AboutText)));
        container->insertByName("Text", uno::Any(text));
        auto ok = factory->createInstance("com.sun.star.awt.UnoControlButtonModel");
        SetProp(ok, "PositionX", uno::Any(sal_Int32(125)));
        SetProp(ok, "PositionY", uno::Any(sal_Int32(58)));
        SetProp(ok, "Width", uno::Any(sal_Int32(47)));
        SetProp(ok, "Height", uno::Any(sal_Int32(14)));
        SetProp(ok, "Label", uno::Any(OUString("OK")));
        container->insertByName("OK", uno::Any(ok));
        dialog_.set(manager->createInstanceWithContext("com.sun.star.awt.UnoControlDialog", context),
                    uno::UNO_QUERY_THROW);
        dialog_->setModel(uno::Reference<css::awt::XControlModel>(model, uno::UNO_QUERY_THROW));
        dialog_->createPeer(
            uno::Reference<css::awt::XToolkit>(css::awt::Toolkit::create(context), uno::UNO_QUERY_THROW), nullptr);
        uno::Reference<css::awt::XControlContainer> controls(dialog_, uno::UNO_QUERY_THROW);
        uno::Reference<css::awt::XButton>(controls->getControl("OK"), uno::UNO_QUERY_THROW)->addActionListener(this);
        // The window goes away with the window it was opened over.
        uno::Reference<css::lang::XComponent> window(dialog_->getPeer(), uno::UNO_QUERY);
        if (window.is()) window->addEventListener(this);
    }
    bool Gone() const { return gone_; }
    void Show() { uno::Reference<css::awt::XWindow>(dialog_, uno::UNO_QUERY_THROW)->setVisible(true); }
    void SAL_CALL actionPerformed(const css::awt::ActionEvent&) override {
        uno::Reference<css::awt::XWindow>(dialog_, uno::UNO_QUERY_THROW)->setVisible(false);
    }
    void SAL_CALL disposing(const css::lang::EventObject&) override { gone_ = true; }

private:
    uno::Reference<css::awt::XControl> dialog_;
    bool gone_ = false;
};

class OfficeHost : public AddinHost {
public:
    explicit OfficeHost(const OfficeContext& context) : context_(context) {}

    void MsgBox(std::u16string_view text, MessageIcon icon) override {
        try {
            auto toolkit = css::awt::Toolkit::create(context_);
            uno::Reference<css::awt::XMessageBoxFactory> factory(toolkit, uno::UNO_QUERY_THROW);
            css::awt::MessageBoxType type = css::awt::MessageBoxType_MESSAGEBOX;
            if (icon == MessageIcon::Information) type = css::awt::MessageBoxType_INFOBOX;
            if (icon == MessageIcon::Exclamation) type = css::awt::MessageBoxType_WARNINGBOX;
            if (icon == MessageIcon::Critical) type = css::awt::MessageBoxType_ERRORBOX;
            auto box = factory->createMessageBox(ParentWindow(), type, css::awt::MessageBoxButtons::BUTTONS_OK,
                                                 toOUString(AppTitle), toOUString(text));
            // The chooser stays above other windows; while a message of its insertion is shown,
            // the message must not be hidden behind it.
            const auto chooser = LoadedFrmChoose();
            if (chooser) chooser->Controls().SetTopmost(false);
            box->execute();
            if (chooser && LoadedFrmChoose() == chooser) chooser->Controls().SetTopmost(true);
        } catch (const uno::Exception&) {
            // no toolkit: the message cannot be shown
        }
    }
    void DoEvents() override {
        try {
            uno::Reference<css::awt::XToolkitExperimental> toolkit(css::awt::Toolkit::create(context_),
                                                                   uno::UNO_QUERY_THROW);
            toolkit->processEventsToIdle();
        } catch (const uno::Exception&) {
        }
    }
    void ShowAbout() override {
        if (!about_.is() || about_->Gone()) about_ = new AboutWindow(context_);
        about_->Show();
    }
    std::u16string GetSetting(std::string_view app, std::string_view section, std::string_view key) override {
        const auto settings = Read();
        const auto* node = &settings;
        for (const auto name : {app, section, key}) {
            const auto it = node->find(std::string(name));
            if (it == node->end()) return {};
            node = &*it;
        }
        return node->is_string() ? FromUtf8(node->get<std::string>()) : std::u16string();
    }
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::u16string_view value) override {
        auto settings = Read();
        settings[std::string(app)][std::string(section)][std::string(key)] = ToUtf8(value);
        const auto file = SettingsFile();
        std::error_code ignored;
        std::filesystem::create_directories(file.parent_path(), ignored);
        // Written beside and renamed, so that a crash never leaves half a file.
        const auto temporary = file.string() + ".new";
        {
            std::ofstream out(temporary, std::ios::trunc);
            out << settings.dump(2) << '\n';
            if (!out) return;
        }
        std::filesystem::rename(temporary, file, ignored);
    }
    std::unique_ptr<AddinClipboard> NewClipboard() override { return MakeOfficeClipboard(context_); }
    std::unique_ptr<ChooseControls> NewChooseControls() override { return MakeChooseDialog(context_); }
    // The separators of the office's locale setting, or of the environment's locale when the
    // office follows the system's, as the office's own locale data has them (which needs no
    // locale installed in the system).
    NumberSeparators UserNumberSeparators() override {
        try {
            const auto item = css::i18n::LocaleData2::create(context_)->getLocaleItem(UserLocale());
            NumberSeparators separators;
            if (item.decimalSeparator.getLength() == 1) separators.decimal = item.decimalSeparator[0];
            if (item.thousandSeparator.getLength() == 1 && item.thousandSeparator[0] != separators.decimal)
                separators.group = item.thousandSeparator[0];
            else separators.group = separators.decimal == u'.' ? u',' : u'.';
            return separators;
        } catch (const uno::Exception&) {
            return EnvironmentNumberSeparators();
        }
    }

private:
    // The office's locale setting ("de-DE"); empty, it follows the environment (LC_ALL,
    // LC_NUMERIC, LANG: "de_DE.UTF-8").
    css::lang::Locale UserLocale() const {
        OUString tag;
        try {
            auto access = css::configuration::ReadOnlyAccess::create(context_, "*");
            uno::Reference<css::container::XHierarchicalNameAccess> settings(access, uno::UNO_QUERY_THROW);
            settings->getByHierarchicalName("/org.openoffice.Setup/L10N/ooSetupSystemLocale") >>= tag;
        } catch (const uno::Exception&) {
        }
        std::string name = word::libreoffice::toUtf8(tag);
        if (name.empty()) {
            for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
                if (const char* value = std::getenv(variable); value && *value) {
                    name = value;
                    break;
                }
            }
            name = name.substr(0, name.find_first_of(".@"));
            if (name.empty() || name == "C" || name == "POSIX") name = "en_US";
        }
        const auto separator = name.find_first_of("-_");
        css::lang::Locale locale;
        locale.Language = OUString::fromUtf8(name.substr(0, separator).c_str());
        if (separator != std::string::npos) {
            const std::string rest = name.substr(separator + 1);
            locale.Country = OUString::fromUtf8(rest.substr(0, rest.find_first_of("-_")).c_str());
        }
        return locale;
    }

    nlohmann::json Read() const {
        std::ifstream in(SettingsFile());
        if (!in) return nlohmann::json::object();
        auto settings = nlohmann::json::parse(in, nullptr, false);
        return settings.is_object() ? settings : nlohmann::json::object();
    }
    uno::Reference<css::awt::XWindowPeer> ParentWindow() const {
        try {
            auto desktop = css::frame::Desktop::create(context_);
            auto frame = desktop->getCurrentFrame();
            if (frame.is()) return uno::Reference<css::awt::XWindowPeer>(frame->getContainerWindow(), uno::UNO_QUERY);
        } catch (const uno::Exception&) {
        }
        return {};
    }

    OfficeContext context_;
    rtl::Reference<AboutWindow> about_;
};

}  // namespace

std::filesystem::path SettingsFile() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return std::filesystem::path(config) / "tarvelocfg.json";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".config" / "tarvelocfg.json";
    return std::filesystem::temp_directory_path() / "tarvelocfg.json";
}

std::shared_ptr<AddinHost> MakeOfficeHost(const OfficeContext& context) {
    return std::make_shared<OfficeHost>(context);
}

}  // namespace mTarvelo
