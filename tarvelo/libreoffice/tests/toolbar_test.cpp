// The add-in's toolbar in a private headless office with the extension installed: the toolbar as
// the office's configuration holds it (Writer only, the menu's five commands in its order, their
// icons), a click of each command, and the switch of automatic replacement, whose state follows
// the mode whichever surface switches it.
#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>

#include <com/sun/star/configuration/ReadOnlyAccess.hpp>
#include <com/sun/star/container/XHierarchicalNameAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/frame/FeatureStateEvent.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XStatusListener.hpp>
#include <com/sun/star/util/URL.hpp>
#include <cppuhelper/implbase1.hxx>
#include <rtl/ref.hxx>

#include "tarvelo/libreoffice/tests/extension_office.h"
#include "word/libreoffice/connection.h"

namespace {

namespace css = ::com::sun::star;
namespace uno = css::uno;
using namespace tarvelo::testing;
using word::libreoffice::fromOUString;
using word::libreoffice::toOUString;

constexpr char16_t Toolbar[] = u"/org.openoffice.Office.Addons/AddonUI/OfficeToolBar/org.quranverses.tarvelo.toolbar";

std::u16string Text(const uno::Reference<css::container::XNameAccess>& node, const char* name) {
    rtl::OUString value;
    node->getByName(rtl::OUString::createFromAscii(name)) >>= value;
    return fromOUString(value);
}

uno::Reference<css::container::XNameAccess> Node(const uno::Reference<uno::XComponentContext>& context,
                                                 std::u16string_view path) {
    auto access = css::configuration::ReadOnlyAccess::create(context, "en-US");
    uno::Reference<css::container::XHierarchicalNameAccess> root(access, uno::UNO_QUERY_THROW);
    return uno::Reference<css::container::XNameAccess>(root->getByHierarchicalName(toOUString(path)),
                                                       uno::UNO_QUERY_THROW);
}

css::util::URL Url(std::u16string_view command) {
    css::util::URL url;
    url.Complete = toOUString(command);
    url.Main = url.Complete;
    url.Protocol = toOUString(command.substr(0, command.find(u':') + 1));
    url.Path = toOUString(command.substr(command.find(u':') + 1));
    return url;
}

// A toolbar button's view of a command: the states the office's dispatch reports to it.
class StatusRecorder : public cppu::WeakImplHelper1<css::frame::XStatusListener> {
public:
    void SAL_CALL statusChanged(const css::frame::FeatureStateEvent& state) override {
        std::lock_guard lock(mutex_);
        states_.push_back(state);
        changed_.notify_all();
    }
    void SAL_CALL disposing(const css::lang::EventObject&) override {}

    // Waits until the last state is `wanted` (a Boolean state; nullopt: no state at all).
    bool WaitFor(std::optional<bool> wanted) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(20), [&] {
            if (states_.empty() || !states_.back().IsEnabled) return false;
            bool value = false;
            if (!wanted) return !states_.back().State.hasValue();
            return (states_.back().State >>= value) && value == *wanted;
        });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<css::frame::FeatureStateEvent> states_;
};

// Registers `recorder` for `command` with the dispatch of the document's frame, as a toolbar does.
uno::Reference<css::frame::XDispatch> Listen(const uno::Reference<css::text::XTextDocument>& document,
                                             std::u16string_view command,
                                             const rtl::Reference<StatusRecorder>& recorder) {
    uno::Reference<css::frame::XModel> model(document, uno::UNO_QUERY_THROW);
    uno::Reference<css::frame::XDispatchProvider> provider(model->getCurrentController()->getFrame(),
                                                           uno::UNO_QUERY_THROW);
    auto dispatch = provider->queryDispatch(Url(command), "_self", 0);
    if (dispatch.is()) dispatch->addStatusListener(recorder.get(), Url(command));
    return dispatch;
}

std::u16string MenuCaption(const uno::Reference<css::text::XTextDocument>& document, std::size_t item) {
    const auto menus = QuranMenus(document);
    return menus.empty() || menus.front().items.size() <= item ? u"" : menus.front().items[item].label;
}

