#include <gtest/gtest.h>

#include "tarvelo/connect.h"
#include "tarvelo/tests/fixture.h"

class ConnectTest : public AddinTest {
protected:
    std::vector<std::shared_ptr<fakes::FakeControl>>& Bar() { return app->bars.bar.controls.items; }
};

TEST_F(ConnectTest, BuildsTheMenuInTableOrder) {
    mTarvelo::AddinInstance_OnConnection(app);
    EXPECT_EQ(data->log.front(), "loade");
    ASSERT_EQ(Bar().size(), 1u);
    auto& popup = *Bar()[0];
    EXPECT_EQ(popup.type, word::msoControlPopup);
    EXPECT_EQ(fakes::U8(popup.caption), "Al-&Quran");
    ASSERT_EQ(popup.children->items.size(), 5u);
    const char* tags[] = {"Quran2", "Quran3", "Quran4", "Quran6", "Quran5"};
    const char* captions[] = {"&Get Arabic+Translation", "Get &Arabic", "Get &Translation",
                              "Automatic Replace eg [QS2:1-2A]", "About"};
    for (int i = 0; i < 5; ++i) {
        const auto& b = *popup.children->items[i];
        EXPECT_EQ(b.type, word::msoControlButton);
        EXPECT_EQ(fakes::U8(b.tag), tags[i]);
        EXPECT_EQ(fakes::U8(b.caption), captions[i]);
        EXPECT_EQ(fakes::U8(b.onAction), "!<Tarvelo.Connect>");
    }
    EXPECT_EQ(fakes::U8(popup.children->items[0]->tooltip), "Get Arabic & Translation of Quran ");
    EXPECT_EQ(mTarvelo::ctrl6, popup.children->items[3]);
    EXPECT_EQ(mTarvelo::ctrl5, popup.children->items[4]);
    // Pop-up temporary; buttons without the argument; properties in order.
    const std::vector<std::string> first(word.log.begin(), word.log.begin() + 8);
    EXPECT_EQ(first, (std::vector<std::string>{"Add 10 temporary", "Caption Al-&Quran", "Add 1",
                                               "Caption &Get Arabic+Translation",
                                               "TooltipText Get Arabic & Translation of Quran ", "Visible 1",
                                               "OnAction !<Tarvelo.Connect>", "Tag Quran2"}));
    EXPECT_EQ(CountOf("Visible 1"), 1);
}

TEST_F(ConnectTest, ConnectingTwiceLeavesOneMenuAndRemovalIsHarmlessWhenRepeated) {
    mTarvelo::AddinInstance_OnConnection(app);
    mTarvelo::AddinInstance_OnConnection(app);
    EXPECT_EQ(Bar().size(), 1u);
    mTarvelo::AutoReplaceOn = true;
    mTarvelo::AddinInstance_OnDisconnection();
    EXPECT_TRUE(Bar().empty());
    EXPECT_FALSE(mTarvelo::AutoReplaceOn);
    mTarvelo::AddinInstance_OnBeginShutdown();
    mTarvelo::AddinInstance_Terminate();
    EXPECT_TRUE(Bar().empty());
    EXPECT_TRUE(host->messages.empty());
}

TEST_F(ConnectTest, ClicksReachTheHandlers) {
    mTarvelo::AddinInstance_OnConnection(app);
    auto& buttons = Bar()[0]->children->items;
    buttons[1]->click();
    EXPECT_EQ(mTarvelo::InsertMode, 2);
    EXPECT_TRUE(dialog.shown);
    mTarvelo::UnloadFrmChoose();
    buttons[0]->click();
    EXPECT_EQ(mTarvelo::InsertMode, 1);
    buttons[4]->click();
    EXPECT_EQ(host->aboutShown, 1);
}

TEST_F(ConnectTest, ACommandRunByItsTagDoesWhatItsMenuButtonDoes) {
    mTarvelo::AddinInstance_OnConnection(app);
    EXPECT_TRUE(mTarvelo::ClickCommand(u"Quran4"));
    EXPECT_EQ(mTarvelo::InsertMode, 3);
    EXPECT_TRUE(dialog.shown);
    EXPECT_TRUE(mTarvelo::ClickCommand(u"Quran5"));
    EXPECT_EQ(host->aboutShown, 1);
    // The switch changes the menu's caption, as its button's click does.
    EXPECT_TRUE(mTarvelo::ClickCommand(u"Quran6"));
    EXPECT_TRUE(mTarvelo::AutoReplaceOn);
    EXPECT_EQ(fakes::U8(mTarvelo::ctrl6->Caption()), "Disable Auto Replace");
    EXPECT_TRUE(mTarvelo::ClickCommand(u"Quran6"));
    EXPECT_FALSE(mTarvelo::AutoReplaceOn);
    // No command of that tag: nothing runs.
    EXPECT_FALSE(mTarvelo::ClickCommand(u"Quran7"));
    EXPECT_FALSE(mTarvelo::ClickCommand(u""));
    EXPECT_EQ(host->aboutShown, 1);
}

TEST_F(ConnectTest, ChooserWithoutDocumentOnlyShowsTheMessage) {
    mTarvelo::AddinInstance_OnConnection(app);
    word.documents = 0;
    mTarvelo::ctrl3_Click();
    ASSERT_EQ(host->messages.size(), 1u);
    EXPECT_EQ(host->messages[0], "Harus ada document yang aktif!");
    EXPECT_EQ(host->icons[0], mTarvelo::MessageIcon::Information);
    EXPECT_EQ(mTarvelo::InsertMode, 0);
    EXPECT_EQ(mTarvelo::LoadedFrmChoose(), nullptr);
}

// A host whose menu bar refuses new controls.
class RefusingControls : public fakes::FakeControls {
public:
    using FakeControls::FakeControls;
    std::shared_ptr<word::CommandBarControl> Add(int, std::optional<bool>) override {
        throw word::Error("menu bar refused");
    }
};

TEST_F(ConnectTest, ConnectionErrorIsReportedAndTheConnectionCompletes) {
    class App : public fakes::FakeApplication {
    public:
        using FakeApplication::FakeApplication;
        word::CommandBars& CommandBars() override { throw word::Error("no command bars"); }
    };
    auto broken = std::make_shared<App>(word);
    mTarvelo::AddinInstance_OnConnection(broken);
    ASSERT_EQ(host->messages.size(), 1u);
    EXPECT_EQ(host->messages[0],
              "Error 440 (no command bars) in procedure AddinInstance_OnConnection of Designer "
              "Connect");
    EXPECT_EQ(mTarvelo::WordApp, broken);
}
