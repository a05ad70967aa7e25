// Tarvelo.dll's ribbon tab in the Word stand-in, loaded from its registration as Word loads it:
// the tab that Word reads once, its five controls, their commands and the toggle of automatic
// replacement, which follows the mode whichever surface switches it, also after the add-in has
// been connected again. The menu stays as it is beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "tarvelo/word/tests/message_boxes.h"
#include "tarvelo/word/tests/registered_addin.h"
#include "word/com/standin/control_surface.h"
#include "word/com/standin/ribbon_host.h"

namespace {

using namespace std::chrono_literals;
using namespace tarvelo_word::test_support;
using word::com::standin::RibbonControlView;
using word::com::standin::StandinProcess;

HWND VisibleDialog(const wchar_t* caption) {
    HWND dialog = FindWindowW(L"#32770", caption);
    return dialog != nullptr && IsWindowVisible(dialog) ? dialog : nullptr;
}

std::size_t Count(const std::vector<std::u16string>& log, std::u16string_view entry) {
    return static_cast<std::size_t>(std::count(log.begin(), log.end(), entry));
}

class StandinRibbonTest : public RegisteredAddinTest {
protected:
    static bool Pressed(const StandinProcess& standin) {
        for (const auto& control : ribbonControls(standin))
            if (control.id == u"Quran6") return control.pressed;
        ADD_FAILURE() << "no toggle on the ribbon";
        return false;
    }
    static std::u16string Caption6(const StandinProcess& standin) {
        for (const auto& entry : standin.menu())
            if (entry.tag == u"Quran6") return entry.caption;
        return {};
    }
    // The toggle and the menu's caption agree with `on`.
    static bool ShowsMode(const StandinProcess& standin, bool on, std::u16string_view caption) {
        return WaitFor([&] { return Pressed(standin) == on && Caption6(standin) == caption; });
    }
};

TEST_F(StandinRibbonTest, WordReadsTheTabOnceWithTheMenusFiveCommandsAsLargeButtonsWithIcons) {
    StandinProcess standin(Standin());
    const auto log = ribbonLog(standin);
    EXPECT_EQ(Count(log, u"GetCustomUI Tarvelo.Connect"), 1u);
    EXPECT_EQ(Count(log, u"onLoad"), 1u);
    for (const auto& entry : log) EXPECT_FALSE(entry.starts_with(u"refused")) << word::com::utf8(entry);

    const auto controls = ribbonControls(standin);
    ASSERT_EQ(controls.size(), 5u);
    struct Expected {
        std::u16string_view id, kind, label, screentip, keytip;
    };
    const Expected expected[] = {
        {u"Quran2", u"button", u"Get Arabic+Translation", u"Get Arabic & Translation of Quran ", u"G"},
        {u"Quran3", u"button", u"Get Arabic", u"Get Arabic of Quran", u"A"},
        {u"Quran4", u"button", u"Get Translation", u"Get Translation of Quran", u"T"},
        {u"Quran6", u"toggleButton", u"Automatic Replace eg [QS2:1-2A]",
         u"Automatic Replace eg [QS2:1-2A] [QS2:1-2T] [QS2:1-2B]", u"R"},
        {u"Quran5", u"button", u"About", u"About this Software", u"B"},
    };
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const auto& control = controls[i];
        SCOPED_TRACE(word::com::utf8(control.id));
        EXPECT_EQ(control.tabLabel, u"Al-Quran");
        EXPECT_EQ(control.tabKeytip, u"Q");
        EXPECT_EQ(control.group, controls[0].group);  // one group
        EXPECT_EQ(control.id, expected[i].id);
        EXPECT_EQ(control.kind, expected[i].kind);
        EXPECT_EQ(control.label, expected[i].label);
        EXPECT_EQ(control.screentip, expected[i].screentip);
        EXPECT_EQ(control.keytip, expected[i].keytip);
        EXPECT_EQ(control.size, u"large");
        EXPECT_EQ(control.image, u"32x32 32-bit alpha");
        EXPECT_FALSE(control.pressed);
    }
    // Images are asked once; looking again shows what Word keeps.
    ribbonControls(standin);
    EXPECT_EQ(Count(ribbonLog(standin), u"getImage Quran2"), 1u);

