// The add-in installed as an extension in a private headless office: the connection at start,
// the menu, the commands, reconnection and removal.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <thread>

#include <com/sun/star/accessibility/AccessibleRole.hpp>
#include <com/sun/star/accessibility/XAccessible.hpp>
#include <com/sun/star/accessibility/XAccessibleAction.hpp>
#include <com/sun/star/accessibility/XAccessibleContext.hpp>
#include <com/sun/star/accessibility/XAccessibleEditableText.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XExtendedToolkit.hpp>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/deployment/DeploymentException.hpp>
#include <com/sun/star/deployment/XExtensionManager.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/task/XInteractionApprove.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/task/XInteractionRequest.hpp>
#include <com/sun/star/ucb/XCommandEnvironment.hpp>
#include <com/sun/star/ucb/XProgressHandler.hpp>
#include <cppuhelper/implbase1.hxx>

#include "tarvelo/libreoffice/tests/extension_office.h"
#include "word/libreoffice/connection.h"

namespace {

namespace css = ::com::sun::star;
namespace uno = css::uno;
using namespace tarvelo::testing;  // the extension's office, its menus and dialogs
using word::libreoffice::fromOUString;

std::vector<std::u16string> Labels(const MenuEntry& menu) {
    std::vector<std::u16string> labels;
    for (const auto& item : menu.items) labels.push_back(item.label);
    return labels;
}

std::size_t VerseNumbers(std::u16string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), u'('));
}

// A command environment that asks nothing and shows no progress.
class QuietEnvironment : public cppu::WeakImplHelper1<css::ucb::XCommandEnvironment> {
public:
    uno::Reference<css::task::XInteractionHandler> SAL_CALL getInteractionHandler() override { return {}; }
    uno::Reference<css::ucb::XProgressHandler> SAL_CALL getProgressHandler() override { return {}; }
};

// A command environment that approves what it is asked (installing an extension) and shows no
// progress.
class ApprovingHandler : public cppu::WeakImplHelper1<css::task::XInteractionHandler> {
public:
    void SAL_CALL handle(const uno::Reference<css::task::XInteractionRequest>& request) override {
        for (const auto& continuation : request->getContinuations()) {
            uno::Reference<css::task::XInteractionApprove> approve(continuation, uno::UNO_QUERY);
            if (approve.is()) {
                approve->select();
                return;
            }
        }
    }
};
class ApprovingEnvironment : public cppu::WeakImplHelper1<css::ucb::XCommandEnvironment> {
public:
    uno::Reference<css::task::XInteractionHandler> SAL_CALL getInteractionHandler() override {
        return new ApprovingHandler;
    }
    uno::Reference<css::ucb::XProgressHandler> SAL_CALL getProgressHandler() override { return {}; }
};

class Extension : public ::testing::Test {
protected:
    static void SetUpTestSuite() { office_ = new ExtensionOffice; }
    static void TearDownTestSuite() {
        delete office_;
        office_ = nullptr;
    }
    static ExtensionOffice* office_;
};
ExtensionOffice* Extension::office_ = nullptr;

TEST_F(Extension, BuildsOneMenuInEveryWriterWindowAndKeepsOneOnReconnection) {
    auto first = office_->office().newWriterDocument();
    ASSERT_TRUE(WaitForQuranMenus(first, 1));
    auto menu = QuranMenus(first).front();
    EXPECT_EQ(menu.label, u"Al-~Quran");
    const std::vector<std::u16string> expected = {u"~Get Arabic+Translation", u"Get ~Arabic", u"Get ~Translation",
                                                  u"Automatic Replace eg [QS2:1-2A]", u"About"};
    EXPECT_EQ(Labels(menu), expected);

    // A window opened later gets the menu too.
    auto second = office_->office().newWriterDocument();
    ASSERT_TRUE(WaitForQuranMenus(second, 1));
    EXPECT_EQ(Labels(QuranMenus(second).front()), expected);

    // Connecting again replaces the menu: new commands, still one menu per window.
    const auto before = menu.items.front().command;
    ASSERT_TRUE(Dispatch(second, u"vnd.sun.star.job:service=Tarvelo.Connect", false));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::vector<MenuEntry> menus;
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        menus = QuranMenus(second);
    } while ((menus.size() != 1 || menus.front().items.empty() || menus.front().items.front().command == before) &&
             std::chrono::steady_clock::now() < deadline);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_NE(menus.front().items.front().command, before);
    EXPECT_EQ(Labels(menus.front()), expected);
    EXPECT_EQ(QuranMenus(first).size(), 1u);
    office_->office().closeAllDocuments();
}