TEST(ExtensionToolbar, WriterGetsTheToolbarWithTheMenusFiveCommandsAndTheirIcons) {
    ExtensionOffice office;
    auto context = office.office().context();
    // Named and shown in Writer's windows.
    const auto states = Node(context, u"/org.openoffice.Office.UI.WriterWindowState/UIElements/States");
    uno::Reference<css::container::XNameAccess> state(
        states->getByName("private:resource/toolbar/addon_org.quranverses.tarvelo.toolbar"), uno::UNO_QUERY_THROW);
    EXPECT_EQ(Text(state, "UIName"), u"Al-Quran");
    const auto items = Node(context, Toolbar);
    const struct {
        std::u16string_view tag, title, icon;
    } expected[] = {
        {u"Quran2", u"Get Arabic+Translation", u"arabic_translation"},
        {u"Quran3", u"Get Arabic", u"arabic"},
        {u"Quran4", u"Get Translation", u"translation"},
        {u"Quran6", u"Automatic Replace eg [QS2:1-2A]", u"auto_replace"},
        {u"Quran5", u"About", u"about"},
    };
    ASSERT_EQ(items->getElementNames().getLength(), 5);
    for (int i = 0; i < 5; ++i) {
        uno::Reference<css::container::XNameAccess> item(items->getByName("m" + rtl::OUString::number(i + 1)),
                                                         uno::UNO_QUERY_THROW);
        const std::u16string url = u"vnd.quranverses.command:" + std::u16string(expected[i].tag);
        EXPECT_EQ(Text(item, "URL"), url);
        EXPECT_EQ(Text(item, "Title"), expected[i].title);
        EXPECT_EQ(Text(item, "Context"), u"com.sun.star.text.TextDocument");  // Writer only
        // The icon at both sizes, bound to the command and shipped in the extension.
        const auto images = Node(context, u"/org.openoffice.Office.Addons/AddonUI/Images/org.quranverses.tarvelo." +
                                              std::u16string(expected[i].tag));
        EXPECT_EQ(Text(images, "URL"), url);
        uno::Reference<css::container::XNameAccess> files(images->getByName("UserDefinedImages"), uno::UNO_QUERY_THROW);
        for (const auto& [property, size] : {std::pair{"ImageSmallURL", u"_16.png"}, {"ImageBigURL", u"_26.png"}}) {
            const std::u16string file = u"icons/" + std::u16string(expected[i].icon) + size;
            EXPECT_TRUE(Text(files, property).ends_with(file)) << word::libreoffice::toUtf8(toOUString(file));
            EXPECT_TRUE(
                std::filesystem::exists(office.extensionFolder() / word::libreoffice::toUtf8(toOUString(file))));
        }
    }
}

TEST(ExtensionToolbar, EachCommandRunsAndTheSwitchShowsTheModeFromEitherSurface) {
    ExtensionOffice office;
    auto doc = office.office().newWriterDocument();
    ASSERT_TRUE(WaitForQuranMenus(doc, 1));

    rtl::Reference<StatusRecorder> toggle(new StatusRecorder), about(new StatusRecorder);
    const auto toggleDispatch = Listen(doc, u"vnd.quranverses.command:Quran6", toggle);
    const auto aboutDispatch = Listen(doc, u"vnd.quranverses.command:Quran5", about);
    ASSERT_TRUE(toggleDispatch.is());
    EXPECT_TRUE(toggle->WaitFor(false));        // a checkable button, not checked
    EXPECT_TRUE(about->WaitFor(std::nullopt));  // a plain button

    // The toolbar's switch: on; the menu's caption follows as after its own click.
    ASSERT_TRUE(Dispatch(doc, u"vnd.quranverses.command:Quran6"));
    EXPECT_TRUE(toggle->WaitFor(true));
    EXPECT_EQ(MenuCaption(doc, 3), u"Disable Auto Replace");
    // The menu's switch: off, and the toolbar's button shows it.
    ASSERT_TRUE(Dispatch(doc, QuranMenus(doc).front().items[3].command));
    EXPECT_TRUE(toggle->WaitFor(false));
    EXPECT_EQ(MenuCaption(doc, 3), u"Auto Replace eg [QS2:1-2A]");

    ASSERT_TRUE(Dispatch(doc, u"vnd.quranverses.command:Quran5"));
    EXPECT_TRUE(WaitForTopWindow(office.office().context(), u"About Tarvelo"));
    ASSERT_TRUE(Dispatch(doc, u"vnd.quranverses.command:Quran4"));
    EXPECT_TRUE(WaitForTopWindow(office.office().context(), u"Choose Surah  & Ayah"));
    // No such command.
    EXPECT_FALSE(Dispatch(doc, u"vnd.quranverses.command:Quran9"));

    toggleDispatch->removeStatusListener(toggle.get(), Url(u"vnd.quranverses.command:Quran6"));
    aboutDispatch->removeStatusListener(about.get(), Url(u"vnd.quranverses.command:Quran5"));
    office.office().closeAllDocuments();
}

}  // namespace