    // The menu is there beside it, as before.
    const auto menu = standin.menu();
    const auto popup = std::find_if(menu.begin(), menu.end(), [](const auto& e) { return e.caption == u"Al-&Quran"; });
    ASSERT_NE(popup, menu.end());
    ASSERT_GE(menu.end() - popup, 6);
    EXPECT_EQ(popup[1].caption, u"&Get Arabic+Translation");
    EXPECT_EQ(popup[4].caption, u"Automatic Replace eg [QS2:1-2A]");
    EXPECT_EQ(popup[5].caption, u"About");
}

TEST_F(StandinRibbonTest, EachButtonRunsItsCommandAsTheMenuItemDoes) {
    {
        StandinProcess standin(Standin());
        clickRibbon(standin, u"Quran3");
        EXPECT_TRUE(WaitFor([] { return VisibleDialog(L"Choose Surah  & Ayah") != nullptr; }));
        clickRibbon(standin, u"Quran5");
        EXPECT_TRUE(WaitFor([] { return VisibleDialog(L"About Tarvelo") != nullptr; }));
        EXPECT_EQ(Count(ribbonLog(standin), u"onAction Quran3"), 1u);
        EXPECT_THROW(clickRibbon(standin, u"Quran7"), std::runtime_error);
    }
    // With no document, a chooser command only says so, as the menu's does.
    MessageBoxes boxes(true);
    StandinProcess standin(Standin(), u"/nodocument");
    for (const auto* id : {u"Quran2", u"Quran4"}) {
        const auto before = boxes.Texts().size();
        clickRibbon(standin, id);
        ASSERT_TRUE(WaitFor([&] { return boxes.Texts().size() > before; }));
        EXPECT_EQ(boxes.Texts().back(), L"Harus ada document yang aktif!");
    }
    EXPECT_EQ(VisibleDialog(L"Choose Surah  & Ayah"), nullptr);
}

TEST_F(StandinRibbonTest, TheToggleFollowsTheModeFromTheMenuTheRibbonAndAfterASecondConnection) {
    StandinProcess standin(Standin());
    EXPECT_FALSE(Pressed(standin));

    // From the menu: the toggle is pressed; the caption is the menu's own.
    standin.click(u"Automatic Replace eg [QS2:1-2A]");
    EXPECT_TRUE(ShowsMode(standin, true, u"Disable Auto Replace"));
    EXPECT_GE(Count(ribbonLog(standin), u"InvalidateControl Quran6"), 1u);

    // From the ribbon: off, and the menu's caption follows as after its own click.
    clickRibbon(standin, u"Quran6");
    EXPECT_TRUE(ShowsMode(standin, false, u"Auto Replace eg [QS2:1-2A]"));
    // On from the ribbon, the mode works: a typed tag is replaced.
    clickRibbon(standin, u"Quran6");
    EXPECT_TRUE(ShowsMode(standin, true, u"Disable Auto Replace"));
    standin.typeKeys(u"[QS2:5T]");
    EXPECT_TRUE(WaitFor([&] { return standin.text().find(u"(QS2. Al-Baqarah ayat 5)") != std::u16string::npos; }));

    // Disconnected and connected again (Word's COM Add-ins dialog): the mode ended with the
    // disconnection; the new connection's tab and menu show it off and keep following it.
    reconnectAddins(standin);
    EXPECT_EQ(Count(ribbonLog(standin), u"GetCustomUI Tarvelo.Connect"), 2u);
    EXPECT_TRUE(ShowsMode(standin, false, u"Automatic Replace eg [QS2:1-2A]"));
    clickRibbon(standin, u"Quran6");
    EXPECT_TRUE(ShowsMode(standin, true, u"Disable Auto Replace"));
    standin.click(u"Disable Auto Replace");
    EXPECT_TRUE(ShowsMode(standin, false, u"Auto Replace eg [QS2:1-2A]"));

    // On at shutdown: Word ends cleanly.
    clickRibbon(standin, u"Quran6");
    EXPECT_TRUE(ShowsMode(standin, true, u"Disable Auto Replace"));
    standin.quit();
    EXPECT_FALSE(standin.running());
}

TEST_F(StandinRibbonTest, AModeEndedByItsFirstTickWithNoDocumentPopsTheToggleUpAndLeavesTheCaption) {
    MessageBoxes boxes(true);
    StandinProcess standin(Standin(), u"/nodocument");
    clickRibbon(standin, u"Quran6");
    ASSERT_TRUE(WaitFor([&] { return Caption6(standin) == u"Disable Auto Replace"; }));
    // The first tick finds no document: the mode is off, the caption stays.
    EXPECT_TRUE(ShowsMode(standin, false, u"Disable Auto Replace"));
}

}  // namespace