TEST_F(Extension, CommandsReachTheirHandlers) {
    auto doc = office_->office().newWriterDocument();
    ASSERT_TRUE(WaitForQuranMenus(doc, 1));
    auto menu = QuranMenus(doc).front();
    ASSERT_EQ(menu.items.size(), 5u);

    // The automatic replacement switch changes its own caption, in the menu too.
    ASSERT_TRUE(Dispatch(doc, menu.items[3].command));
    EXPECT_EQ(QuranMenus(doc).front().items[3].label, u"Disable Auto Replace");
    ASSERT_TRUE(Dispatch(doc, menu.items[3].command));
    EXPECT_EQ(QuranMenus(doc).front().items[3].label, u"Auto Replace eg [QS2:1-2A]");

    // A command of no control is refused.
    EXPECT_FALSE(Dispatch(doc, u"vnd.quranverses.menu:button999999"));

    // "Get Arabic" with a document open brings up the chooser; "About" its window.
    ASSERT_TRUE(Dispatch(doc, menu.items[1].command));
    EXPECT_TRUE(WaitForTopWindow(office_->office().context(), u"Choose Surah  & Ayah"));
    ASSERT_TRUE(Dispatch(doc, menu.items[4].command));
    EXPECT_TRUE(WaitForTopWindow(office_->office().context(), u"About Tarvelo"));

    // Both windows go away with the document window; the commands bring them up again.
    office_->office().closeAllDocuments();
    doc = office_->office().newWriterDocument();
    ASSERT_TRUE(WaitForQuranMenus(doc, 1));
    menu = QuranMenus(doc).front();
    ASSERT_TRUE(Dispatch(doc, menu.items[4].command));
    EXPECT_TRUE(WaitForTopWindow(office_->office().context(), u"About Tarvelo"));
    ASSERT_TRUE(Dispatch(doc, menu.items[1].command));
    EXPECT_TRUE(WaitForTopWindow(office_->office().context(), u"Choose Surah  & Ayah"));
    office_->office().closeAllDocuments();
}

TEST_F(Extension, TheChooserInsertsIntoTheActiveDocumentOnOk) {
    auto doc = office_->office().newWriterDocument();
    ASSERT_TRUE(WaitForQuranMenus(doc, 1));
    auto menu = QuranMenus(doc).front();
    ASSERT_TRUE(Dispatch(doc, menu.items[1].command));  // Get Arabic
    ASSERT_TRUE(WaitForTopWindow(office_->office().context(), u"Choose Surah  & Ayah"));
    // The dialog goes away with the window it was opened over; the command opens a new one.
    office_->office().closeAllDocuments();
    doc = office_->office().newWriterDocument();
    ASSERT_TRUE(WaitForQuranMenus(doc, 1));
    menu = QuranMenus(doc).front();
    ASSERT_TRUE(Dispatch(doc, menu.items[1].command));  // Get Arabic
    ASSERT_TRUE(WaitForTopWindow(office_->office().context(), u"Choose Surah  & Ayah"));
    auto dialog = TopWindow(office_->office().context(), u"Choose Surah  & Ayah");
    auto unicode = FindControl(dialog, css::accessibility::AccessibleRole::CHECK_BOX, u"Unicode");
    auto ok = FindControl(dialog, css::accessibility::AccessibleRole::PUSH_BUTTON, u"OK");
    ASSERT_TRUE(unicode.is());
    ASSERT_TRUE(ok.is());
    Press(unicode);
    Press(ok);  // the first verse of the first surah, the dialog's defaults

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::u16string text;
    while (std::chrono::steady_clock::now() < deadline) {
        text = word::testing::documentText(doc);
        if (text.find(u"(\u0661)") != std::u16string::npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_NE(text.find(u"(\u0661)"), std::u16string::npos);
    EXPECT_EQ(text.find(u"(\u0662)"), std::u16string::npos);
    EXPECT_NE(text.find(u"\u0628\u0650\u0633\u06E1\u0645\u0650"), std::u16string::npos);
    office_->office().closeAllDocuments();
}

TEST_F(Extension, StopEndsAnInsertionBetweenVerses) {
    auto doc = office_->office().newWriterDocument();
    ASSERT_TRUE(WaitForQuranMenus(doc, 1));
    ASSERT_TRUE(Dispatch(doc, QuranMenus(doc).front().items[1].command));  // Get Arabic
    ASSERT_TRUE(WaitForTopWindow(office_->office().context(), u"Choose Surah  & Ayah"));
    auto dialog = TopWindow(office_->office().context(), u"Choose Surah  & Ayah");
    std::vector<AccessibleContext> combos;
    FindAll(dialog, css::accessibility::AccessibleRole::COMBO_BOX, combos);
    ASSERT_GE(combos.size(), 3u);  // cbSurat, cbFrom, cbTo, cbSize
    SetComboText(combos[0], u"002. Al-Baqarah");
    SetComboText(combos[2], u"286");
    Press(FindControl(dialog, css::accessibility::AccessibleRole::CHECK_BOX, u"Unicode"));
    // The second press reaches the button once the first verse is in, while the insertion runs
    // (the office lets it through between verses): by then the button reads "Stop". Pressing it
    // earlier could land before the insertion has begun, which no person's click can do.
    auto button = FindControl(dialog, css::accessibility::AccessibleRole::PUSH_BUTTON, u"OK");
    ASSERT_TRUE(button.is());
    Press(button);
    const auto firstVerse = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (VerseNumbers(word::testing::documentText(doc)) == 0 && std::chrono::steady_clock::now() < firstVerse)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    Press(button);
    // The dialog closes when the insertion has ended.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (TopWindow(office_->office().context(), u"Choose Surah  & Ayah").is() &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto verses = VerseNumbers(word::testing::documentText(doc));
    EXPECT_GE(verses, 1u);
    EXPECT_LT(verses, 286u);
    office_->office().closeAllDocuments();
}

TEST(ExtensionRemoval, RemovingTheExtensionRemovesTheMenu) {
    ExtensionOffice office;
    auto doc = office.office().newWriterDocument();
    ASSERT_TRUE(WaitForQuranMenus(doc, 1));
    uno::Reference<css::deployment::XExtensionManager> manager(
        office.office().context()->getValueByName("/singletons/com.sun.star.deployment.ExtensionManager"),
        uno::UNO_QUERY_THROW);
    try {
        manager->removeExtension("org.quranverses.tarvelo", "Tarvelo.oxt", "shared", {}, new QuietEnvironment);
    } catch (const uno::Exception& e) {
        FAIL() << word::libreoffice::toUtf8(e.Message);
    }
    EXPECT_TRUE(WaitForQuranMenus(doc, 0));
}

}  // namespace

namespace {

TEST(ExtensionShutdown, TheOfficeEndsNormallyWhileAutomaticReplacementRuns) {
    ExtensionOffice office;
    auto doc = office.office().newWriterDocument();
    ASSERT_TRUE(WaitForQuranMenus(doc, 1));
    ASSERT_TRUE(Dispatch(doc, QuranMenus(doc).front().items[3].command));
    ASSERT_EQ(QuranMenus(doc).front().items[3].label, u"Disable Auto Replace");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // a few timer ticks
    doc.clear();
    // The add-in ends its timer and lets go of the office while the office shuts down; a crash
    // there would break the connection before the answer arrives.
    auto desktop = css::frame::Desktop::create(office.office().context());
    EXPECT_TRUE(desktop->terminate());
}

// Added to an office that runs already, the add-in connects at the next document without a
// restart, and never builds its menu twice: not for later documents, not at the next start.
TEST(ExtensionAddedLater, TheMenuComesWithoutARestartAndOnlyOnce) {
    ExtensionOfficeOptions options;
    options.installed = false;
    ExtensionOffice office(options);
    auto first = office.office().newWriterDocument();
    EXPECT_TRUE(QuranMenus(first).empty());
    uno::Reference<css::deployment::XExtensionManager> manager(
        office.office().context()->getValueByName("/singletons/com.sun.star.deployment.ExtensionManager"),
        uno::UNO_QUERY_THROW);
    try {
        manager->addExtension(rtl::OUString::fromUtf8(("file://" + BuiltOxt().string()).c_str()), {}, "user", {},
                              new ApprovingEnvironment);
    } catch (const css::deployment::DeploymentException& e) {
        uno::Exception cause;
        e.Cause >>= cause;
        FAIL() << word::libreoffice::toUtf8(e.Message) << ": " << word::libreoffice::toUtf8(cause.Message);
    } catch (const uno::Exception& e) {
        FAIL() << word::libreoffice::toUtf8(e.Message);
    }
    auto second = office.office().newWriterDocument();
    ASSERT_TRUE(WaitForQuranMenus(second, 1));
    EXPECT_TRUE(WaitForQuranMenus(first, 1));
    auto third = office.office().newWriterDocument();
    ASSERT_TRUE(WaitForQuranMenus(third, 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(QuranMenus(third).size(), 1u);
    EXPECT_EQ(QuranMenus(second).size(), 1u);
    first.clear();
    second.clear();
    third.clear();

    office.office().stop();
    office.office().start();
    auto again = office.office().newWriterDocument();
    ASSERT_TRUE(WaitForQuranMenus(again, 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(QuranMenus(again).size(), 1u);
}

}  // namespace
